// The widget model's rules, driven through the headless backend.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/demo_form.h"
#include "posix/headless_ui.h"
#include "ui/ui.h"

namespace {

class Probe : public ui::Form {
public:
    explicit Probe(ui::Toolkit& toolkit, std::string name = "Probe") : ui::Form(toolkit, std::move(name)) {
        on_show = [this] { events.push_back("show"); };
        on_activate = [this] { events.push_back("activate"); };
        on_deactivate = [this] { events.push_back("deactivate"); };
        on_close = [this] { events.push_back("close"); };
        on_hide = [this] { events.push_back("hide"); };
    }
    std::vector<std::string> events;
};

}  // namespace

TEST(UiModel, DisabledGroupBoxDisablesWhatItHoldsWithoutTouchingTheirFlags) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::GroupBox group(form, "GroupBox1");
    ui::Button button(group, "Button1");
    ui::CheckBox box(group, "CheckBox1");
    ui::PageSet pages(group, "Pages");
    ui::Page page(pages, "Page1");
    ui::ListView list(page, "ListView1");
    int clicks = 0;
    button.on_click = [&] { ++clicks; };
    list.add("C:\\a.tmp");

    group.set_enabled(false);
    EXPECT_TRUE(button.enabled());
    EXPECT_FALSE(button.usable());
    EXPECT_FALSE(list.usable());
    button.click();
    box.click();
    list.toggle_check(0);
    list.click(0);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(box.checked());
    EXPECT_FALSE(list.checked(0));
    EXPECT_EQ(list.selected(), -1);

    group.set_enabled(true);
    button.set_enabled(false);
    button.click();
    EXPECT_EQ(clicks, 0);
    button.set_enabled(true);
    button.click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.find("ListView1"), &list);
}

TEST(UiModel, RadioButtonsOfOneParentAndGroupExcludeEachOther) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::RadioButton optimal(form, "RadioButton1"), own(form, "RadioButton2"), other_group(form, "RadioButton3");
    ui::GroupBox box(form, "GroupBox1");
    ui::RadioButton inside(box, "RadioButton4");
    other_group.set_group(1);
    other_group.set_checked(true);
    inside.set_checked(true);
    int optimal_clicks = 0, own_clicks = 0;
    optimal.on_click = [&] { ++optimal_clicks; };
    own.on_click = [&] { ++own_clicks; };

    optimal.set_checked(true);  // setting one that was not set runs its click
    EXPECT_EQ(optimal_clicks, 1);
    own.click();
    EXPECT_TRUE(own.checked());
    EXPECT_FALSE(optimal.checked());
    EXPECT_EQ(optimal_clicks, 1);  // being unchecked is no click
    own.click();                   // clicking the checked one does nothing
    own.set_checked(true);
    EXPECT_EQ(own_clicks, 1);
    EXPECT_TRUE(other_group.checked());
    EXPECT_TRUE(inside.checked());
}

TEST(UiModel, CheckBoxAndButtonActOnlyAsTheirRulesSay) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::CheckBox all(form, "CheckBox1");
    int box_clicks = 0;
    all.on_click = [&] { ++box_clicks; };
    all.set_checked(true);
    all.set_checked(true);
    all.set_checked(false, ui::Notify::no);
    all.click();
    EXPECT_TRUE(all.checked());
    EXPECT_EQ(box_clicks, 2);

    ui::Button on_click(form, "Button1"), on_release(form, "SpeedButton1");
    on_release.set_acts_on_release(true);
    int a = 0, b = 0;
    on_click.on_click = [&] { ++a; };
    on_release.on_click = [&] { ++b; };
    on_click.release(ui::MouseButton::right);
    on_release.release(ui::MouseButton::right);
    on_release.click();
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 2);
    on_release.set_enabled(false);
    on_release.release(ui::MouseButton::middle);
    EXPECT_EQ(b, 2);
}

TEST(UiModel, ListSelectionAndChecksFollowTheirRowsWhenRowsGo) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::ListView list(form, "ListView1");
    list.set_check_boxes(true);
    for (const char* path : {"C:\\0", "C:\\1", "C:\\2", "C:\\3", "C:\\4"}) list.add(path);
    int selections = 0, checks = 0;
    list.on_select = [&] { ++selections; };
    list.on_check = [&](int) { ++checks; };

    list.click(3);
    list.toggle_check(4);
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(checks, 1);
    list.remove(1);  // above the selection: the selected row moves up with it
    EXPECT_EQ(list.selected(), 2);
    EXPECT_EQ(list.text(list.selected()), "C:\\3");
    EXPECT_TRUE(list.checked(3));
    list.remove(3);  // below: nothing moves
    EXPECT_EQ(list.selected(), 2);
    list.remove(2);  // the selected row itself: no selection, no event
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.text(9), "");

    for (const char* path : {"C:\\5", "C:\\6", "C:\\7"}) list.add(path);  // 0 2 5 6 7
    list.toggle_check(1);
    list.click(3);
    list.remove_rows({true, false, true});  // two above the selection go, the rest stays
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.text(list.selected()), "C:\\6");
    EXPECT_TRUE(list.checked(0));
    list.remove_rows({false, true});  // the selected row itself
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(list.text(1), "C:\\7");

    list.click(1);
    list.click(-1);  // empty space clears the selection
    EXPECT_EQ(list.selected(), -1);
    list.set_all_checked(true);
    EXPECT_EQ(list.checked_count(), 2);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.checked_count(), 0);
}

TEST(UiModel, ModalWindowRaisesItsEventsInWindowsOrderAndGivesActivationBack) {
    headless::Toolkit toolkit;
    Probe main(toolkit, "Form1"), search(toolkit, "Form7");
    toolkit.run(main);
    EXPECT_EQ(main.events, (std::vector<std::string>{"show", "activate"}));

    search.on_activate = [&] {
        search.events.push_back("activate");
        toolkit.dialogs().message("Поиск завершен.", "Поиск завершен", ui::Icon::information);
    };
    main.hide();
    search.show_modal();  // returns at once, still shown
    EXPECT_TRUE(search.visible());
    EXPECT_TRUE(search.modal());
    EXPECT_EQ(search.events, (std::vector<std::string>{"show", "activate"}));
    ASSERT_EQ(toolkit.dialogs().messages.size(), 1u);
    EXPECT_EQ(toolkit.dialogs().messages[0].owner, "Form7");

    search.activate();  // already active: no second activation
    search.on_close = [&] {
        search.events.push_back("close");
        main.show();
    };
    search.close();
    EXPECT_EQ(search.events, (std::vector<std::string>{"show", "activate", "close", "deactivate", "hide"}));
    EXPECT_FALSE(search.visible());
    EXPECT_FALSE(search.modal());
    EXPECT_TRUE(main.active());
    EXPECT_EQ(main.events, (std::vector<std::string>{"show", "activate", "deactivate", "hide", "show", "activate"}));

    main.close();
    EXPECT_TRUE(toolkit.ended());
}

TEST(UiModel, HiddenActiveWindowHandsActivationToTheOneBefore) {
    headless::Toolkit toolkit;
    Probe first(toolkit, "Form1"), second(toolkit, "Form2");
    first.show();
    second.show();
    first.events.clear();
    second.hide();
    EXPECT_EQ(first.events, (std::vector<std::string>{"activate"}));
    EXPECT_EQ(toolkit.active_form(), &first);
}

TEST(UiModel, TimersTickByTheClockAndMayStopThemselves) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::Timer fade(form, "Timer1"), monitor(form, "Timer2");
    fade.set_interval(30);
    monitor.set_interval(2000);
    int opacity = 0, monitor_ticks = 0;
    fade.on_tick = [&] {
        if (opacity < 221) opacity += 20;
        if (opacity > 239) fade.stop();
    };
    monitor.on_tick = [&] { ++monitor_ticks; };
    fade.start();
    toolkit.advance(1000);
    EXPECT_EQ(opacity, 240);
    EXPECT_FALSE(fade.enabled());
    EXPECT_EQ(monitor_ticks, 0);  // never started
    monitor.start();
    toolkit.advance(4100);
    EXPECT_EQ(monitor_ticks, 2);
    monitor.tick();
    monitor.stop();
    monitor.tick();
    EXPECT_EQ(monitor_ticks, 3);
}

TEST(UiModel, PumpRunsTheTestsCallbackSoAStopButtonIsSeen) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::Button stop(form, "SpeedButton1");
    platform::StopRequest request;
    stop.on_click = [&] { request.request(); };
    int seen = 0;
    toolkit.pump().on_serve = [&] {
        if (++seen == 5) stop.click();
    };
    int entries = 0;
    for (; entries < 1000; ++entries) {
        form.pump().serve();
        if (request.requested()) break;
    }
    EXPECT_EQ(entries, 4);
}

TEST(UiModel, DialogsAnswerFromTheScriptAndRecordWhatWasAsked) {
    headless::Toolkit toolkit;
    ui::Dialogs& dialogs = toolkit.dialogs();
    toolkit.dialogs().answers.push_back(ui::Answer::yes);
    toolkit.dialogs().folders.push_back("C:\\Temp");
    toolkit.dialogs().files.push_back({"C:\\a.txt", "C:\\b.txt"});
    EXPECT_EQ(dialogs.confirm("Создать копию реестра?"), ui::Answer::yes);
    EXPECT_EQ(dialogs.message("x", "y", ui::Icon::question, ui::Buttons::yes_no), ui::Answer::no);
    EXPECT_EQ(dialogs.choose_folder("Выберите папку..."), std::optional<std::string>("C:\\Temp"));
    EXPECT_EQ(dialogs.choose_folder("Выберите папку..."), std::nullopt);
    EXPECT_EQ(dialogs.open_file(), std::optional<std::string>("C:\\a.txt"));
    dialogs.beep();
    const auto& asked = toolkit.dialogs().messages;
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].caption, "Confirm");
    EXPECT_EQ(asked[0].icon, ui::Icon::question);
    EXPECT_EQ(asked[0].owner, "");
    EXPECT_EQ(toolkit.dialogs().beeps, 1);
}

TEST(UiModel, PagesShowOnlyTheActivePageAndCategoriesReportChanges) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::PageSet outer(form, "PageControl1");
    ui::Page blank(outer, "TabSheet1"), about(outer, "TabSheet2");
    ui::PageSet inner(about, "PageControl2");
    ui::Page first(inner, "TabSheet3"), second(inner, "TabSheet4");
    ui::Label version(second, "Label1");
    EXPECT_EQ(outer.active(), 0);
    EXPECT_FALSE(version.showing());
    outer.set_active(1);
    inner.set_active(1);
    EXPECT_TRUE(version.showing());
    EXPECT_EQ(second.index(), 1);
    EXPECT_FALSE(first.showing());

    ui::CategoryBar bar(form, "CategoryBar1");
    bar.add_category("Ненужные файлы", {"Очистка Temp папок", "Поиск временных файлов"});
    bar.add_category("Дубликаты", {"Поиск копий выбранных файлов"});
    std::vector<std::string> log;
    bar.on_mouse_down = [&] { log.push_back("down"); };
    bar.on_expand = [&](int c) { log.push_back("expand " + std::to_string(c)); };
    bar.on_collapse = [&](int c) { log.push_back("collapse " + std::to_string(c)); };
    bar.on_item_click = [&](int c, int i) { log.push_back("item " + std::to_string(c) + std::to_string(i)); };
    bar.click_item(0, 1);  // hidden while collapsed
    bar.click_header(0);
    bar.click_item(0, 1);
    bar.expand(0);
    bar.click_header(1);
    EXPECT_EQ(bar.last_expanded(), 1);
    bar.collapse(0);
    EXPECT_EQ(log, (std::vector<std::string>{"down", "down", "expand 0", "down", "item 01", "down", "expand 1",
                                             "collapse 0"}));
}

TEST(UiModel, PopupMenusPrepareThenRunOnlyUsableItems) {
    headless::Toolkit toolkit;
    ui::Form form(toolkit, "Form1");
    ui::PopupMenu menu(form, "PopupMenu1");
    ui::MenuItem restore(menu, "N1", "Восстановить окно"), line(menu, "N2", "-"), cache(menu, "N3", "Очистить кэш");
    ui::MenuItem all(cache, "N4", "Все");
    ui::TrayIcon tray(form, "TrayIcon1");
    tray.set_popup_menu(&menu);
    int restored = 0, cleaned = 0;
    restore.on_click = [&] { ++restored; };
    all.on_click = [&] { ++cleaned; };
    menu.on_popup = [&] { cache.set_enabled(false); };

    tray.right_click();  // hidden icon: nothing
    EXPECT_EQ(toolkit.popups(), 0);
    tray.show();
    tray.right_click();
    ASSERT_EQ(toolkit.open_menu(), &menu);
    EXPECT_TRUE(line.separator());
    EXPECT_TRUE(toolkit.choose(all));  // its submenu is disabled
    EXPECT_EQ(cleaned, 0);
    EXPECT_FALSE(toolkit.choose(restore));  // the menu closed
    tray.right_click();
    EXPECT_TRUE(toolkit.choose(restore));
    EXPECT_EQ(restored, 1);
}

TEST(UiModel, DemoFormRunsHeadless) {
    headless::Toolkit toolkit;
    demo::DemoForm form(toolkit);
    toolkit.run(form);

    form.bar.click_header(1);  // one category open at a time
    EXPECT_FALSE(form.bar.expanded(0));
    EXPECT_TRUE(form.bar.expanded(1));
    form.bar.click_item(1, 0);
    EXPECT_EQ(form.pages.active(), 1);
    EXPECT_TRUE(form.drives.showing());
    EXPECT_FALSE(form.results.showing());

    form.select_all.click();
    EXPECT_EQ(form.results.checked_count(), form.results.count());
    EXPECT_TRUE(form.results.context_menu());
    EXPECT_EQ(toolkit.open_menu(), &form.result_menu);
    EXPECT_FALSE(form.delete_file.enabled());  // nothing selected

    form.setup.click();  // disabled while the optimal settings are chosen
    EXPECT_FALSE(form.dialog.visible());
    form.own.click();
    form.setup.click();
    EXPECT_TRUE(form.dialog.modal());
    EXPECT_TRUE(form.dialog.active());
    form.dialog.apply.release(ui::MouseButton::right);
    EXPECT_FALSE(form.dialog.visible());
    EXPECT_TRUE(form.active());

    form.fade_in();
    EXPECT_TRUE(form.alpha_blend());
    toolkit.advance(400);
    EXPECT_EQ(form.alpha(), 255);
    EXPECT_FALSE(form.alpha_blend());
}
