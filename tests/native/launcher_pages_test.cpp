// The search pages of the main window: each "  Настроить" opens its editor,
// and the editors work on the main window's drive selections.
#include <gtest/gtest.h>

#include <fstream>

#include "app/main_window.h"
#include "duplicates/duplicates_page.h"
#include "editors_fixture.h"
#include "emptydirs/empty_dirs_page.h"
#include "junk/mask_window.h"
#include "junk/temp_find_page.h"
#include "search/area_window.h"
#include "search/exclusions_window.h"
#include "shortcuts/links_page.h"

using app::DriveTool;
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
    EXPECT_EQ(f.toolkit.forms().size(), 10u);  // the main window, four area, four exclusions, the mask
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
    main.run(app::Routine::temp_find);
    opens(main.temp_find_page().area_button(), main.area_window(DriveTool::temp_files));
    opens(main.temp_find_page().exclusions_button(), main.exclusions_window(DriveTool::temp_files));
    opens(main.temp_find_page().mask_button(), main.mask_window());
    main.run(app::Routine::bad_links);
    opens(main.links_page().area_button(), main.area_window(DriveTool::broken_links));
    opens(main.links_page().exclusions_button(), main.exclusions_window(DriveTool::broken_links));
    main.run(app::Routine::empty_dirs);
    opens(main.empty_dirs_page().area_button(), main.area_window(DriveTool::empty_dirs));
    opens(main.empty_dirs_page().exclusions_button(), main.exclusions_window(DriveTool::empty_dirs));
    main.run(app::Routine::duplicates);
    opens(main.duplicates_page().area_button(), main.area_window(DriveTool::duplicates));
    opens(main.duplicates_page().exclusions_button(), main.exclusions_window(DriveTool::duplicates));
    EXPECT_FALSE(main.duplicates_page().files_button().usable());
    EXPECT_FALSE(main.duplicates_page().types_button().usable());
    EXPECT_EQ(main.area_window(DriveTool::broken_links).variant().prefix, std::string("bl"));
    EXPECT_FALSE(main.exclusions_window(DriveTool::empty_dirs).has(ExclusionList::full_files));

    int starts = 0;
    main.start_temp_search = [&] { ++starts; };
    main.run(app::Routine::temp_find);
    main.temp_find_page().start_button().click();
    EXPECT_EQ(starts, 1);
}
