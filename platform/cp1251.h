#pragma once
// The program's one conversion between its cp1251 text and Unicode (UTF-16
// for the W functions, UTF-8 for Linux file names and readable test output).
//
// One rule for a character that has no cp1251 form: it becomes '?', which no
// Windows name may hold, and `lossy` says so. A name converted this way never
// names another file, and a caller that needs the exact text refuses a lossy
// one. Never a look-alike: "é" does not become "e".
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Every cp1251 byte has a Unicode character (0x98 is taken as U+0098).
char32_t cp1251_to_unicode(unsigned char byte);
std::optional<unsigned char> unicode_to_cp1251(char32_t code);

std::u16string cp1251_to_utf16(std::string_view text);
std::string cp1251_to_utf8(std::string_view text);

// A surrogate pair is one character (one '?'); a lone surrogate, a byte that
// is not UTF-8 or a sequence cut short is a character without a form.
std::string utf16_to_cp1251(std::u16string_view text, bool* lossy = nullptr);
std::string utf8_to_cp1251(std::string_view text, bool* lossy = nullptr);

// The character of UTF-8 `text` at `i`, moving `i` past it; nothing (and `i`
// one byte on) where no valid sequence starts.
std::optional<char32_t> next_utf8(std::string_view text, std::size_t& i);
void append_utf8(std::string& out, char32_t code);

}  // namespace platform
