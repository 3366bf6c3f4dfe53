#pragma once
// The services that instance() bundles (one object each, made once).
#include "platform/platform.h"

namespace platform::win32 {

FileSystem& file_system();
Registry& registry();
Shell& shell();
ShellLinks& shell_links();
Internet& internet();
Sound& sound();
System& system();

}  // namespace platform::win32
