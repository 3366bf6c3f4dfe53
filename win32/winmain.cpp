// Entry point of the Windows program.
#include <windows.h>

#include "app/program.h"
#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::win32::UiToolkit toolkit;
    return app::run_program(toolkit, platform::win32::instance());
}
