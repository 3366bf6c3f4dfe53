// The search pages of the main window: each "  Настроить" opens its editor,
// and the editors work on the main window's drive selections.
#include <gtest/gtest.h>

#include <fstream>

#include "app/features.h"
#include "app/main_window.h"
#include "duplicates/duplicates_tool.h"
#include "editors_fixture.h"
#include "emptydirs/empty_dirs_tool.h"
#include "junk/junk_tools.h"
#include "registry/registry_tool.h"
#include "shortcuts/links_tool.h"

using search::ExclusionList;

namespace {

struct MainFixture : testing_support::EditorsFixture {
    MainFixture() {
        for (const char* sound : {"link.wav", "clean.wav", "radar.wav"}) {
            std::ifstream in(std::string(VORLINDE_TEST_DATA "/../../data/") + sound, std::ios::binary);
            box.write(std::string("C:\\Program\\Data\\") + sound, std::string(std::istreambuf_iterator<char>(in), {}));
        }
    }
};

// Names of the controls that stick out of their parent's area.
void stray_controls(const ui::Container& container, int width, int height, std::vector<std::string>& out) {
    for (const ui::Control* control : container.controls()) {
        const ui::Rect& r = control->bounds();
        if (r.left < 0 || r.top < 0 || r.right() > width || r.bottom() > height) out.push_back(control->name());
        if (const ui::Container* inner = control->container()) {
            const ui::Rect& area = control->kind() == ui::Kind::page
                                       ? static_cast<const ui::Page*>(control)->page_set().bounds()
                                       : r;
            stray_controls(*inner, area.width, area.height, out);
        }
    }
}

}  // namespace

TEST(LauncherPages, EveryEditorAndPageKeepsItsControlsInside) {
    MainFixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    std::vector<std::string> strays;
    for (const ui::Form* form : f.toolkit.forms())
        stray_controls(*form, form->client_width(), form->client_height(), strays);
    EXPECT_TRUE(strays.empty()) << ::testing::PrintToString(strays);
}

// Every item of the category bar reaches its tool's page, and every page with
// a title shows it.
TEST(LauncherPages, EveryItemOfTheTableShowsItsPage) {
    MainFixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    f.toolkit.run(main);
    int category = -1;
    std::string last;
    int item = 0;
    for (const app::Feature& feature : app::features()) {
        if (feature.category != last) {
            last = feature.category;
            main.categories().click_header(++category);
            item = 0;
        }
        if (!feature.page) continue;  // "Свернуть в трэй"
        main.categories().click_item(category, item++);
        EXPECT_EQ(main.shown_page(), feature.page) << feature.routine;
        for (const ui::Control* control : main.page(feature.page).controls()) {
            if (control->name().ends_with("Title")) {
                EXPECT_TRUE(control->showing()) << feature.page;
            }
        }
    }
    main.categories().click_item(category, item);
    EXPECT_FALSE(main.visible());  // the tray item hides the window
}

TEST(LauncherPages, EachSettingsButtonOpensItsEditorModally) {
    MainFixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    f.toolkit.run(main);

    auto opens = [&](ui::Button& button, ui::Form& editor) {
        EXPECT_TRUE(button.showing()) << button.name();
        button.click();
        EXPECT_TRUE(editor.visible() && editor.modal()) << button.name();
        EXPECT_EQ(f.toolkit.active_form(), &editor) << button.name();
        editor.close();
    };
    main.run("Temp Find");
    auto& temp = main.tool<junk::TempFindTool>("Temp Find");
    opens(temp.page().area_button(), temp.editors().area);
    opens(temp.page().exclusions_button(), temp.editors().exclusions);
    opens(temp.page().mask_button(), temp.mask());
    main.run("Bad Links");
    auto& links = main.tool<shortcuts::LinksTool>("Bad Links");
    opens(links.page().area_button(), links.editors().area);
    opens(links.page().exclusions_button(), links.editors().exclusions);
    main.run("Empty Dirs");
    auto& empty = main.tool<emptydirs::EmptyDirsTool>("Empty Dirs");
    opens(empty.page().area_button(), empty.editors().area);
    opens(empty.page().exclusions_button(), empty.editors().exclusions);
    main.run("Duplicates");
    auto& copies = main.tool<duplicates::DuplicatesTool>("Duplicates");
    copies.page().files_mode_button().click();
    opens(copies.page().files_button(), copies.files());
    opens(copies.page().area_button(), copies.editors().area);
    opens(copies.page().exclusions_button(), copies.editors().exclusions);
    opens(copies.page().types_button(), copies.types());
    copies.page().area_mode_button().click();
    EXPECT_FALSE(copies.page().files_button().usable());
    EXPECT_TRUE(f.box.data().exists("cf_all.txt"));
    main.run("Reg Find");
    auto& registry = main.tool<registry::RegistryTool>("Reg Find");
    opens(registry.page().area_button(), registry.area());
    EXPECT_EQ(links.editors().area.variant().prefix, std::string("bl"));
    EXPECT_FALSE(empty.editors().exclusions.has(ExclusionList::full_files));
    EXPECT_EQ(&temp.editors().drives, &main.drives("tf_drives.txt"));

    // "  Начать поиск" hides the main window behind the search window.
    main.run("Temp Find");
    temp.page().start_button().click();
    EXPECT_TRUE(temp.window().visible());
    EXPECT_FALSE(main.visible());

    // The empty folder window's caption names the mode set on the page.
    temp.window().close();
    main.run("Empty Dirs");
    for (auto [mode, caption] : {std::pair{&empty.page().folders_button(), "Поиск пустых папок"},
                                 std::pair{&empty.page().trees_button(), "Поиск пустых папок с пустыми подпапками"}}) {
        mode->click();
        empty.page().start_button().click();
        EXPECT_TRUE(empty.window().visible());
        EXPECT_FALSE(main.visible());
        EXPECT_EQ(empty.window().caption(), caption);
        empty.window().close();
    }
    main.run("Duplicates");
    copies.page().start_button().click();
    EXPECT_TRUE(copies.window().visible());
    EXPECT_FALSE(main.visible());
    copies.window().close();
    main.run("Reg Find");
    f.box.data().rewrite(registry::kKeysFile, {"00"});
    registry.page().start_button().click();
    EXPECT_TRUE(registry.window().visible());
    EXPECT_FALSE(main.visible());
}
