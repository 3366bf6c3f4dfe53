// The broken shortcut page: the mode radio buttons, the marker file they
// keep and the "  Настроить" buttons they enable.
#include <gtest/gtest.h>

#include "platform/posix/headless_ui.h"
#include "sandbox.h"
#include "shortcuts/links_page.h"

using testing_support::Sandbox;

namespace {

struct PageFixture {
    Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::Form area{toolkit, "Area"};
    ui::Form exclusions{toolkit, "Exclusions"};
    ui::PageSet pages{form, "Pages"};
    ui::Page page{pages, "Page"};
    shortcuts::LinksPage links{page, area, exclusions};

    bool editors_enabled() { return links.area_button().enabled() && links.exclusions_button().enabled(); }
    bool editors_disabled() {
        return !links.area_button().enabled() && !links.exclusions_button().enabled();
    }
    const std::string marker = "C:\\Program\\Data\\bl_optimal.txt";
};

constexpr const char* kWarning =
    "Вы выбрали полную проверку компьютера, однако эта операция займет значительное время.\r"
    "Для частого использования выбирайте поиск с оптимальными настройками.";

}  // namespace

TEST(LinksPage, OwnSettingsWarnOnceAndEnableTheEditors) {
    PageFixture f;
    EXPECT_FALSE(f.links.optimal_button().checked() || f.links.own_button().checked());
    EXPECT_TRUE(f.editors_enabled());

    f.links.opened(f.box.data());
    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 1u);
    const auto& warning = f.toolkit.dialogs().messages.back();
    EXPECT_EQ(warning.text, kWarning);
    EXPECT_EQ(warning.caption, "Предупреждение");
    EXPECT_EQ(warning.icon, ui::Icon::information);
    EXPECT_TRUE(f.links.own_button().checked());
    EXPECT_TRUE(f.editors_enabled());

    f.links.own_button().click();
    f.links.opened(f.box.data());
    EXPECT_EQ(f.toolkit.dialogs().messages.size(), 1u);

    f.links.optimal_button().click();
    EXPECT_FALSE(f.links.own_button().checked());
    EXPECT_TRUE(f.box.exists(f.marker));
    EXPECT_EQ(f.box.read(f.marker), "");
    EXPECT_TRUE(f.editors_disabled());

    f.links.own_button().click();
    EXPECT_FALSE(f.box.exists(f.marker));
    EXPECT_TRUE(f.editors_enabled());
    EXPECT_EQ(f.toolkit.dialogs().messages.size(), 2u);
}

TEST(LinksPage, OpeningInOptimalModeWritesTheMarkerAnewAndDisablesTheEditors) {
    PageFixture f;
    f.box.write(f.marker, "left over\r\n");
    f.links.opened(f.box.data());
    EXPECT_TRUE(f.links.optimal_button().checked());
    EXPECT_EQ(f.box.read(f.marker), "");
    EXPECT_TRUE(f.editors_disabled());
    EXPECT_TRUE(f.toolkit.dialogs().messages.empty());

    f.links.area_button().click();
    EXPECT_FALSE(f.area.visible());
}
