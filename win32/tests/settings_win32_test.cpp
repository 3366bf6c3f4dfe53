// The settings page and the update window over real windows under Wine: the
// apply button makes the two shortcuts in the prefix's shell folders and the
// Run value in its registry; a history file served on the loopback address
// brings up the update window. A picture of each.
// scripts/docs-shots.sh SettingsWin32 retakes the pictures in docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/settings_page.h"
#include "app/update_check.h"
#include "contract/contract_env.h"
#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"
#include "win32/win32_text.h"
#include "store/data_folder.h"
#include "in_process.h"

namespace {

using namespace in_process;
using platform::Root;

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SettingsForm : public ui::Form {
public:
    SettingsForm(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data)
        : ui::Form(toolkit, "Form1"), settings(page, platform, data) {
        set_caption("Vorlinde System Cleaner 1.5");
        set_color(ui::colors::white);
        set_client_size(456, 337);
        pages.set_bounds(0, 0, 456, 337);
    }
    ui::PageSet pages{*this, "PageControl"};
    ui::Page page{pages, "Settings"};
    app::SettingsPage settings;
};

// A program folder of its own with its Data folder, removed at the end.
struct ProgramFolder {
    platform::Platform& p = platform::win32::instance();
    std::string folder;
    ProgramFolder() {
        folder = contract::make_temp_folder() + "\\";
        EXPECT_TRUE(p.fs.create_folder(folder + "Data"));
    }
};

}  // namespace

TEST(SettingsWin32, ApplyMakesTheShortcutsAndTheRunValue) {
    ProgramFolder program;
    platform::Platform& p = program.p;
    store::DataFolder data(p.fs, program.folder);
    const std::string desktop = app::program_shortcut(p.registry, "Desktop");
    const std::string menu = app::program_shortcut(p.registry, "Programs");
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(menu.empty());

    platform::win32::UiToolkit toolkit;
    SettingsForm form(toolkit, p, data);
    form.settings.refresh();
    form.show();
    for (ui::CheckBox* box : {&form.settings.autostart_box(), &form.settings.desktop_box(),
                              &form.settings.menu_box(), &form.settings.update_box()})
        box->set_checked(true);
    form.settings.apply_button().click();

    const std::string exe = program.folder + "Vorlinde System Cleaner.exe";
    EXPECT_EQ(p.links.read_target(desktop), exe);
    EXPECT_EQ(p.links.read_target(menu), exe);
    {
        auto run = p.registry.open(Root::current_user, kRunKey, platform::KeyAccess::read);
        ASSERT_TRUE(run);
        EXPECT_EQ((*run)->read_string("Vorlinde SC"), "\"" + exe + "\"");
    }
    EXPECT_TRUE(data.exists("update.txt"));
    EXPECT_FALSE(data.exists("tray.txt"));
    EXPECT_FALSE(form.settings.apply_button().enabled());
    picture(toolkit, form, "page-settings", false);

    for (ui::CheckBox* box : {&form.settings.autostart_box(), &form.settings.desktop_box(),
                              &form.settings.menu_box(), &form.settings.update_box()})
        box->set_checked(false);
    form.settings.apply_button().click();
    EXPECT_FALSE(p.fs.is_existing_file(desktop));
    EXPECT_FALSE(p.fs.is_existing_file(menu));
    auto run = p.registry.open(Root::current_user, kRunKey, platform::KeyAccess::read);
    ASSERT_TRUE(run);
    EXPECT_FALSE((*run)->value_type("Vorlinde SC").has_value());
    form.close();
}

TEST(SettingsWin32, ANewerBuildOnTheServerBringsUpTheUpdateWindowFromAReadOnlyProgramFolder) {
    ProgramFolder program;
    contract::HttpServer server(
        "Версия 1.5.07\r\n- Поиск дубликатов быстрее\r\n- Исправлена очистка кэша Opera\r\n\r\n"
        "Версия 1.5.06\r\n- Первая публичная версия\r\n");
    platform::win32::UiToolkit toolkit;
    store::DataFolder data(program.p.fs, program.folder);
    // A program folder where nothing can be written, as Program Files is for
    // a standard user: read-only, with a folder in the way of "new.~".
    ASSERT_TRUE(program.p.fs.create_folder(program.folder + "new.~"));
    ASSERT_TRUE(program.p.fs.create_folder(program.folder + "new.~\\in the way"));
    ASSERT_TRUE(SetFileAttributesW(platform::win32::widen(program.folder).c_str(), FILE_ATTRIBUTE_READONLY));
    app::UpdateCheck check(toolkit, program.p, data, "http://127.0.0.1:" + std::to_string(server.port()));
    EXPECT_NE(check.copy_path().rfind(program.folder, 0), 0u);
    check.check_now();

    auto& window = check.window();
    ASSERT_TRUE(window.visible());
    EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(toolkit.window(window))));
    EXPECT_EQ(window.new_version().text(), "1.5.07");
    EXPECT_EQ(window.changes().text().substr(0, 15), "Версия 1.5.07\r\n");
    EXPECT_FALSE(program.p.fs.is_existing_file(check.copy_path()));
    picture(toolkit, window, "update-window", false);
    window.close();
    SetFileAttributesW(platform::win32::widen(program.folder).c_str(), FILE_ATTRIBUTE_NORMAL);
}
