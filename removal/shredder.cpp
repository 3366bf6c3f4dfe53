#include "removal/shredder.h"

#include <algorithm>
#include <array>

#include "search/guards.h"

namespace removal {

namespace {

platform::Status overwrite(platform::File& file, ByteSource& source) {
    std::array<std::uint8_t, kShredBlock> block;
    for (int pass = 0; pass < kShredPasses; ++pass) {
        for (auto& byte : block) byte = source.next();
        const auto length = file.length();
        if (!length) return length.status();
        std::uint64_t left = *length;
        if (auto rewound = file.seek_to_start(); !rewound) return rewound;
        while (left > 0) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kShredBlock));
            if (auto written = file.write(block.data(), count); !written) return written;
            left -= count;
        }
        if (auto flushed = file.flush(); !flushed) return flushed;
    }
    return platform::Status::success();
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

platform::Result<bool> shred_file(platform::FileSystem& fs, const std::string& path, ByteSource& source) {
    const auto full = search::deletable_file(path);
    if (!full) return platform::Status::failure("Недопустимый путь к файлу " + quoted(path) + ".");
    const auto attributes = fs.attributes(*full);
    if (attributes && (*attributes & platform::attr::reparse_point))
        return platform::Status::failure("Файл " + quoted(path) +
                                         " является ссылкой и не уничтожен. То, на что он указывает, не тронуто.");
    {
        auto file = fs.open(*full, platform::Access::read_write, platform::Share::none);
        if (!file) return platform::Status::failure("Невозможно открыть файл " + quoted(path) + ". " + file.message());
        if (auto overwritten = overwrite(**file, source); !overwritten)
            return platform::Status::failure("Файл " + quoted(path) + " не удалось перезаписать, он не удален. " +
                                             overwritten.message());
        (*file)->close();
    }
    return static_cast<bool>(fs.delete_file(*full));
}

}  // namespace removal
