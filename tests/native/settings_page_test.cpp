// The program settings page, headless: each box read from where its option
// lives, "  Применить" writing all five.
#include <gtest/gtest.h>

#include "app/settings_page.h"
#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "sandbox.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kDesktopLink[] = "C:\\User\\Desktop\\Vorlinde System Cleaner.lnk";
const char kMenuLink[] = "C:\\User\\Start Menu\\Programs\\Vorlinde System Cleaner.lnk";
const char kProgram[] = "C:\\Program\\Vorlinde System Cleaner.exe";

struct SettingsFixture {
    SettingsFixture() {
        EXPECT_TRUE(box.platform().registry.create(platform::Root::current_user, kRunKey));  // as Windows has it
        set_value(kShellFolders, "Desktop", "C:\\User\\Desktop");
        set_value(kShellFolders, "Programs", "C:\\User\\Start Menu\\Programs");
        box.make_folder("C:\\User\\Desktop");
        box.make_folder("C:\\User\\Start Menu\\Programs");
    }
    void set_value(const std::string& key, const std::string& name, const std::string& value) {
        auto opened = box.platform().registry.create(platform::Root::current_user, key);
        ASSERT_TRUE(opened);
        ASSERT_TRUE((*opened)->write_string(name, value));
    }
    std::optional<std::string> run_value() {
        auto key = box.platform().registry.open(platform::Root::current_user, kRunKey, platform::KeyAccess::read);
        if (!key) return std::nullopt;
        return (*key)->read_string("Vorlinde SC");
    }
    std::vector<bool> boxes() {
        return {settings.autostart_box().checked(), settings.tray_box().checked(), settings.desktop_box().checked(),
                settings.menu_box().checked(), settings.update_box().checked()};
    }

    testing_support::Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "Pages"};
    ui::Page page{pages, "Settings"};
    app::SettingsPage settings{page, box.platform(), box.data()};
};

}  // namespace

TEST(SettingsPage, RunValuePointingElsewhereIsShownCheckedAndRewrittenQuoted) {
    SettingsFixture f;
    f.set_value(kRunKey, "Vorlinde SC", "D:\\Old\\cleaner.exe");
    f.settings.refresh();
    EXPECT_EQ(f.boxes(), (std::vector<bool>{true, false, false, false, false}));
    ASSERT_TRUE(f.settings.apply_button().enabled());

    f.settings.apply_button().click();
    EXPECT_EQ(f.run_value(), "\"" + std::string(kProgram) + "\"");
    EXPECT_FALSE(f.settings.apply_button().enabled());

    f.settings.autostart_box().set_checked(false);
    EXPECT_TRUE(f.settings.apply_button().enabled());
    f.settings.apply_button().click();
    EXPECT_EQ(f.run_value(), std::nullopt);
    EXPECT_TRUE(f.toolkit.dialogs().messages.empty());
}

TEST(SettingsPage, ShortcutsAndMarkersFollowTheBoxesOnEveryApply) {
    SettingsFixture f;
    f.settings.refresh();
    for (auto* check : {&f.settings.tray_box(), &f.settings.desktop_box(), &f.settings.menu_box(),
                        &f.settings.update_box()})
        check->set_checked(true);
    f.settings.apply_button().click();
    EXPECT_EQ(f.box.platform().links.read_target(kDesktopLink), kProgram);
    EXPECT_EQ(f.box.platform().links.read_target(kMenuLink), kProgram);
    EXPECT_TRUE(f.box.data().exists("tray.txt"));
    EXPECT_TRUE(f.box.data().exists("update.txt"));

    // A second apply writes everything anew without complaint.
    f.box.write(kMenuLink, "not a shortcut");
    f.settings.apply();
    EXPECT_EQ(f.box.platform().links.read_target(kMenuLink), kProgram);

    f.settings.desktop_box().set_checked(false);
    f.settings.tray_box().set_checked(false);
    f.settings.apply_button().click();
    EXPECT_FALSE(f.box.exists(kDesktopLink));
    EXPECT_FALSE(f.box.data().exists("tray.txt"));
    f.settings.apply();  // the missing shortcut is no error
    EXPECT_TRUE(f.toolkit.dialogs().messages.empty());

    // Reopening finds what was written: nothing changes, apply stays off.
    f.settings.refresh();
    EXPECT_EQ(f.boxes(), (std::vector<bool>{false, false, false, true, true}));
    EXPECT_FALSE(f.settings.apply_button().enabled());

    // A shortcut deleted outside the program shows unchecked and offers apply.
    std::filesystem::remove(f.box.host_path(kMenuLink));
    f.settings.refresh();
    EXPECT_FALSE(f.settings.menu_box().checked());
    EXPECT_TRUE(f.settings.apply_button().enabled());
}

// A marker is written empty over whatever it held; the Run key is not made
// when it is missing: the apply stops there with its message.
TEST(SettingsPage, MarkersAreWrittenEmptyAndAMissingRunKeyIsNotMade) {
    SettingsFixture f;
    f.box.data().rewrite("tray.txt", {"left by hand"});
    f.box.data().rewrite("update.txt", {"1"});
    f.settings.tray_box().set_checked(true);
    f.settings.update_box().set_checked(true);
    f.settings.apply_button().click();
    EXPECT_EQ(f.box.read("C:\\Program\\Data\\tray.txt"), "");
    EXPECT_EQ(f.box.read("C:\\Program\\Data\\update.txt"), "");

    ASSERT_TRUE(f.box.platform().registry.delete_tree(platform::Root::current_user, kRunKey));
    f.settings.autostart_box().set_checked(true);
    f.settings.tray_box().set_checked(false);
    f.settings.apply_button().click();
    EXPECT_FALSE(f.box.platform().registry.key_exists(platform::Root::current_user, kRunKey));
    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(f.toolkit.dialogs().messages[0].icon, ui::Icon::error);
    EXPECT_TRUE(f.box.data().exists("tray.txt"));  // the options after the autostart wait
    EXPECT_TRUE(f.settings.apply_button().enabled());
}

TEST(SettingsPage, NoShellFolderMeansNoShortcutAnywhere) {
    SettingsFixture f;
    f.set_value(kShellFolders, "Desktop", "");
    auto key = f.box.platform().registry.open(platform::Root::current_user, kShellFolders, platform::KeyAccess::write);
    ASSERT_TRUE(key && (*key)->delete_value("Programs"));
    f.box.write("C:\\Vorlinde System Cleaner.lnk", "someone else's");
    f.settings.refresh();
    EXPECT_EQ(f.boxes(), (std::vector<bool>{false, false, false, false, false}));

    for (bool on : {true, false}) {
        f.settings.desktop_box().set_checked(on);
        f.settings.menu_box().set_checked(on);
        f.settings.apply();
        EXPECT_EQ(f.box.read("C:\\Vorlinde System Cleaner.lnk"), "someone else's");
        EXPECT_FALSE(f.box.exists("C:\\Program\\Vorlinde System Cleaner.lnk"));
    }
}

TEST(SettingsPage, ARunValueThatCannotBeWrittenStopsTheApplyWithAMessage) {
    SettingsFixture f;
    platform::posix::FaultyRegistry registry(f.box.platform().registry);
    registry.make_unreadable(platform::Root::current_user, kRunKey);
    platform::Platform faulty = f.box.platform();
    platform::Platform machine{faulty.fs, registry, faulty.shell, faulty.links, faulty.internet, faulty.sound,
                               faulty.system};
    ui::Page page{f.pages, "Other"};
    app::SettingsPage settings{page, machine, f.box.data()};
    settings.autostart_box().set_checked(true);
    settings.tray_box().set_checked(true);
    settings.apply_button().click();

    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(f.toolkit.dialogs().messages[0].icon, ui::Icon::error);
    EXPECT_FALSE(f.box.data().exists("tray.txt"));
    EXPECT_TRUE(settings.apply_button().enabled());
}
