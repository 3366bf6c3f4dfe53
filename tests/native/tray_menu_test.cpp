// The tray icon and its menu of quick actions, headless, over a machine with
// a temporary folder, a recycle bin and the browsers' stores.
#include <gtest/gtest.h>

#include <fstream>

#include "app/main_window.h"
#include "privacy/privacy_tools.h"
#include "privacy_fixture.h"

using privacy::Store;
using testing_support::BrowserMachine;
using testing_support::kFirefoxCache;
using testing_support::kProfile;

namespace {

struct Tray : BrowserMachine {
    headless::Toolkit toolkit;
    app::MainWindow main{toolkit, box.platform(), box.data()};
    app::TrayMenu& menu = main.tray_menu();

    Tray() {
        for (const char* sound : {"link.wav", "clean.wav", "radar.wav"}) {
            std::ifstream in(std::string(VORLINDE_TEST_DATA "/../../data/") + sound, std::ios::binary);
            box.write(std::string("C:\\Program\\Data\\") + sound, std::string(std::istreambuf_iterator<char>(in), {}));
        }
        box.make_folder("C:\\Temp");
        toolkit.run(main);
        main.hide_to_tray();
    }

    // Right-clicks the icon: the menu is prepared and stays open.
    void open() {
        toolkit.close_menu();
        main.tray().right_click();
        ASSERT_EQ(toolkit.open_menu(), &menu.menu());
    }
    void choose(ui::MenuItem& item) {
        open();
        toolkit.choose(item);
    }
    int clean_sounds() { return static_cast<platform::posix::PosixSoundPlayer&>(*main.sounds().clean).plays(); }
};

}  // namespace

TEST(TrayMenu, OpeningGreysWhatHasNothingToCleanAndFillsTheCachePagesBrowsers) {
    Tray f;
    f.box.write("C:\\User\\Cache\\index.dat", "idx");  // sized as nothing
    f.open();
    EXPECT_TRUE(f.menu.menu().opens_upward());
    EXPECT_FALSE(f.menu.clean_temp_item().enabled());
    EXPECT_FALSE(f.menu.empty_bin_item().enabled());
    EXPECT_FALSE(f.menu.browsers(Store::cache).ie.enabled());
    EXPECT_TRUE(f.menu.browsers(Store::history).ie.enabled());

    f.box.write("C:\\Temp\\a.tmp");
    f.box.write("C:\\Doc.txt");
    ASSERT_TRUE(f.box.platform().shell.delete_to_recycle_bin("C:\\Doc.txt"));
    f.install_opera();
    f.install_firefox();
    f.box.write(std::string(kFirefoxCache) + "\\ff.tmp");
    f.open();
    EXPECT_TRUE(f.menu.clean_temp_item().enabled());
    EXPECT_TRUE(f.menu.empty_bin_item().enabled());
    f.main.run("Cache");
    auto& page = f.main.tool<privacy::CacheTool>("Cache").page();
    for (const Store store : {Store::cache, Store::history, Store::cookies})
        for (int slot = 1; slot <= 2; ++slot) {
            EXPECT_EQ(f.menu.browsers(store).row(slot).caption(), page.row(slot).name.text());
            EXPECT_TRUE(f.menu.browsers(store).row(slot).visible());
        }
    EXPECT_FALSE(f.menu.browsers(Store::cache).slots[0].enabled());  // Opera's cache is empty
    EXPECT_TRUE(f.menu.browsers(Store::cache).slots[1].enabled());

    // Firefox alone takes the first slot, and the second is hidden again.
    ASSERT_TRUE(f.box.platform().registry.delete_tree(platform::Root::current_user, "Software\\Opera Software"));
    f.choose(f.menu.browsers(Store::cache).slots[0]);
    EXPECT_FALSE(f.menu.browsers(Store::cookies).slots[1].visible());
    EXPECT_FALSE(f.box.exists(std::string(kFirefoxCache) + "\\ff.tmp"));
}

TEST(TrayMenu, EachEntryRunsItsActionWithoutShowingTheWindow) {
    Tray f;
    f.install_opera();
    f.install_firefox();
    for (const char* file : {"C:\\Temp\\old\\a.tmp", "C:\\Doc.txt", "C:\\User\\Cache\\x\\page.htm",
                             "C:\\User\\Cookies\\me@site.txt", "C:\\Opera\\profile\\cookies4.dat"})
        f.box.write(file);
    f.box.write(std::string(kProfile) + "\\cookies.txt");
    ASSERT_TRUE(f.box.platform().shell.delete_to_recycle_bin("C:\\Doc.txt"));
    const int sounds = f.clean_sounds();

    f.choose(f.menu.clean_temp_item());
    f.choose(f.menu.empty_bin_item());
    f.choose(f.menu.browsers(Store::cache).ie);
    EXPECT_FALSE(f.box.exists("C:\\Temp\\old\\a.tmp"));
    EXPECT_EQ(f.box.platform().shell.query_recycle_bin()->items, 0u);
    EXPECT_FALSE(f.box.exists("C:\\User\\Cache\\x\\page.htm"));
    // "Все": Internet Explorer, both slots, and the sound once more.
    f.choose(f.menu.browsers(Store::cookies).all);
    for (const std::string& file : {std::string("C:\\User\\Cookies\\me@site.txt"),
                                    std::string("C:\\Opera\\profile\\cookies4.dat"), std::string(kProfile) + "\\cookies.txt"})
        EXPECT_FALSE(f.box.exists(file)) << file;
    EXPECT_EQ(f.clean_sounds(), sounds + 7);
    EXPECT_FALSE(f.main.visible());
    EXPECT_TRUE(f.toolkit.dialogs().messages.empty());

    f.choose(f.menu.uninstall_item());
    EXPECT_TRUE(f.main.visible());
    EXPECT_FALSE(f.main.tray().visible());
    EXPECT_EQ(f.main.shown_page(), "TabSheet9_1");

    // Restoring shows About, whatever page was shown (opening the menu
    // shows the temporary folder page).
    f.main.hide_to_tray();
    f.choose(f.menu.restore_item());
    EXPECT_EQ(f.main.shown_page(), "TabSheet2_2");
    f.main.run("Reg Find");
    f.main.hide_to_tray();
    f.main.tray().click();
    EXPECT_TRUE(f.main.visible());
    EXPECT_EQ(f.main.shown_page(), "TabSheet2_2");
    f.main.hide_to_tray();
    f.choose(f.menu.exit_item());
    EXPECT_TRUE(f.toolkit.ended());
}

TEST(TrayMenu, OffersNothingWhileAQuickActionRuns) {
    Tray f;
    f.box.write("C:\\Temp\\a.tmp");
    f.box.write("C:\\User\\Cookies\\me@site.txt");
    f.open();
    bool reopened = false;
    f.toolkit.pump().on_serve = [&] {
        if (reopened) return;
        reopened = true;
        f.main.tray().right_click();
        f.toolkit.choose(f.menu.browsers(Store::cookies).ie);
        f.main.tray().click();
    };
    f.toolkit.choose(f.menu.clean_temp_item());
    ASSERT_TRUE(reopened);
    EXPECT_FALSE(f.main.visible());
    EXPECT_TRUE(f.main.tray().visible());
    EXPECT_FALSE(f.box.exists("C:\\Temp\\a.tmp"));
    EXPECT_TRUE(f.box.exists("C:\\User\\Cookies\\me@site.txt"));

    f.toolkit.pump().on_serve = nullptr;
    f.open();
    EXPECT_TRUE(f.menu.browsers(Store::cookies).submenu.enabled());
}

TEST(TrayMenu, TodaysBrowsersFollowTheSlotsInEachSubmenu) {
    Tray f;
    const std::string edge = "C:\\User\\Local\\Microsoft\\Edge\\User Data\\Default";
    f.box.write(edge + "\\Preferences", "kept");
    f.box.write(edge + "\\Network\\Cookies", "trace");
    f.open();
    for (const Store store : {Store::cache, Store::history, Store::cookies}) {
        auto& submenu = f.menu.browsers(store);
        EXPECT_EQ(submenu.submenu.items().back(), submenu.modern.back().get());
        EXPECT_TRUE(submenu.modern[0]->visible());
        EXPECT_EQ(submenu.modern[0]->caption(), "Microsoft Edge");
        EXPECT_FALSE(submenu.modern[1]->visible());
    }
    EXPECT_FALSE(f.menu.browsers(Store::cache).modern[0]->enabled());  // its cache is empty
    const int sounds = f.clean_sounds();
    f.choose(f.menu.browsers(Store::cookies).all);
    EXPECT_FALSE(f.box.exists(edge + "\\Network\\Cookies"));
    EXPECT_EQ(f.box.read(edge + "\\Preferences"), "kept");
    EXPECT_EQ(f.clean_sounds(), sounds + 3);
}
