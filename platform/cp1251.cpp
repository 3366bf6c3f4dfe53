#include "platform/cp1251.h"

namespace platform {

namespace {

// Unicode of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void put_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t cp1251_to_unicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kHigh[byte - 0x80];
}

std::optional<unsigned char> unicode_to_cp1251(char32_t code) {
    if (code < 0x80) return static_cast<unsigned char>(code);
    if (code >= 0x0410 && code <= 0x044F) return static_cast<unsigned char>(0xC0 + (code - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kHigh[i] == code) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string cp1251_to_utf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char byte : text) put_utf8(out, cp1251_to_unicode(byte));
    return out;
}

std::optional<std::string> utf8_to_cp1251(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = text[i];
        char32_t code;
        int extra;
        if (lead < 0x80) { code = lead; extra = 0; }
        else if ((lead & 0xE0) == 0xC0) { code = lead & 0x1F; extra = 1; }
        else if ((lead & 0xF0) == 0xE0) { code = lead & 0x0F; extra = 2; }
        else if ((lead & 0xF8) == 0xF0) { code = lead & 0x07; extra = 3; }
        else return std::nullopt;
        if (i + extra >= text.size()) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = text[i + k];
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        const auto byte = unicode_to_cp1251(code);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
        i += 1 + extra;
    }
    return out;
}

}  // namespace platform
