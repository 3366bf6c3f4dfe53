// The exclusions window "Исключения": the refusals of the four lists, the
// drive test against the search's selection, apply, and the variants without
// file lists.
#include <gtest/gtest.h>

#include "editors_fixture.h"
#include "search/exclusions_window.h"

using search::ExclusionList;
using testing_support::EditorsFixture;
using testing_support::readable;

namespace {

std::vector<std::string> rows(const ui::ListControl& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.count(); ++i) texts.push_back(list.text(i));
    return texts;
}

struct ExclusionsFixture : EditorsFixture {
    ExclusionsFixture() {
        select({"1", "0", "1"});  // C: and E: searched, D: not; F: is no usable drive
        for (const char* folder : {"C:\\Work", "D:\\Games", "E:\\Share", "F:\\Disc"}) box.make_folder(folder);
        for (const char* file : {"C:\\Work\\a.log", "D:\\Games\\b.log", "F:\\Disc\\c.log"}) box.write(file);
    }
};

}  // namespace

TEST(ExclusionsWindow, FullFolderRefusedOnAnUncheckedUsableDriveOnlyAndOnce) {
    ExclusionsFixture f;
    search::ExclusionsWindow window(f.toolkit, search::kTempFilesExclusions, f.box.data(), f.box.platform().fs,
                                    f.selection);
    window.show_modal();
    auto& add = window.group(ExclusionList::full_folders).add;
    for (const char* folder : {"D:\\Games", "F:\\Disc", "C:\\Work", "C:\\Work", "c:\\", "C:\\Gone"}) {
        f.choose(folder);
        add.click();
    }
    EXPECT_EQ(rows(window.list(ExclusionList::full_folders)), (std::vector<std::string>{"F:\\Disc", "C:\\Work"}));
    auto& said = f.messages();
    ASSERT_EQ(said.size(), 3u);
    EXPECT_EQ(said[0].text,
              "Папка не была добавлена, так как находится на диске, который был исключен из поиска.\r"
              "Вам необходимо выбрать папку на том диске, который был выбран для поиска.")
        << readable(said[0].text);
    EXPECT_EQ(said[1].text, "Выбранная папка уже была добавлена в список.");
    EXPECT_EQ(said[2].text, "Нельзя добавить логический диск в качестве папки.");
    for (const auto& message : said) {
        EXPECT_EQ(message.caption, "Папка не добавлена");
        EXPECT_EQ(message.icon, ui::Icon::information);
    }
    EXPECT_EQ(f.dialogs().folder_titles.back(), "Выберите папку...");
}

TEST(ExclusionsWindow, FullFileRefusedOnAnUncheckedDriveAndWhenListed) {
    ExclusionsFixture f;
    search::ExclusionsWindow window(f.toolkit, search::kDuplicatesExclusions, f.box.data(), f.box.platform().fs,
                                    f.selection);
    window.show_modal();
    auto& add = window.group(ExclusionList::full_files).add;
    for (const char* file : {"D:\\Games\\b.log", "F:\\Disc\\c.log", "C:\\Work\\a.log", "C:\\Work\\a.log",
                             "C:\\Work\\missing.log", "C:\\Work"}) {
        f.dialogs().files.push_back({file});
        add.click();
    }
    add.click();  // cancelled
    EXPECT_EQ(rows(window.list(ExclusionList::full_files)),
              (std::vector<std::string>{"F:\\Disc\\c.log", "C:\\Work\\a.log"}));
    auto& said = f.messages();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].text,
              "Файл не был добавлен, так как находится на диске, который не выбран для поиска.\r"
              "Вам необходимо выбрать файл на том диске, который был выбран для поиска.");
    EXPECT_EQ(said[1].text, "Выбранный файл уже была добавлена в список.");
    EXPECT_EQ(said[0].caption, "Файл не добавлен");
    EXPECT_EQ(said[1].caption, "Файл не добавлен");
    EXPECT_EQ(f.dialogs().file_dialogs, (std::vector<bool>(7, false)));
}

TEST(ExclusionsWindow, ShortNamesAreComparedExactlyAsTyped) {
    ExclusionsFixture f;
    search::ExclusionsWindow window(f.toolkit, search::kTempFilesExclusions, f.box.data(), f.box.platform().fs,
                                    f.selection);
    window.show_modal();
    auto& folders = window.group(ExclusionList::short_folders);
    for (const char* name : {"Temp", "temp", "Temp", "", "   "}) {
        folders.name_field->enter_text(name);
        folders.add.click();
    }
    EXPECT_EQ(rows(folders.list), (std::vector<std::string>{"Temp", "temp", "   "}));
    EXPECT_EQ(folders.name_field->text(), "   ");  // the field keeps its text

    auto& files = window.group(ExclusionList::short_files);
    files.name_field->enter_text("Thumbs.db");
    files.add.click();
    files.add.click();
    auto& said = f.messages();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].text, "Папка с таким именем уже была добавлена в список.");
    EXPECT_EQ(said[0].caption, "Папка не добавлена");
    EXPECT_EQ(said[1].text, "Файл с таким именем уже был добавлен в список.");
    EXPECT_EQ(said[1].caption, "Файл не добавлен");
}

TEST(ExclusionsWindow, ApplyRewritesEveryFileAndAnOpeningReadsThemAgain) {
    ExclusionsFixture f;
    f.box.data().rewrite("tf_dirs_ex.txt", {"C:\\Work", "E:\\Share"});
    f.box.data().rewrite("tf_shortfiles_ex.txt", {"a.txt"});
    search::ExclusionsWindow window(f.toolkit, search::kTempFilesExclusions, f.box.data(), f.box.platform().fs,
                                    f.selection);
    window.show_modal();
    EXPECT_EQ(rows(window.list(ExclusionList::full_folders)), (std::vector<std::string>{"C:\\Work", "E:\\Share"}));
    window.list(ExclusionList::full_folders).click(0);
    window.group(ExclusionList::full_folders).remove.click();
    window.close();  // not applied: the next opening shows the file again
    window.show_modal();
    EXPECT_EQ(window.list(ExclusionList::full_folders).count(), 2);

    window.list(ExclusionList::full_folders).click(0);
    window.group(ExclusionList::full_folders).remove.click();
    window.group(ExclusionList::short_folders).name_field->enter_text("Cache");
    window.group(ExclusionList::short_folders).add.click();
    window.apply_button().click();
    EXPECT_FALSE(window.visible());
    EXPECT_EQ(f.file("tf_dirs_ex.txt"), "E:\\Share\r\n");
    EXPECT_EQ(f.file("tf_shortdirs_ex.txt"), "Cache\r\n");
    EXPECT_EQ(f.file("tf_files_ex.txt"), "");
    EXPECT_EQ(f.file("tf_shortfiles_ex.txt"), "a.txt\r\n");
}

TEST(ExclusionsWindow, FolderOnlyVariantsHaveOnePageAndTwoFiles) {
    ExclusionsFixture f;
    search::ExclusionsWindow window(f.toolkit, search::kBrokenLinksExclusions, f.box.data(), f.box.platform().fs,
                                    f.selection);
    EXPECT_FALSE(window.has(ExclusionList::full_files));
    EXPECT_FALSE(window.has(ExclusionList::short_files));
    EXPECT_EQ(window.pages().page_count(), 1);
    EXPECT_FALSE(window.files_switch().visible());
    window.show_modal();
    window.apply_button().click();
    EXPECT_EQ(f.file("bl_dirs_ex.txt"), "");
    EXPECT_EQ(f.file("bl_shortdirs_ex.txt"), "");
    EXPECT_FALSE(f.box.exists("C:\\Program\\Data\\bl_files_ex.txt"));

    search::ExclusionsWindow both(f.toolkit, search::kTempFilesExclusions, f.box.data(), f.box.platform().fs,
                                  f.selection);
    both.files_switch().click();
    EXPECT_TRUE(both.group(ExclusionList::full_files).list.showing());
    EXPECT_FALSE(both.group(ExclusionList::full_folders).list.showing());
}
