#pragma once
// Shortcut (.lnk) files.
#include <string>

#include "platform/status.h"

namespace platform {

class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // The file-system path a shortcut points to; empty for a file that is not
    // a shortcut, has no file-system target (or one without a cp1251 form),
    // or does not exist.
    virtual std::string read_target(const std::string& link_path) = 0;
    // Writes a shortcut (arguments, description, then target, as the shell
    // link object is filled); the target need not exist.
    virtual Status write(const std::string& link_path, const std::string& target,
                         const std::string& description, const std::string& arguments) = 0;
};

}  // namespace platform
