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

void put(std::string& out, std::optional<char32_t> code, bool* lossy) {
    const auto byte = code ? unicode_to_cp1251(*code) : std::nullopt;
    if (byte) {
        out += static_cast<char>(*byte);
        return;
    }
    out += '?';
    if (lossy) *lossy = true;
}

bool is_high_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

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

std::u16string cp1251_to_utf16(std::string_view text) {
    std::u16string out(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char16_t>(cp1251_to_unicode(static_cast<unsigned char>(text[i])));
    return out;
}

std::string cp1251_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char byte : text) append_utf8(out, cp1251_to_unicode(byte));
    return out;
}

std::string utf16_to_cp1251(std::u16string_view text, bool* lossy) {
    if (lossy) *lossy = false;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (is_high_surrogate(c) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) ++i;
        put(out, is_high_surrogate(c) || is_low_surrogate(c) ? std::nullopt : std::optional<char32_t>(c), lossy);
    }
    return out;
}

std::string utf8_to_cp1251(std::string_view text, bool* lossy) {
    if (lossy) *lossy = false;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) put(out, next_utf8(text, i), lossy);
    return out;
}

std::optional<char32_t> next_utf8(std::string_view text, std::size_t& i) {
    const unsigned char lead = text[i++];
    if (lead < 0x80) return lead;
    const int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
    if (extra == 0 || i + extra > text.size()) return std::nullopt;
    char32_t code = lead & (0x7F >> (extra + 1));
    for (int k = 0; k < extra; ++k) {
        const unsigned char next = text[i + k];
        if ((next & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    i += extra;
    return code;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace platform
