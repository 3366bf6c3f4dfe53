#pragma once
// Byte counts as the program shows them: "1,5 KB", "3,5 MB".
#include <string>

namespace store {

// KB below 1 MiB, MB from 1 MiB on; at most two decimals, cut and never
// rounded; the locale's decimal separator; "0" instead of "0,00".
std::string SizeToText(double bytes, char decimal_separator);

// The same text without the "0" rule: 2 bytes give "0,00 KB" (the search
// window's own form).
std::string SizeToTextKeepingZeros(double bytes, char decimal_separator);

}  // namespace store
