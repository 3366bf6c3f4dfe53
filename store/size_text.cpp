#include "store/size_text.h"

#include <algorithm>
#include <cstdio>

namespace store {

namespace {

std::string size_text(double bytes, char decimal_separator, bool zero_as_digits) {
    const bool megabytes = bytes >= 1048576.0;
    const double quotient = megabytes ? bytes / 1048576.0 : bytes / 1024.0;

    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", quotient);
    std::string text = buffer;
    const std::size_t separator = text.find_first_of(".,");
    if (separator != std::string::npos) {
        text[separator] = decimal_separator;
        text.resize(std::min(text.size(), separator + 3));
    }
    if (!zero_as_digits && (text == "0,00" || text == "-0,00" || text == "0.00" || text == "-0.00")) text = "0";
    text.append(megabytes ? " MB" : " KB");
    return text;
}

}  // namespace

std::string SizeToText(double bytes, char decimal_separator) { return size_text(bytes, decimal_separator, false); }

std::string SizeToTextKeepingZeros(double bytes, char decimal_separator) {
    return size_text(bytes, decimal_separator, true);
}

}  // namespace store
