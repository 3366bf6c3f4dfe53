// Every kind of list file as a user may leave it after editing it by hand:
// lists, positional flags, "#"-prefixed lists and single values, and a list
// written back and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/data_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = store::split_lines(text);

    const auto flags = store::flags_for_rows(lines, 16);
    if (flags.size() != 16) std::abort();
    if (store::flags_for_rows(store::flag_lines(flags), 16) != flags) std::abort();

    std::string written;
    for (const auto& line : lines) {
        const auto entry = store::PrefixedEntry::parse(line);
        if (entry.line() != line) std::abort();
        if (line.find_first_of("\r\n") != std::string::npos) std::abort();
        written += line + "\r\n";
    }
    // What the program writes back it reads as the same lines.
    if (store::split_lines(written) != lines) std::abort();
    return 0;
}
