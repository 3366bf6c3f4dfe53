#include "search/area_window.h"

#include "search/folded.h"
#include "ui/guard.h"

namespace search {

namespace {

constexpr char kNotAddedCaption[] = "Папка не добавлена";
constexpr char kRootRefusal[] = "Нельзя добавить логический диск в качестве папки.";
constexpr char kOnCheckedDriveRefusal[] =
    "Папка не была добавлена, так как находится на диске, который уже выбран для поиска.\r"
    "Вам необходимо выбрать папку на том диске, который еще не выбран для поиска.";
constexpr char kDuplicateRefusal[] = "Выбранная папка уже была добавлена в список.";
constexpr char kNoAreaCaption[] = "Не выбрана область поиска";
constexpr char kNoAreaFirstSentence[] = "Вы не выбрали ни одного диска и ни одной папки.";

bool same_drive(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && fold_char(a[0]) == fold_char(b[0]);
}

}  // namespace

void remove_selected_row(ui::ListControl& list) {
    const int row = list.selected();
    if (row < 0) return;
    list.remove(row);
    if (list.empty()) return;
    list.set_selected(row < list.count() ? row : list.count() - 1);
}

AreaWindow::AreaWindow(ui::Toolkit& toolkit, const AreaVariant& variant, const store::DataFolder& data,
                       platform::FileSystem& fs, const std::vector<std::string>& drives, DriveSelection& selection)
    : ui::Form(toolkit, std::string("AreaForm_") + variant.prefix),
      variant_(variant),
      data_(data),
      fs_(fs),
      selection_(selection) {
    set_caption("Область поиска");
    set_border(ui::Border::dialog);

    drive_group_.set_text("Диски");
    drive_group_.set_bounds(8, 6, 384, 118);
    drive_list_.set_bounds(10, 18, 364, 90);
    for (const auto& drive : drives) drive_list_.add(drive);

    hint_.set_text("Рекомендуется выбрать тот диск, на котором у Вас установлены операционная система и/или программы.");
    hint_.set_auto_size(false);
    hint_.set_word_wrap(true);
    hint_.set_bounds(12, 130, 376, 30);
    hint_.set_visible(variant_.hint);

    const int top = variant_.hint ? 166 : 130;
    folder_group_.set_text("Папки");
    folder_group_.set_bounds(8, top, 384, 176);
    folder_list_.set_bounds(10, 18, 254, 148);
    folder_list_.add_column("Имя", 230);
    add_button_.set_text("  Добавить");
    add_button_.set_bounds(272, 18, 102, 28);
    remove_button_.set_text("  Удалить");
    remove_button_.set_bounds(272, 52, 102, 28);

    apply_button_.set_text("  Применить");
    apply_button_.set_bounds(290, top + 184, 102, 28);
    set_client_size(400, top + 220);

    drive_list_.on_check = [this](int row) { drive_toggled(row); };
    add_button_.on_click = [this] { add_folder(); };
    remove_button_.on_click = [this] { remove_folder(); };
    apply_button_.on_click = ui::guarded(*this, [this] { apply(); });
    on_show = ui::guarded(*this, [this] { opened(); });
}

void AreaWindow::opened() {
    folder_list_.clear();
    const auto checks = store::flags_for_rows(data_.read_lines(drives_file()), static_cast<std::size_t>(drive_list_.count()));
    for (std::size_t row = 0; row < checks.size(); ++row)
        if (checks[row]) drive_list_.set_checked(static_cast<int>(row), true);
    folder_list_.begin_update();
    for (auto& folder : data_.read_lines(folders_file())) folder_list_.add(std::move(folder));
    folder_list_.end_update();
}

void AreaWindow::drive_toggled(int row) {
    const std::string& drive = drive_list_.text(row);
    for (int folder = folder_list_.count() - 1; folder >= 0; --folder)
        if (same_drive(folder_list_.text(folder), drive)) folder_list_.remove(folder);
}

void AreaWindow::add_folder() {
    const auto chosen = dialogs().choose_folder(kChooseFolderTitle);
    if (!chosen || chosen->empty() || !fs_.is_existing_folder(*chosen)) return;
    const std::string& folder = *chosen;

    const char* refusal = nullptr;
    if (folder.size() < 4) {
        refusal = kRootRefusal;
    } else {
        for (int row = 0; row < drive_list_.count() && !refusal; ++row)
            if (drive_list_.checked(row) && same_drive(drive_list_.text(row), folder)) refusal = kOnCheckedDriveRefusal;
        if (!refusal && folder_list_.find(folder) >= 0) refusal = kDuplicateRefusal;
    }
    if (refusal) {
        dialogs().message(refusal, kNotAddedCaption, ui::Icon::information);
        return;
    }
    folder_list_.add(folder);
}

void AreaWindow::remove_folder() { remove_selected_row(folder_list_); }

void AreaWindow::apply() {
    if (drive_list_.checked_count() == 0 && folder_list_.empty()) {
        dialogs().message(std::string(kNoAreaFirstSentence) + "\r" + variant_.area_sentence, kNoAreaCaption,
                          ui::Icon::error);
        return;
    }
    std::vector<bool> checks;
    for (int row = 0; row < drive_list_.count(); ++row) checks.push_back(drive_list_.checked(row));
    data_.rewrite(drives_file(), store::flag_lines(checks));
    // The selection holds the same usable drive list once the main window was shown.
    for (std::size_t row = 0; row < checks.size() && row < selection_.rows().size(); ++row)
        selection_.set_checked(row, checks[row]);

    std::vector<std::string> folders;
    for (int row = 0; row < folder_list_.count(); ++row) folders.push_back(folder_list_.text(row));
    data_.rewrite(folders_file(), folders);
    close();
}

}  // namespace search
