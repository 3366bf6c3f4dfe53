// The duplicate search window: its report, the two lists and the current
// list, opening files and folders, deleting copies.
#include <gtest/gtest.h>

#include "duplicates/copies_window.h"
#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "sandbox.h"

using testing_support::Sandbox;

namespace {

struct Fixture {
    Fixture() {
        box.data().rewrite("cf_all.txt", {});
        box.data().rewrite("cf_dirs.txt", {"C:\\Area"});
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
    duplicates::CopiesWindow window{toolkit, services, box.data(), drives, main};

    const std::vector<headless::Message>& messages() { return toolkit.dialogs().messages; }
    void search() {
        toolkit.run(main);
        main.hide();
        window.show_modal();
    }
    static std::vector<std::string> rows(const ui::ListView& list) {
        std::vector<std::string> out;
        for (int i = 0; i < list.count(); ++i) out.push_back(list.text(i));
        return out;
    }
    // Two groups: a.txt with its copies b.txt and "My Docs\c.txt"; d.bin with e.bin.
    void plant_two_groups() {
        box.write("C:\\Area\\a.txt", "same text");
        box.write("C:\\Area\\b.txt", "same text");
        box.write("C:\\Area\\My Docs\\c.txt", "same text");
        box.write("C:\\Area\\d.bin", "other");
        box.write("C:\\Area\\e.bin", "other");
        box.write("C:\\Area\\f.bin", "alone");
    }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST(CopiesWindow, ReportsTheGroupsAndShowsTheCopiesOfTheClickedOne) {
    Fixture f;
    f.plant_two_groups();
    f.search();
    EXPECT_EQ(Fixture::rows(f.window.groups()), (Strings{"C:\\Area\\a.txt", "C:\\Area\\d.bin"}));
    EXPECT_TRUE(f.window.copies().empty());
    EXPECT_EQ(f.window.step().text(), "Поиск завершен");
    EXPECT_EQ(f.window.current().text(), "Найдено файлов, имеющих копии: 2");
    EXPECT_FALSE(f.window.stop_button().visible());
    EXPECT_EQ(f.window.stop_button().text(), "Прекратить");  // no leading blanks in this window
    EXPECT_TRUE(f.window.results_group().enabled());
    for (ui::Button* b : {&f.window.open_folder_button(), &f.window.open_file_button(), &f.window.delete_button()})
        EXPECT_FALSE(b->enabled());
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Поиск завершен. Ознакомтесь со списком найденных файлов.");
    EXPECT_EQ(f.messages()[0].caption, "Поиск завершен");

    f.window.groups().click(0);
    EXPECT_EQ(Fixture::rows(f.window.copies()), (Strings{"C:\\Area\\My Docs\\c.txt", "C:\\Area\\b.txt"}));
    EXPECT_TRUE(f.window.open_file_button().enabled());
    EXPECT_FALSE(f.window.delete_button().enabled());
    f.window.groups().click(1);
    EXPECT_EQ(Fixture::rows(f.window.copies()), (Strings{"C:\\Area\\e.bin"}));

    // A second search starts from empty lists and finds nothing.
    f.window.close();
    EXPECT_TRUE(f.main.visible());
    f.box.data().rewrite("cf_dirs.txt", {});
    f.main.hide();
    f.window.show_modal();
    EXPECT_TRUE(f.window.groups().empty());
    EXPECT_TRUE(f.window.copies().empty());
    EXPECT_FALSE(f.window.results_group().enabled());
    EXPECT_EQ(f.window.current().text(), "Не обнаружено файлов, имеющих копии");
    EXPECT_EQ(f.messages().back().text, "Поиск завершен. Не было найдено ни одного файла, имеющего копии.");
}

// The folder and file buttons act on the list clicked last; deleting is for
// the lower list only, and an upper-list click takes it away.
TEST(CopiesWindow, OpenActsOnTheCurrentListAndDeleteOnTheLowerOne) {
    Fixture f;
    f.plant_two_groups();
    f.search();
    f.window.groups().click(0);
    f.window.copies().click(0);
    EXPECT_TRUE(f.window.delete_button().enabled());
    f.window.open_folder_button().click();
    f.window.groups().click(0);
    EXPECT_FALSE(f.window.delete_button().enabled());
    f.window.delete_button().click();
    EXPECT_TRUE(f.box.exists("C:\\Area\\My Docs\\c.txt"));
    f.window.open_file_button().click();
    f.window.groups().double_click(0);
    EXPECT_EQ(f.box.host().shell().started(), (Strings{"Explorer.exe C:\\Area\\My Docs"}));
    EXPECT_EQ(f.box.host().shell().opened(), (Strings{"open|C:\\Area\\a.txt|", "open|C:\\Area\\a.txt|"}));

    // Empty space clears the selection: the buttons then do nothing.
    f.window.groups().click(-1);
    f.window.open_file_button().click();
    EXPECT_EQ(f.box.host().shell().opened().size(), 2u);
}

TEST(CopiesWindow, ACopyThatResistsStaysAndAGroupOutlivesItsLastCopy) {
    Fixture f;
    f.plant_two_groups();
    f.search();
    f.window.groups().click(0);
    f.faulty.lock("C:\\Area\\b.txt");
    f.window.copies().click(1);
    f.window.delete_button().click();
    ASSERT_EQ(f.messages().size(), 2u);
    EXPECT_EQ(f.messages()[1].text,
              "Файл не может быть удален. Возможно он используется в данный момент другим приложением.");
    EXPECT_EQ(f.messages()[1].caption, "Ошибка");
    EXPECT_EQ(f.messages()[1].icon, ui::Icon::error);
    EXPECT_TRUE(f.box.exists("C:\\Area\\b.txt"));
    EXPECT_EQ(f.window.copies().count(), 2);
    EXPECT_FALSE(f.window.delete_button().enabled());

    f.faulty.clear();
    // The keyboard moves the upper selection without a click: the copy still
    // leaves the group the lower list shows.
    f.window.groups().select(1);
    f.window.copies().click(1);
    f.window.delete_button().click();
    f.window.copies().click(0);
    f.window.delete_button().click();
    EXPECT_FALSE(f.box.exists("C:\\Area\\b.txt"));
    EXPECT_FALSE(f.box.exists("C:\\Area\\My Docs\\c.txt"));
    EXPECT_TRUE(f.box.exists("C:\\Area\\a.txt"));
    EXPECT_TRUE(f.window.copies().empty());
    EXPECT_EQ(f.window.findings()[0].copies.size(), 0u);
    EXPECT_EQ(f.window.findings()[1].copies, (Strings{"C:\\Area\\e.bin"}));

    f.window.groups().click(0);
    EXPECT_EQ(Fixture::rows(f.window.groups()), (Strings{"C:\\Area\\a.txt", "C:\\Area\\d.bin"}));
    EXPECT_TRUE(f.window.copies().empty());
    EXPECT_EQ(f.messages().size(), 2u);
}

// Closing the window while it walks stops the walk first: nothing of that
// search is shown afterwards and the main window is back.
TEST(CopiesWindow, ClosingDuringTheWalkStopsItAndSaysNothingMore) {
    Fixture f;
    for (int i = 0; i < 6; ++i) f.box.write("C:\\Area\\" + std::to_string(i) + "\\x.txt");
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 4) f.window.close();
    };
    f.search();
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_TRUE(f.window.groups().empty());
    EXPECT_LT(served, 10);

    f.toolkit.pump().on_serve = nullptr;
    f.main.hide();
    f.window.show_modal();
    EXPECT_EQ(Fixture::rows(f.window.groups()), (Strings{"C:\\Area\\0\\x.txt"}));
    EXPECT_EQ(f.messages().size(), 1u);
}
