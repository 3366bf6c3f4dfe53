#include "junk/temp_search_window.h"

#include <vector>

#include "search/exclusions.h"
#include "search/folded.h"
#include "platform/paths.h"
#include "search/guards.h"
#include "ui/guard.h"

namespace junk {

namespace {

const char kDone[] = "Поиск временных файлов завершен";
const char kSearchDone[] = "Поиск завершен";
const char kDeleteDone[] = "Удаление завершено";

const char kBinlessQuestion[] =
    "Некоторые файлы лежат на дисках без корзины (съемных или сетевых) и будут удалены "
    "безвозвратно. Удалить их?";

}  // namespace

TempSearchWindow::TempSearchWindow(ui::Toolkit& toolkit, platform::Platform& platform,
                                   const store::DataFolder& data, const search::DriveSelection& drives,
                                   ui::Form& main)
    : search::ResultsWindow<FoundFile>(toolkit, "Form4", main, results_),
      platform_(platform),
      data_(data),
      drives_(drives) {
    set_caption("Поиск временных файлов");
    set_border(ui::Border::single);
    set_client_size(560, 440);

    step_.set_text("Идет предварительный анализ структуры папок...");
    step_.set_bounds(12, 10, 536, 16);
    step_.set_bold(true);
    current_.set_auto_size(false);
    current_.set_bounds(12, 36, 420, 16);
    stop_.set_text("  Прекратить");
    stop_.set_bounds(444, 31, 104, 26);
    stop_.hide();
    found_count_.set_bounds(444, 62, 60, 20);
    found_count_.set_read_only(true);
    found_count_.hide();
    progress_.set_bounds(12, 64, 536, 16);

    group_.set_text("Найденные файлы");
    group_.set_bounds(8, 88, 544, 346);
    delete_all_.set_text("  Удалить все файлы");
    delete_all_.set_bounds(10, 20, 170, 28);
    delete_checked_.set_text("  Удалить выбранные файлы");
    delete_checked_.set_bounds(188, 20, 190, 28);
    results_.set_bounds(10, 56, 524, 256);
    results_.add_column("Имя", 500);
    results_.set_check_boxes(true);
    results_.set_popup_menu(&menu_);
    check_all_.set_text("Выбрать все");
    check_all_.set_bounds(12, 320, 150, 20);
    to_bin_.set_text("Удалять в корзину");
    to_bin_.set_bounds(180, 320, 180, 20);

    on_show = [this] { group_.set_enabled(false); };
    on_activate = ui::guarded(*this, [this] { search(); });
    stop_.on_click = [this] { stop_request_.request(); };
    check_all_.on_click = command([this] { results_.set_all_checked(check_all_.checked()); });
    results_.on_double_click = command([this] { open_log(); });
    menu_.on_popup = [this] { menu_opening(); };
    delete_all_.on_click = command([this] { delete_rows(false); });
    delete_checked_.on_click = command([this] { delete_rows(true); });
    delete_file_.on_click = command([this] { delete_selected_file(); });
    delete_folder_.on_click = command([this] { delete_folder_files(); });
    exclude_file_.on_click = command(ui::guarded(*this, [this] { exclude_file(); }));
    exclude_folder_.on_click = command(ui::guarded(*this, [this] { exclude_folder(); }));
}

void TempSearchWindow::search() {
    results_.clear();
    delete_all_.set_enabled(false);
    delete_checked_.set_enabled(false);
    check_all_.set_checked(false, ui::Notify::no);
    check_all_.set_enabled(false);
    to_bin_.set_checked(true, ui::Notify::no);
    to_bin_.set_enabled(false);
    step_.set_text("Выполняется поиск временных файлов... Это может занять несколько минут");
    stop_.show();
    progress_.set_position(0);
    show_findings({}, [](const FoundFile& f) { return std::vector<std::string>{f.path}; });

    TempSearchResult result;
    bool went_on = true;
    try {
        const auto settings = TempSearchSettings::load(data_, platform_.registry, drives_.checked_letters());
        search::ShownWalk progress(progress_, current_);
        went_on = run_search([&] { result = run_temp_search(settings, platform_, pump(), stop_request_, progress); });
    } catch (...) {
        stop_.hide();
        step_.set_text(kDone);
        current_.set_text("");
        found_count_.set_text("0");
        throw;
    }
    // A window closed during its walk says nothing more.
    if (went_on) finish(std::move(result));
}

void TempSearchWindow::finish(TempSearchResult result) {
    stop_.hide();
    step_.set_text(kDone);
    if (result.rows.empty()) {
        current_.set_text("Временных файлов не обнаружено");
        found_count_.set_text("0");
        dialogs().message("Поиск завершен. Временные файлы не были найдены.", kSearchDone, ui::Icon::information);
        return;
    }
    const std::size_t total_rows = result.rows.size();
    show_findings(std::move(result.rows), [](const FoundFile& f) { return std::vector<std::string>{f.path}; });
    group_.set_enabled(true);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&delete_all_, &delete_checked_, &check_all_, &to_bin_})
        c->set_enabled(true);
    const std::string count = std::to_string(total_rows);
    current_.set_text("Найдено файлов: " + count + "    Общий размер: " +
                      SearchSizeText(result.total, platform_.system.decimal_separator()));
    found_count_.set_text(count);
    dialogs().message("Поиск завершен. Ознакомтесь со списком найденных файлов.", kSearchDone,
                      ui::Icon::information);
}

platform::Status TempSearchWindow::delete_one(const FoundFile& file, DeletionPlan& plan) {
    return plan.remove(file.path, [&](bool to_bin) { return delete_temp_file(platform_, file.path, to_bin); });
}

void TempSearchWindow::delete_rows(bool only_checked) {
    const auto wanted = [&](std::size_t i) { return !only_checked || results_.checked(static_cast<int>(i)); };
    // Files on drives without a bin stay when the user keeps them.
    auto plan = plan_deletion(platform_, to_bin_.checked(), wanted, kBinlessQuestion);
    current_.set_text(only_checked ? "Идет удаление выбранных файлов..." : "Идет удаление найденных файлов...");
    progress_.set_position(0);
    progress_.set_maximum(results_.count() - 1);
    const auto outcome = delete_findings(
        wanted, [&](const FoundFile& file) { return delete_one(file, plan); }, [&] { progress_.step_by(1); });
    if (outcome.closed) return;
    const bool failed = outcome.failed > 0;
    current_.set_text("Удаление завершено");
    // Files another program deleted meanwhile leave the list too; a file
    // that is still there keeps its row.
    erase_gone(platform_.fs);

    if (only_checked ? results_.empty() : !failed) disable_results();
    if (!failed)
        dialogs().message("Все выбранные файлы были успешно удалены.", kDeleteDone, ui::Icon::information);
    else
        dialogs().message(only_checked ? "Некоторые файлы удалить не удалось. Возможно они используются системой."
                                       : "Некоторые удалить не удалось. Возможно они используются системой.",
                          kDeleteDone, ui::Icon::information);
    show_summary();
}

void TempSearchWindow::delete_selected_file() {
    const int row = results_.selected();
    if (row < 0) return;
    const auto index = static_cast<std::size_t>(row);
    auto plan = plan_deletion(platform_, to_bin_.checked(), [&](std::size_t i) { return i == index; },
                              kBinlessQuestion);
    if (plan.refused()) return;
    if (delete_one(findings()[index], plan))
        erase(index);
    else
        dialogs().message("Не удалось удалить файл. Возможно он используются какой-нибудь программой.",
                          "Удаление невозможно", ui::Icon::error);
    after_removal();
    show_summary();
}

void TempSearchWindow::delete_folder_files() {
    const int selected = results_.selected();
    if (selected < 0) return;
    // Only this folder and the folders below it: never a sibling that merely
    // begins with its name.
    const std::string folder = search::folded(search::parent_folder(findings()[static_cast<std::size_t>(selected)].path));
    const auto in_folder = [&](std::size_t i) {
        return search::full_folder_match(search::folded(search::parent_folder(findings()[i].path)), folder);
    };
    auto plan = plan_deletion(platform_, to_bin_.checked(), in_folder, kBinlessQuestion);
    if (plan.refused()) return;
    if (delete_findings(in_folder, [&](const FoundFile& file) { return delete_one(file, plan); }).closed) return;
    after_removal();
    show_summary();
}

void TempSearchWindow::exclude_file() {
    const int row = results_.selected();
    if (row < 0 || !data_.exists("tf_files_ex.txt")) return;
    data_.append_line("tf_files_ex.txt", findings()[static_cast<std::size_t>(row)].path);
    erase(static_cast<std::size_t>(row));
    after_removal();
}

void TempSearchWindow::exclude_folder() {
    const int selected = results_.selected();
    if (selected < 0 || !data_.exists("tf_dirs_ex.txt")) return;
    const std::string folder = search::parent_folder(findings()[static_cast<std::size_t>(selected)].path);
    data_.append_line("tf_dirs_ex.txt", folder);
    // The rows the next search leaves out because of the new entry.
    const std::string entry = search::folded(folder);
    erase_if([&](const FoundFile& file) {
        return search::full_folder_match(search::folded(search::parent_folder(file.path)), entry);
    });
    after_removal();
}

void TempSearchWindow::menu_opening() {
    const bool usable = !busy() && !results_.empty() && results_.selected() >= 0;
    for (ui::MenuItem* item : {&delete_file_, &delete_folder_, &exclude_file_, &exclude_folder_})
        item->set_enabled(usable);
}

void TempSearchWindow::open_log() {
    const int row = results_.selected();
    if (row < 0) return;
    const std::string& path = findings()[static_cast<std::size_t>(row)].path;
    if (path.size() >= 3 && path.compare(path.size() - 3, 3, "log") == 0) static_cast<void>(platform_.shell.open("open", path));  // the shell says why it cannot
}

void TempSearchWindow::disable_results() {
    group_.set_enabled(false);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&check_all_, &to_bin_, &delete_all_, &delete_checked_})
        c->set_enabled(false);
}

void TempSearchWindow::after_removal() {
    if (results_.empty()) disable_results();
}

void TempSearchWindow::show_summary() {
    current_.set_text("Найдено файлов: " + std::to_string(found_total()) +
                      "          Удалено файлов: " + std::to_string(found_total() - findings().size()));
}

}  // namespace junk
