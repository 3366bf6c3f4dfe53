#pragma once
// Conversion between the program's cp1251 text and UTF-8 (file names on
// Linux, readable test output).
#include <optional>
#include <string>

namespace platform {

// Every cp1251 byte has a Unicode character (0x98 is taken as U+0098).
std::string cp1251_to_utf8(const std::string& text);

// Nothing when the text holds a character without a cp1251 form, or bytes
// that are not UTF-8: such a name is reported, never mangled into another.
std::optional<std::string> utf8_to_cp1251(const std::string& text);

// The Unicode code point of one cp1251 byte, and back (nothing when absent).
char32_t cp1251_to_unicode(unsigned char byte);
std::optional<unsigned char> unicode_to_cp1251(char32_t code);

}  // namespace platform
