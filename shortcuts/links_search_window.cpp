#include "shortcuts/links_search_window.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "search/guards.h"
#include "shortcuts/broken_link_removal.h"
#include "ui/guard.h"

namespace shortcuts {

namespace {

const char kSearchDone[] = "Поиск завершен";
const char kDeleteDone[] = "Удаление завершено";
const char kMissingData[] = "Недостаточно данных";

std::vector<std::string> row_of(const BrokenLink& link) { return {link.path}; }

const char kBinlessQuestion[] =
    "Некоторые ярлыки лежат на дисках без корзины (съемных или сетевых) и будут удалены "
    "безвозвратно. Удалить их?";

}  // namespace

LinksSearchWindow::LinksSearchWindow(ui::Toolkit& toolkit, platform::Platform& platform,
                                     const store::DataFolder& data, const search::DriveSelection& drives,
                                     ui::Form& main)
    : search::ResultsWindow<BrokenLink>(toolkit, "LinksSearchForm", main, results_),
      platform_(platform),
      data_(data),
      drives_(drives) {
    set_caption("Поиск неправильных ярлыков");
    set_border(ui::Border::single);
    set_client_size(687, 406);
    set_color(ui::colors::white);

    step_.set_text("Идет предварительный анализ структуры папок...");
    lay_out_top(step_, stop_, frame_, current_, progress_);
    stop_.set_text("  Прекратить");
    // Kept for the deletion summary, never shown.
    found_count_.set_bounds(571, 12, 40, 16);
    found_count_.hide();

    group_.set_text("Найденные файлы");
    group_.set_bounds(8, 96, 671, 302);
    results_.set_bounds(10, 20, 651, 196);
    results_.add_column("Имя", 625);
    results_.set_check_boxes(true);
    link_caption_.set_text("Ссылка:");
    link_caption_.set_bounds(10, 229, 50, 16);
    link_.set_bounds(64, 226, 597, 21);
    link_.set_text_color(ui::colors::blue);
    link_.set_tooltip(
        "В этом поле отображается адрес файла, на который ссылается выбранный ярлык.\r"
        "Вы можете изменить эту ссылку вручную, либо кликнув два раза по этому полю и выбрав новый файл.");
    check_all_.set_text("Выбрать все");
    check_all_.set_bounds(10, 258, 150, 20);
    to_bin_.set_text("Удалять в корзину");
    to_bin_.set_bounds(10, 278, 170, 20);
    edit_.set_text("  Править выбранный ярлык");
    edit_.set_bounds(244, 262, 204, 28);
    delete_.set_text("  Удалить выбранные ярлыки");
    delete_.set_bounds(456, 262, 205, 28);

    on_show = [this] { group_.set_enabled(false); };
    on_activate = ui::guarded(*this, [this] { search(); });
    stop_.on_click = [this] { stop_request_.request(); };
    // The link field keeps what the user types or picks there until another
    // row is selected: leaving the list for the field does not empty it.
    results_.on_select = command([this] { row_selected(); });
    link_.on_double_click = command([this] { choose_target(); });
    check_all_.on_click = command([this] { results_.set_all_checked(check_all_.checked()); });
    edit_.on_click = command([this] { repair_selected(); });
    delete_.on_click = command([this] { delete_checked(); });
}

void LinksSearchWindow::search() {
    results_.clear();
    link_.set_text("");
    edit_.set_enabled(false);
    delete_.set_enabled(false);
    check_all_.set_checked(false, ui::Notify::no);
    check_all_.set_enabled(false);
    to_bin_.set_checked(true, ui::Notify::no);
    to_bin_.set_enabled(false);
    step_.set_text("Выполняется поиск неправильных ярлыков. Это может занять несколько минут...");
    stop_.show();
    progress_.set_position(0);
    show_findings({}, row_of);

    BrokenLinkResult result;
    bool went_on = true;
    try {
        const auto settings = BrokenLinkSettings::load(data_, platform_.registry, drives_.checked_letters());
        search::ShownWalk progress(progress_, current_);
        went_on = run_search([&] { result = run_broken_link_search(settings, platform_, pump(), stop_request_, progress); });
    } catch (...) {
        stop_.hide();
        step_.set_text(kSearchDone);
        current_.set_text("");
        found_count_.set_text("0");
        throw;
    }
    // A window closed during its walk says nothing more.
    if (went_on) finish(std::move(result));
}

void LinksSearchWindow::finish(BrokenLinkResult result) {
    stop_.hide();
    step_.set_text(kSearchDone);
    if (result.rows.empty()) {
        current_.set_text("Ошибок не обнаружено");
        found_count_.set_text("0");
        dialogs().message("Поиск завершен. Не было найдено ни одной ошибки.", kSearchDone, ui::Icon::information);
        return;
    }
    show_findings(std::move(result.rows), row_of);
    enable_results(true);
    const std::string count = std::to_string(found_total());
    current_.set_text("Найдено ошибок: " + count);
    found_count_.set_text(count);
    dialogs().message("Поиск завершен. Ознакомтесь со списком найденных ошибок.", kSearchDone,
                      ui::Icon::information);
}

void LinksSearchWindow::row_selected() {
    edit_.set_enabled(true);
    const int row = results_.selected();
    if (row >= 0) link_.set_text(platform_.links.read_target(findings()[static_cast<std::size_t>(row)].path));
}

void LinksSearchWindow::choose_target() {
    if (auto file = dialogs().open_file()) link_.set_text(*file);
}

void LinksSearchWindow::repair_selected() {
    const int row = results_.selected();
    if (row < 0) {
        dialogs().message("Вы не выбрали ярлык для правки.", kMissingData, ui::Icon::information);
        return;
    }
    const std::string target = link_.text();
    if (target.empty()) {
        dialogs().message("Вы не ввели новое значение в поле \"ссылка\".", kMissingData, ui::Icon::information);
        return;
    }
    const std::string& path = findings()[static_cast<std::size_t>(row)].path;
    // The new shortcut is written over the old one, which stays when the
    // writing fails.
    if (const auto repaired = repair_link(platform_, path, target); !repaired) {
        dialogs().message("Не удалось изменить ярлык \"" + path + "\":\r" + repaired.message(), "Ошибка",
                          ui::Icon::error);
        return;
    }
    dialogs().message("Новое значение ярлыка \"\r" + path + "\":\r" + target, "Ссылка изменена",
                      ui::Icon::information);
}

void LinksSearchWindow::delete_checked() {
    const auto wanted = [&](std::size_t i) { return results_.checked(static_cast<int>(i)); };
    auto plan = plan_deletion(platform_, to_bin_.checked(), wanted, kBinlessQuestion);
    current_.set_text("Идет удаление выбранных ярлыков...");
    progress_.set_position(0);
    progress_.set_maximum(results_.count() - 1);
    const auto outcome = delete_findings(
        wanted,
        [&](const BrokenLink& link) {
            return plan.remove(link.path, [&](bool to_bin) { return delete_link(platform_, link.path, to_bin); });
        },
        [&] { progress_.step_by(1); });
    if (outcome.closed) return;
    current_.set_text(kDeleteDone);
    // Shortcuts deleted elsewhere meanwhile leave the list too.
    erase_gone(platform_.fs);
    if (results_.empty()) enable_results(false);
    dialogs().message(outcome.failed ? "Некоторые ярлыки удалить не удалось. По причинческим технинам."
                                     : "Все выбранные ярлыки были успешно удалены.",
                      kDeleteDone, ui::Icon::information);
    current_.set_text("Найдено ярлыков: " + std::to_string(found_total()) +
                      "          Удалено ярлыков: " + std::to_string(found_total() - findings().size()));
    link_.set_text("");
}

void LinksSearchWindow::enable_results(bool enabled) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&group_, &check_all_, &to_bin_, &edit_, &delete_})
        c->set_enabled(enabled);
}

}  // namespace shortcuts
