// The broken shortcut page: the mode radio buttons, the marker file they
// keep and the "  Настроить" buttons they enable.
#include <gtest/gtest.h>

#include "posix/headless_ui.h"
#include "sandbox.h"
#include "shortcuts/links_page.h"

TEST(LinksPage, ModeButtonsKeepTheMarkerEnableTheEditorsAndWarnOnOwnSettings) {
    testing_support::Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"}, area{toolkit, "Area"}, exclusions{toolkit, "Exclusions"};
    ui::PageSet pages{form, "Pages"};
    ui::Page page{pages, "Page"};
    shortcuts::LinksPage links{page, area, exclusions};
    const std::string marker = "C:\\Program\\Data\\bl_optimal.txt";
    const auto& messages = toolkit.dialogs().messages;
    const auto editors = [&] { return links.area_button().enabled() + links.exclusions_button().enabled(); };

    // The first opening with the marker present writes it anew.
    box.write(marker, "left over\r\n");
    links.opened(box.data());
    EXPECT_TRUE(links.optimal_button().checked());
    EXPECT_EQ(box.read(marker), "");
    EXPECT_EQ(editors(), 0);
    links.area_button().click();
    EXPECT_FALSE(area.visible());

    links.own_button().click();
    EXPECT_FALSE(box.exists(marker));
    EXPECT_EQ(editors(), 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "Вы выбрали полную проверку компьютера, однако эта операция займет значительное время.\r"
              "Для частого использования выбирайте поиск с оптимальными настройками.");
    EXPECT_EQ(messages[0].caption, "Предупреждение");
    EXPECT_EQ(messages[0].icon, ui::Icon::information);

    // Choosing the mode that is already set, or opening the page in it, says nothing.
    links.own_button().click();
    links.opened(box.data());
    EXPECT_EQ(messages.size(), 1u);
    links.optimal_button().click();
    EXPECT_TRUE(box.exists(marker));
    EXPECT_EQ(editors(), 0);
}
