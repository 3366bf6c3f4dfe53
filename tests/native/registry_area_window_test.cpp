// The registry search area window: what "Применить" writes and refuses, and
// what an opening adds.
#include <gtest/gtest.h>

#include <memory>

#include "editors_fixture.h"
#include "registry/area_window.h"

using testing_support::EditorsFixture;
using testing_support::readable;

namespace {

struct RegistryAreaFixture : EditorsFixture {
    RegistryAreaFixture() { select({}); }
    std::unique_ptr<registry::RegistryAreaWindow> open() {
        auto window = std::make_unique<registry::RegistryAreaWindow>(toolkit, box.data(), drives, selection);
        window->show_modal();
        return window;
    }
    bool has(const std::string& name) { return box.exists("C:\\Program\\Data\\" + name); }
};

const char kNoKeys[] =
    "Вы не выбрали ни одного ключа.\rНеобходимо задать ключи, в которых надо искать неверные значения.";
const char kNoDrives[] =
    "Вы не выбрали ни одного диска.\rНеобходимо задать диски, на которых надо искать неверные значения.";

}  // namespace

TEST(RegistryAreaWindow, ApplyWritesKeysWithoutALineBreakAndDrivesWithTheSelection) {
    RegistryAreaFixture f;
    auto window = f.open();
    window->local_machine_box().set_checked(true);
    window->drive_list().set_checked(1, true);
    window->apply_button().click();
    EXPECT_TRUE(f.messages().empty());
    EXPECT_EQ(f.file("rg_keys.txt"), "01");
    EXPECT_EQ(f.file("rg_drives.txt"), "0\r\n1\r\n0\r\n");
    EXPECT_EQ(f.selection.checked_letters(), (std::vector<char>{'D'}));
    EXPECT_FALSE(window->visible());
}

TEST(RegistryAreaWindow, MissingKeysOrDrivesAreRefusedEachOnItsOwn) {
    RegistryAreaFixture f;
    f.box.data().rewrite("rg_keys.txt", {"10"});
    auto window = f.open();
    // Both missing: both messages, keys first; nothing written, the window stays.
    window->current_user_box().set_checked(false);
    window->apply_button().click();
    ASSERT_EQ(f.messages().size(), 2u);
    EXPECT_EQ(f.messages()[0].text, kNoKeys) << readable(f.messages()[0].text);
    EXPECT_EQ(f.messages()[0].caption, "Не выбраны ключи");
    EXPECT_EQ(f.messages()[1].text, kNoDrives) << readable(f.messages()[1].text);
    EXPECT_EQ(f.messages()[1].caption, "Не выбраны диски");
    for (const auto& message : f.messages()) EXPECT_EQ(message.icon, ui::Icon::stop);
    EXPECT_EQ(f.file("rg_keys.txt"), "10\r\n");
    EXPECT_FALSE(f.has("rg_drives.txt"));
    EXPECT_TRUE(window->visible());

    // Keys without drives: the keys are written, the window stays.
    f.messages().clear();
    window->current_user_box().set_checked(true);
    window->local_machine_box().set_checked(true);
    window->apply_button().click();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].caption, "Не выбраны диски");
    EXPECT_EQ(f.file("rg_keys.txt"), "11");
    EXPECT_TRUE(window->visible());

    // Drives without keys: the key message, the drives saved, the window closes.
    f.messages().clear();
    window->current_user_box().set_checked(false);
    window->local_machine_box().set_checked(false);
    window->drive_list().set_checked(0, true);
    window->apply_button().click();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].caption, "Не выбраны ключи");
    EXPECT_EQ(f.file("rg_keys.txt"), "11");
    EXPECT_EQ(f.file("rg_drives.txt"), "1\r\n0\r\n0\r\n");
    EXPECT_FALSE(window->visible());
}

TEST(RegistryAreaWindow, AnOpeningOnlyAddsTheChecksOfTheFiles) {
    RegistryAreaFixture f;
    f.box.data().rewrite("rg_keys.txt", {"1"});
    f.box.data().rewrite("rg_drives.txt", {"0", "1", "0", "1", "1"});
    auto window = f.open();
    EXPECT_TRUE(window->current_user_box().checked());
    EXPECT_FALSE(window->local_machine_box().checked());
    EXPECT_TRUE(window->drive_list().checked(1));
    EXPECT_EQ(window->drive_list().checked_count(), 1);
    window->local_machine_box().set_checked(true);
    window->drive_list().set_checked(0, true);
    window->close();

    f.box.data().rewrite("rg_keys.txt", {"00"});
    f.box.data().remove("rg_drives.txt");
    window->show_modal();
    EXPECT_TRUE(window->current_user_box().checked() && window->local_machine_box().checked());
    EXPECT_EQ(window->drive_list().checked_count(), 2);
}
