#include "platform/registry.h"

#include <cstdio>

#include "platform/cp1251.h"

namespace platform {

RawValue text_value(ValueType type, std::string_view text) {
    RawValue value{type, {}};
    std::u16string wide = cp1251_to_utf16(text);
    wide += u'\0';
    if (type == ValueType::multi_string) wide += u'\0';
    for (char16_t c : wide) {
        value.bytes += static_cast<char>(c & 0xFF);
        value.bytes += static_cast<char>(c >> 8);
    }
    return value;
}

namespace {

std::u16string utf16_of(const std::string& bytes) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return wide;
}

std::uint64_t little_endian(const std::string& bytes) {
    std::uint64_t n = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) n = (n << 8) | static_cast<unsigned char>(bytes[i]);
    return n;
}

}  // namespace

std::string shown_text(const RawValue& value) {
    switch (value.type) {
    case ValueType::string:
    case ValueType::expand_string: {
        std::u16string wide = utf16_of(value.bytes);
        if (const auto nul = wide.find(u'\0'); nul != std::u16string::npos) wide.resize(nul);
        return utf16_to_cp1251(wide);
    }
    case ValueType::multi_string: {
        std::string text;
        for (char c : utf16_to_cp1251(utf16_of(value.bytes))) text += c == '\0' ? ' ' : c;
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    }
    case ValueType::dword:
    case ValueType::qword:
        if (value.bytes.size() == (value.type == ValueType::dword ? 4u : 8u))
            return std::to_string(little_endian(value.bytes));
        [[fallthrough]];
    default: {
        std::string text;
        char hex[4];
        for (char c : value.bytes) {
            std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(c));
            if (!text.empty()) text += ' ';
            text += hex;
        }
        return text;
    }
    }
}

}  // namespace platform
