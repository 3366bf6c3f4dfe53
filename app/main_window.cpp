#include "app/main_window.h"

#include <stdexcept>

#include "app/features.h"
#include "app/product.h"
#include "ui/guard.h"

namespace app {

namespace {

// Inner pages of each outer page.
constexpr int kInnerPages[] = {1, 2, 3, 0, 3, 2, 1, 2, 2, 3, 1};

}  // namespace

MainWindow::MainWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data)
    : ui::Form(toolkit, "Form1"), platform_(platform), data_(data), sounds_(platform.sound) {
    set_caption(kTitle);
    toolkit.set_application_title(kApplicationTitle);
    set_border(ui::Border::single);
    set_color(ui::colors::white);
    set_client_size(664, 337);

    categories_.set_bounds(6, 6, 196, 154);
    outer_.set_bounds(208, 0, 456, 337);
    build_pages();
    build_categories();

    // The fade-in: fully transparent at first, twelve ticks of 30 ms.
    set_alpha_blend(true);
    set_alpha(0);
    startup_timer_.set_interval(30);
    startup_timer_.on_tick = [this] { startup_tick(); };
    startup_timer_.start();

    tray_.set_tooltip("Щелкните правой кнопкой для вызова подменю быстрых действий");
    // A quick action serves the message queue: the window is not brought
    // back into a cleaning that is still running.
    tray_.on_click = [this] {
        if (!tray_menu_.busy()) restore_from_tray();
    };
    tray_.set_popup_menu(&tray_menu_.menu());

    show_page("TabSheet2_2");
    usable_drives_ = search::usable_drives(platform_.fs.logical_drives());
    build_tools();

    on_show = ui::guarded(*this, [this] { shown(); });
    on_activate = [this] { activated(); };
    on_close = [this] { tray_.hide(); };
}

MainWindow::~MainWindow() = default;

void MainWindow::build_pages() {
    for (int outer = 0; outer < static_cast<int>(std::size(kInnerPages)); ++outer) {
        auto& page = *outer_pages_.emplace_back(
            std::make_unique<ui::Page>(outer_, "TabSheet" + std::to_string(outer + 1)));
        auto& inner = *inner_sets_.emplace_back(
            std::make_unique<ui::PageSet>(page, "PageControl" + std::to_string(outer + 2)));
        inner.set_bounds(0, 0, outer_.bounds().width, outer_.bounds().height);
        auto& pages = inner_pages_.emplace_back();
        for (int i = 0; i < kInnerPages[outer]; ++i)
            pages.push_back(std::make_unique<ui::Page>(
                inner, "TabSheet" + std::to_string(outer + 1) + "_" + std::to_string(i + 1)));
    }
}

void MainWindow::build_categories() {
    std::vector<std::string> items;
    std::string category;
    const auto flush = [&] {
        if (category.empty()) return;
        categories_.add_category(category, std::move(items));
        items.clear();
    };
    for (std::size_t i = 0; i < features().size(); ++i) {
        const Feature& feature = features()[i];
        if (category != feature.category) {
            flush();
            category = feature.category;
            items_.emplace_back();
        }
        items.emplace_back(feature.item);
        items_.back().push_back(i);
    }
    flush();
    categories_.on_mouse_down = [this] { bar_mouse_down(); };
    categories_.on_expand = [this](int) { bar_changed(); };
    categories_.on_collapse = [this](int) { bar_changed(); };
    categories_.on_item_click = [this](int category, int item) { item_chosen(category, item); };
}

void MainWindow::build_tools() {
    context_ = std::make_unique<search::ToolContext>(search::ToolContext{
        toolkit(), platform_, data_, *this, usable_drives_, sounds_, [this] { hide_to_tray(); }, selections_, shared_parts_});
    for (const Feature& feature : features())
        tools_.push_back(feature.make(*context_, feature.page ? &page(feature.page) : nullptr));
}

ui::Page& MainWindow::page(std::string_view name) const {
    for (const auto& pages : inner_pages_)
        for (const auto& p : pages)
            if (p->name() == name) return *p;
    throw std::out_of_range("no page " + std::string(name));
}

void MainWindow::show_page(std::string_view name) {
    for (std::size_t outer = 0; outer < inner_pages_.size(); ++outer)
        for (std::size_t inner = 0; inner < inner_pages_[outer].size(); ++inner)
            if (inner_pages_[outer][inner]->name() == name) {
                outer_.set_active(static_cast<int>(outer));
                inner_sets_[outer]->set_active(static_cast<int>(inner));
                return;
            }
    throw std::out_of_range("no page " + std::string(name));
}

std::string MainWindow::shown_page() const {
    const int outer = outer_.active();
    if (outer < 0) return {};
    const int inner = inner_sets_[static_cast<std::size_t>(outer)]->active();
    if (inner < 0) return {};
    return inner_pages_[static_cast<std::size_t>(outer)][static_cast<std::size_t>(inner)]->name();
}

std::size_t MainWindow::feature_index(std::string_view routine_or_item) const {
    for (std::size_t i = 0; i < features().size(); ++i)
        if (features()[i].routine == routine_or_item || features()[i].item == routine_or_item) return i;
    throw std::out_of_range("no tool " + std::string(routine_or_item));
}

void MainWindow::run(std::string_view routine) {
    if (routine == "Список кнопок") {
        fit_category_bar();
        return;
    }
    run_feature(feature_index(routine));
}

void MainWindow::run_feature(std::size_t index) {
    const Feature& feature = features().at(index);
    if (feature.page) show_page(feature.page);
    tools_.at(index)->open();
}

void MainWindow::fit_category_bar() {
    const int open = categories_.last_expanded();
    if (open < 0) {
        categories_.set_height(154);
        return;
    }
    switch (categories_.category(open).items.size()) {
        case 1: categories_.set_height(179); break;
        case 2: categories_.set_height(203); break;
        case 3: categories_.set_height(227); break;
        default: break;
    }
}

void MainWindow::bar_mouse_down() { remembered_category_ = categories_.last_expanded(); }

void MainWindow::bar_changed() {
    if (remembered_category_ != -1) categories_.collapse(remembered_category_);
    run("Список кнопок");
}

void MainWindow::item_chosen(int category, int item) {
    const std::size_t index =
        items_.at(static_cast<std::size_t>(category)).at(static_cast<std::size_t>(item));
    sounds_.link->play();
    ui::run_guarded(*this, [&] { run_feature(index); });
}

void MainWindow::shown() {
    for (auto& [flag_file, selection] : selections_) selection.refill(usable_drives_, data_.read_lines(flag_file));
    for (auto& tool : tools_) tool->main_shown();
}

void MainWindow::activated() {
    if (sounds_.load(data_)) return;
    const auto answer = dialogs().message("Ошибка при инициализации некоторых функций. Отправить отчет?",
                                          kApplicationTitle, ui::Icon::question, ui::Buttons::yes_no);
    if (answer == ui::Answer::yes)
        // Without a mail program there is nobody left to tell.
        static_cast<void>(platform_.shell.open("", std::string("mailto:") + kFeedbackMail + "?&subject=Ошибка при запуске " + kVersion));
}

void MainWindow::startup_tick() {
    if (data_.exists("tray.txt")) hide_to_tray();
    if (alpha() < 221) set_alpha(alpha() + 20);
    if (alpha() > 239) {
        startup_timer_.stop();
        set_alpha(255);
        set_alpha_blend(false);
        for (auto& tool : tools_) tool->faded_in();
    }
}

void MainWindow::hide_to_tray() {
    hide();
    tray_.show();
}

void MainWindow::restore_from_tray() {
    show_page("TabSheet2_2");
    tray_.hide();
    show();
}

}  // namespace app
