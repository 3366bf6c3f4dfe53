// The Win32 renderer under Wine: the demo form's real windows, their names
// for automation, clicks and checks reaching the model, Cyrillic texts, modal
// loops, the pump, message boxes and timers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "demo/demo_form.h"
#include "win32/handles.h"
#include "win32/ui_toolkit.h"
#include "automation.h"
#include "in_process.h"
#include "ui/ui.h"

namespace {

using platform::win32::UiToolkit;

HWND window_of(UiToolkit& toolkit, const ui::Control& control) { return static_cast<HWND>(toolkit.window(control)); }
HWND window_of(UiToolkit& toolkit, const ui::Form& form) { return static_cast<HWND>(toolkit.window(form)); }

using automation::component_name;
using automation::text_of;
using namespace in_process;

void collect(const ui::Container& container, std::vector<const ui::Control*>& out) {
    for (const ui::Control* control : container.controls()) {
        out.push_back(control);
        if (const ui::Container* inner = control->container()) collect(*inner, out);
    }
}

BOOL CALLBACK add_name(HWND window, LPARAM names) {
    reinterpret_cast<std::set<std::wstring>*>(names)->insert(component_name(window));
    return TRUE;
}

}  // namespace

TEST(UiWin32, EveryControlOfTheDemoFormIsARealWindowCarryingItsName) {
    UiToolkit toolkit;
    const std::string unique = "Probe" + std::to_string(GetCurrentProcessId());
    {
        demo::DemoForm form(toolkit);
        ui::Label probe(form, unique);
        form.show();
        toolkit.process_messages();

        HWND top = window_of(toolkit, form);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(component_name(top), L"Form1");
        EXPECT_TRUE(IsWindowVisible(top));
        std::vector<const ui::Control*> controls;
        collect(form, controls);
        std::set<ui::Kind> kinds;
        for (const ui::Control* control : controls) {
            HWND window = window_of(toolkit, *control);
            ASSERT_NE(window, nullptr) << control->name();
            EXPECT_EQ(component_name(window), from_cp1251(control->name()));
            EXPECT_EQ(GetAncestor(window, GA_ROOT), top);
            kinds.insert(control->kind());
        }
        EXPECT_EQ(kinds.size(), 17u);  // every kind of control

        std::set<std::wstring> names;
        EnumChildWindows(top, add_name, reinterpret_cast<LPARAM>(&names));
        EXPECT_TRUE(names.count(L"CategoryBar1_Category3"));
        EXPECT_TRUE(names.count(L"CategoryBar1_Item0_1"));
        EXPECT_TRUE(names.count(L"Edit3_UpDown"));
        HWND item = FindWindowExW(window_of(toolkit, form.bar), nullptr, L"Button", from_cp1251("Поиск временных файлов").c_str());
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(component_name(item), L"CategoryBar1_Item0_1");

        // The pages show only the active one; an item click switches them.
        EXPECT_TRUE(IsWindowVisible(window_of(toolkit, form.results)));
        EXPECT_FALSE(IsWindowVisible(window_of(toolkit, form.drives)));
        SendMessageW(item, BM_CLICK, 0, 0);
        EXPECT_EQ(form.pages.active(), 0);
        SendMessageW(FindWindowExW(window_of(toolkit, form.bar), nullptr, L"Button", from_cp1251("Очистка Temp папок").c_str()),
                     BM_CLICK, 0, 0);
        EXPECT_EQ(form.pages.active(), 1);
        EXPECT_TRUE(IsWindowVisible(window_of(toolkit, form.drives)));
        EXPECT_FALSE(IsWindowVisible(window_of(toolkit, form.results)));
        EXPECT_NE(GlobalFindAtomW(from_cp1251(unique).c_str()), 0);
    }
    // Destroyed windows gave their atoms back.
    EXPECT_EQ(GlobalFindAtomW(from_cp1251(unique).c_str()), 0);
}

TEST(UiWin32, RealButtonsRunTheirHandlersAndDisabledOnesNever) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();

    SendMessageW(window_of(toolkit, form.start), BM_CLICK, 0, 0);
    EXPECT_EQ(form.starts, 1);
    form.start.set_enabled(false);
    EXPECT_FALSE(IsWindowEnabled(window_of(toolkit, form.start)));
    SendMessageW(window_of(toolkit, form.start), BM_CLICK, 0, 0);
    form.found.set_enabled(false);  // a disabled group disables what it holds
    EXPECT_FALSE(IsWindowEnabled(window_of(toolkit, form.select_all)));
    SendMessageW(window_of(toolkit, form.select_all), BM_CLICK, 0, 0);
    EXPECT_EQ(form.starts, 1);
    EXPECT_FALSE(form.select_all.checked());
    form.found.set_enabled(true);

    // "  Очистить" acts on the release of any mouse button pressed on it.
    HWND clean = window_of(toolkit, form.clean);
    SendMessageW(clean, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(clean, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(form.cleans, 1);
    HWND start = window_of(toolkit, form.start);
    form.start.set_enabled(true);
    SendMessageW(start, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(start, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(form.starts, 1);

    // Check boxes and radio buttons: the model decides, the window follows.
    SendMessageW(window_of(toolkit, form.own), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.own.checked());
    EXPECT_FALSE(form.optimal.checked());
    EXPECT_EQ(SendMessageW(window_of(toolkit, form.optimal), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(window_of(toolkit, form.own), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(window_of(toolkit, form.setup)));
    SendMessageW(window_of(toolkit, form.select_all), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.select_all.checked());
    EXPECT_EQ(form.results.checked_count(), form.results.count());
}

TEST(UiWin32, CheckingARealListViewRowReachesTheModel) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();
    HWND list = window_of(toolkit, form.results);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), form.results.count());

    // A click on row 5's check box.
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&row)));
    const int y = (row.top + row.bottom) / 2;
    int x = -1;
    for (int probe = row.left; probe < row.left + 40 && x < 0; ++probe) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{probe, y};
        if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == 5 && (hit.flags & LVHT_ONITEMSTATEICON))
            x = probe;
    }
    ASSERT_GE(x, 0) << "no check box found on row 5";
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 2, y));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x + 2, y));
    ASSERT_TRUE(serve_until(toolkit, [&] { return form.results.checked(5); }));
    EXPECT_EQ(form.results.checked_count(), 2);  // row 1 was checked already

    // A click on the text selects the row; the link field follows.
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 60, y));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x + 60, y));
    ASSERT_TRUE(serve_until(toolkit, [&] { return form.results.selected() == 5; }));
    EXPECT_EQ(form.link.text(), form.results.text(5));
    EXPECT_FALSE(form.results.checked(6));

    // The space bar toggles the focused row; the model's checks show in the window.
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(form.results.checked(5));
    form.results.set_checked(7, true);
    toolkit.flush();
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 7, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK,
              static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 8, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK,
              static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(1)));

    // Rows removed in the model leave the window; the selection moves with its row.
    form.results.remove(0);
    toolkit.flush();
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), form.results.count());
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 4);
}

TEST(UiWin32, CyrillicTextReachesTheWindowAndComesBackAsTheSameBytes) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();

    std::string every_letter = "Очистка Temp папок: ";
    for (int c = 0xC0; c <= 0xFF; ++c) every_letter += static_cast<char>(c);
    every_letter += "\xA8\xB8\xB9";  // Ё ё №
    form.current.set_text(every_letter);
    EXPECT_EQ(to_cp1251(text_of(window_of(toolkit, form.current))), every_letter);
    form.link.set_text(every_letter);
    EXPECT_EQ(to_cp1251(text_of(window_of(toolkit, form.link))), every_letter);
    form.set_caption("Поиск неправильных ярлыков");
    EXPECT_EQ(to_cp1251(text_of(window_of(toolkit, form))), "Поиск неправильных ярлыков");
    EXPECT_EQ(text_of(window_of(toolkit, form.select_all)), L"Выбрать все");

    // What the user types reaches the model as cp1251.
    SetWindowTextW(window_of(toolkit, form.link), L"D:\\Игры\\ярлык.lnk");
    EXPECT_EQ(form.link.text(), "D:\\Игры\\ярлык.lnk");
    // The up-down steps the number field inside its range.
    form.days.set_value(365);
    NMUPDOWN step{};
    step.hdr.hwndFrom = FindWindowExW(GetParent(window_of(toolkit, form.days)), nullptr, UPDOWN_CLASSW, nullptr);
    step.hdr.code = UDN_DELTAPOS;
    step.iDelta = 1;
    ASSERT_NE(step.hdr.hwndFrom, nullptr);
    SendMessageW(GetParent(step.hdr.hwndFrom), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&step));
    EXPECT_EQ(form.days.text(), "365");
    step.iDelta = -1;
    SendMessageW(GetParent(step.hdr.hwndFrom), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&step));
    EXPECT_EQ(text_of(window_of(toolkit, form.days)), L"364");
}

TEST(UiWin32, ModalWindowDisablesTheOthersAndItsLoopReturnsWhenClosed) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();
    HWND main = window_of(toolkit, form);
    std::vector<std::string> events;
    bool main_enabled_inside = true;
    form.dialog.on_show = [&] { events.push_back("show"); };
    form.dialog.on_activate = [&] {
        events.push_back("activate");
        main_enabled_inside = IsWindowEnabled(main) != FALSE;
        PostMessageW(window_of(toolkit, form.dialog.apply), BM_CLICK, 0, 0);
    };
    form.dialog.on_close = [&] { events.push_back("close"); };
    form.dialog.on_hide = [&] { events.push_back("hide"); };

    form.setup.set_enabled(true);
    SendMessageW(window_of(toolkit, form.setup), BM_CLICK, 0, 0);  // returns when the dialog closed
    EXPECT_EQ(events, (std::vector<std::string>{"show", "activate", "close", "hide"}));
    EXPECT_FALSE(main_enabled_inside);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_FALSE(form.dialog.visible());
    EXPECT_FALSE(IsWindowVisible(window_of(toolkit, form.dialog)));
    EXPECT_EQ(component_name(window_of(toolkit, form.dialog)), L"Form2");
}

TEST(UiWin32, WindowsShareOneTaskBarButtonThatHandsItsActivationBack) {
    UiToolkit toolkit;
    toolkit.set_application_title("Очистка");
    demo::DemoForm form(toolkit);
    int activations = 0;
    form.on_activate = [&] { ++activations; };
    form.show();
    ASSERT_TRUE(serve_until(toolkit, [&] { return form.active(); }));
    HWND main = window_of(toolkit, form);
    HWND button = GetWindow(main, GW_OWNER);
    ASSERT_TRUE(button);
    EXPECT_EQ(to_cp1251(text_of(button)), "Очистка");
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_FALSE(GetWindowLongPtrW(button, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    form.dialog.show();
    EXPECT_EQ(GetWindow(window_of(toolkit, form.dialog), GW_OWNER), button);
    form.dialog.hide();

    // The button pressed: the program's active window comes back, without a
    // new activation of it.
    ASSERT_TRUE(serve_until(toolkit, [&] { return GetActiveWindow() == main; }));
    SetActiveWindow(button);
    EXPECT_TRUE(serve_until(toolkit, [&] { return GetActiveWindow() == main; }));
    EXPECT_EQ(activations, 1);
    form.hide();
    EXPECT_FALSE(IsWindowVisible(button));
}

TEST(UiWin32, StopButtonClickedDuringALongLoopIsSeen) {
    UiToolkit toolkit;
    ui::Form form(toolkit, "Form7");
    ui::Button stop(form, "SpeedButton1");
    stop.set_bounds(10, 10, 100, 25);
    stop.set_text("  Прекратить");
    platform::StopRequest request;
    stop.on_click = [&] { request.request(); };
    form.show();
    toolkit.process_messages();
    HWND button = window_of(toolkit, stop);

    std::atomic<bool> posted{false};
    std::thread user([&] {
        Sleep(200);
        PostMessageW(button, BM_CLICK, 0, 0);
        posted = true;
    });
    long long entries = 0;
    const ULONGLONG give_up = GetTickCount64() + 10000;
    while (GetTickCount64() < give_up) {
        ++entries;  // one directory entry of a walk
        form.pump().serve();
        if (request.requested()) break;
    }
    user.join();
    EXPECT_TRUE(posted);
    EXPECT_TRUE(request.requested());
    EXPECT_GT(entries, 1000);
}

TEST(UiWin32, ProgressBarMovesDuringALongLoopAndEndsWhereTheModelIs) {
    UiToolkit toolkit;
    ui::Form form(toolkit, "Form7");
    ui::ProgressBar bar(form, "ProgressBar1");
    bar.set_bounds(10, 10, 300, 16);
    bar.set_maximum(10000000);
    form.show();
    toolkit.process_messages();
    HWND window = window_of(toolkit, bar);

    // A loop steps the bar per item and serves the queue as a walk does: the
    // real bar follows while it runs, but repaints a few times a second, not
    // at every serving.
    std::set<LRESULT> shown;
    const ULONGLONG end = GetTickCount64() + 700;
    while (GetTickCount64() < end) {
        bar.step_by(1);
        form.pump().serve();
        shown.insert(SendMessageW(window, PBM_GETPOS, 0, 0));
    }
    EXPECT_GE(shown.size(), 3u);
    EXPECT_LE(shown.size(), 12u);
    // The last position reaches the window without any further step.
    EXPECT_TRUE(serve_until(toolkit, [&] { return SendMessageW(window, PBM_GETPOS, 0, 0) == bar.position(); }));
}

TEST(UiWin32, MessageBoxesAreOwnedByTheActiveWindow) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    ASSERT_TRUE(serve_until(toolkit, [&] { return form.active(); }));
    HWND main = window_of(toolkit, form);

    struct Seen {
        HWND owner = nullptr;
        std::wstring caption, yes, no, text;
    } seen;
    ui::Timer watch(form, "Timer9");
    watch.set_interval(50);
    watch.on_tick = [&] {
        HWND box = visible_dialog();
        if (!box) return;
        watch.stop();
        wchar_t text[512] = {};
        seen.owner = GetWindow(box, GW_OWNER);
        seen.caption = text_of(box);
        GetDlgItemTextW(box, IDYES, text, 512);
        seen.yes = text;
        GetDlgItemTextW(box, IDNO, text, 512);
        seen.no = text;
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        seen.text = text;
        PostMessageW(box, WM_COMMAND, IDYES, 0);
    };
    watch.start();
    const ui::Answer answer = form.dialogs().confirm("Вы не создали копию реестра.\rСоздать копию реестра?");
    EXPECT_EQ(answer, ui::Answer::yes);
    EXPECT_EQ(seen.owner, main);
    EXPECT_EQ(seen.caption, L"Confirm");
    EXPECT_EQ(seen.yes, L"&Yes");
    EXPECT_EQ(seen.no, L"&No");
    EXPECT_EQ(seen.text, from_cp1251("Вы не создали копию реестра.\r\nСоздать копию реестра?"));
}

TEST(UiWin32, TimersTickAndTheFadeInEndsOpaque) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.fade_in();
    form.show();
    HWND window = window_of(toolkit, form);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 255;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
    EXPECT_LT(alpha, 255);
    ASSERT_TRUE(serve_until(toolkit, [&] { return !form.fade.enabled(); }));
    EXPECT_EQ(form.alpha(), 255);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);

    form.set_stay_on_top(true);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(UiWin32, CategoryBarWorksFromTheKeyboard) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();
    HWND bar = window_of(toolkit, form.bar);
    HWND internet = nullptr;
    EnumChildWindows(
        bar,
        [](HWND window, LPARAM found) {
            if (component_name(window) == L"CategoryBar1_Category1") *reinterpret_cast<HWND*>(found) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&internet));
    ASSERT_NE(internet, nullptr);
    EXPECT_EQ(text_of(internet), L"Интернет");

    SetFocus(internet);
    PostMessageW(internet, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(serve_until(toolkit, [&] { return form.bar.expanded(1); }));
    EXPECT_FALSE(form.bar.expanded(0));  // the mouse-down rule ran first
    PostMessageW(internet, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(serve_until(toolkit, [&] { return component_name(GetFocus()) == L"CategoryBar1_Item1_0"; }));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(GetFocus(), WM_KEYUP, VK_SPACE, 0xC0000001);
    ASSERT_TRUE(serve_until(toolkit, [&] { return form.pages.active() == 1; }));
}

TEST(UiWin32, PopupMenusOpenWhereAskedAndRunTheChosenItem) {
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();
    form.results.set_selected(3);
    const std::string third = form.results.text(3);

    // While a menu is open its loop serves our timer, which looks at the
    // menu and drives it with keys.
    RECT seen{};
    std::vector<UINT> keys;
    ui::Timer driver(form, "Timer9");
    driver.set_interval(50);
    driver.on_tick = [&] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (!menu || !IsWindowVisible(menu)) return;
        driver.stop();
        GetWindowRect(menu, &seen);
        for (UINT key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
    };

    keys = {VK_ESCAPE};
    driver.start();
    form.tray_menu.popup(ui::Point{300, 600});  // the tray menu opens upwards
    EXPECT_EQ(seen.bottom, 600);
    EXPECT_LT(seen.top, 600);

    keys = {VK_DOWN, VK_RETURN};  // "Удалить файл"
    driver.start();
    form.result_menu.popup(ui::Point{300, 200});
    EXPECT_EQ(seen.top, 200);
    EXPECT_EQ(form.results.count(), 39);
    EXPECT_NE(form.results.text(3), third);
}

// Run by its own ctest test in a Wine prefix whose screen has 144 DPI (150%),
// never in the shared one: bounds, fonts and columns grow by half, and
// neighbours stay neighbours.
TEST(UiWin32, DISABLED_LayoutFontsAndColumnsGrowAt144Dpi) {
    {
        const platform::win32::WindowDc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 144) << "the prefix is not set to 144 DPI";
    }
    UiToolkit toolkit;
    demo::DemoForm form(toolkit);
    form.show();
    toolkit.process_messages();
    HWND top = window_of(toolkit, form);
    RECT client{};
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 1080);  // 720 x 430
    EXPECT_EQ(client.bottom, 645);

    const auto box_in_parent = [&](const ui::Control& control) {
        HWND window = window_of(toolkit, control);
        RECT box{};
        GetWindowRect(window, &box);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&box), 2);
        return box;
    };
    const RECT pages = box_in_parent(form.pages);  // 204, 6, 510 x 418
    EXPECT_EQ(pages.left, 306);
    EXPECT_EQ(pages.top, 9);
    EXPECT_EQ(pages.right, 1071);
    EXPECT_EQ(pages.bottom, 636);
    // 414, 28, 92 x 25 and 414, 56 below it: 3 units apart stay 4 pixels apart.
    const RECT start = box_in_parent(form.start), clean = box_in_parent(form.clean);
    EXPECT_EQ(start.left, 621);
    EXPECT_EQ(start.right, 759);
    EXPECT_EQ(start.bottom, 80);
    EXPECT_EQ(clean.top, 84);
    const RECT results = box_in_parent(form.results);  // 10, 20, 478 x 170
    EXPECT_EQ(results.left, 15);
    EXPECT_EQ(results.top, 30);
    EXPECT_EQ(results.right, 732);
    EXPECT_EQ(results.bottom, 285);
    EXPECT_EQ(SendMessageW(window_of(toolkit, form.results), LVM_GETCOLUMNWIDTH, 0, 0), 683);  // 455

    const auto font_height = [&](const ui::Control& control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window_of(toolkit, control), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return font.lfHeight;
    };
    EXPECT_EQ(font_height(form.title), -21);  // 14 px
    EXPECT_EQ(font_height(form.link_caption), -18);  // 12 px

    // The category bar's headers are 19 high.
    RECT header{};
    GetWindowRect(automation::component(top, L"CategoryBar1_Category0"), &header);
    EXPECT_EQ(header.bottom - header.top, 29);
}
