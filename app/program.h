#pragma once
// The program: its windows, made once at start-up and alive until the main
// window closes.
#include "platform/platform.h"
#include "ui/toolkit.h"

namespace app {

// Builds the windows over the given backend and services, runs the message
// loop until the main window is closed, and returns the exit code.
int run_program(ui::Toolkit& toolkit, platform::Platform& platform);

}  // namespace app
