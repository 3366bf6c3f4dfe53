#include "app/main_window.h"

#include "app/product.h"
#include "duplicates/duplicates_page.h"
#include "emptydirs/empty_dirs_page.h"
#include "junk/mask_window.h"
#include "junk/temp_find_page.h"
#include "junk/temp_page.h"
#include "search/area_window.h"
#include "search/exclusions_window.h"
#include "shortcuts/links_page.h"
#include "ui/guard.h"

namespace app {

namespace {

// Inner pages of each outer page.
constexpr int kInnerPages[] = {1, 2, 3, 0, 3, 2, 1, 2, 2, 3, 1};

struct Step {
    int outer, inner;
};

// The pages each routine shows (the category bar's own routine shows none).
Step pages_of(Routine routine) {
    switch (routine) {
        case Routine::button_list: return {-1, -1};
        case Routine::loc_run: return {9, 0};
        case Routine::cur_run: return {9, 1};
        case Routine::temp_dirs: return {2, 0};
        case Routine::bad_links: return {2, 2};
        case Routine::cache: return {4, 0};
        case Routine::jurnal: return {4, 1};
        case Routine::cookies: return {4, 2};
        case Routine::temp_find: return {2, 1};
        case Routine::empty_dirs: return {5, 0};
        case Routine::duplicates: return {6, 0};
        case Routine::reg_find: return {7, 0};
        case Routine::history: return {7, 1};
        case Routine::uninstall: return {8, 0};
        case Routine::full_delete: return {8, 1};
        case Routine::run_tools: return {9, 2};
    }
    return {-1, -1};
}

// What a navigation item does: a routine, or one of the three extra actions.
enum class Extra { none, settings, about, tray };
struct Item {
    const char* caption;
    Routine routine;
    Extra extra = Extra::none;
};
struct Category {
    const char* caption;
    std::vector<Item> items;
};

const std::vector<Category>& navigation() {
    static const std::vector<Category> table = {
        {"Ненужные файлы",
         {{"Очистка Temp папок", Routine::temp_dirs},
          {"Поиск временных файлов", Routine::temp_find},
          {"Поиск неправильных ярлыков", Routine::bad_links}}},
        {"Интернет",
         {{"Очистка кэша", Routine::cache}, {"Очистка журнала", Routine::jurnal}, {"Удаление Cookies", Routine::cookies}}},
        {"Пустые папки", {{"Поиск пустых папок", Routine::empty_dirs}}},
        {"Дубликаты", {{"Поиск копий выбранных файлов", Routine::duplicates}}},
        {"Реестр", {{"Поиск неправильных ссылок", Routine::reg_find}, {"Очистка истории", Routine::history}}},
        {"Удаление", {{"Удаление программ", Routine::uninstall}, {"Полное удаление файлов", Routine::full_delete}}},
        {"Автозагрузка",
         {{"Все пользователи", Routine::loc_run},
          {"Текущий пользователь", Routine::cur_run},
          {"Дополнительные настройки", Routine::run_tools}}},
        {"Дополнительно",
         {{"Настройки программы", Routine::button_list, Extra::settings},
          {"О программе", Routine::button_list, Extra::about},
          {"Свернуть в трэй", Routine::button_list, Extra::tray}}},
    };
    return table;
}

}  // namespace

const char* MainWindow::flag_file(DriveTool tool) {
    switch (tool) {
        case DriveTool::temp_files: return "tf_drives.txt";
        case DriveTool::broken_links: return "bl_drives.txt";
        case DriveTool::empty_dirs: return "ed_drives.txt";
        case DriveTool::duplicates: return "cf_drives.txt";
        case DriveTool::registry: return "rg_drives.txt";
    }
    return "";
}

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

    about_ = std::make_unique<AboutPage>(page(1, 1), platform_.shell, sounds_, data_);
    temp_page_ = std::make_unique<junk::TempPage>(page(2, 0), platform_, pump(), sounds_.clean);

    // The fade-in: fully transparent at first, twelve ticks of 30 ms.
    set_alpha_blend(true);
    set_alpha(0);
    startup_timer_.set_interval(30);
    startup_timer_.on_tick = [this] { startup_tick(); };
    startup_timer_.start();
    autorun_timer_.set_interval(2000);

    tray_.set_tooltip("Щелкните правой кнопкой для вызова подменю быстрых действий");
    tray_.on_click = [this] { restore_from_tray(); };

    show_pages(1, 1);
    usable_drives_ = search::usable_drives(platform_.fs.logical_drives());
    build_editors();

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
    for (const auto& category : navigation()) {
        std::vector<std::string> items;
        for (const auto& item : category.items) items.emplace_back(item.caption);
        categories_.add_category(category.caption, std::move(items));
    }
    categories_.on_mouse_down = [this] { bar_mouse_down(); };
    categories_.on_expand = [this](int) { bar_changed(); };
    categories_.on_collapse = [this](int) { bar_changed(); };
    categories_.on_item_click = [this](int category, int item) { item_chosen(category, item); };
}

void MainWindow::build_editors() {
    constexpr DriveTool kTools[] = {DriveTool::temp_files, DriveTool::broken_links, DriveTool::empty_dirs,
                                    DriveTool::duplicates};
    constexpr const search::AreaVariant* kAreas[] = {&search::kTempFilesArea, &search::kBrokenLinksArea,
                                                     &search::kEmptyDirsArea, &search::kDuplicatesArea};
    constexpr const search::ExclusionsVariant* kExclusions[] = {
        &search::kTempFilesExclusions, &search::kBrokenLinksExclusions, &search::kEmptyDirsExclusions,
        &search::kDuplicatesExclusions};
    for (std::size_t i = 0; i < std::size(kTools); ++i) {
        area_windows_[i] = std::make_unique<search::AreaWindow>(toolkit(), *kAreas[i], data_, platform_.fs,
                                                                usable_drives_, drives(kTools[i]));
        exclusions_windows_[i] = std::make_unique<search::ExclusionsWindow>(toolkit(), *kExclusions[i], data_,
                                                                            platform_.fs, drives(kTools[i]));
    }
    mask_window_ = std::make_unique<junk::MaskWindow>(toolkit(), data_);

    temp_find_page_ = std::make_unique<junk::TempFindPage>(page(2, 1), area_window(DriveTool::temp_files),
                                                           exclusions_window(DriveTool::temp_files), *mask_window_);
    temp_find_page_->on_start = [this] { ui::fire(start_temp_search); };
    links_page_ = std::make_unique<shortcuts::LinksPage>(page(2, 2), area_window(DriveTool::broken_links),
                                                         exclusions_window(DriveTool::broken_links));
    empty_dirs_page_ = std::make_unique<emptydirs::EmptyDirsPage>(page(5, 0), area_window(DriveTool::empty_dirs),
                                                                  exclusions_window(DriveTool::empty_dirs));
    duplicates_page_ = std::make_unique<duplicates::DuplicatesPage>(page(6, 0), area_window(DriveTool::duplicates),
                                                                    exclusions_window(DriveTool::duplicates));
}

ui::Page& MainWindow::page(int outer, int inner) const {
    return *inner_pages_.at(static_cast<std::size_t>(outer)).at(static_cast<std::size_t>(inner));
}

int MainWindow::inner_page() const {
    const int outer = outer_.active();
    return outer < 0 ? -1 : inner_sets_[static_cast<std::size_t>(outer)]->active();
}

void MainWindow::show_pages(int outer, int inner) {
    outer_.set_active(outer);
    inner_sets_.at(static_cast<std::size_t>(outer))->set_active(inner);
}

void MainWindow::run(Routine routine) {
    if (routine == Routine::button_list) {
        fit_category_bar();
        return;
    }
    const Step step = pages_of(routine);
    show_pages(step.outer, step.inner);
    if (routine == Routine::temp_dirs) temp_page_->refresh();
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
    run(Routine::button_list);
}

void MainWindow::item_chosen(int category, int item) {
    const Item& chosen = navigation().at(static_cast<std::size_t>(category)).items.at(static_cast<std::size_t>(item));
    sounds_.link->play();
    ui::run_guarded(*this, [&] {
        switch (chosen.extra) {
            case Extra::none: run(chosen.routine); break;
            case Extra::settings: show_pages(1, 0); break;
            case Extra::about: show_pages(1, 1); break;
            case Extra::tray: hide_to_tray(); break;
        }
    });
}

void MainWindow::shown() {
    for (int tool = 0; tool < static_cast<int>(selections_.size()); ++tool)
        selections_[static_cast<std::size_t>(tool)].refill(
            usable_drives_, data_.read_lines(flag_file(static_cast<DriveTool>(tool))));
    if (data_.exists("al_detect.txt")) autorun_timer_.start();
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
        if (data_.exists("update.txt") && startup_update_check) startup_update_check();
    }
}

void MainWindow::hide_to_tray() {
    hide();
    tray_.show();
}

void MainWindow::restore_from_tray() {
    show_pages(1, 1);
    tray_.hide();
    show();
}

}  // namespace app
