// The update server's history file, whose first line names the published
// build ("Версия 1.5.07").
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/update_check.h"
#include "store/data_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto history = store::split_lines(text);
    if (history.empty()) return 0;
    if (const auto published = app::published_build(history.front())) {
        if (published->build < 0 || published->build > 99) std::abort();
        if (published->version.size() != 6) std::abort();
    }
    return 0;
}
