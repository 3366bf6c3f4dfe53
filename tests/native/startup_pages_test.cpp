// The startup lists and the entry editor, headless.
#include <gtest/gtest.h>

#include "platform/posix/headless_ui.h"
#include "sandbox.h"
#include "startup/entry_window.h"
#include "startup/startup_page.h"

using startup::Hive;

namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

struct Startup : ::testing::Test {
    testing_support::Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "Pages"};
    ui::Page all_page{pages, "LocRun"};
    ui::Page user_page{pages, "CurRun"};
    startup::EntryWindow editor{toolkit, box.platform()};
    startup::StartupPage all_users{all_page, Hive::all_users, box.platform().registry, editor};
    startup::StartupPage current_user{user_page, Hive::current_user, box.platform().registry, editor};

    platform::Registry& registry() { return box.platform().registry; }
    void set(platform::Root root, const char* key, const std::string& name, const std::string& value) {
        auto open = registry().create(root, key);
        ASSERT_TRUE(open);
        ASSERT_TRUE((*open)->write_string(name, value));
    }
    std::optional<std::string> get(platform::Root root, const char* key, const std::string& name) {
        auto open = registry().open(root, key, platform::KeyAccess::read);
        if (!open) return std::nullopt;
        return (*open)->read_string(name);
    }
    std::vector<std::string> rows(startup::StartupPage& page) {
        std::vector<std::string> texts;
        for (int row = 0; row < page.list().count(); ++row)
            texts.push_back(page.list().text(row, 0) + "=" + page.list().text(row, 1));
        return texts;
    }
    const std::string& last_message() { return toolkit.dialogs().messages.back().text; }
};

constexpr auto HKLM = platform::Root::local_machine;
constexpr auto HKCU = platform::Root::current_user;

}  // namespace

TEST_F(Startup, ListsRunThenRunOnceAndShowsOtherTypesAsText) {
    auto open = registry().create(HKLM, kRun);
    ASSERT_TRUE(open);
    ASSERT_TRUE((*open)->write_string("Guard", "C:\\guard.exe"));
    ASSERT_TRUE((*open)->write_dword("Count", 42));
    set(HKLM, kRunOnce, "Setup", "C:\\setup.exe /once");
    ASSERT_TRUE(registry().create(HKCU, kRun));  // a key with no values

    all_users.refresh();
    current_user.refresh();
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Guard=C:\\guard.exe", "Count=42", "Setup=C:\\setup.exe /once"}));
    EXPECT_EQ(current_user.list().count(), 0);
    EXPECT_EQ(current_user.key_label().text(), "");

    all_users.list().click(2);
    EXPECT_EQ(all_users.key_label().text(), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
    all_users.refresh();  // a number stays a number
    EXPECT_EQ((*registry().open(HKLM, kRun, platform::KeyAccess::read))->read_dword("Count"), 42u);
    EXPECT_EQ(all_users.key_label().text(), "");
}

TEST_F(Startup, ANameInBothKeysIsClickedAndDeletedInRunButChangedWhereChosen) {
    set(HKCU, kRun, "Tool", "C:\\run.exe");
    set(HKCU, kRunOnce, "Tool", "C:\\once.exe");
    current_user.refresh();

    current_user.list().click(1);
    EXPECT_EQ(current_user.key_label().text(), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

    current_user.list().double_click(1);
    auto& tab = editor.change_tab(Hive::current_user);
    EXPECT_TRUE(editor.visible());
    EXPECT_EQ(editor.caption(), "Текущий пользователь");
    EXPECT_EQ(editor.tab_set().active(), 3);
    EXPECT_EQ(tab.command.text(), "C:\\once.exe");
    EXPECT_TRUE(tab.run_once.checked());
    tab.command.enter_text("C:\\once2.exe");
    tab.apply.click();
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(get(HKCU, kRunOnce, "Tool"), "C:\\once2.exe");
    EXPECT_EQ(get(HKCU, kRun, "Tool"), "C:\\run.exe");

    current_user.list().click(1);
    current_user.remove_button().click();
    EXPECT_EQ(get(HKCU, kRun, "Tool"), std::nullopt);
    EXPECT_EQ(rows(current_user), (std::vector<std::string>{"Tool=C:\\once2.exe"}));
}

TEST_F(Startup, ChangingMovesAndRenamesWithoutLosingTheEntry) {
    set(HKLM, kRun, "Old", "C:\\a.exe");
    set(HKLM, kRunOnce, "Keep", "C:\\k.exe");
    all_users.refresh();

    // Run -> RunOnce under a new name.
    all_users.list().click(0);
    all_users.change_button().click();
    auto& tab = editor.change_tab(Hive::all_users);
    tab.run_once.click();
    tab.name.enter_text("New");
    tab.apply.click();
    EXPECT_EQ(get(HKLM, kRun, "Old"), std::nullopt);
    EXPECT_EQ(get(HKLM, kRunOnce, "New"), "C:\\a.exe");
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Keep=C:\\k.exe", "New=C:\\a.exe"}));

    // A case-only rename keeps one value, spelt anew.
    all_users.list().click(1);
    all_users.change_button().click();
    tab.name.enter_text("NEW");
    tab.apply.click();
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Keep=C:\\k.exe", "NEW=C:\\a.exe"}));

    // Into a Run key that is gone: the write fails, the entry stays, the editor stays open.
    ASSERT_TRUE(registry().delete_tree(HKLM, kRun));
    all_users.list().click(1);
    all_users.change_button().click();
    tab.run.click();
    tab.apply.click();
    EXPECT_TRUE(editor.visible());
    EXPECT_EQ(toolkit.dialogs().messages.back().icon, ui::Icon::error);
    EXPECT_EQ(get(HKLM, kRunOnce, "NEW"), "C:\\a.exe");
    editor.close();
}

TEST_F(Startup, AddingChecksItsFieldsAndOverwritesAnExistingName) {
    set(HKCU, kRun, "App", "C:\\old.exe");
    box.write("C:\\Tools\\app.exe");
    current_user.refresh();
    current_user.add_button().click();
    auto& tab = editor.add_tab(Hive::current_user);
    EXPECT_EQ(editor.tab_set().active(), 1);

    tab.apply.click();
    EXPECT_EQ(last_message(), "Вы не выбрали файл.");
    EXPECT_EQ(toolkit.dialogs().messages.back().caption, "Недостаточно данных");
    tab.name.enter_text("Typed");
    toolkit.dialogs().files.push_back({"C:\\Tools\\app.exe"});
    tab.choose.click();
    EXPECT_EQ(tab.command.text(), "C:\\Tools\\app.exe");
    EXPECT_EQ(tab.name.text(), "app.exe");
    toolkit.dialogs().files.push_back({"C:\\Tools\\missing.exe"});
    tab.choose.click();
    EXPECT_EQ(tab.command.text(), "C:\\Tools\\app.exe");
    tab.name.enter_text("");
    tab.apply.click();
    EXPECT_EQ(last_message(), "Вы не ввели имя записи.");
    tab.name.enter_text("App");
    tab.apply.click();
    EXPECT_EQ(last_message(), "Вы не выбрали тип запуска.");
    tab.run.click();
    tab.apply.click();
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(rows(current_user), (std::vector<std::string>{"App=C:\\Tools\\app.exe"}));

    // The add tab opens empty; a RunOnce key that does not exist refuses the write.
    current_user.add_button().click();
    EXPECT_EQ(tab.command.text(), "");
    EXPECT_FALSE(tab.run.checked());
    tab.command.enter_text("C:\\x.exe");
    tab.name.enter_text("X");
    tab.run_once.click();
    tab.apply.click();
    EXPECT_TRUE(editor.visible());
    EXPECT_EQ(toolkit.dialogs().messages.back().icon, ui::Icon::error);
    editor.close();
}

TEST_F(Startup, ManyEntriesAllFit) {
    auto open = registry().create(HKLM, kRun);
    ASSERT_TRUE(open);
    for (int i = 0; i < 1200; ++i) ASSERT_TRUE((*open)->write_string("v" + std::to_string(i), "c"));
    all_users.refresh();
    EXPECT_EQ(all_users.list().count(), 1200);
    all_users.list().click(1100);
    all_users.change_button().click();
    EXPECT_EQ(editor.change_tab(Hive::all_users).name.text(), "v1100");
    editor.close();
}

TEST_F(Startup, AllUsersListsBothViewsAndChangesEachWhereItCameFrom) {
    constexpr char kRun32[] = "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
    set(HKLM, kRun, "Both", "C:\\both.exe");
    set(HKLM, kRun32, "Both", "C:\\both.exe");  // one key seen twice: listed once
    set(HKLM, kRun32, "Old32", "C:\\x86.exe");
    set(HKLM, "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Once32", "C:\\o.exe");
    set(HKLM, kRunOnce, "Once64", "C:\\o64.exe");
    all_users.refresh();
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Both=C:\\both.exe", "Old32=C:\\x86.exe",
                                                          "Once64=C:\\o64.exe", "Once32=C:\\o.exe"}));
    all_users.list().click(1);
    EXPECT_EQ(all_users.key_label().text(), "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");

    // A change stays in the 32-bit view; an addition goes to the 64-bit one.
    all_users.change_button().click();
    auto& change = editor.change_tab(Hive::all_users);
    change.name.enter_text("New32");
    change.apply.click();
    EXPECT_EQ(get(HKLM, kRun32, "New32"), "C:\\x86.exe");
    EXPECT_EQ(get(HKLM, kRun32, "Old32"), std::nullopt);
    EXPECT_EQ(get(HKLM, kRun, "New32"), std::nullopt);
    all_users.add_button().click();
    auto& add = editor.add_tab(Hive::all_users);
    add.command.enter_text("C:\\added.exe");
    add.name.enter_text("Added");
    add.run.click();
    add.apply.click();
    EXPECT_EQ(get(HKLM, kRun, "Added"), "C:\\added.exe");

    all_users.list().click(4);  // "Once32"
    all_users.remove_button().click();
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Both=C:\\both.exe", "Added=C:\\added.exe",
                                                          "New32=C:\\x86.exe", "Once64=C:\\o64.exe"}));
}
