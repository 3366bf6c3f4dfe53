// The first bytes of a file that may be a shortcut: the check that rejects
// anything else without reading further.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/shell_link_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static_cast<void>(platform::starts_as_shell_link(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
