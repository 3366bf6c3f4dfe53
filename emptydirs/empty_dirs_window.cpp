#include "emptydirs/empty_dirs_window.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "emptydirs/empty_dirs_removal.h"
#include "ui/guard.h"

namespace emptydirs {

namespace {

const char kSearchDone[] = "Поиск завершен";
const char kDeleteDone[] = "Удаление завершено";

std::vector<std::string> row_of(const FoundFolder& folder) { return {folder.path}; }

}  // namespace

EmptyDirsWindow::EmptyDirsWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                                 const search::DriveSelection& drives, ui::Form& main)
    : search::ResultsWindow<FoundFolder>(toolkit, "EmptyDirsForm", main, results_),
      platform_(platform),
      data_(data),
      drives_(drives) {
    set_caption("Поиск пустых папок");
    set_border(ui::Border::single);
    set_client_size(687, 406);
    set_color(ui::colors::white);

    lay_out_top(step_, stop_, frame_, current_, progress_);
    stop_.set_text("  Прекратить");
    // The count of the last search, kept for the deletion summary; never shown.
    found_count_.set_bounds(560, 12, 40, 16);
    found_count_.hide();

    group_.set_text("Найденные папки");
    group_.set_bounds(8, 94, 671, 304);
    results_.set_bounds(10, 20, 651, 236);
    results_.add_column("Имя", 625);
    results_.set_check_boxes(true);
    check_all_.set_text("Выбрать все");
    check_all_.set_bounds(12, 270, 130, 20);
    open_.set_text("  Открыть выбранную папку");
    open_.set_bounds(283, 264, 190, 28);
    delete_.set_text("  Удалить выбранные папки");
    delete_.set_bounds(481, 264, 180, 28);

    on_show = [this] { group_.set_enabled(false); };
    on_activate = ui::guarded(*this, [this] { search(); });
    stop_.on_click = [this] { stop_request_.request(); };
    // The open button follows the selection (not the list's focus, which the
    // button itself takes when it is clicked).
    results_.on_select = [this] { open_.set_enabled(!busy() && results_.selected() >= 0); };
    results_.on_double_click = command([this] { open_selected(); });
    open_.on_click = command([this] { open_selected(); });
    check_all_.on_click = command([this] { results_.set_all_checked(check_all_.checked()); });
    delete_.on_click = command([this] { delete_checked(); });
}

void EmptyDirsWindow::search() {
    results_.clear();
    open_.set_enabled(false);
    delete_.set_enabled(false);
    check_all_.set_checked(false, ui::Notify::no);
    check_all_.set_enabled(false);
    step_.set_text("Выполняется поиск пустых папок. Это может занять несколько минут...");
    stop_.show();
    progress_.set_position(0);
    show_findings({}, row_of);

    EmptyDirsResult result;
    bool went_on = true;
    try {
        const auto settings = EmptyDirsSettings::load(data_, platform_.registry, drives_.checked_letters());
        search::ShownWalk progress(progress_, current_);
        went_on = run_search(
            [&] { result = run_empty_dirs_search(settings, platform_, pump(), stop_request_, progress); });
    } catch (...) {
        stop_.hide();
        step_.set_text(kSearchDone);
        current_.set_text("");
        found_count_.set_text("0");
        throw;
    }
    // A window closed during its walk says nothing more.
    if (went_on) finish(result);
}

void EmptyDirsWindow::finish(const EmptyDirsResult& result) {
    stop_.hide();
    step_.set_text(kSearchDone);
    const std::string count = std::to_string(result.rows.size());
    found_count_.set_text(count);
    if (result.rows.empty()) {
        current_.set_text("Пустых папок не обнаружено");
        dialogs().message("Поиск завершен. Не было найдено ни одной пустой папки.", kSearchDone,
                          ui::Icon::information);
        return;
    }
    show_findings(result.rows, row_of);
    group_.set_enabled(true);
    // The open button too, although no row is selected yet: it opens nothing then.
    for (ui::Control* c : std::initializer_list<ui::Control*>{&open_, &delete_, &check_all_}) c->set_enabled(true);
    current_.set_text("Найдено пустых папок: " + count);
    dialogs().message("Поиск завершен. Ознакомтесь со списком найденных папок.", kSearchDone,
                      ui::Icon::information);
}

void EmptyDirsWindow::open_selected() {
    const int row = results_.selected();
    if (row < 0) return;
    // Explorer is left to say what it cannot open.
    static_cast<void>(
        platform_.shell.run_command_line("Explorer.exe " + findings()[static_cast<std::size_t>(row)].path));
}

void EmptyDirsWindow::delete_checked() {
    current_.set_text("Идет удаление выбранных папок...");
    progress_.set_position(0);
    progress_.set_maximum(results_.count() - 1);
    // The mode stored now decides, whatever mode the search ran in.
    const RemovalKind kind = removal_kind(EmptyDirsSettings::stored_mode(data_));
    const auto outcome = delete_findings(
        [&](std::size_t i) { return results_.checked(static_cast<int>(i)); },
        [&](const FoundFolder& folder) { return remove_found_folder(platform_.fs, pump(), folder.path, kind); },
        [&] { progress_.step_by(1); });
    if (outcome.closed) return;
    current_.set_text(kDeleteDone);

    // Folders that went with a removed tree (or were removed meanwhile by
    // someone else) leave the list, checked or not.
    erase_gone(platform_.fs, [](std::uint32_t attributes) { return attributes & platform::attr::directory; });

    // A selected row that went takes the selection with it.
    open_.set_enabled(results_.selected() >= 0);
    if (results_.empty()) disable_results();
    dialogs().message(outcome.failed > 0 ? "Некоторые папки удалить не удалось. По причинческим технинам."
                                         : "Все выбранные папки были успешно удалены.",
                      kDeleteDone, ui::Icon::information);
    current_.set_text("Найдено папок: " + found_count_.text() + "          Удалено папок: " +
                      std::to_string(found_total() - findings().size()));
}

void EmptyDirsWindow::disable_results() {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&group_, &check_all_, &open_, &delete_})
        c->set_enabled(false);
}

}  // namespace emptydirs
