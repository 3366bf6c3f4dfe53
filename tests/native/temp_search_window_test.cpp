// The temporary-file search window: the search's end, deletion, exclusions
// and the context menu.
#include <gtest/gtest.h>

#include "junk/temp_search_window.h"
#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "sandbox.h"
#include "search/guards.h"

using testing_support::Sandbox;

namespace {

struct Fixture {
    explicit Fixture(const std::function<void(platform::posix::PosixConfig&, const std::string&)>& configure = {})
        : box(configure) {
        box.data().rewrite("tf_mask.txt", {"tmp", "log"});
        box.data().rewrite("tf_dirs.txt", {"C:\\Temp", "C:\\Temp2"});
    }
    Sandbox box;
    platform::posix::FaultyFileSystem faulty{box.platform().fs};
    platform::Platform services{faulty,
                                box.platform().registry,
                                box.platform().shell,
                                box.platform().links,
                                box.platform().internet,
                                box.platform().sound,
                                box.platform().system};
    headless::Toolkit toolkit;
    ui::Form main{toolkit, "Form1"};
    search::DriveSelection drives;
    junk::TempSearchWindow window{toolkit, services, box.data(), drives, main};

    const std::vector<headless::Message>& messages() { return toolkit.dialogs().messages; }
    void search() {
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

TEST(TempSearchWindow, ShowsWhatItFoundAndSaysSo) {
    Fixture f;
    f.box.write("C:\\Temp\\a.tmp", std::string(1024, 'a'));
    f.box.write("C:\\Temp\\b\\c.log", std::string(512, 'c'));
    f.search();
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\Temp\\a.tmp", "C:\\Temp\\b\\c.log"}));
    EXPECT_EQ(f.window.step().text(), "Поиск временных файлов завершен");
    EXPECT_EQ(f.window.current().text(), "Найдено файлов: 2    Общий размер: 1,5 KB");
    EXPECT_EQ(f.window.found_count().text(), "2");
    EXPECT_FALSE(f.window.stop_button().visible());
    EXPECT_TRUE(f.window.results_group().enabled());
    EXPECT_TRUE(f.window.to_recycle_bin().checked());
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Поиск завершен. Ознакомтесь со списком найденных файлов.");
    EXPECT_EQ(f.messages()[0].owner, "Form4");

    f.window.close();
    EXPECT_TRUE(f.main.visible());
}

TEST(TempSearchWindow, NothingFoundAndABadDateLimitEndCleanly) {
    Fixture f;
    f.search();
    EXPECT_EQ(f.window.current().text(), "Временных файлов не обнаружено");
    EXPECT_EQ(f.messages().back().text, "Поиск завершен. Временные файлы не были найдены.");
    EXPECT_FALSE(f.window.results_group().enabled());

    f.box.write("C:\\Temp\\a.tmp");
    f.box.data().rewrite("tf_date.txt", {"abc"});
    f.window.close();
    f.window.show_modal();
    EXPECT_EQ(f.messages().back().icon, ui::Icon::error);
    EXPECT_FALSE(f.window.stop_button().visible());
    EXPECT_TRUE(f.window.results().empty());
}

TEST(TempSearchWindow, StopShowsTheRowsSoFarWithANormalEnd) {
    Fixture f;
    for (int i = 0; i < 4; ++i) f.box.write("C:\\Temp\\" + std::to_string(i) + "\\x.tmp");
    f.box.write("C:\\Temp2\\y.tmp");
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 6) f.window.stop_button().click();
    };
    f.search();
    EXPECT_GE(f.window.results().count(), 1);
    EXPECT_LT(f.window.results().count(), 5);
    EXPECT_EQ(f.messages().back().text, "Поиск завершен. Ознакомтесь со списком найденных файлов.");
}

TEST(TempSearchWindow, DeletingAllKeepsTheRowsOfFilesThatResist) {
    Fixture f;
    for (const char* name : {"a", "b", "c"}) f.box.write(std::string("C:\\Temp\\") + name + ".tmp");
    f.faulty.lock("C:\\Temp\\b.tmp");
    f.search();
    f.window.to_recycle_bin().click();
    f.window.delete_all_button().click();
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\Temp\\b.tmp"}));
    EXPECT_EQ(f.messages().back().text, "Некоторые удалить не удалось. Возможно они используются системой.");
    EXPECT_EQ(f.window.current().text(), "Найдено файлов: 3          Удалено файлов: 2");
    EXPECT_FALSE(f.box.exists("C:\\Temp\\a.tmp"));
    EXPECT_TRUE(f.window.results_group().enabled());
}

TEST(TempSearchWindow, DeletingCheckedFilesForGoodGivesTheSummary) {
    Fixture f;
    for (int i = 0; i < 10; ++i) f.box.write("C:\\Temp\\f" + std::to_string(i) + ".tmp");
    f.search();
    f.window.to_recycle_bin().click();  // unchecked: deletion is permanent
    for (int row : {1, 4, 7}) f.window.results().toggle_check(row);
    f.window.delete_checked_button().click();
    EXPECT_EQ(f.window.results().count(), 7);
    EXPECT_FALSE(f.box.exists("C:\\Temp\\f4.tmp"));
    EXPECT_EQ(f.box.platform().shell.query_recycle_bin()->items, 0u);
    EXPECT_EQ(f.messages().back().text, "Все выбранные файлы были успешно удалены.");
    EXPECT_EQ(f.window.current().text(), "Найдено файлов: 10          Удалено файлов: 3");

    f.window.check_all().click();
    EXPECT_EQ(f.window.results().checked_count(), 7);
    f.window.delete_checked_button().click();
    EXPECT_FALSE(f.window.results_group().enabled());
}

TEST(TempSearchWindow, FolderCommandsStayInsideTheChosenFolder) {
    Fixture f;
    f.box.write("C:\\Temp\\a.tmp");
    f.box.write("C:\\Temp\\sub\\b.tmp");
    f.box.write("C:\\Temp2\\c.tmp");
    f.search();
    ASSERT_EQ(f.rows().front(), "C:\\Temp\\a.tmp");
    f.window.results().select(0);
    f.window.menu().popup();
    EXPECT_TRUE(f.window.delete_folder_item().enabled());
    f.toolkit.choose(f.window.delete_folder_item());
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\Temp2\\c.tmp"}));
    EXPECT_TRUE(f.box.exists("C:\\Temp2\\c.tmp"));
    EXPECT_EQ(f.box.platform().shell.query_recycle_bin()->items, 2u);  // "Удалять в корзину" was checked

    f.window.results().select(-1);
    f.window.menu().popup();
    EXPECT_FALSE(f.window.delete_file_item().enabled());
}

TEST(TempSearchWindow, ExclusionCommandsNeedTheirFiles) {
    Fixture f;
    f.box.write("C:\\Temp\\a.tmp");
    f.box.write("C:\\Temp\\b.tmp");
    f.box.write("C:\\Temp2\\c.tmp");
    f.search();
    f.window.results().select(0);
    f.window.exclude_file_item().click();
    EXPECT_EQ(f.window.results().count(), 3);  // no tf_files_ex.txt: nothing happens

    f.box.data().rewrite("tf_files_ex.txt", {"C:\\old.tmp"});
    f.window.exclude_file_item().click();
    EXPECT_EQ(f.box.data().read_lines("tf_files_ex.txt"),
              (std::vector<std::string>{"C:\\old.tmp", "C:\\Temp\\a.tmp"}));
    EXPECT_EQ(f.window.results().count(), 2);

    f.box.data().rewrite("tf_dirs_ex.txt", {});
    f.window.results().select(0);
    f.window.exclude_folder_item().click();
    EXPECT_EQ(f.box.data().read_lines("tf_dirs_ex.txt"), (std::vector<std::string>{"C:\\Temp"}));
    // C:\Temp2 stays: the next search still finds it.
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\Temp2\\c.tmp"}));
    EXPECT_TRUE(f.window.results_group().enabled());
}

TEST(TempSearchWindow, DoubleClickOpensOnlyLowerCaseLogFiles) {
    Fixture f;
    f.box.write("C:\\Temp\\a.log");
    f.box.write("C:\\Temp\\b.LOG");
    f.search();
    f.window.results().double_click(1);
    f.window.results().select(1);
    f.window.results().double_click(1);
    f.window.results().select(0);
    f.window.results().double_click(0);
    EXPECT_EQ(f.box.host().shell().opened(), (std::vector<std::string>{"open|C:\\Temp\\a.log|"}));
}

// Closing the window while it walks stops the walk first: nothing of that
// search is shown afterwards, the main window is back, and the next search
// starts clean.
TEST(TempSearchWindow, ClosingDuringTheWalkStopsItAndSaysNothingMore) {
    Fixture f;
    for (int i = 0; i < 6; ++i) f.box.write("C:\\Temp\\" + std::to_string(i) + "\\x.tmp");
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 4) f.window.close();
    };
    f.search();
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_LT(served, 10);  // the walk ended at the close, not at its end

    f.toolkit.pump().on_serve = nullptr;
    f.main.hide();
    f.window.show_modal();
    EXPECT_EQ(f.window.results().count(), 6);
    EXPECT_EQ(f.messages().size(), 1u);
}

// A close ends a batch deletion at the next file: the files deleted so far
// leave with their rows, the others keep theirs, and nothing more is said.
TEST(TempSearchWindow, ClosingDuringADeletionKeepsTheRowsOfEveryFileLeft) {
    Fixture f;
    for (int i = 0; i < 6; ++i) f.box.write("C:\\Temp\\f" + std::to_string(i) + ".tmp");
    f.search();
    const std::size_t said = f.messages().size();
    f.window.to_recycle_bin().click();  // for good
    f.window.check_all().click();
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 3) f.window.close();
    };
    f.window.delete_checked_button().click();
    EXPECT_FALSE(f.window.visible());
    EXPECT_EQ(f.messages().size(), said);
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\Temp\\f0.tmp", "C:\\Temp\\f1.tmp", "C:\\Temp\\f2.tmp",
                                                  "C:\\Temp\\f3.tmp"}));
    EXPECT_TRUE(f.box.exists("C:\\Temp\\f3.tmp"));
    EXPECT_FALSE(f.box.exists("C:\\Temp\\f4.tmp"));
    EXPECT_EQ(f.window.findings().size(), 4u);
}

// A walk that fails after the close request still closes the window: the
// error is shown over the main window, and the next search is a search, not
// a close.
TEST(TempSearchWindow, AnErrorAfterACloseStillCloses) {
    Fixture f;
    for (int i = 0; i < 6; ++i) f.box.write("C:\\Temp\\" + std::to_string(i) + "\\x.tmp");
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served != 4) return;
        f.window.close();
        throw std::runtime_error("disk gone");
    };
    f.search();
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
    EXPECT_EQ(f.messages()[0].owner, "Form1");

    f.toolkit.pump().on_serve = nullptr;
    f.main.hide();
    f.window.show_modal();
    EXPECT_TRUE(f.window.visible());
    EXPECT_EQ(f.window.results().count(), 6);
}

// While a batch deletion runs, a command from the context menu or a check box
// is ignored, so no row but the deleted files' leaves the list.
TEST(TempSearchWindow, CommandsArrivingDuringADeletionAreIgnored) {
    Fixture f;
    for (const char* name : {"a", "b", "c", "d"}) f.box.write(std::string("C:\\Temp\\") + name + ".tmp");
    f.search();
    f.window.to_recycle_bin().click();  // for good
    f.window.results().set_checked(3, true);
    f.window.results().set_checked(1, true);
    bool sent = false;
    f.toolkit.pump().on_serve = [&] {
        if (sent) return;
        sent = true;
        f.window.results().select(0);
        f.window.delete_file_item().click();
        f.window.check_all().click();
    };
    f.window.delete_checked_button().click();
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"C:\\Temp\\a.tmp", "C:\\Temp\\c.tmp"}));
    EXPECT_TRUE(f.box.exists("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(f.box.exists("C:\\Temp\\b.tmp"));
}

// A drive without a recycle bin: the user is asked before a file is deleted
// for good, and a refusal keeps the file and its row.
TEST(TempSearchWindow, TheBinNeverTurnsIntoAPermanentDeletionUnasked) {
    Fixture f([](platform::posix::PosixConfig& config, const std::string& root) {
        std::filesystem::create_directories(root + "/e");
        config.drives.push_back({'E', root + "/e", platform::DriveType::removable});
    });
    f.box.write("E:\\Temp\\a.tmp");
    f.box.data().rewrite("tf_dirs.txt", {"E:\\Temp"});
    f.search();
    ASSERT_EQ(f.rows().size(), 1u);
    f.toolkit.dialogs().answers = {ui::Answer::no};
    f.window.delete_all_button().click();
    EXPECT_TRUE(f.box.exists("E:\\Temp\\a.tmp"));
    EXPECT_EQ(f.rows().size(), 1u);
    EXPECT_EQ(f.messages().at(1).buttons, ui::Buttons::yes_no);
    f.toolkit.dialogs().answers = {ui::Answer::yes};
    f.window.delete_all_button().click();
    EXPECT_FALSE(f.box.exists("E:\\Temp\\a.tmp"));
    EXPECT_TRUE(f.rows().empty());
}

// The bin of a fixed drive can be switched off, or be too small for a file:
// the shell would then delete for good, so the user is asked first.
TEST(TempSearchWindow, ABinThatWouldNotKeepTheFileIsAskedAbout) {
    Fixture f([](platform::posix::PosixConfig& config, const std::string& root) {
        std::filesystem::create_directories(root + "/d");
        config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
    });
    auto& registry = f.box.platform().registry;
    const std::string bin = search::kBitBucketKey;
    const auto set = [&](const std::string& key, const char* name, std::uint32_t value) {
        auto opened = registry.create(platform::Root::current_user, key);
        ASSERT_TRUE(opened && (*opened)->write_dword(name, value));
    };
    auto& fs = f.box.platform().fs;
    const std::string volume_c = bin + "\\Volume\\" + fs.volume_guid("C:\\").value();
    const std::string volume_d = bin + "\\Volume\\" + fs.volume_guid("D:\\").value();
    f.box.write("D:\\Temp\\a.tmp");
    f.box.data().rewrite("tf_dirs.txt", {"D:\\Temp"});
    set(volume_d, "NukeOnDelete", 1);
    f.search();
    f.toolkit.dialogs().answers = {ui::Answer::no};
    f.window.delete_all_button().click();
    EXPECT_TRUE(f.box.exists("D:\\Temp\\a.tmp"));
    EXPECT_EQ(f.rows().size(), 1u);
    EXPECT_EQ(f.messages().at(1).buttons, ui::Buttons::yes_no);

    // What the bins keep: a volume's own values first, the global ones where
    // it has none; no bin beyond fixed drives.
    const auto takes = [&](const std::string& path) { return search::RecycleBinRules(fs, registry).takes(path); };
    f.box.write("C:\\big.bin", std::string(2 * 1024 * 1024 + 1, 'b'));
    f.box.write("C:\\small.bin", std::string(1024, 's'));
    EXPECT_TRUE(takes("C:\\big.bin"));
    EXPECT_FALSE(takes("D:\\Temp\\a.tmp"));
    EXPECT_FALSE(takes("Q:\\a.tmp"));
    set(bin, "MaxCapacity", 2);
    EXPECT_FALSE(takes("C:\\big.bin"));
    EXPECT_TRUE(takes("C:\\small.bin"));
    set(volume_c, "MaxCapacity", 3);
    EXPECT_TRUE(takes("C:\\big.bin"));
    set(bin, "NukeOnDelete", 1);
    EXPECT_FALSE(takes("C:\\small.bin"));
    set(volume_c, "NukeOnDelete", 0);
    EXPECT_TRUE(takes("C:\\small.bin"));

    // Once the user agrees, the file goes for good rather than through a
    // shell that would not keep it either.
    f.toolkit.dialogs().answers = {ui::Answer::yes};
    f.window.delete_all_button().click();
    EXPECT_FALSE(f.box.exists("D:\\Temp\\a.tmp"));
    EXPECT_EQ(f.box.platform().shell.query_recycle_bin()->items, 0u);
}
