// The search area window "Область поиска": drive checks against folder rows,
// the refusals of "  Добавить", apply, and what an opening keeps.
#include <gtest/gtest.h>

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
};

}  // namespace

TEST(AreaWindow, CheckingOrUncheckingADriveRemovesItsFolderRows) {
    AreaFixture f;
    search::AreaWindow window(f.toolkit, search::kTempFilesArea, f.box.data(), f.box.platform().fs, f.drives,
                              f.selection);
    ASSERT_EQ(rows(window.drive_list()), (std::vector<std::string>{"C:\\", "D:\\", "E:\\"}));
    f.box.data().rewrite("tf_drives.txt", {"0", "1"});
    f.box.data().rewrite("tf_dirs.txt", {"C:\\One", "D:\\Two", "c:\\three", "E:\\Four", "C:\\Five"});
    window.show_modal();
    EXPECT_TRUE(window.drive_list().checked(1));

    window.drive_list().toggle_check(0);  // C: checked
    EXPECT_EQ(rows(window.folder_list()), (std::vector<std::string>{"D:\\Two", "E:\\Four"}));
    window.drive_list().toggle_check(1);  // D: unchecked
    EXPECT_EQ(rows(window.folder_list()), (std::vector<std::string>{"E:\\Four"}));
    EXPECT_FALSE(window.drive_list().checked(1));
}

TEST(AreaWindow, AddRefusesRootsFoldersOnCheckedDrivesAndExactDuplicates) {
    AreaFixture f;
    f.box.make_folder("C:\\Work");
    f.box.make_folder("D:\\Games");
    search::AreaWindow window(f.toolkit, search::kTempFilesArea, f.box.data(), f.box.platform().fs, f.drives,
                              f.selection);
    window.show_modal();
    window.drive_list().toggle_check(1);  // D:

    f.choose("C:\\");  // on an unchecked drive, still a root
    window.add_button().click();
    f.choose("D:\\Games");
    window.add_button().click();
    f.choose("C:\\Work");
    window.add_button().click();
    f.choose("C:\\Work");
    window.add_button().click();
    f.choose("c:\\work");  // the same folder in other letters is another row
    window.add_button().click();

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
    EXPECT_EQ(rows(window.folder_list()), (std::vector<std::string>{"C:\\Work", "c:\\work"}));
    EXPECT_EQ(f.dialogs().folder_titles.back(), "Выберите папку...");

    // A cancelled chooser, an empty answer and a folder that is gone: silence.
    window.add_button().click();
    f.dialogs().folders.push_back(std::string());
    window.add_button().click();
    f.choose("C:\\Gone");
    window.add_button().click();
    EXPECT_EQ(said.size(), 3u);
    EXPECT_EQ(window.folder_list().count(), 2);
}

TEST(AreaWindow, ApplyWritesTheFilesAndTheMainWindowSelectionOrRefusesAnEmptyArea) {
    AreaFixture f;
    f.select({"1", "0", "1"});
    f.box.data().rewrite("tf_dirs.txt", {"D:\\Cache"});
    search::AreaWindow window(f.toolkit, search::kTempFilesArea, f.box.data(), f.box.platform().fs, f.drives,
                              f.selection);
    window.show_modal();
    window.apply_button().click();  // folders only
    EXPECT_EQ(f.file("tf_drives.txt"), "0\r\n0\r\n0\r\n");
    EXPECT_EQ(f.file("tf_dirs.txt"), "D:\\Cache\r\n");
    EXPECT_TRUE(f.selection.checked_letters().empty());
    EXPECT_FALSE(window.visible());

    f.box.data().remove("tf_dirs.txt");
    f.box.data().remove("tf_drives.txt");
    window.show_modal();
    window.apply_button().click();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text,
              "Вы не выбрали ни одного диска и ни одной папки.\r"
              "Для поиска временных файлов необходимо задать область поиска.");
    EXPECT_EQ(f.messages()[0].caption, "Не выбрана область поиска");
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
    EXPECT_FALSE(f.box.exists("C:\\Program\\Data\\tf_drives.txt"));
    EXPECT_FALSE(f.box.exists("C:\\Program\\Data\\tf_dirs.txt"));
    EXPECT_TRUE(window.visible());

    window.drive_list().toggle_check(2);
    window.apply_button().click();
    EXPECT_EQ(f.file("tf_drives.txt"), "0\r\n0\r\n1\r\n");
    EXPECT_EQ(f.file("tf_dirs.txt"), "");
    EXPECT_EQ(f.selection.checked_letters(), (std::vector<char>{'E'}));
}

TEST(AreaWindow, DriveChecksOutliveAnOpeningWhileFoldersComeFromTheFile) {
    AreaFixture f;
    f.box.make_folder("C:\\Work");
    f.box.data().rewrite("tf_dirs.txt", {"C:\\Old"});
    search::AreaWindow window(f.toolkit, search::kTempFilesArea, f.box.data(), f.box.platform().fs, f.drives,
                              f.selection);
    window.show_modal();
    f.choose("C:\\Work");
    window.add_button().click();
    window.drive_list().toggle_check(1);
    window.close();  // nothing applied

    f.box.data().rewrite("tf_drives.txt", {"0", "0", "1"});  // an opening only adds checks
    window.show_modal();
    EXPECT_EQ(rows(window.folder_list()), (std::vector<std::string>{"C:\\Old"}));
    EXPECT_FALSE(window.drive_list().checked(0));
    EXPECT_TRUE(window.drive_list().checked(1));
    EXPECT_TRUE(window.drive_list().checked(2));
}

TEST(AreaWindow, RemoveSelectsTheRowThatTakesThePlace) {
    AreaFixture f;
    f.box.data().rewrite("ed_dirs.txt", {"C:\\A", "C:\\B", "C:\\C"});
    search::AreaWindow window(f.toolkit, search::kEmptyDirsArea, f.box.data(), f.box.platform().fs, f.drives,
                              f.selection);
    window.show_modal();
    window.remove_button().click();  // nothing selected
    EXPECT_EQ(window.folder_list().count(), 3);
    window.folder_list().click(1);
    window.remove_button().click();
    EXPECT_EQ(rows(window.folder_list()), (std::vector<std::string>{"C:\\A", "C:\\C"}));
    EXPECT_EQ(window.folder_list().selected(), 1);
    window.remove_button().click();
    EXPECT_EQ(window.folder_list().selected(), 0);
    window.remove_button().click();
    EXPECT_TRUE(window.folder_list().empty());
    EXPECT_EQ(window.folder_list().selected(), -1);
}

TEST(AreaWindow, VariantsDifferInFilesHintAndMessage) {
    AreaFixture f;
    const std::pair<const search::AreaVariant*, const char*> variants[] = {
        {&search::kBrokenLinksArea, "Для поиска неправильных ярлыков необходимо задать область поиска."},
        {&search::kEmptyDirsArea, "Для поиска пустых папок необходимо задать область поиска."},
        {&search::kDuplicatesArea, "Для поиска копий файлов необходимо задать область поиска."}};
    for (const auto& [variant, sentence] : variants) {
        search::AreaWindow window(f.toolkit, *variant, f.box.data(), f.box.platform().fs, f.drives, f.selection);
        window.show_modal();
        window.apply_button().click();
        EXPECT_EQ(f.messages().back().text, std::string("Вы не выбрали ни одного диска и ни одной папки.\r") + sentence);
        EXPECT_EQ(window.hint().visible(), variant == &search::kBrokenLinksArea);
        window.drive_list().toggle_check(0);
        window.apply_button().click();
        EXPECT_EQ(f.file(std::string(variant->prefix) + "_drives.txt"), "1\r\n0\r\n0\r\n");
        EXPECT_TRUE(f.box.exists(std::string("C:\\Program\\Data\\") + variant->prefix + "_dirs.txt"));
    }
}
