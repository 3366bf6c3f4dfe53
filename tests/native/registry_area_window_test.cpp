// The registry search area window: what "Применить" writes and refuses, and
// what an opening adds.
#include <gtest/gtest.h>

#include <memory>

#include "editors_fixture.h"
#include "registry/area_window.h"

using testing_support::readable;

namespace {

struct RegistryAreaFixture : testing_support::EditorsFixture {
    std::unique_ptr<registry::RegistryAreaWindow> window;
    RegistryAreaFixture() {
        select({});
        window = std::make_unique<registry::RegistryAreaWindow>(toolkit, box.data(), drives, selection);
    }
    // Sets the boxes and the drive checks ("1"/"0" per row), then applies.
    void apply(bool current_user, bool local_machine, const std::string& drive_checks) {
        window->current_user_box().set_checked(current_user);
        window->local_machine_box().set_checked(local_machine);
        for (std::size_t row = 0; row < drive_checks.size(); ++row)
            window->drive_list().set_checked(static_cast<int>(row), drive_checks[row] == '1');
        messages().clear();
        window->apply_button().click();
    }
    std::vector<std::string> captions() {
        std::vector<std::string> said;
        for (const auto& message : messages()) said.push_back(message.caption);
        return said;
    }
};

}  // namespace

TEST(RegistryAreaWindow, ApplyWritesWhatIsChosenAndRefusesWhatIsNot) {
    RegistryAreaFixture f;
    f.box.data().rewrite("rg_keys.txt", {"10"});
    f.window->show_modal();
    f.apply(false, false, "000");  // keys first, then drives; nothing written
    ASSERT_EQ(f.captions(), (std::vector<std::string>{"Не выбраны ключи", "Не выбраны диски"}));
    EXPECT_EQ(f.messages()[0].text,
              "Вы не выбрали ни одного ключа.\rНеобходимо задать ключи, в которых надо искать неверные значения.")
        << readable(f.messages()[0].text);
    EXPECT_EQ(f.messages()[1].text,
              "Вы не выбрали ни одного диска.\rНеобходимо задать диски, на которых надо искать неверные значения.")
        << readable(f.messages()[1].text);
    EXPECT_TRUE(f.messages()[0].icon == ui::Icon::stop && f.messages()[1].icon == ui::Icon::stop);
    EXPECT_EQ(f.file("rg_keys.txt"), "10\r\n");
    EXPECT_FALSE(f.box.exists("C:\\Program\\Data\\rg_drives.txt"));

    f.apply(true, true, "000");  // keys written without a line break, the window stays
    EXPECT_EQ(f.captions(), (std::vector<std::string>{"Не выбраны диски"}));
    EXPECT_EQ(f.file("rg_keys.txt"), "11");
    EXPECT_TRUE(f.window->visible());

    f.apply(false, false, "010");  // drives saved with the selection, the window closes
    EXPECT_EQ(f.captions(), (std::vector<std::string>{"Не выбраны ключи"}));
    EXPECT_EQ(f.file("rg_keys.txt"), "11");
    EXPECT_EQ(f.file("rg_drives.txt"), "0\r\n1\r\n0\r\n");
    EXPECT_EQ(f.selection.checked_letters(), (std::vector<char>{'D'}));
    EXPECT_FALSE(f.window->visible());

    f.window->show_modal();
    f.apply(false, true, "100");
    EXPECT_TRUE(f.messages().empty());
    EXPECT_EQ(f.file("rg_keys.txt"), "01");
    EXPECT_FALSE(f.window->visible());
}

TEST(RegistryAreaWindow, AnOpeningOnlyAddsTheChecksOfTheFiles) {
    RegistryAreaFixture f;
    f.box.data().rewrite("rg_keys.txt", {"1"});
    f.box.data().rewrite("rg_drives.txt", {"0", "1", "0", "1", "1"});
    f.window->show_modal();
    EXPECT_TRUE(f.window->current_user_box().checked() && !f.window->local_machine_box().checked());
    EXPECT_TRUE(f.window->drive_list().checked(1) && f.window->drive_list().checked_count() == 1);
    f.window->local_machine_box().set_checked(true);
    f.window->drive_list().set_checked(0, true);
    f.window->close();

    f.box.data().rewrite("rg_keys.txt", {"00"});
    f.box.data().remove("rg_drives.txt");
    f.window->show_modal();
    EXPECT_TRUE(f.window->current_user_box().checked() && f.window->local_machine_box().checked());
    EXPECT_EQ(f.window->drive_list().checked_count(), 2);
}
