#include "duplicates/copies_window.h"

#include "duplicates/duplicate_removal.h"
#include "ui/guard.h"

namespace duplicates {

namespace {

const char kSearchDone[] = "Поиск завершен";
const char kFirstStep[] = "Идет формирование списка файлов, копии которых надо искать...";

std::vector<std::string> group_row(const CopyGroup& group) { return {group.found}; }

// The folder of a file: the path up to its last backslash (a path without one
// is its own folder).
std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

}  // namespace

// Shows the steps, the walk folders and the compared files while the search runs.
class CopiesWindow::Progress : public DuplicateProgress {
public:
    explicit Progress(CopiesWindow& window) : w_(window) {}
    void step_started(const std::string& caption) override { w_.step_.set_text(caption); }
    void walk_started(std::size_t count, const std::string& first) override {
        w_.progress_.set_position(0);
        w_.progress_.set_maximum(static_cast<int>(count));
        if (!first.empty()) w_.current_.set_text(first);
    }
    void walking(std::size_t index, const std::string& item) override {
        w_.progress_.set_position(static_cast<int>(index) + 1);
        w_.current_.set_text(item);
    }

private:
    CopiesWindow& w_;
};

CopiesWindow::CopiesWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                           const search::DriveSelection& drives, ui::Form& main)
    : search::ResultsWindow<CopyGroup>(toolkit, "CopiesForm", main, groups_),
      platform_(platform),
      data_(data),
      drives_(drives) {
    set_caption("Поиск копий");
    set_border(ui::Border::single);
    set_color(ui::colors::white);
    set_client_size(560, 500);

    step_.set_text(kFirstStep);
    lay_out_top(step_, stop_, frame_, current_, progress_);
    stop_.set_text("Прекратить");

    group_.set_text("Найденные файлы");
    group_.set_bounds(8, 96, 544, 396);
    groups_.set_bounds(10, 20, 524, 160);
    groups_.add_column("Имя", 500);
    copies_label_.set_text("Копии выбранного файла:");
    copies_label_.set_bounds(10, 188, 200, 16);
    copies_.set_bounds(10, 206, 524, 140);
    copies_.add_column("Имя", 500);
    open_folder_.set_text("Открыть папку с файлом");
    open_folder_.set_bounds(10, 356, 170, 28);
    open_file_.set_text("Открыть выбранный файл");
    open_file_.set_bounds(187, 356, 170, 28);
    delete_.set_text("Удалить выбранный файл");
    delete_.set_bounds(364, 356, 170, 28);

    on_show = [this] { group_.set_enabled(false); };
    on_activate = ui::guarded(*this, [this] { search(); });
    stop_.on_click = [this] { stop_request_.request(); };
    groups_.on_click = command([this] { groups_clicked(); });
    copies_.on_click = command([this] { copies_clicked(); });
    groups_.on_double_click = command([this] { open_selected(groups_); });
    copies_.on_double_click = command([this] { open_selected(copies_); });
    open_folder_.on_click = command([this] { open_folder(); });
    open_file_.on_click = command([this] { open_file(); });
    delete_.on_click = command(ui::guarded(*this, [this] { delete_copy_clicked(); }));
}

void CopiesWindow::search() {
    copies_.clear();
    show_findings({}, group_row);
    current_list_ = nullptr;
    for (ui::Button* b : {&open_folder_, &open_file_, &delete_}) b->set_enabled(false);
    // Chosen files need no walk of their own: the caption of the previous
    // search's end must not stay while this one runs.
    step_.set_text(kFirstStep);
    stop_.show();
    progress_.set_position(0);

    DuplicateResult result;
    bool went_on = true;
    try {
        const auto settings = DuplicateSettings::load(data_, platform_.registry, drives_.checked_letters());
        Progress progress(*this);
        went_on = run_search([&] { result = run_duplicate_search(settings, platform_, pump(), stop_request_, progress); });
    } catch (...) {
        stop_.hide();
        step_.set_text(kSearchDone);
        current_.set_text("");
        throw;
    }
    // A window closed during its walk says nothing more.
    if (!went_on) return;
    show_findings(std::move(result.groups), group_row);
    finish();
}

void CopiesWindow::finish() {
    stop_.hide();
    step_.set_text(kSearchDone);
    if (findings().empty()) {
        current_.set_text("Не обнаружено файлов, имеющих копии");
        dialogs().message("Поиск завершен. Не было найдено ни одного файла, имеющего копии.", kSearchDone,
                          ui::Icon::information);
        return;
    }
    group_.set_enabled(true);
    current_.set_text("Найдено файлов, имеющих копии: " + std::to_string(findings().size()));
    dialogs().message("Поиск завершен. Ознакомтесь со списком найденных файлов.", kSearchDone, ui::Icon::information);
}

void CopiesWindow::groups_clicked() {
    const int row = groups_.selected();
    if (row >= 0) {
        shown_group_ = static_cast<std::size_t>(row);
        copies_.clear();
        copies_.begin_update();
        for (const auto& copy : findings()[shown_group_].copies) copies_.add(copy);
        copies_.end_update();
        open_folder_.set_enabled(true);
        open_file_.set_enabled(true);
        current_list_ = &groups_;
    }
    delete_.set_enabled(false);
}

void CopiesWindow::copies_clicked() {
    if (copies_.selected() < 0) return;
    for (ui::Button* b : {&open_folder_, &open_file_, &delete_}) b->set_enabled(true);
    current_list_ = &copies_;
}

std::string CopiesWindow::current_path() const {
    if (!current_list_ || current_list_->selected() < 0) return {};
    return current_list_->text(current_list_->selected());
}

void CopiesWindow::open_selected(const ui::ListView& list) {
    if (list.selected() < 0) return;
    static_cast<void>(platform_.shell.open("open", list.text(list.selected())));  // the shell says why it cannot
}

void CopiesWindow::open_file() {
    const std::string path = current_path();
    if (!path.empty()) static_cast<void>(platform_.shell.open("open", path));  // the shell says why it cannot
}

void CopiesWindow::open_folder() {
    const std::string path = current_path();
    if (path.empty()) return;
    static_cast<void>(platform_.shell.run_command_line("Explorer.exe " + folder_of(path)));
}

void CopiesWindow::delete_copy_clicked() {
    const int row = copies_.selected();
    if (row >= 0) {
        // The copy leaves the group the lower list shows, whichever row of
        // the upper list is selected now.
        auto& copies = finding(shown_group_).copies;
        const auto index = static_cast<std::size_t>(row);
        if (delete_copy(platform_.fs, copies[index])) {
            copies.erase(copies.begin() + static_cast<std::ptrdiff_t>(index));
            copies_.remove(row);
        } else {
            dialogs().message("Файл не может быть удален. Возможно он используется в данный момент другим приложением.",
                              "Ошибка", ui::Icon::error);
        }
    }
    delete_.set_enabled(false);
}

}  // namespace duplicates
