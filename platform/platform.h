#pragma once
// Every Windows service the program uses, one interface each. The engines and
// windows receive this bundle; win32 makes the real one,
// posix the stand-in for native tests and benchmarks.
#include "platform/file_system.h"
#include "platform/internet.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shell_links.h"
#include "platform/sound.h"
#include "platform/system.h"

namespace platform {

struct Platform {
    FileSystem& fs;
    Registry& registry;
    Shell& shell;
    ShellLinks& links;
    Internet& internet;
    Sound& sound;
    System& system;
};

}  // namespace platform
