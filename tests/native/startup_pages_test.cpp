// The startup lists and the entry editor, headless.
#include <gtest/gtest.h>

#include "posix/faults.h"
#include "posix/headless_ui.h"
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
    platform::posix::FaultyFileSystem fs{box.platform().fs};
    platform::posix::FaultyRegistry faulty{box.platform().registry};
    platform::Platform services{fs, faulty, box.platform().shell, box.platform().links,
                                box.platform().internet, box.platform().sound, box.platform().system};
    startup::EntryWindow editor{toolkit, services, box.data()};
    startup::StartupPage all_users{all_page, Hive::all_users, services, box.data(), editor};
    startup::StartupPage current_user{user_page, Hive::current_user, services, box.data(), editor};

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

// A rename the registry sees as the same name, for letters beyond А-Я too,
// renames in place; the undo file puts the old spelling back.
TEST_F(Startup, ACaseOnlyRenameOfAnyLetterKeepsTheEntryAndCanBeUndone) {
    set(HKCU, kRun, "ёлка", "C:\\tree.exe");
    current_user.refresh();
    current_user.list().click(0);
    current_user.change_button().click();
    auto& tab = editor.change_tab(Hive::current_user);
    tab.name.enter_text("Ёлка");
    tab.apply.click();
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(rows(current_user), (std::vector<std::string>{"Ёлка=C:\\tree.exe"}));

    ASSERT_TRUE(box.undo_last());
    current_user.refresh();
    EXPECT_EQ(rows(current_user), (std::vector<std::string>{"ёлка=C:\\tree.exe"}));
}

// Numbers, bytes and string lists are shown as text, their command cannot
// be edited, and a change or a move keeps their type and data exactly.
TEST_F(Startup, EntriesOfOtherTypesKeepTheirDataThroughTheEditor) {
    const std::vector<std::pair<std::string, platform::RawValue>> planted{
        {"Number", {platform::ValueType::dword, std::string("\x2a\0\0\0", 4)}},
        {"Bytes", {platform::ValueType::binary, std::string("\x01\xff", 2)}},
        {"List", platform::text_value(platform::ValueType::multi_string, std::string("a.exe\0b.exe", 11))},
        {"Expand", platform::text_value(platform::ValueType::expand_string, "%WINDIR%\\x.exe")}};
    {
        auto key = registry().create(HKLM, kRun);
        for (const auto& [name, value] : planted) ASSERT_TRUE((*key)->write_raw(name, value));
        ASSERT_TRUE(registry().create(HKLM, kRunOnce));
    }
    all_users.refresh();
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Number=42", "Bytes=01 ff", "List=a.exe b.exe",
                                                         "Expand=%WINDIR%\\x.exe"}));
    auto& tab = editor.change_tab(Hive::all_users);
    for (int row = 0; row < 3; ++row) {
        all_users.list().click(row);
        all_users.change_button().click();
        EXPECT_TRUE(tab.command.read_only());
        tab.apply.click();  // unchanged
        EXPECT_FALSE(editor.visible());
    }
    all_users.list().click(1);
    all_users.change_button().click();
    tab.name.enter_text("Moved");
    tab.run_once.click();
    tab.apply.click();
    all_users.list().click(2);
    all_users.change_button().click();
    EXPECT_FALSE(tab.command.read_only());
    tab.command.enter_text("%WINDIR%\\y.exe");
    tab.apply.click();

    const auto raw = [&](const char* key, const std::string& name) {
        return (*registry().open(HKLM, key, platform::KeyAccess::read))->read_raw(name);
    };
    EXPECT_EQ(raw(kRun, "Number"), planted[0].second);
    EXPECT_EQ(raw(kRunOnce, "Moved"), planted[1].second);
    EXPECT_FALSE(raw(kRun, "Bytes"));
    EXPECT_EQ(raw(kRun, "List"), planted[2].second);
    EXPECT_EQ(raw(kRun, "Expand"), platform::text_value(platform::ValueType::expand_string, "%WINDIR%\\y.exe"));

    // Each change left its undo file: the last puts the old command back.
    ASSERT_TRUE(box.undo_last());
    EXPECT_EQ(raw(kRun, "Expand"), planted[3].second);
}

// A deletion that fails, or whose undo file cannot be written, says why and
// leaves the entry listed as the registry still has it.
TEST_F(Startup, FailedDeletionsAreToldAndNothingChangesWithoutTheUndoFile) {
    set(HKLM, kRun, "Guard", "C:\\guard.exe");
    all_users.refresh();
    faulty.make_read_only(HKLM, kRun);
    all_users.list().click(0);
    all_users.remove_button().click();
    EXPECT_EQ(toolkit.dialogs().messages.back().caption, "Ошибка");
    EXPECT_EQ(rows(all_users), (std::vector<std::string>{"Guard=C:\\guard.exe"}));

    faulty.clear();
    fs.deny("C:\\Program\\Data\\Backups");
    all_users.list().click(0);
    all_users.remove_button().click();
    EXPECT_NE(last_message().find("Реестр не изменен."), std::string::npos);
    EXPECT_EQ(get(HKLM, kRun, "Guard"), "C:\\guard.exe");

    fs.clear();
    all_users.list().click(0);
    all_users.remove_button().click();
    EXPECT_EQ(get(HKLM, kRun, "Guard"), std::nullopt);
    ASSERT_TRUE(box.undo_last());
    EXPECT_EQ(get(HKLM, kRun, "Guard"), "C:\\guard.exe");
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
