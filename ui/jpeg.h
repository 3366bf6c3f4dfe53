#pragma once
// Decoding of JPEG pictures (the About banner) into plain RGB pixels.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom

    // Red, green and blue of one pixel, packed as 0xRRGGBB.
    std::uint32_t at(int x, int y) const;
};

// Decodes a whole JPEG file held in memory; nothing for data that is not a
// decodable JPEG.
std::optional<Pixels> decode_jpeg(const std::string& bytes);

}  // namespace ui
