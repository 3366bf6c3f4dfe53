// The Internet pages and the history-lists page, headless.
#include <gtest/gtest.h>

#include "privacy/cache_page.h"
#include "privacy/history_lists.h"
#include "privacy/history_lists_page.h"
#include "privacy/traces_page.h"
#include "privacy_fixture.h"

using testing_support::BrowserMachine;

namespace {

struct Pages : BrowserMachine {
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "Pages"};
    ui::Page cache_page{pages, "Cache"};
    ui::Page history_page{pages, "Jurnal"};
    ui::Page lists_page{pages, "History"};
    privacy::CachePage cache{cache_page, box.platform(), toolkit.pump()};
    privacy::TracesPage history{history_page, box.platform(), toolkit.pump(), privacy::Store::history};
    privacy::HistoryListsPage lists{lists_page, box.platform(), box.data()};
};

}  // namespace

TEST(CachePage, OnlyFirefoxFillsSlotOneAndCleansIt) {
    Pages f;
    f.install_firefox();
    f.box.write(std::string(testing_support::kFirefoxCache) + "\\a.tmp", std::string(1536, 'a'));
    f.box.write("C:\\User\\Cache\\index.dat", "idx");
    f.cache.refresh();

    EXPECT_EQ(f.cache.row(0).size.text(), "0 KB");
    EXPECT_FALSE(f.cache.row(0).button.enabled());
    EXPECT_EQ(f.cache.row(1).name.text(), "Firefox 3.0.1 (ru)");
    EXPECT_EQ(f.cache.row(1).caption.text(), "Размер кэшированных файлов:");
    EXPECT_EQ(f.cache.row(1).size.text(), "1,5 KB");
    EXPECT_TRUE(f.cache.row(1).button.visible());
    EXPECT_FALSE(f.cache.row(2).name.visible());
    EXPECT_FALSE(f.cache.all_button().visible());

    f.cache.row(1).button.release(ui::MouseButton::right);
    EXPECT_FALSE(f.box.exists(std::string(testing_support::kFirefoxCache) + "\\a.tmp"));
    EXPECT_EQ(f.cache.row(1).size.text(), "0 KB");
    EXPECT_FALSE(f.cache.row(1).button.enabled());
    EXPECT_TRUE(f.box.exists("C:\\User\\Cache\\index.dat"));
}

TEST(CachePage, BothBrowsersOfferCleaningAllThree) {
    Pages f;
    f.install_opera();
    f.install_firefox();
    f.box.write("C:\\User\\Cache\\x\\a.htm", std::string(2048, 'h'));
    f.box.write("C:\\Opera\\profile\\cache4\\opr1.tmp", std::string(100, 'o'));
    f.cache.refresh();
    EXPECT_EQ(f.cache.row(1).name.text(), "Opera 9.27");
    EXPECT_EQ(f.cache.row(2).name.text(), "Firefox 3.0.1 (ru)");
    EXPECT_EQ(f.cache.row(1).size.text(), "0,09 KB");
    EXPECT_EQ(f.cache.row(2).size.text(), "0 KB");  // no Cache folder yet
    EXPECT_TRUE(f.cache.row(2).size.visible());
    EXPECT_TRUE(f.cache.row(0).button.enabled());
    EXPECT_TRUE(f.cache.row(1).button.enabled());
    EXPECT_FALSE(f.cache.row(2).button.enabled());
    EXPECT_TRUE(f.cache.all_button().visible());
    ASSERT_TRUE(f.cache.all_button().enabled());

    f.cache.row(0).button.click();
    EXPECT_TRUE(f.cache.all_button().enabled());  // Opera still holds something
    f.cache.all_button().click();
    EXPECT_FALSE(f.box.exists("C:\\Opera\\profile\\cache4\\opr1.tmp"));
    EXPECT_TRUE(f.box.exists("C:\\Opera\\profile\\cache4"));
    for (int row = 0; row < 3; ++row) EXPECT_FALSE(f.cache.row(row).button.enabled()) << row;
    EXPECT_FALSE(f.cache.all_button().enabled());
}

TEST(TracesPage, CleaningAllTurnsOffWhenNoOtherRowIsLeft) {
    Pages f;
    f.box.write("C:\\User\\History\\index.dat");
    f.history.refresh();
    EXPECT_FALSE(f.history.button(1).visible());
    f.history.button(0).click();
    EXPECT_FALSE(f.box.exists("C:\\User\\History\\index.dat"));
    EXPECT_FALSE(f.history.button(0).enabled());
    EXPECT_TRUE(f.history.all_button().enabled());  // the hidden slot buttons still count
    EXPECT_FALSE(f.history.all_button().visible());

    f.install_opera();
    f.install_firefox();
    f.box.write("C:\\Opera\\profile\\global.dat");
    f.box.write(std::string(testing_support::kProfile) + "\\history.dat");
    ASSERT_TRUE(f.box.platform().fs.set_attributes("C:\\Opera\\profile\\global.dat", platform::attr::read_only));
    f.history.refresh();
    EXPECT_EQ(f.history.name(1).text(), "Opera 9.27");
    EXPECT_TRUE(f.history.line(2).visible());
    f.history.button(1).click();
    EXPECT_FALSE(f.box.exists("C:\\Opera\\profile\\global.dat"));
    f.history.button(2).click();
    EXPECT_TRUE(f.history.all_button().enabled());  // Internet Explorer's row is on again
    f.history.button(0).click();
    EXPECT_FALSE(f.history.all_button().enabled());
    EXPECT_FALSE(f.box.exists(std::string(testing_support::kProfile) + "\\history.dat"));

    f.history.refresh();
    f.box.write("C:\\Opera\\profile\\global.dat");
    f.history.all_button().click();
    EXPECT_FALSE(f.box.exists("C:\\Opera\\profile\\global.dat"));
    for (int row = 0; row < 3; ++row) EXPECT_FALSE(f.history.button(row).enabled());
}

TEST(HistoryLists, NothingTickedIsRefusedAndWritesNothing) {
    Pages f;
    f.lists.refresh();
    f.lists.clear_button().click();
    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(f.toolkit.dialogs().messages[0].caption, "Ошибка");
    EXPECT_EQ(f.toolkit.dialogs().messages[0].text, "Вы ничего не выбрали списки для очистки.");
    EXPECT_FALSE(f.box.data().exists("rg_history.txt"));

    f.lists.all_box().click();
    EXPECT_EQ(f.lists.lists().checked_count(), 9);
    f.lists.all_box().click();
    EXPECT_EQ(f.lists.lists().checked_count(), 0);
}

TEST(HistoryLists, TickedListsAreClearedAndRemembered) {
    Pages f;
    const auto& lists = privacy::kHistoryLists;
    for (const auto& list : lists) f.set_value(list.key, "a", "C:\\secret.doc");
    f.box.write("C:\\User\\Recent\\secret.doc.lnk");
    f.box.write("C:\\User\\Recent\\hidden.lnk");
    ASSERT_TRUE(f.box.platform().fs.set_attributes("C:\\User\\Recent\\hidden.lnk", platform::attr::read_only));
    f.box.write("C:\\User\\Recent\\Sub\\kept.lnk");

    f.lists.refresh();
    f.lists.lists().toggle_check(0);
    f.lists.lists().toggle_check(2);
    f.lists.clear_button().click();
    EXPECT_EQ(f.box.read("C:\\Program\\Data\\rg_history.txt"), "1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    auto& registry = f.box.platform().registry;
    for (std::size_t i = 0; i < lists.size(); ++i)
        EXPECT_EQ(registry.key_exists(platform::Root::current_user, lists[i].key), i != 0 && i != 2) << i;
    EXPECT_FALSE(f.box.exists("C:\\User\\Recent\\secret.doc.lnk"));
    EXPECT_FALSE(f.box.exists("C:\\User\\Recent\\hidden.lnk"));
    EXPECT_TRUE(f.box.exists("C:\\User\\Recent\\Sub\\kept.lnk"));
    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(f.toolkit.dialogs().messages[0].caption, "Очистка завершена");
    EXPECT_EQ(f.toolkit.dialogs().messages[0].text, "Выбранные списки были успешно очищены.");
    ASSERT_TRUE(f.box.undo_last());  // the cleared keys come back from the undo file
    for (std::size_t i = 0; i < lists.size(); ++i) EXPECT_TRUE(registry.key_exists(platform::Root::current_user, lists[i].key));

    // The next run ticks the same lists; lines past the ninth tick nothing.
    f.box.data().rewrite("rg_history.txt", {"1", "0", "1", "x", "", "0", "0", "0", "0", "1", "1"});
    Pages next;
    next.box.data().rewrite("rg_history.txt", f.box.data().read_lines("rg_history.txt"));
    next.lists.refresh();
    EXPECT_EQ(next.lists.lists().checked_count(), 2);
    EXPECT_TRUE(next.lists.lists().checked(2));
}

TEST(HistoryLists, AMissingRecentFolderDeletesNothingElse) {
    Pages f;
    f.drop_folder("Recent");
    f.box.write("C:\\boot.ini");
    f.box.write("C:\\Program\\Vorlinde System Cleaner.exe");
    privacy::clear_history_lists(f.box.platform(), {false, false, true});
    f.set_folder("Recent", "C:\\");
    privacy::clear_history_lists(f.box.platform(), {false, false, true});
    EXPECT_TRUE(f.box.exists("C:\\boot.ini"));
    EXPECT_TRUE(f.box.exists("C:\\Program\\Vorlinde System Cleaner.exe"));
}

// Shell Folders values that point a cache or the Recent folder at the user's
// own folders: the pages show nothing to clean, say why, and delete nothing.
TEST(PrivacyPages, CachesAndRecentOverTheUsersFoldersAreRefused) {
    Pages f;
    f.set_folder("Personal", "C:\\User\\Documents");
    f.set_folder("Cache", "C:\\User\\Documents");
    f.set_folder("History", "C:\\User");
    f.set_folder("Recent", "C:\\User\\AppData\\..");
    for (const char* file : {"C:\\User\\Documents\\thesis.doc", "C:\\User\\AppData\\settings.ini", "C:\\User\\top.txt"})
        f.box.write(file, "mine");
    f.cache.refresh();
    EXPECT_EQ(f.cache.row(0).size.text(), "0 KB");
    EXPECT_FALSE(f.cache.row(0).button.enabled());
    EXPECT_NE(f.cache.refusal().text().find("C:\\User\\Documents"), std::string::npos) << f.cache.refusal().text();
    f.cache.clean_row(0);
    f.history.refresh();
    EXPECT_TRUE(f.history.refusal().visible());
    f.history.clean_all();

    f.lists.refresh();
    f.lists.all_box().click();
    f.lists.clear_button().click();
    const auto& messages = f.toolkit.dialogs().messages;
    ASSERT_GE(messages.size(), 2u);
    EXPECT_NE(messages[messages.size() - 2].text.find("C:\\User\\AppData\\.."), std::string::npos);
    EXPECT_EQ(messages.back().caption, "Очистка завершена");
    for (const char* file : {"C:\\User\\Documents\\thesis.doc", "C:\\User\\AppData\\settings.ini", "C:\\User\\top.txt"})
        EXPECT_TRUE(f.box.exists(file)) << file;
}

TEST(BrowserList, TodaysBrowsersAreRowsBelowTheSlotsAndCleanedByBothButtons) {
    Pages f;
    const std::string chrome = "C:\\User\\Local\\Google\\Chrome\\User Data\\Default";
    const std::string vivaldi = "C:\\User\\Local\\Vivaldi\\User Data\\Default";
    for (const std::string& profile : {chrome, vivaldi}) {
        f.box.write(profile + "\\Preferences", "kept");
        f.box.write(profile + "\\History", "trace");
    }
    f.box.write(chrome + "\\Cache\\Cache_Data\\f_1", std::string(2048, 'c'));
    f.box.write(vivaldi + "\\GPUCache\\data_0", std::string(1024, 'g'));
    f.install_firefox();  // in slot 1, so no row of its own
    f.cache.refresh();
    auto& list = f.cache.browsers().list();
    ASSERT_TRUE(list.visible());
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.text(0, 0), "Google Chrome");
    EXPECT_EQ(list.text(0, 1), "2 KB");
    EXPECT_EQ(list.text(1, 1), "1 KB");
    // Below the Internet Explorer row and the slot, beside its button.
    EXPECT_GE(list.bounds().top, f.cache.row(1).line.bounds().bottom());
    EXPECT_TRUE(f.cache.all_button().visible());
    EXPECT_TRUE(f.cache.all_button().enabled());

    f.cache.browsers().button().release(ui::MouseButton::left);  // the first row is chosen
    EXPECT_FALSE(f.box.exists(chrome + "\\Cache\\Cache_Data\\f_1"));
    EXPECT_TRUE(f.box.exists(vivaldi + "\\GPUCache\\data_0"));
    EXPECT_EQ(list.text(0, 1), "0 KB");
    EXPECT_FALSE(f.cache.browsers().button().enabled());
    f.cache.all_button().release(ui::MouseButton::left);
    EXPECT_FALSE(f.box.exists(vivaldi + "\\GPUCache\\data_0"));
    EXPECT_FALSE(f.cache.all_button().enabled());

    // A running browser says so in its row and keeps its files.
    f.box.write("C:\\User\\Local\\Vivaldi\\User Data\\lockfile", "");
    auto lock = f.box.platform().fs.open("C:\\User\\Local\\Vivaldi\\User Data\\lockfile", platform::Access::read,
                                    platform::Share::none);
    ASSERT_TRUE(lock);
    f.history.refresh();
    auto& rows = f.history.browsers().list();
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.text(1, 1), "Закройте Vivaldi: пока он запущен, его файлы не очищаются.");
    EXPECT_FALSE(f.history.browsers().note().visible());
    rows.click(1);
    EXPECT_EQ(f.history.browsers().note().text(), rows.text(1, 1));  // in full, below the list
    EXPECT_LE(rows.bounds().bottom(), f.history.browsers().note().bounds().top);
    f.history.all_button().click();
    EXPECT_FALSE(f.box.exists(chrome + "\\History"));
    EXPECT_EQ(f.box.read(vivaldi + "\\History"), "trace");
    EXPECT_EQ(f.box.read(chrome + "\\Preferences"), "kept");
}
