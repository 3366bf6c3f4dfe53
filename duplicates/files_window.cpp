#include "duplicates/files_window.h"

#include "search/folders.h"

#include <unordered_set>

#include "duplicates/duplicate_search.h"
#include "search/area_window.h"
#include "ui/guard.h"

namespace duplicates {

namespace {

constexpr char kAlreadyListed[] = "Некоторые из выбранных файлов уже содержатся в списке.";
constexpr char kAddedCaption[] = "Добавление завершено";

}  // namespace

FilesWindow::FilesWindow(ui::Toolkit& toolkit, const store::DataFolder& data, platform::FileSystem& fs)
    : ui::Form(toolkit, "FilesForm"), data_(data), fs_(fs) {
    set_caption("Список файлов");
    set_border(ui::Border::dialog);
    set_client_size(420, 382);
    set_color(ui::colors::white);

    group_.set_text("Файлы, копии которых надо искать");
    group_.set_bounds(8, 6, 404, 330);
    file_list_.set_bounds(10, 18, 384, 200);
    file_list_.add_column("Имя", 360);
    add_folder_button_.set_text("Добавить папку");
    add_folder_button_.set_bounds(10, 226, 124, 28);
    add_folder_button_.set_acts_on_release(true);
    add_files_button_.set_text("Добавить файлы");
    add_files_button_.set_bounds(140, 226, 124, 28);
    remove_button_.set_text("Удалить файл");
    remove_button_.set_bounds(270, 226, 124, 28);
    subfolders_.set_text("Включая подпапки");
    subfolders_.set_bounds(12, 262, 200, 18);
    progress_.set_bounds(10, 286, 250, 16);
    progress_.set_visible(false);
    clear_button_.set_text("Очистить список");
    clear_button_.set_bounds(270, 290, 124, 28);
    apply_button_.set_text("Применить");
    apply_button_.set_bounds(312, 346, 100, 28);

    add_files_button_.on_click = [this] { add_files(); };
    add_folder_button_.on_click = [this] { add_folder(); };
    remove_button_.on_click = [this] { search::remove_selected_row(file_list_); };
    clear_button_.on_click = [this] { file_list_.clear(); };
    apply_button_.on_click = ui::guarded(*this, [this] { apply(); });
    on_show = ui::guarded(*this, [this] { opened(); });
}

void FilesWindow::opened() {
    file_list_.clear();
    file_list_.begin_update();
    for (const auto& line : data_.read_lines(DuplicateSettings::kChosenFilesList)) file_list_.add(line);
    file_list_.end_update();
}

bool FilesWindow::add_new(std::vector<std::string> paths) {
    std::unordered_set<std::string> listed;
    for (int row = 0; row < file_list_.count(); ++row) listed.insert(file_list_.text(row));
    const std::size_t offered = paths.size();
    std::erase_if(paths, [&](const std::string& path) { return listed.count(path) > 0; });
    progress_.set_position(0);
    progress_.set_maximum(static_cast<int>(paths.size()) - 1);
    file_list_.begin_update();
    for (auto& path : paths) {
        pump().serve();
        progress_.step_by(1);
        file_list_.add(std::move(path));
    }
    file_list_.end_update();
    return paths.size() < offered;
}

void FilesWindow::add_files() {
    auto chosen = dialogs().open_files(true);
    if (chosen.empty()) return;
    if (add_new(std::move(chosen))) dialogs().message(kAlreadyListed, kAddedCaption, ui::Icon::information);
}

void FilesWindow::collect(const std::string& folder, bool deep, std::vector<std::string>& files) {
    search::walk_tree(fs_, pump(), folder, [&](const std::string& listed, const platform::DirEntry& entry) {
        if (!entry.is_directory() && !entry.unrepresentable) files.push_back(listed + entry.name);
        return deep;
    });
}

void FilesWindow::add_folder() {
    const auto folder = dialogs().choose_folder(search::kChooseFolderTitle);
    if (!folder || !fs_.is_existing_folder(*folder)) return;
    group_.set_enabled(false);
    apply_button_.set_enabled(false);
    const bool deep = subfolders_.checked();
    std::vector<std::string> files;
    collect(*folder, deep, files);
    progress_.set_visible(deep);
    const bool some_listed = add_new(std::move(files));
    progress_.set_visible(false);
    if (some_listed) dialogs().message(kAlreadyListed, kAddedCaption, ui::Icon::information);
    apply_button_.set_enabled(true);
    group_.set_enabled(true);
}

void FilesWindow::apply() {
    std::vector<std::string> lines;
    for (int row = 0; row < file_list_.count(); ++row) lines.push_back(file_list_.text(row));
    data_.rewrite(DuplicateSettings::kChosenFilesList, lines);
    close();
}

}  // namespace duplicates
