// A machine for the settings editors: fixed drives C: and D:, a network
// drive E: and a CD drive F: (not usable), and one search's drive selection
// as the main window keeps it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "posix/headless_ui.h"
#include "sandbox.h"
#include "search/drives.h"

namespace testing_support {

struct EditorsFixture {
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string& root) {
        using platform::DriveType;
        config.drives.clear();
        for (auto [letter, type] : {std::pair{'C', DriveType::fixed}, std::pair{'D', DriveType::fixed},
                                    std::pair{'E', DriveType::remote}, std::pair{'F', DriveType::cdrom}}) {
            const std::string folder = root + "/" + static_cast<char>(std::tolower(letter));
            std::filesystem::create_directories(folder);
            config.drives.push_back({letter, folder, type});
        }
    }};
    headless::Toolkit toolkit;
    std::vector<std::string> drives = search::usable_drives(box.platform().fs.logical_drives());
    search::DriveSelection selection;

    // The main window's selection with these checks ("1"/"0" per usable drive).
    void select(const std::vector<std::string>& flags) { selection.refill(drives, flags); }

    headless::Dialogs& dialogs() { return toolkit.dialogs(); }
    // Queues the folder chooser's answer.
    void choose(const std::string& folder) { dialogs().folders.push_back(folder); }
    std::vector<headless::Message>& messages() { return dialogs().messages; }
    std::string file(const std::string& name) { return box.read("C:\\Program\\Data\\" + name); }
};

// cp1251 texts readable in a failure message.
inline std::string readable(const std::string& text) { return platform::cp1251_to_utf8(text); }

}  // namespace testing_support
