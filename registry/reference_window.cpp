#include "registry/reference_window.h"

#include <string>
#include <vector>

#include "registry/reference_removal.h"
#include "search/registry_undo.h"
#include "ui/guard.h"

namespace registry {

namespace {

const char kSearching[] = "Выполняется поиск неверных значений. Это может занять несколько минут...";
const char kReadingKey[] = "Считывается ключ...";
const char kDone[] = "Поиск ошибок завершен";
const char kSearchDone[] = "Поиск завершен";
const char kError[] = "Ошибка";

std::vector<std::string> row_of(const BrokenReference& reference) {
    return {reference.key, reference.value, reference.data};
}

}  // namespace

// Shows the walk of each root on the window while the search runs.
class ReferenceWindow::Progress : public ReferenceProgress {
public:
    explicit Progress(ReferenceWindow& window) : w_(window) {}
    void root_started(platform::Root root) override {
        w_.progress_.set_position(0);
        w_.step_.set_text(root == platform::Root::current_user
                              ? "Выполняется поиск неверных значений в ключе  HKEY_CURRENT_USER"
                              : "Выполняется поиск неверных значений в ключе  HKEY_LOCAL_MACHINE");
        w_.current_.set_text(kReadingKey);
    }
    void walk_started(std::size_t count, const std::string&) override {
        w_.progress_.set_maximum(count > 0 ? static_cast<int>(count) - 1 : 0);
    }
    void walking(std::size_t index, const std::string& key) override {
        w_.current_.set_text(key);
        w_.progress_.set_position(static_cast<int>(index));
    }

private:
    ReferenceWindow& w_;
};

ReferenceWindow::ReferenceWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                                 const search::DriveSelection& drives, ui::Form& main)
    : search::ResultsWindow<BrokenReference>(toolkit, "ReferenceWindow", main, results_),
      platform_(platform),
      data_(data),
      drives_(drives) {
    set_caption("Поиск неправильных ссылок");
    set_border(ui::Border::dialog);
    set_color(ui::colors::white);
    set_client_size(620, 450);

    step_.set_text(kSearching);
    lay_out_top(step_, stop_, current_frame_, current_, progress_);
    stop_.set_text("Прекратить");
    found_count_.set_bounds(560, 72, 40, 16);  // never shown: it keeps the count for the deletion line
    found_count_.hide();

    group_.set_text("Найденные ссылки");
    group_.set_bounds(8, 96, 604, 346);
    results_.set_bounds(10, 20, 584, 272);
    results_.add_column("Ключ", 250);
    results_.add_column("Параметр", 120);
    results_.add_column("Ссылка", 190);
    results_.set_check_boxes(true);
    check_all_.set_text("Выбрать все");
    check_all_.set_bounds(12, 306, 120, 20);
    backup_.set_text("Создать копию реестра");
    backup_.set_bounds(196, 302, 180, 28);
    delete_.set_text("Удалить выбранные ссылки");
    delete_.set_bounds(386, 302, 208, 28);

    on_show = [this] {
        group_.set_enabled(false);
        search_due_ = true;
    };
    on_activate = ui::guarded(*this, [this] {
        if (!search_due_ || busy()) return;
        search_due_ = false;
        search();
    });
    stop_.on_click = [this] { stop_request_.request(); };
    check_all_.on_click = command([this] { results_.set_all_checked(check_all_.checked()); });
    backup_.on_click = command([this] { back_up(); });
    delete_.on_click = command([this] { delete_checked(); });
}

void ReferenceWindow::search() {
    backup_made_ = false;
    auto settings = ReferenceSearchSettings::load(data_, platform_.registry, drives_.checked_letters());
    // Without rg_keys.txt the window closes once this activation is over;
    // the keys read by an earlier search are searched meanwhile.
    const bool close_at_end = !settings.keys;
    if (settings.keys)
        keys_ = settings.keys;
    else
        settings.keys = keys_;

    show_findings({}, row_of);
    backup_.set_enabled(false);
    delete_.set_enabled(false);
    check_all_.set_checked(false, ui::Notify::no);
    step_.set_text(kSearching);
    current_.set_text(kReadingKey);
    stop_.show();
    progress_.set_position(0);

    ReferenceSearchResult result;
    Progress progress(*this);
    // A window closed during its walk says nothing more.
    if (!run_search([&] { result = run_reference_search(settings, platform_, pump(), stop_request_, progress); }))
        return;
    report(std::move(result));
    if (close_at_end) close();
}

void ReferenceWindow::report(ReferenceSearchResult result) {
    stop_.hide();
    step_.set_text(kDone);
    if (result.rows.empty()) {
        current_.set_text("Неправильных ссылок не обнаружено");
        found_count_.set_text("0");
        dialogs().message("Поиск завершен. Не было найдено ни одной неправильной ссылки.", kSearchDone,
                          ui::Icon::information);
        return;
    }
    show_findings(std::move(result.rows), row_of);
    enable_results();
    const std::string count = std::to_string(found_total());
    current_.set_text("Найдено ненеправильных ссылок: " + count);
    found_count_.set_text(count);
    dialogs().message("Поиск завершен. Ознакомтесь со списком найденных ссылок.", kSearchDone,
                      ui::Icon::information);
}

ReferenceWindow::Backup ReferenceWindow::back_up() {
    const auto folder = dialogs().choose_folder("Выберите папку для сохранения копии реестра");
    if (!folder || folder->empty() || !platform_.fs.is_existing_folder(*folder)) return Backup::not_asked;
    const auto made = make_backup(platform_, *folder, keys_.value_or(KeySelection{}));
    if (!made) {
        dialogs().message("Не удалось сохранить копию реестра.\r" + made.message(), kError, ui::Icon::error);
        return Backup::failed;
    }
    backup_made_ = true;
    dialogs().message("Копия реестра была успешно сохранена!\rЕсли после удаления некоторых ссылок работа "
                      "компьютера станет нестабильной, Вы сможете вернуться к текущему состоянию.",
                      "Сохранение завершено", ui::Icon::information);
    return Backup::made;
}

void ReferenceWindow::delete_checked() {
    if (!backup_made_ &&
        dialogs().confirm("Вы не создали копию реестра. Перед внесением в реестр изменений рекомендуется создать "
                          "его резервную копию.\rСоздать копию реестра?") == ui::Answer::yes &&
        back_up() == Backup::failed)
        return;  // the values stay until a backup is made or refused
    // Every checked value goes into the undo file before any is emptied.
    std::vector<search::UndoItem> touched;
    for (std::size_t i = 0; i < findings().size(); ++i)
        if (results_.checked(static_cast<int>(i)))
            if (auto item = undo_item(findings()[i].key, findings()[i].value)) touched.push_back(std::move(*item));
    if (!touched.empty())
        if (const auto saved = search::save_undo_file(platform_, data_, "references", touched); !saved) {
            dialogs().message(saved.message(), kError, ui::Icon::error);
            return;
        }

    current_.set_text("Идет удаление выбранных ссылок...");
    progress_.set_position(0);
    progress_.set_maximum(results_.count());
    std::string failure;
    const auto outcome = delete_findings(
        [&](std::size_t i) { return results_.checked(static_cast<int>(i)); },
        [&](const BrokenReference& reference) {
            auto cleared = clear_reference(platform_.registry, reference.key, reference.value);
            if (!cleared) {
                // The deletion ends at the value that cannot be written.
                failure = cleared.message();
                stop_request_.request();
            }
            return cleared;
        },
        [&] { progress_.step_by(1); });
    if (outcome.closed) return;

    // A value that cannot be written ends the deletion there: no summary.
    if (!failure.empty()) {
        dialogs().message(failure, kError, ui::Icon::error);
        return;
    }
    current_.set_text("Найдено: " + std::to_string(found_total()) +
                      "     Удалено: " + std::to_string(found_total() - findings().size()));
    dialogs().message("Все выбранные ссылки были успешно удалены.", "Удаление завершено", ui::Icon::information);
    if (results_.empty()) {
        backup_.set_enabled(false);
        delete_.set_enabled(false);
        check_all_.set_enabled(false);
    }
}

void ReferenceWindow::enable_results() {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&group_, &check_all_, &backup_, &delete_})
        c->set_enabled(true);
}

}  // namespace registry
