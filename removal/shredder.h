#pragma once
// Destroying files: each is overwritten in place three times with bytes of
// the program's pseudo-random source, every pass flushed to the disk, and
// then deleted. A path that is a link (a symbolic link, a junction) is
// refused: neither it nor what it leads to is touched.
#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"

namespace removal {

// One 32-bit linear congruential state for the program's run, starting at 0:
// each byte is the top 8 bits of the next state S * 134775813 + 1.
class ByteSource {
public:
    std::uint8_t next() {
        state_ = state_ * 134775813u + 1u;
        return static_cast<std::uint8_t>(state_ >> 24);
    }

private:
    std::uint32_t state_ = 0;
};

inline constexpr std::size_t kShredBlock = 4096;
inline constexpr int kShredPasses = 3;

// Destroys one file. The value says whether it was deleted at the end (a file
// overwritten but not deleted gives false). A failure, whose message is the
// one to show the user and names the file, means the file was not deleted:
// it is a link, it could not be opened for reading and writing by this
// program alone, its size could not be read, or an overwrite did not reach
// it. An empty, relative or root path is refused.
platform::Result<bool> shred_file(platform::FileSystem& fs, const std::string& path, ByteSource& source);

}  // namespace removal
