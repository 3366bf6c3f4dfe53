#pragma once
// The real platform: every service of platform/ over the Windows API (the W
// functions, with cp1251 converted explicitly, so the program works on a
// Windows of any language). Made on first use, on the program's one thread,
// which also initialises COM for the shell links there.
#include "platform/platform.h"

namespace platform::win32 {

Platform& instance();

}  // namespace platform::win32
