// The autorun page, the monitor and its notification window, headless.
#include <gtest/gtest.h>

#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "sandbox.h"
#include "startup/autorun_page.h"
#include "startup/autorun_watch.h"
#include "startup/notice_window.h"

namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr auto HKLM = platform::Root::local_machine;
constexpr auto HKCU = platform::Root::current_user;

struct CountingPlayer : platform::SoundPlayer {
    platform::Status load(const std::string&) override { return platform::Status::success(); }
    bool loaded() const override { return true; }
    void play() override { ++plays; }
    int plays = 0;
};

struct Monitor : ::testing::Test {
    testing_support::Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "Pages"};
    ui::Page tools_page{pages, "RunTools"};
    CountingPlayer radar, link;
    platform::posix::FaultyFileSystem fs{box.platform().fs};
    platform::posix::FaultyRegistry faulty{box.platform().registry};
    platform::Platform services{fs, faulty, box.platform().shell, box.platform().links,
                                box.platform().internet, box.platform().sound, box.platform().system};
    startup::NoticeWindow notice{toolkit, services, box.data(), radar, link};
    startup::AutorunMonitor monitor{notice, faulty, box.data()};
    startup::AutorunPage page{tools_page, services, box.data(), monitor};
    std::optional<bool> timer;

    Monitor() { monitor.on_watching_changed = [this](bool on) { timer = on; }; }

    platform::Registry& registry() { return box.platform().registry; }
    void set(platform::Root root, const char* key, const std::string& name, const std::string& value = "C:\\x.exe") {
        auto open = registry().create(root, key);
        ASSERT_TRUE(open);
        ASSERT_TRUE((*open)->write_string(name, value));
    }
    bool has(platform::Root root, const char* key, const std::string& name) {
        auto open = registry().open(root, key, platform::KeyAccess::read);
        return open && (*open)->value_type(name).has_value();
    }
    void watch(std::initializer_list<std::size_t> keys) {
        for (std::size_t key : keys) page.watch_box(key).set_checked(true);
        page.apply_button().click();
    }
    // A notification showing, slid in all the way.
    bool showing() {
        toolkit.advance(500);
        return notice.visible() && !notice.parked() && !notice.slide_timer().enabled();
    }
};

}  // namespace

TEST_F(Monitor, ApplyingTakesSnapshotsAndTurnsWatchingOnAndOff) {
    set(HKLM, kRun, "A");
    set(HKLM, kRun, "B");
    ASSERT_TRUE(registry().create(HKCU, kRun));
    ASSERT_TRUE(registry().create(HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer"));
    page.refresh();
    page.block_box(1).set_checked(true);
    watch({0, 2});
    EXPECT_EQ(timer, true);
    EXPECT_TRUE(monitor.watching());
    EXPECT_FALSE(page.apply_button().enabled());
    EXPECT_EQ(box.read("C:\\Program\\Data\\al_hklm.txt"), "A\r\nB\r\n");
    EXPECT_EQ(box.read("C:\\Program\\Data\\al_hkcu.txt"), "");
    auto policy = registry().open(HKLM, startup::kPolicyKey, platform::KeyAccess::read);
    EXPECT_EQ((*policy)->read_dword("DisableLocalMachineRunOnce"), 1u);
    EXPECT_EQ((*policy)->read_dword("DisableCurrentUserRun"), 0u);

    // An empty snapshot is never watched.
    set(HKCU, kRun, "Later");
    monitor.tick();
    EXPECT_FALSE(notice.visible());

    // Unticking every watch box drops all five files; the block values are still written.
    for (std::size_t key = 0; key < 4; ++key) page.watch_box(key).set_checked(false);
    page.block_box(1).set_checked(false);
    page.block_box(3).set_checked(true);
    page.apply_button().click();
    EXPECT_EQ(timer, false);
    for (const char* file : {"al_detect.txt", "al_hklm.txt", "al_hklm_once.txt", "al_hkcu.txt", "al_hkcu_once.txt"})
        EXPECT_FALSE(box.data().exists(file)) << file;
    EXPECT_EQ((*policy)->read_dword("DisableLocalMachineRunOnce"), 0u);
    EXPECT_EQ((*policy)->read_dword("DisableCurrentUserRunOnce"), 1u);

    page.refresh();
    EXPECT_TRUE(page.block_box(3).checked());
    EXPECT_FALSE(page.watch_box(0).checked());
}

TEST_F(Monitor, AMissingPolicyKeyRefusesBlocking) {
    page.block_box(0).set_checked(true);
    watch({1});
    EXPECT_EQ(toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(toolkit.dialogs().messages.back().caption, "Доступ запрещен");
    EXPECT_FALSE(page.block_box(0).checked());
    EXPECT_TRUE(box.data().exists("al_hklm_once.txt"));
    EXPECT_FALSE(page.apply_button().enabled());

    page.apply_button().click();  // nothing to block: no message
    EXPECT_EQ(toolkit.dialogs().messages.size(), 1u);
}

TEST_F(Monitor, NewNamesAreNotifiedOneAtATime) {
    set(HKCU, kRun, "Old");
    watch({2});

    set(HKCU, kRun, "###");
    monitor.tick();
    EXPECT_FALSE(notice.visible());

    {
        auto open = registry().open(HKCU, kRun, platform::KeyAccess::write);
        ASSERT_TRUE((*open)->delete_value("Old"));
    }
    set(HKCU, kRun, "OLD", "C:\\old.exe");
    set(HKCU, kRun, "Second", "C:\\second.exe");
    monitor.tick();
    EXPECT_TRUE(notice.visible());
    EXPECT_EQ(notice.top(), 768 / 2 - 64);
    EXPECT_EQ(notice.left(), 1024);
    EXPECT_EQ(radar.plays, 2);  // on showing, and once more from the start
    ASSERT_TRUE(showing());
    EXPECT_EQ(notice.left(), 1024 - 370);
    EXPECT_EQ(notice.name().text(), "OLD");
    EXPECT_EQ(notice.command().text(), "C:\\old.exe");
    EXPECT_EQ(notice.command().tooltip(), "C:\\old.exe");
    EXPECT_EQ(notice.key_text().text(), "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

    notice.keep_link().click();
    EXPECT_FALSE(notice.visible());
    EXPECT_TRUE(notice.parked());
    EXPECT_EQ(link.plays, 1);
    EXPECT_EQ(box.read("C:\\Program\\Data\\al_hkcu.txt"), "Old\r\nOLD\r\n");
    monitor.tick();
    EXPECT_EQ(notice.name().text(), "Second");
    EXPECT_EQ(radar.plays, 4);
}

TEST_F(Monitor, ALaterKeyReplacesTheNoticeWithoutSlidingAgain) {
    set(HKLM, kRun, "A");
    set(HKCU, kRunOnce, "B");
    watch({0, 3});
    set(HKLM, kRun, "NewA");
    monitor.tick();
    ASSERT_TRUE(showing());
    const int left = notice.left();
    set(HKCU, kRunOnce, "NewB");
    monitor.tick();
    EXPECT_EQ(notice.name().text(), "NewB");
    EXPECT_EQ(notice.left(), left);
    EXPECT_FALSE(notice.slide_timer().enabled());
    EXPECT_EQ(radar.plays, 2);

    // "Удалить" takes the value away and leaves the snapshot: the same name comes back later.
    notice.remove_link().click();
    EXPECT_FALSE(has(HKCU, kRunOnce, "NewB"));
    EXPECT_EQ(box.read("C:\\Program\\Data\\al_hkcu_once.txt"), "B\r\n");
    monitor.tick();  // the HKLM one is still unanswered
    EXPECT_EQ(notice.name().text(), "NewA");
    notice.remove_link().click();
    set(HKCU, kRunOnce, "NewB");
    monitor.tick();
    EXPECT_EQ(notice.name().text(), "NewB");

    // Watching nothing any more ends the notification.
    page.watch_box(0).set_checked(false);
    page.watch_box(3).set_checked(false);
    page.apply_button().click();
    EXPECT_FALSE(notice.visible());
}

TEST_F(Monitor, AnAnswerDuringTheSlideParksTheWindow) {
    set(HKLM, kRunOnce, "A");
    watch({1});
    set(HKLM, kRunOnce, "B");
    monitor.tick();
    toolkit.advance(50);
    EXPECT_TRUE(notice.slide_timer().enabled());
    notice.keep_link().click();
    EXPECT_FALSE(notice.slide_timer().enabled());
    toolkit.advance(500);
    EXPECT_TRUE(notice.parked());
    EXPECT_FALSE(notice.visible());
}

// Policy values that cannot be written (no administrator rights): the
// failure is told with its reason and the boxes show what the registry holds.
TEST_F(Monitor, AFailedUnblockSaysSoAndShowsTheRegistrysState) {
    {
        auto policy = registry().create(HKLM, startup::kPolicyKey);
        ASSERT_TRUE((*policy)->write_dword("DisableLocalMachineRun", 1));
        ASSERT_TRUE((*policy)->write_dword("DisableCurrentUserRun", 1));
    }
    page.refresh();
    faulty.make_read_only(HKLM, startup::kPolicyKey);
    for (std::size_t key = 0; key < 4; ++key) page.block_box(key).set_checked(false);
    page.apply_button().click();
    ASSERT_EQ(toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(toolkit.dialogs().messages.back().caption, "Ошибка");
    EXPECT_EQ(toolkit.dialogs().messages.back().text.rfind("Невозможно разрешить автозагрузку.\r", 0), 0u);
    EXPECT_TRUE(page.block_box(0).checked());
    EXPECT_FALSE(page.block_box(1).checked());
    EXPECT_TRUE(page.block_box(2).checked());

    // Written, the change leaves its undo file, which puts the blocks back.
    faulty.clear();
    page.block_box(0).set_checked(false);
    page.apply_button().click();
    auto policy = registry().open(HKLM, startup::kPolicyKey, platform::KeyAccess::read);
    EXPECT_EQ((*policy)->read_dword("DisableLocalMachineRun"), 0u);
    ASSERT_TRUE(box.undo_last());
    EXPECT_EQ((*policy)->read_dword("DisableLocalMachineRun"), 1u);
    EXPECT_FALSE((*policy)->value_type("DisableLocalMachineRunOnce"));
}

TEST_F(Monitor, DeletingANoticedValueCanBeUndone) {
    set(HKCU, kRun, "Old");
    watch({2});
    set(HKCU, kRun, "Intruder", "C:\\bad.exe");
    monitor.tick();
    notice.remove_link().click();
    EXPECT_FALSE(has(HKCU, kRun, "Intruder"));
    ASSERT_TRUE(box.undo_last());
    auto key = registry().open(HKCU, kRun, platform::KeyAccess::read);
    EXPECT_EQ((*key)->read_string("Intruder"), "C:\\bad.exe");
}

TEST_F(Monitor, HklmKeysAreWatchedInBothViews) {
    constexpr char kRun32[] = "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
    set(HKLM, kRun, "A");
    set(HKLM, kRun32, "B");
    watch({0});
    EXPECT_EQ(box.read("C:\\Program\\Data\\al_hklm.txt"), "A\r\nB\r\n");

    set(HKLM, kRun32, "New32", "C:\\x86.exe");
    monitor.tick();
    ASSERT_TRUE(showing());
    EXPECT_EQ(notice.name().text(), "New32");
    EXPECT_EQ(notice.command().text(), "C:\\x86.exe");
    EXPECT_EQ(notice.key_text().text(), "HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    set(HKLM, kRun, "New32");  // the same name in the 64-bit view stays
    notice.remove_link().click();
    EXPECT_FALSE(has(HKLM, kRun32, "New32"));
    EXPECT_TRUE(has(HKLM, kRun, "New32"));
}
