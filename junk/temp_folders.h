#pragma once
// The temporary folder and the recycle bin: what they hold and their cleaning.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/pump.h"
#include "search/locations.h"

namespace junk {

struct TempFigures {
    std::uint64_t files = 0;  // files below the folder, "index.dat" not counted
    std::uint64_t bytes = 0;
    // Why the temporary folder is not cleaned ("" when it is, or when TEMP
    // names nothing at all).
    std::string refusal;
};

class TempFolders {
public:
    TempFolders(platform::Platform& platform, platform::Pump& pump) : platform_(platform), pump_(pump) {}

    // The temporary folder; none when TEMP names no folder that may be
    // cleaned: a drive root, or a folder that is or holds one the user keeps
    // things in (the profile, the Shell Folders, Windows, Program Files).
    search::BuiltLocation folder();
    // Zero for a missing temporary folder.
    TempFigures measure_temp();
    platform::Result<platform::RecycleBinInfo> measure_bin();

    // Deletes every file below the temporary folder for good ("index.dat"
    // kept; a file that resists is retried once with its attributes cleared),
    // then removes the emptied folders, deepest first. The folder itself stays.
    void clean_temp();
    platform::Status empty_bin();

private:
    platform::Platform& platform_;
    platform::Pump& pump_;
};

}  // namespace junk
