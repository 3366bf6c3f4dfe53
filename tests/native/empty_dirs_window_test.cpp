// The empty folder search window: its report, opening a folder, and removal
// of the checked folders by the mode stored when the deletion starts.
#include <gtest/gtest.h>

#include "emptydirs/empty_dirs_window.h"
#include "posix/headless_ui.h"
#include "sandbox.h"

using emptydirs::SearchMode;
using testing_support::Sandbox;

namespace {

struct Fixture {
    Sandbox box;
    headless::Toolkit toolkit;
    ui::Form main{toolkit, "Form1"};
    search::DriveSelection drives;
    emptydirs::EmptyDirsWindow window{toolkit, box.platform(), box.data(), drives, main};

    const std::vector<headless::Message>& messages() { return toolkit.dialogs().messages; }
    void search(SearchMode mode, const std::vector<std::string>& area) {
        emptydirs::EmptyDirsSettings::store_mode(box.data(), mode);
        box.data().rewrite("ed_dirs.txt", area);
        toolkit.run(main);
        main.hide();
        window.show_modal();
    }
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        for (int i = 0; i < window.results().count(); ++i) out.push_back(window.results().text(i));
        return out;
    }
};

}  // namespace

// Checking C:\A\B alone removes the tree with C:\A\B\C in it; the row of
// C:\A\B\C goes too, unchecked, and counts as deleted.
TEST(EmptyDirsWindow, ATreeRemovalTakesTheRowsOfItsSubfoldersAlong) {
    Fixture f;
    f.box.write("C:\\A\\keep.txt");
    f.box.make_folder("C:\\A\\B\\C");
    f.search(SearchMode::empty_trees, {"C:\\A", "C:\\A\\B"});
    ASSERT_EQ(f.rows(), (std::vector<std::string>{"C:\\A\\B", "C:\\A\\B\\C"}));
    EXPECT_EQ(f.window.current().text(), "Найдено пустых папок: 2");
    EXPECT_EQ(f.window.found_count().text(), "2");
    EXPECT_EQ(f.messages().back().text, "Поиск завершен. Ознакомтесь со списком найденных папок.");
    EXPECT_TRUE(f.window.results_group().enabled());

    f.window.results().toggle_check(0);
    f.window.delete_button().click();
    EXPECT_FALSE(f.box.exists("C:\\A\\B"));
    EXPECT_TRUE(f.box.exists("C:\\A\\keep.txt"));
    EXPECT_TRUE(f.rows().empty());
    EXPECT_EQ(f.messages().back().text, "Все выбранные папки были успешно удалены.");
    EXPECT_EQ(f.messages().back().caption, "Удаление завершено");
    EXPECT_EQ(f.window.current().text(), "Найдено папок: 2          Удалено папок: 2");
    EXPECT_FALSE(f.window.results_group().enabled());
    EXPECT_FALSE(f.window.delete_button().enabled());
}

// Empty-folder mode: a folder that received a file since the search keeps
// its file and its row, and the message names the failure; the summary
// counts from the search's total.
TEST(EmptyDirsWindow, AFolderThatIsNoLongerEmptyStaysAndTheSummaryCountsTheRest) {
    Fixture f;
    for (const char* name : {"e1", "e2", "e3", "e4"}) f.box.make_folder(std::string("C:\\E\\") + name);
    f.search(SearchMode::empty_folders, {"C:\\E"});
    ASSERT_EQ(f.rows().size(), 4u);
    f.box.write("C:\\E\\e3\\new.txt");
    f.window.check_all().click();
    f.window.results().set_checked(3, false);
    f.window.results().select(0);
    f.window.delete_button().click();
    EXPECT_FALSE(f.window.open_button().enabled());  // the selected row went
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\E\\e3", "C:\\E\\e4"}));
    EXPECT_TRUE(f.box.exists("C:\\E\\e3\\new.txt"));
    EXPECT_EQ(f.messages().back().text, "Некоторые папки удалить не удалось. По причинческим технинам.");
    EXPECT_EQ(f.window.current().text(), "Найдено папок: 4          Удалено папок: 2");
    EXPECT_TRUE(f.window.results_group().enabled());
}

// The mode on the page when the deletion starts decides how a folder goes: a
// tree found by the tree search is not removed as a single folder.
TEST(EmptyDirsWindow, TheModeStoredAtDeletionChoosesTheRemoval) {
    Fixture f;
    f.box.make_folder("C:\\A\\B\\C");
    f.search(SearchMode::empty_trees, {"C:\\A"});
    ASSERT_EQ(f.rows(), (std::vector<std::string>{"C:\\A\\B"}));
    emptydirs::EmptyDirsSettings::store_mode(f.box.data(), SearchMode::empty_folders);
    f.window.check_all().click();
    f.window.delete_button().click();
    EXPECT_TRUE(f.box.exists("C:\\A\\B\\C"));
    EXPECT_EQ(f.rows().size(), 1u);

    emptydirs::EmptyDirsSettings::store_mode(f.box.data(), SearchMode::empty_trees);
    f.window.delete_button().click();
    EXPECT_FALSE(f.box.exists("C:\\A\\B"));
    EXPECT_EQ(f.window.current().text(), "Найдено папок: 1          Удалено папок: 1");
}

// Nothing to walk at all (no drive, no area folder): the report of an empty
// result follows as after any search.
TEST(EmptyDirsWindow, NoWalkFolderEndsWithTheEmptyReport) {
    Fixture f;
    f.search(SearchMode::empty_folders, {});
    EXPECT_EQ(f.window.step().text(), "Поиск завершен");
    EXPECT_EQ(f.window.current().text(), "Пустых папок не обнаружено");
    EXPECT_EQ(f.window.found_count().text(), "0");
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Поиск завершен. Не было найдено ни одной пустой папки.");
    EXPECT_FALSE(f.window.stop_button().visible());
    EXPECT_FALSE(f.window.results_group().enabled());
}

// A selected row opens in Explorer, its path unquoted; without a selection
// neither the button (enabled by the report) nor a double click starts anything.
TEST(EmptyDirsWindow, OpeningNeedsASelectedRow) {
    Fixture f;
    f.box.make_folder("C:\\My Files\\old one");
    f.search(SearchMode::empty_folders, {"C:\\My Files"});
    ASSERT_EQ(f.rows(), (std::vector<std::string>{"C:\\My Files\\old one"}));
    EXPECT_TRUE(f.window.open_button().enabled());
    f.window.open_button().click();
    f.window.results().double_click(-1);  // empty space
    EXPECT_TRUE(f.box.host().shell().started().empty());
    f.window.results().select(0);
    EXPECT_TRUE(f.window.open_button().enabled());
    f.window.open_button().click();
    f.window.results().double_click(0);
    EXPECT_EQ(f.box.host().shell().started(),
              (std::vector<std::string>{"Explorer.exe C:\\My Files\\old one", "Explorer.exe C:\\My Files\\old one"}));
    f.window.results().select(-1);
    EXPECT_FALSE(f.window.open_button().enabled());
}

// Closing the window while it walks stops the walk: nothing of that search is
// shown, the main window is back, and the next search starts clean.
TEST(EmptyDirsWindow, ClosingDuringTheWalkStopsItAndSaysNothingMore) {
    Fixture f;
    for (int i = 0; i < 6; ++i) f.box.make_folder("C:\\W\\" + std::to_string(i) + "\\x");
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 4) f.window.close();
    };
    f.search(SearchMode::empty_folders, {"C:\\W"});
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_LT(served, 12);

    f.toolkit.pump().on_serve = nullptr;
    f.main.hide();
    f.window.show_modal();
    EXPECT_EQ(f.window.results().count(), 6);
    EXPECT_EQ(f.messages().size(), 1u);
}
