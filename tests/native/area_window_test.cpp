// The search area window "Область поиска": drive checks against folder rows,
// the refusals of "  Добавить", apply, and what an opening keeps.
#include <gtest/gtest.h>

#include <memory>

#include "editors_fixture.h"
#include "search/area_window.h"

using testing_support::EditorsFixture;
using testing_support::readable;

namespace {

std::vector<std::string> rows(const ui::ListControl& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.count(); ++i) texts.push_back(list.text(i));
    return texts;
}

struct AreaFixture : EditorsFixture {
    AreaFixture() { select({}); }
    // A window of the variant, opened.
    std::unique_ptr<search::AreaWindow> open(const search::AreaVariant& variant = search::kTempFilesArea) {
        auto window =
            std::make_unique<search::AreaWindow>(toolkit, variant, box.data(), box.platform().fs, drives, selection);
        window->show_modal();
        return window;
    }
};

}  // namespace

TEST(AreaWindow, CheckingOrUncheckingADriveRemovesItsFolderRows) {
    AreaFixture f;
    f.box.data().rewrite("tf_drives.txt", {"0", "1"});
    f.box.data().rewrite("tf_dirs.txt", {"C:\\One", "D:\\Two", "c:\\three", "E:\\Four", "C:\\Five"});
    auto window = f.open();
    ASSERT_EQ(rows(window->drive_list()), (std::vector<std::string>{"C:\\", "D:\\", "E:\\"}));
    window->drive_list().toggle_check(0);  // C: checked
    EXPECT_EQ(rows(window->folder_list()), (std::vector<std::string>{"D:\\Two", "E:\\Four"}));
    window->drive_list().toggle_check(1);  // D: unchecked
    EXPECT_EQ(rows(window->folder_list()), (std::vector<std::string>{"E:\\Four"}));
}

TEST(AreaWindow, AddRefusesRootsFoldersOnCheckedDrivesAndExactDuplicates) {
    AreaFixture f;
    f.box.make_folder("C:\\Work");
    f.box.make_folder("D:\\Games");
    auto window = f.open();
    window->drive_list().toggle_check(1);  // D:
    // A root on an unchecked drive, a folder on a checked one, a duplicate, the
    // same folder in other letters; then a cancelled chooser, an empty answer
    // and a folder that is gone, which say nothing.
    for (const char* folder : {"C:\\", "D:\\Games", "C:\\Work", "C:\\Work", "c:\\work"}) {
        f.choose(folder);
        window->add_button().click();
    }
    window->add_button().click();
    for (const char* folder : {"", "C:\\Gone"}) {
        f.choose(folder);
        window->add_button().click();
    }
    auto& said = f.messages();
    ASSERT_EQ(said.size(), 3u);
    EXPECT_EQ(said[0].text, "Нельзя добавить логический диск в качестве папки.") << readable(said[0].text);
    EXPECT_EQ(said[1].text,
              "Папка не была добавлена, так как находится на диске, который уже выбран для поиска.\r"
              "Вам необходимо выбрать папку на том диске, который еще не выбран для поиска.");
    EXPECT_EQ(said[2].text, "Выбранная папка уже была добавлена в список.");
    for (const auto& message : said) {
        EXPECT_EQ(message.caption, "Папка не добавлена");
        EXPECT_EQ(message.icon, ui::Icon::information);
        EXPECT_EQ(message.owner, "AreaForm_tf");
    }
    EXPECT_EQ(rows(window->folder_list()), (std::vector<std::string>{"C:\\Work", "c:\\work"}));
    EXPECT_EQ(f.dialogs().folder_titles.back(), "Выберите папку...");
}

TEST(AreaWindow, ApplyWritesTheFilesAndTheMainWindowSelectionOrRefusesAnEmptyArea) {
    AreaFixture f;
    f.select({"1", "0", "1"});
    f.box.data().rewrite("tf_dirs.txt", {"D:\\Cache"});
    auto window = f.open();
    window->apply_button().click();  // folders only
    EXPECT_EQ(f.file("tf_drives.txt"), "0\r\n0\r\n0\r\n");
    EXPECT_EQ(f.file("tf_dirs.txt"), "D:\\Cache\r\n");
    EXPECT_TRUE(f.selection.checked_letters().empty());
    EXPECT_FALSE(window->visible());

    f.box.data().remove("tf_dirs.txt");
    f.box.data().remove("tf_drives.txt");
    window->show_modal();
    window->apply_button().click();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text,
              "Вы не выбрали ни одного диска и ни одной папки.\r"
              "Для поиска временных файлов необходимо задать область поиска.");
    EXPECT_EQ(f.messages()[0].caption, "Не выбрана область поиска");
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
    EXPECT_FALSE(f.box.exists("C:\\Program\\Data\\tf_drives.txt") || f.box.exists("C:\\Program\\Data\\tf_dirs.txt"));
    EXPECT_TRUE(window->visible());

    window->drive_list().toggle_check(2);
    window->apply_button().click();
    EXPECT_EQ(f.file("tf_drives.txt"), "0\r\n0\r\n1\r\n");
    EXPECT_EQ(f.selection.checked_letters(), (std::vector<char>{'E'}));
}

TEST(AreaWindow, DriveChecksOutliveAnOpeningWhileFoldersComeFromTheFile) {
    AreaFixture f;
    f.box.make_folder("C:\\Work");
    f.box.data().rewrite("tf_dirs.txt", {"C:\\Old"});
    auto window = f.open();
    f.choose("C:\\Work");
    window->add_button().click();
    window->drive_list().toggle_check(1);
    window->close();  // nothing applied

    f.box.data().rewrite("tf_drives.txt", {"0", "0", "1"});  // an opening only adds checks
    window->show_modal();
    EXPECT_EQ(rows(window->folder_list()), (std::vector<std::string>{"C:\\Old"}));
    EXPECT_EQ(window->drive_list().checked_count(), 2);
    EXPECT_FALSE(window->drive_list().checked(0));
}

TEST(AreaWindow, RemoveSelectsTheRowThatTakesThePlace) {
    AreaFixture f;
    f.box.data().rewrite("ed_dirs.txt", {"C:\\A", "C:\\B", "C:\\C"});
    auto window = f.open(search::kEmptyDirsArea);
    auto& folders = window->folder_list();
    window->remove_button().click();  // nothing selected
    EXPECT_EQ(folders.count(), 3);
    folders.click(1);
    window->remove_button().click();
    EXPECT_EQ(rows(folders), (std::vector<std::string>{"C:\\A", "C:\\C"}));
    EXPECT_EQ(folders.selected(), 1);
    window->remove_button().click();
    EXPECT_EQ(folders.selected(), 0);
}

TEST(AreaWindow, TheOtherSearchesNameThemselvesInTheEmptyAreaMessage) {
    AreaFixture f;
    for (const auto* variant : {&search::kBrokenLinksArea, &search::kDuplicatesArea}) {
        auto window = f.open(*variant);
        window->apply_button().click();
        window->drive_list().toggle_check(0);
        window->apply_button().click();
        EXPECT_EQ(f.file(std::string(variant->prefix) + "_drives.txt"), "1\r\n0\r\n0\r\n");
    }
    ASSERT_EQ(f.messages().size(), 2u);
    EXPECT_EQ(f.messages()[0].text, "Вы не выбрали ни одного диска и ни одной папки.\r"
                                    "Для поиска неправильных ярлыков необходимо задать область поиска.");
    EXPECT_EQ(f.messages()[1].text, "Вы не выбрали ни одного диска и ни одной папки.\r"
                                    "Для поиска копий файлов необходимо задать область поиска.");
}
