// The startup pages, the entry editor and the autorun notification over real
// windows under Wine: an entry added through the editor lands in Wine's
// registry, a new value slides the notification in, "Удалить" removes it; a
// 32-bit program's Run value is listed and watched in the 32-bit view.
// scripts/docs-shots.sh StartupWin32 retakes the pictures in docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"
#include "startup/autorun_page.h"
#include "startup/entry_window.h"
#include "startup/notice_window.h"
#include "startup/startup_page.h"
#include "store/data_folder.h"
#include "in_process.h"

namespace {

using namespace in_process;
using platform::win32::UiToolkit;

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The current user's Run value, read straight from the registry.
std::wstring run_value(const wchar_t* name) {
    wchar_t text[512] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

void set_run_value(const wchar_t* name, const wchar_t* text) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, name, REG_SZ, text,
                              static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void drop_run_value(const wchar_t* name) { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name); }

struct Silent : platform::SoundPlayer {
    platform::Status load(const std::string&) override { return platform::Status::success(); }
    bool loaded() const override { return true; }
    void play() override {}
};

class StartupForm : public ui::Form {
public:
    StartupForm(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                startup::EntryWindow& editor, startup::AutorunMonitor& monitor)
        : ui::Form(toolkit, "Form1"),
          all_users(all_page, startup::Hive::all_users, platform, data, editor),
          current_user(user_page, startup::Hive::current_user, platform, data, editor),
          tools(tools_page, platform, data, monitor) {
        set_caption("Vorlinde System Cleaner 1.5");
        set_color(ui::colors::white);
        set_client_size(494, 337);
        pages.set_bounds(0, 0, 494, 337);
    }

    ui::PageSet pages{*this, "PageControl"};
    ui::Page all_page{pages, "LocRun"}, user_page{pages, "CurRun"}, tools_page{pages, "RunTools"};
    startup::StartupPage all_users, current_user;
    startup::AutorunPage tools;
};

struct Startup {
    UiToolkit toolkit;
    platform::Platform& platform = platform::win32::instance();
    TempProgramFolder program{"startup"};
    store::DataFolder data{platform.fs, program.folder};
    Silent radar, link;
    startup::EntryWindow editor{toolkit, platform, data};
    startup::NoticeWindow notice{toolkit, platform, data, radar, link};
    startup::AutorunMonitor monitor{notice, platform.registry, data};
    StartupForm form{toolkit, platform, data, editor, monitor};
};

}  // namespace

TEST(StartupWin32, TheEditorAddsAnEntryToTheRegistry) {
    Startup s;
    set_run_value(L"VscSample", L"C:\\Program Files\\Sample\\sample.exe /tray");
    s.form.pages.set_active(1);
    s.form.current_user.refresh();
    picture(s.toolkit, s.form, "page-startup-user");

    ui::Timer fill(s.editor, "FillTimer");
    fill.set_interval(50);
    fill.on_tick = [&] {
        if (!s.editor.active()) return;
        fill.stop();
        auto& tab = s.editor.add_tab(startup::Hive::current_user);
        tab.command.enter_text("C:\\windows\\notepad.exe");
        tab.name.enter_text("VscAdded");
        tab.run.click();
        picture(s.toolkit, s.editor, "editor-startup-entry", false);
        tab.apply.click();
    };
    fill.start();
    s.form.current_user.add_button().click();  // modal until "  Применить" closes it

    EXPECT_FALSE(s.editor.visible());
    EXPECT_EQ(run_value(L"VscAdded"), L"C:\\windows\\notepad.exe");
    EXPECT_NE(s.form.current_user.list().find("VscAdded"), -1);
    drop_run_value(L"VscAdded");
    drop_run_value(L"VscSample");

    s.form.close();
}

TEST(StartupWin32, ANewValueSlidesTheNoticeInAndDeleteRemovesIt) {
    Startup s;
    drop_run_value(L"VscIntruder");
    set_run_value(L"VscKnown", L"C:\\known.exe");
    s.form.pages.set_active(2);
    s.form.tools.refresh();
    s.form.tools.watch_box(2).set_checked(true);
    s.form.tools.apply_button().click();
    EXPECT_TRUE(s.monitor.watching());
    picture(s.toolkit, s.form, "page-startup-tools");

    set_run_value(L"VscIntruder", L"C:\\Temp\\intruder.exe -silent");
    s.monitor.tick();
    ASSERT_TRUE(s.notice.visible());
    ASSERT_TRUE(serve_until(s.toolkit, [&] { return !s.notice.slide_timer().enabled(); }));
    RECT box{};
    GetWindowRect(static_cast<HWND>(s.toolkit.window(s.notice)), &box);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(box.right - box.left, 371);
    EXPECT_EQ(box.bottom - box.top, 128);
    EXPECT_GT(box.right, screen);
    EXPECT_LE(box.right, screen + 10);
    EXPECT_EQ(s.notice.name().text(), "VscIntruder");
    picture(s.toolkit, s.notice, "notice-startup", false);


    s.notice.remove_link().click();
    EXPECT_EQ(run_value(L"VscIntruder"), L"<missing>");
    EXPECT_EQ(run_value(L"VscKnown"), L"C:\\known.exe");
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(s.toolkit.window(s.notice))));
    drop_run_value(L"VscKnown");

    for (std::size_t key = 0; key < 4; ++key) s.form.tools.watch_box(key).set_checked(false);
    s.form.tools.apply_button().click();
    EXPECT_FALSE(s.monitor.watching());
    s.form.close();
}

// A Run value named with letters that have no cp1251 form: listed with '?'
// for them, noticed by the watch, and never acted on by that name.
TEST(StartupWin32, ANameWithoutACp1251FormIsListedNoticedAndNeverActedOn) {
    Startup s;
    const wchar_t* foreign = L"Vsc\u0141\u00f3d\u017a";  // "VscŁódź"
    drop_run_value(foreign);
    set_run_value(L"VscKnown", L"C:\\known.exe");
    s.form.tools.refresh();
    s.form.tools.watch_box(2).set_checked(true);
    s.form.tools.apply_button().click();

    // Every refusal is a message box, answered here.
    std::vector<std::string> captions;
    ui::Timer answer(s.form, "AnswerTimer");
    answer.set_interval(50);
    answer.on_tick = [&] {
        if (HWND box = visible_dialog()) {
            wchar_t caption[128] = {};
            GetWindowTextW(box, caption, 128);
            captions.push_back(to_cp1251(caption));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    answer.start();

    set_run_value(foreign, L"C:\\Temp\\hidden.exe");
    s.monitor.tick();
    ASSERT_TRUE(s.notice.visible());
    EXPECT_EQ(s.notice.name().text(), "Vsc??d?");
    s.notice.remove_link().click();
    EXPECT_EQ(run_value(foreign), L"C:\\Temp\\hidden.exe");

    s.form.current_user.refresh();
    auto& list = s.form.current_user.list();
    const int row = list.find("Vsc??d?");
    ASSERT_GE(row, 0);
    list.click(row);
    s.form.current_user.remove_button().click();
    EXPECT_EQ(run_value(foreign), L"C:\\Temp\\hidden.exe");
    EXPECT_EQ(captions, (std::vector<std::string>{"Ошибка", "Ошибка"}));
    answer.stop();

    drop_run_value(foreign);
    drop_run_value(L"VscKnown");
}

TEST(StartupWin32, A32BitProgramsRunValueIsListedAndNoticed) {
    const wchar_t kMachineRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY run32 = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kMachineRun, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                              &run32, nullptr),
              ERROR_SUCCESS);
    const auto set32 = [&](const wchar_t* name, const wchar_t* text) {
        ASSERT_EQ(RegSetValueExW(run32, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    };
    RegDeleteValueW(run32, L"VscIntruder32");
    set32(L"VscTray32", L"C:\\Program Files (x86)\\Tray\\tray.exe");

    Startup s;
    s.form.pages.set_active(0);
    s.form.all_users.refresh();
    const int row = s.form.all_users.list().find("VscTray32");
    ASSERT_GE(row, 0);
    EXPECT_EQ(s.form.all_users.list().text(row, 1), "C:\\Program Files (x86)\\Tray\\tray.exe");
    s.form.all_users.list().click(row);
    EXPECT_EQ(s.form.all_users.key_label().text(), "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    picture(s.toolkit, s.form, "page-startup-all");

    s.form.pages.set_active(2);
    s.form.tools.refresh();
    s.form.tools.watch_box(0).set_checked(true);
    s.form.tools.apply_button().click();
    set32(L"VscIntruder32", L"C:\\Temp\\intruder32.exe");
    s.monitor.tick();
    ASSERT_TRUE(s.notice.visible());
    EXPECT_EQ(s.notice.name().text(), "VscIntruder32");
    EXPECT_EQ(s.notice.key_text().text(), "HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    s.notice.remove_link().click();
    EXPECT_EQ(RegQueryValueExW(run32, L"VscIntruder32", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);

    RegDeleteValueW(run32, L"VscTray32");
    RegCloseKey(run32);
    for (std::size_t key = 0; key < 4; ++key) s.form.tools.watch_box(key).set_checked(false);
    s.form.tools.apply_button().click();
    s.form.close();
}
