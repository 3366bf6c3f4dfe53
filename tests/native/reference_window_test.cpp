// The registry reference window: the deletion and its summary, the question
// before a deletion without a backup, backups that fail, values that cannot
// be written, and closes during the walk or for a missing key selection.
#include <gtest/gtest.h>

#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "registry/reference_window.h"
#include "sandbox.h"

using platform::Root;
using testing_support::Sandbox;

namespace {

// Three broken values under the current user's Software\Vendor, two under
// the machine's; C: is the chosen drive.
struct Fixture {
    Fixture() {
        box.make_folder("C:\\Backup");
        box.data().rewrite(registry::kKeysFile, {"11"});
        drives.refill({"C:\\"}, {"1"});
    }
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string&) {
        config.registry =
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vendor]\r\n\"a\"=\"C:\\\\gone\\\\a.exe\"\r\n"
            "\"b\"=\"C:\\\\gone\\\\b.exe\"\r\n\"c\"=\"C:\\\\gone\\\\c.exe\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"d\"=\"C:\\\\gone\\\\d.exe\"\r\n"
            "\"e\"=\"C:\\\\gone\\\\e.exe\"\r\n";
    }};
    platform::posix::FaultyRegistry faulty{box.platform().registry};
    platform::Platform services{box.platform().fs,    faulty, box.platform().shell, box.platform().links,
                                box.platform().internet, box.platform().sound, box.platform().system};
    headless::Toolkit toolkit;
    ui::Form main{toolkit, "Form1"};
    search::DriveSelection drives;
    registry::ReferenceWindow window{toolkit, services, box.data(), drives, main};

    headless::Dialogs& dialogs() { return toolkit.dialogs(); }
    const headless::Message& last() { return dialogs().messages.back(); }
    void search() {
        toolkit.run(main);
        main.hide();
        window.show_modal();
    }
    std::optional<std::string> value(Root root, const std::string& name) {
        auto key = box.platform().registry.open(root, "Software\\Vendor", platform::KeyAccess::read);
        return key ? (*key)->read_string(name) : std::nullopt;
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (int i = 0; i < window.results().count(); ++i) out.push_back(window.results().text(i, 1));
        return out;
    }
};

}  // namespace

TEST(ReferenceWindow, DeletionEmptiesTheCheckedValuesUnderTheirRootAndCountsSinceTheSearch) {
    Fixture f;
    f.search();
    ASSERT_EQ(f.names(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(f.window.results().text(3, 0), "HKLM\\Software\\Vendor");
    EXPECT_EQ(f.window.results().text(3, 2), "C:\\gone\\d.exe");
    EXPECT_EQ(f.window.current().text(), "Найдено ненеправильных ссылок: 5");
    EXPECT_EQ(f.window.found_count().text(), "5");
    // This window's buttons carry their words without leading blanks.
    EXPECT_EQ(f.window.stop_button().text(), "Прекратить");
    EXPECT_EQ(f.window.backup_button().text(), "Создать копию реестра");
    EXPECT_EQ(f.window.delete_button().text(), "Удалить выбранные ссылки");
    EXPECT_EQ(f.last().text, "Поиск завершен. Ознакомтесь со списком найденных ссылок.");
    EXPECT_TRUE(f.window.results_group().enabled());
    EXPECT_FALSE(f.window.stop_button().visible());

    f.dialogs().folders = {"C:\\Backup"};
    f.window.backup_button().click();
    EXPECT_EQ(f.dialogs().folder_titles.back(), "Выберите папку для сохранения копии реестра");
    EXPECT_EQ(f.last().caption, "Сохранение завершено");
    EXPECT_TRUE(f.window.backup_made());

    for (int row : {0, 2, 3}) f.window.results().toggle_check(row);
    const auto asked = f.dialogs().messages.size();
    f.window.delete_button().click();
    EXPECT_EQ(f.dialogs().messages.size(), asked + 1);  // no question after a backup
    EXPECT_EQ(f.last().text, "Все выбранные ссылки были успешно удалены.");
    EXPECT_EQ(f.window.current().text(), "Найдено: 5     Удалено: 3");
    EXPECT_EQ(f.names(), (std::vector<std::string>{"b", "e"}));
    EXPECT_EQ(f.value(Root::current_user, "a"), "");  // the value stays, empty
    EXPECT_EQ(f.value(Root::local_machine, "d"), "");
    EXPECT_EQ(f.value(Root::current_user, "b"), "C:\\gone\\b.exe");
    EXPECT_TRUE(f.window.delete_button().enabled());

    f.window.check_all().click();
    EXPECT_EQ(f.window.results().checked_count(), 2);
    f.window.delete_button().click();
    EXPECT_EQ(f.window.current().text(), "Найдено: 5     Удалено: 5");
    EXPECT_EQ(f.value(Root::local_machine, "e"), "");
    for (ui::Control* c : {static_cast<ui::Control*>(&f.window.backup_button()), static_cast<ui::Control*>(&f.window.delete_button()),
                           static_cast<ui::Control*>(&f.window.check_all())})
        EXPECT_FALSE(c->enabled()) << c->name();

    f.window.close();
    EXPECT_TRUE(f.main.visible());
}

// Without a backup the deletion asks first; either answer goes on with it,
// even when the backup the user agreed to is cancelled.
TEST(ReferenceWindow, DeletionWithoutABackupAsksAndGoesOnWhateverTheAnswer) {
    Fixture f;
    f.search();
    f.window.results().toggle_check(4);
    f.dialogs().answers = {ui::Answer::no};
    f.window.delete_button().click();
    const auto& question = f.dialogs().messages.at(1);
    EXPECT_EQ(question.caption, "Confirm");
    EXPECT_EQ(question.text, "Вы не создали копию реестра. Перед внесением в реестр изменений рекомендуется создать "
                             "его резервную копию.\rСоздать копию реестра?");
    EXPECT_TRUE(f.dialogs().folder_titles.empty());
    EXPECT_EQ(f.value(Root::local_machine, "e"), "");

    f.window.results().toggle_check(0);
    f.dialogs().answers = {ui::Answer::yes};
    f.window.delete_button().click();  // the folder chooser is cancelled
    EXPECT_EQ(f.dialogs().folder_titles.size(), 1u);
    EXPECT_EQ(f.value(Root::current_user, "a"), "");
    EXPECT_EQ(f.window.current().text(), "Найдено: 5     Удалено: 2");
}

// A backup that fails says so and is no backup; a cancelled or missing
// folder ends it quietly.
TEST(ReferenceWindow, AFailedBackupSaysSoAndLeavesTheMarkClear) {
    Fixture f;
    f.search();
    const auto shown = f.dialogs().messages.size();
    f.dialogs().folders = {std::nullopt, "C:\\Missing", ""};
    for (int i = 0; i < 3; ++i) f.window.backup_button().click();
    EXPECT_EQ(f.dialogs().messages.size(), shown);

    ASSERT_TRUE(f.box.platform().registry.delete_tree(Root::local_machine, "Software"));
    f.dialogs().folders = {"C:\\Backup"};
    f.window.backup_button().click();
    EXPECT_EQ(f.last().caption, "Ошибка");
    EXPECT_EQ(f.last().icon, ui::Icon::error);
    EXPECT_NE(f.last().text.find("HKEY_LOCAL_MACHINE\\Software"), std::string::npos);
    EXPECT_FALSE(f.window.backup_made());
}

// A value that cannot be written ends the deletion there: the rows after it
// are gone, its own row stays checked, the error names key and value, and no
// summary line follows.
TEST(ReferenceWindow, AValueThatCannotBeWrittenEndsTheDeletionThere) {
    Fixture f;
    f.search();
    f.faulty.make_unreadable(Root::current_user, "Software\\Vendor");
    f.window.check_all().click();
    f.dialogs().answers = {ui::Answer::no};
    f.window.delete_button().click();
    EXPECT_EQ(f.names(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(f.window.results().checked(2));
    EXPECT_EQ(f.value(Root::local_machine, "d"), "");
    EXPECT_EQ(f.value(Root::current_user, "c"), "C:\\gone\\c.exe");
    EXPECT_EQ(f.last().caption, "Ошибка");
    EXPECT_NE(f.last().text.find("\"c\""), std::string::npos);
    EXPECT_NE(f.last().text.find("HKCU\\Software\\Vendor"), std::string::npos);
    EXPECT_EQ(f.window.current().text(), "Идет удаление выбранных ссылок...");
    EXPECT_TRUE(f.window.delete_button().enabled());
}

// Closing during the walk stops it and shows nothing of it; a search without
// rg_keys.txt searches the keys read before, reports, and closes the window.
TEST(ReferenceWindow, ClosesDuringTheWalkOrWhenTheKeySelectionIsGone) {
    Fixture f;
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 3) f.window.close();
    };
    f.search();
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
    EXPECT_TRUE(f.dialogs().messages.empty());
    EXPECT_LT(served, 10);

    f.toolkit.pump().on_serve = nullptr;
    f.main.hide();
    f.window.show_modal();
    EXPECT_EQ(f.window.results().count(), 5);
    f.window.close();

    f.box.data().rewrite(registry::kKeysFile, {"01"});
    f.main.hide();
    f.window.show_modal();
    f.window.close();
    f.box.data().remove(registry::kKeysFile);
    f.main.hide();
    f.window.show_modal();
    EXPECT_EQ(f.names(), (std::vector<std::string>{"d", "e"}));  // the machine only, as last read
    EXPECT_EQ(f.last().text, "Поиск завершен. Ознакомтесь со списком найденных ссылок.");
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
}

// A backup the user asked for that fails ends the deletion: every checked
// value stays; answering "No" then deletes without one, and the undo file of
// that deletion puts the values back.
TEST(ReferenceWindow, AFailedBackupLeavesTheValuesAndTheUndoFilePutsThemBack) {
    Fixture f;
    f.search();
    ASSERT_TRUE(f.box.platform().registry.delete_tree(Root::local_machine, "Software"));  // its export fails
    f.window.check_all().click();
    f.dialogs().answers = {ui::Answer::yes};
    f.dialogs().folders = {"C:\\Backup"};
    f.window.delete_button().click();
    EXPECT_EQ(f.last().caption, "Ошибка");
    EXPECT_EQ(f.last().text.rfind("Не удалось сохранить копию реестра.", 0), 0u);
    EXPECT_EQ(f.names().size(), 5u);
    for (const char* name : {"a", "b", "c"})
        EXPECT_EQ(f.value(Root::current_user, name), std::string("C:\\gone\\") + name + ".exe");
    EXPECT_TRUE(f.box.undo_files().empty());

    f.window.results().toggle_check(3);
    f.window.results().toggle_check(4);
    f.dialogs().answers = {ui::Answer::no};
    f.window.delete_button().click();
    EXPECT_EQ(f.value(Root::current_user, "b"), "");
    ASSERT_EQ(f.box.undo_files().size(), 1u);
    ASSERT_TRUE(f.box.undo_last());
    for (const char* name : {"a", "b", "c"})
        EXPECT_EQ(f.value(Root::current_user, name), std::string("C:\\gone\\") + name + ".exe");
}

// Another window taking the focus and giving it back searches nothing again.
TEST(ReferenceWindow, ReactivationKeepsTheRowsAndTheMarks) {
    Fixture f;
    f.search();
    f.window.results().toggle_check(1);
    f.dialogs().folders = {"C:\\Backup"};
    f.window.backup_button().click();
    ASSERT_TRUE(f.window.backup_made());
    const auto shown = f.dialogs().messages.size();

    ui::Form notice{f.toolkit, "Form20"};
    notice.show();
    f.window.activate();
    EXPECT_EQ(f.dialogs().messages.size(), shown);
    EXPECT_EQ(f.names().size(), 5u);
    EXPECT_TRUE(f.window.results().checked(1));
    EXPECT_TRUE(f.window.backup_made());
}
