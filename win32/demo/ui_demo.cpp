// Shows the demo form under Windows (or Wine): every control kind of the
// widget model, for screenshots. "ui_demo 1" opens the second page, with the
// program's banner decoded by libjpeg. Ends when the window is closed.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>

#include "demo/demo_form.h"
#include "win32/ui_toolkit.h"
#include "ui/jpeg.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::win32::UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args && count > 1 && std::wcscmp(args[1], L"1") == 0) {
        form.bar.expand(1);
        form.bar.collapse(0);
        form.pages.set_active(1);
    }
    LocalFree(args);
#ifdef VORLINDE_DEMO_BANNER
    std::ifstream file(VORLINDE_DEMO_BANNER, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (auto picture = ui::decode_jpeg(bytes)) form.banner.set_picture(std::move(*picture));
#endif
    form.tray.show();
    form.fade_in();
    toolkit.run(form);
    return 0;
}
