// The main window: navigation, the category bar, drive selections, sounds,
// the fade-in and the About page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/about_page.h"
#include "app/main_window.h"
#include "posix/headless_ui.h"
#include "sandbox.h"

using testing_support::Sandbox;
using platform::DriveType;

namespace {

std::string shipped(const char* name) {
    std::ifstream in(std::string(VORLINDE_TEST_DATA "/../../data/") + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Fixture {
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string& root) {
        const std::pair<char, DriveType> drives[] = {{'A', DriveType::removable}, {'C', DriveType::fixed},
                                                     {'D', DriveType::cdrom},     {'E', DriveType::removable},
                                                     {'F', DriveType::ramdisk},   {'G', DriveType::remote}};
        config.drives.clear();
        for (auto [letter, type] : drives) {
            const std::string folder = root + "/" + static_cast<char>(std::tolower(letter));
            std::filesystem::create_directories(folder);
            config.drives.push_back({letter, folder, type});
        }
    }};
    headless::Toolkit toolkit;

    Fixture() {
        for (const char* sound : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
            box.write(std::string("C:\\Program\\Data\\") + sound, shipped(sound));
    }
};

}  // namespace

TEST(MainWindow, OffersRemovableFixedAndRemoteDrivesButNotTheFloppyA) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    EXPECT_EQ(main.usable_drives(), (std::vector<std::string>{"C:\\", "E:\\", "G:\\"}));
}

TEST(MainWindow, RefillsEveryDriveSelectionFromItsFlagFileWhenShown) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    f.box.data().rewrite("tf_drives.txt", {"0", "1", "1", "1", "1"});  // longer than the list
    f.box.data().rewrite("cf_drives.txt", {"1"});                      // shorter
    f.box.data().rewrite("ed_drives.txt", {"yes", "", "1"});           // garbage checks nothing
    f.toolkit.run(main);
    EXPECT_EQ(main.drives("tf_drives.txt").checked_letters(), (std::vector<char>{'E', 'G'}));
    EXPECT_EQ(main.drives("cf_drives.txt").checked_letters(), (std::vector<char>{'C'}));
    EXPECT_EQ(main.drives("ed_drives.txt").checked_letters(), (std::vector<char>{'G'}));
    EXPECT_TRUE(main.drives("rg_drives.txt").checked_letters().empty());

    f.box.data().remove("cf_drives.txt");
    main.hide();
    main.show();
    EXPECT_TRUE(main.drives("cf_drives.txt").checked_letters().empty());
}

TEST(MainWindow, OneCategoryOpensAtATimeAndSetsTheBarHeight) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    auto& bar = main.categories();
    EXPECT_EQ(bar.category_count(), 8);
    bar.click_header(0);  // "Ненужные файлы": three items
    EXPECT_EQ(bar.bounds().height, 227);
    bar.click_header(3);  // "Дубликаты": one item
    EXPECT_FALSE(bar.expanded(0));
    EXPECT_TRUE(bar.expanded(3));
    EXPECT_EQ(bar.bounds().height, 179);
    bar.click_header(4);  // "Реестр": two items
    EXPECT_EQ(bar.bounds().height, 203);
    bar.click_header(4);
    EXPECT_EQ(bar.last_expanded(), -1);
    EXPECT_EQ(bar.bounds().height, 154);
}

TEST(MainWindow, EveryRoutineShowsItsPagesAndItemsPlayTheLinkSound) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    f.toolkit.run(main);
    EXPECT_EQ(main.shown_page(), "TabSheet2_2");  // a fresh window shows About

    // The routines and their pages (outer and inner page, counted from 0,
    // are the numbers after "TabSheet" less one).
    const std::pair<const char*, const char*> table[] = {
        {"Loc Run", "TabSheet10_1"}, {"Cur Run", "TabSheet10_2"},    {"Temp Dirs", "TabSheet3_1"},
        {"Bad Links", "TabSheet3_3"}, {"Cache", "TabSheet5_1"},      {"Jurnal", "TabSheet5_2"},
        {"Cookies", "TabSheet5_3"},   {"Temp Find", "TabSheet3_2"},  {"Empty Dirs", "TabSheet6_1"},
        {"Duplicates", "TabSheet7_1"}, {"Reg Find", "TabSheet8_1"},  {"History", "TabSheet8_2"},
        {"Uninstall", "TabSheet9_1"}, {"Full Delete", "TabSheet9_2"}, {"Run Tools", "TabSheet10_3"}};
    for (const auto& [routine, page] : table) {
        main.run(routine);
        EXPECT_EQ(main.shown_page(), page) << routine;
    }

    auto& link = static_cast<platform::posix::PosixSoundPlayer&>(*main.sounds().link);
    const int plays = link.plays();
    main.categories().click_header(7);
    main.categories().click_item(7, 0);  // "Настроить программы"
    EXPECT_EQ(main.shown_page(), "TabSheet2_1");
    main.categories().click_header(0);
    main.categories().click_item(0, 0);  // "Очистка Temp папок" refreshes the page
    EXPECT_EQ(main.shown_page(), "TabSheet3_1");
    EXPECT_EQ(link.plays(), plays + 2);
}

TEST(MainWindow, AMissingSoundIsAskedAboutAtEveryActivation) {
    Fixture f;
    f.box.data().remove("clean.wav");
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    ui::Form other(f.toolkit, "Form2");
    f.toolkit.dialogs().answers = {ui::Answer::no, ui::Answer::yes};
    f.toolkit.run(main);
    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(f.toolkit.dialogs().messages[0].text, "Ошибка при инициализации некоторых функций. Отправить отчет?");
    EXPECT_EQ(f.toolkit.dialogs().messages[0].buttons, ui::Buttons::yes_no);
    EXPECT_TRUE(main.sounds().radar->loaded());
    EXPECT_FALSE(main.sounds().link->loaded());  // loading stopped at clean.wav

    other.show();
    other.close();
    ASSERT_EQ(f.toolkit.dialogs().messages.size(), 2u);
    const auto& opened = f.box.host().shell().opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "|mailto:cleaner@vorlinde.example?&subject=Ошибка при запуске 1.5.06|");
}

TEST(MainWindow, FadesInOverTwelveTicksOrStartsInTheTray) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    f.toolkit.run(main);
    EXPECT_EQ(main.alpha(), 0);
    f.toolkit.advance(30 * 11);
    EXPECT_EQ(main.alpha(), 220);
    EXPECT_TRUE(main.alpha_blend());
    f.toolkit.advance(30);
    EXPECT_EQ(main.alpha(), 255);
    EXPECT_FALSE(main.alpha_blend());
    EXPECT_FALSE(main.startup_timer().enabled());

    Fixture g;
    g.box.data().rewrite("tray.txt", {});
    app::MainWindow hidden(g.toolkit, g.box.platform(), g.box.data());
    g.toolkit.run(hidden);
    g.toolkit.advance(30);
    EXPECT_FALSE(hidden.visible());
    EXPECT_TRUE(hidden.tray().visible());
    hidden.show_page("TabSheet3_1");
    hidden.tray().click();
    EXPECT_TRUE(hidden.visible());
    EXPECT_FALSE(hidden.tray().visible());
    EXPECT_EQ(hidden.shown_page(), "TabSheet2_2");
}

TEST(AboutPage, LinksTurnPurpleAndOpenTheirTargets) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    f.toolkit.run(main);
    EXPECT_EQ(main.tool<app::AboutTool>("О программе").page().version().text(), "Версия 1.5.06");
    EXPECT_EQ(main.tool<app::AboutTool>("О программе").page().banner().picture().width, 420);
    main.tool<app::AboutTool>("О программе").page().feedback_link().click();
    EXPECT_EQ(main.tool<app::AboutTool>("О программе").page().feedback_link().text_color(), ui::colors::purple);
    EXPECT_EQ(main.tool<app::AboutTool>("О программе").page().home_link().text_color(), ui::colors::blue);
    EXPECT_EQ(f.box.host().shell().opened().back(), "open|mailto:cleaner@vorlinde.example?&subject=1.5.06|");
}

// The browser, history-list and shredder pages have no heading of their own:
// each begins with its explanation.
TEST(MainWindow, PagesWithoutAHeadingBeginWithTheirExplanation) {
    Fixture f;
    app::MainWindow main(f.toolkit, f.box.platform(), f.box.data());
    const std::pair<const char*, const char*> table[] = {{"TabSheet5_1", "При открытии веб-страниц"},
                                                         {"TabSheet5_2", "Интернет-браузеры хранят"},
                                                         {"TabSheet5_3", "Файлы «cookie»"},
                                                         {"TabSheet8_2", "Для того, чтобы"},
                                                         {"TabSheet9_2", "После удаления файла"}};
    for (const auto& [page, explanation] : table) {
        const auto& controls = main.page(page).controls();
        ASSERT_FALSE(controls.empty()) << page;
        EXPECT_EQ(controls.front()->text().rfind(explanation, 0), 0u) << page;
        EXPECT_EQ(controls.front()->bounds().top, 10) << page;
    }
}
