// Benchmark of the result list under Windows or Wine (not a test): filling
// 100,000 rows, checking them all as "Выбрать все" does, scrolling, and the
// cost of Pump::serve() between its dispatches. Prints the figures.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "win32/ui_toolkit.h"
#include "ui/ui.h"

namespace {

class ResultWindow : public ui::Form {
public:
    explicit ResultWindow(ui::Toolkit& toolkit) : ui::Form(toolkit, "Form1") {
        set_caption("Поиск временных файлов");
        set_client_size(687, 406);
        set_color(ui::colors::white);
        set_border(ui::Border::dialog);
        results.set_bounds(8, 8, 671, 360);
        results.add_column("Имя", 625);
        results.set_check_boxes(true);
        select_all.set_bounds(8, 378, 160, 17);
        select_all.set_text("Выбрать все");
        select_all.on_click = [this] {
            for (int i = 0; i < results.count(); ++i) results.set_checked(i, select_all.checked());
        };
    }
    ui::ListView results{*this, "ListView1"};
    ui::CheckBox select_all{*this, "CheckBox1"};
};

double now_ms() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string path(int i) {
    return "C:\\Documents and Settings\\Пользователь\\Local Settings\\Temp\\папка" + std::to_string(i / 100) +
           "\\файл" + std::to_string(i) + ".tmp";
}

}  // namespace

int main() {
    constexpr int kRows = 100000;
    platform::win32::UiToolkit toolkit;
    ResultWindow window(toolkit);
    window.show();
    toolkit.process_messages();
    HWND list = static_cast<HWND>(toolkit.window(window.results));

    // Filling at once, as a result window fills its list from an engine's result.
    double start = now_ms();
    window.results.begin_update();
    for (int i = 0; i < kRows; ++i) window.results.add(path(i));
    window.results.end_update();
    toolkit.flush();
    UpdateWindow(list);
    const double fill_at_once = now_ms() - start;
    window.results.clear();
    toolkit.flush();

    // Filling as a search does: one row per found file, serving the queue after each.
    start = now_ms();
    for (int i = 0; i < kRows; ++i) {
        window.results.add(path(i));
        toolkit.pump().serve();
    }
    toolkit.flush();
    UpdateWindow(list);
    const double fill = now_ms() - start;
    const auto shown = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);

    start = now_ms();
    window.select_all.click();
    toolkit.flush();
    UpdateWindow(list);
    const double check_all = now_ms() - start;
    const int checked = window.results.checked_count();

    start = now_ms();
    window.results.ensure_visible(kRows - 1);
    UpdateWindow(list);
    const double to_end = now_ms() - start;

    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    UpdateWindow(list);
    constexpr int kPages = 500;
    start = now_ms();
    for (int i = 0; i < kPages; ++i) {
        SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
        UpdateWindow(list);
    }
    const double per_page = (now_ms() - start) / kPages;

    start = now_ms();
    window.select_all.click();
    toolkit.flush();
    UpdateWindow(list);
    const double uncheck_all = now_ms() - start;

    start = now_ms();
    window.results.clear();
    toolkit.flush();
    UpdateWindow(list);
    const double clear = now_ms() - start;

    constexpr int kServes = 10000000;
    start = now_ms();
    for (int i = 0; i < kServes; ++i) toolkit.pump().serve();
    const double serve_ns = (now_ms() - start) * 1e6 / kServes;

    std::printf("rows in the window:               %ld (checked in the model: %d)\n", static_cast<long>(shown), checked);
    std::printf("fill 100,000 rows at once:        %8.1f ms\n", fill_at_once);
    std::printf("fill 100,000 rows, serving each:  %8.1f ms\n", fill);
    std::printf("check all (\"Select all\"):         %8.1f ms\n", check_all);
    std::printf("uncheck all:                      %8.1f ms\n", uncheck_all);
    std::printf("scroll to the last row:           %8.1f ms\n", to_end);
    std::printf("scroll one page down (painted):   %8.2f ms\n", per_page);
    std::printf("clear the list:                   %8.1f ms\n", clear);
    std::printf("Pump::serve() between dispatches: %8.1f ns\n", serve_ns);
    window.close();
    return 0;
}
