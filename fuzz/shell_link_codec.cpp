// A shortcut file of any content read by the stand-in's codec. What it reads
// it writes back as a shortcut that reads again with the same texts (its
// target may come back folded where it was spelled oddly: "/" or a trailing
// backslash in a network path).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/shell_link_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto link = platform::decode_shell_link(bytes);
    if (!link) return 0;
    if (!platform::starts_as_shell_link(bytes)) std::abort();
    const auto again = platform::decode_shell_link(platform::encode_shell_link(*link));
    if (!again || again->description != link->description || again->arguments != link->arguments ||
        again->working_folder != link->working_folder)
        std::abort();
    return 0;
}
