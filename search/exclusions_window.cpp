#include "search/exclusions_window.h"

#include "search/area_window.h"
#include "search/folded.h"
#include "ui/guard.h"

namespace search {

namespace {

constexpr char kFolderNotAdded[] = "Папка не добавлена";
constexpr char kFileNotAdded[] = "Файл не добавлен";
constexpr char kRootRefusal[] = "Нельзя добавить логический диск в качестве папки.";
constexpr char kFolderOffAreaRefusal[] =
    "Папка не была добавлена, так как находится на диске, который был исключен из поиска.\r"
    "Вам необходимо выбрать папку на том диске, который был выбран для поиска.";
constexpr char kFolderDuplicate[] = "Выбранная папка уже была добавлена в список.";
constexpr char kFileOffAreaRefusal[] =
    "Файл не был добавлен, так как находится на диске, который не выбран для поиска.\r"
    "Вам необходимо выбрать файл на том диске, который был выбран для поиска.";
constexpr char kFileDuplicate[] = "Выбранный файл уже была добавлена в список.";
constexpr char kFolderNameDuplicate[] = "Папка с таким именем уже была добавлена в список.";
constexpr char kFileNameDuplicate[] = "Файл с таким именем уже был добавлен в список.";

constexpr ExclusionList kLists[] = {ExclusionList::full_folders, ExclusionList::short_folders,
                                    ExclusionList::full_files, ExclusionList::short_files};

// Page layout: two groups, one above the other.
constexpr int kPageWidth = 444;
constexpr int kPageHeight = 372;

}  // namespace

ExclusionsWindow::Group::Group(ui::Container& page, const std::string& name, bool names)
    : box(page, name + "Group"), add(box, name + "AddButton"), remove(box, name + "RemoveButton"),
      list(box, name + "List") {
    const int top = names ? 168 : 0;
    box.set_bounds(0, top, kPageWidth, names ? 204 : 160);
    add.set_text("  Добавить");
    add.set_bounds(336, 18, 98, 28);
    remove.set_text("  Удалить");
    remove.set_bounds(336, 52, 98, 28);
    list.add_column("Имя", 294);
    if (!names) {
        list.set_bounds(10, 18, 318, 132);
        return;
    }
    list.set_bounds(10, 46, 318, 104);
    name_field = std::make_unique<ui::Edit>(box, name + "Edit");
    name_field->set_bounds(10, 18, 318, 21);
    hint = std::make_unique<ui::Label>(box, name + "Hint");
    hint->set_auto_size(false);
    hint->set_word_wrap(true);
    hint->set_bounds(10, 156, 424, 42);
}

ExclusionsWindow::ExclusionsWindow(ui::Toolkit& toolkit, const ExclusionsVariant& variant,
                                   const store::DataFolder& data, platform::FileSystem& fs,
                                   const DriveSelection& selection)
    : ui::Form(toolkit, std::string("ExclusionsForm_") + variant.prefix),
      variant_(variant),
      data_(data),
      fs_(fs),
      selection_(selection) {
    set_caption("Исключения");
    set_border(ui::Border::dialog);

    const int pages_top = variant_.file_lists ? 32 : 6;
    pages_.set_bounds(8, pages_top, kPageWidth, kPageHeight);
    folders_page_ = std::make_unique<ui::Page>(pages_, "TabSheet1");
    folders_page_->set_text("Исключенные папки");
    groups_[index(ExclusionList::full_folders)] = std::make_unique<Group>(*folders_page_, "FullFolders", false);
    groups_[index(ExclusionList::short_folders)] = std::make_unique<Group>(*folders_page_, "ShortFolders", true);
    group(ExclusionList::full_folders).box.set_text("Полные имена папок");
    group(ExclusionList::short_folders).box.set_text("Короткие имена папок");
    group(ExclusionList::short_folders)
        .hint->set_text("Укажите имя без полного пути, чтобы исключить все папки с этим именем. Регистр не учитывается.");

    if (variant_.file_lists) {
        files_page_ = std::make_unique<ui::Page>(pages_, "TabSheet2");
        files_page_->set_text("Исключенные файлы");
        groups_[index(ExclusionList::full_files)] = std::make_unique<Group>(*files_page_, "FullFiles", false);
        groups_[index(ExclusionList::short_files)] = std::make_unique<Group>(*files_page_, "ShortFiles", true);
        group(ExclusionList::full_files).box.set_text("Полные имена файлов");
        group(ExclusionList::short_files).box.set_text("Короткие имена файлов");
        group(ExclusionList::short_files)
            .hint->set_text(
                "Укажите имя без полного пути, чтобы исключить все файлы с этим именем. Не забудьте указать "
                "расширение. Регистр не учитывается.");
    }

    // The pages' switches, in place of tabs.
    folders_switch_.set_text("Исключенные папки");
    folders_switch_.set_bounds(12, 8, 160, 18);
    files_switch_.set_text("Исключенные файлы");
    files_switch_.set_bounds(184, 8, 160, 18);
    folders_switch_.set_visible(variant_.file_lists);
    files_switch_.set_visible(variant_.file_lists);
    folders_switch_.on_click = [this] { show_page(0); };
    files_switch_.on_click = [this] { show_page(1); };
    show_page(0);

    apply_button_.set_text("  Применить");
    apply_button_.set_bounds(8 + kPageWidth - 102, pages_top + kPageHeight + 8, 102, 28);
    set_client_size(kPageWidth + 16, pages_top + kPageHeight + 44);

    group(ExclusionList::full_folders).add.on_click = [this] { add_full_folder(); };
    group(ExclusionList::short_folders).add.on_click = [this] { add_name(ExclusionList::short_folders); };
    if (variant_.file_lists) {
        group(ExclusionList::full_files).add.on_click = [this] { add_full_file(); };
        group(ExclusionList::short_files).add.on_click = [this] { add_name(ExclusionList::short_files); };
    }
    for (ExclusionList which : kLists)
        if (has(which)) group(which).remove.on_click = [this, which] { remove_selected_row(list(which)); };
    apply_button_.on_click = ui::guarded(*this, [this] { apply(); });
    on_show = ui::guarded(*this, [this] { opened(); });
}

ExclusionsWindow::~ExclusionsWindow() = default;

std::string ExclusionsWindow::file(ExclusionList which) const {
    if (!has(which)) return {};
    const std::string prefix = variant_.prefix;
    switch (which) {
        case ExclusionList::full_folders: return prefix + "_dirs_ex.txt";
        case ExclusionList::short_folders: return prefix + "_shortdirs_ex.txt";
        case ExclusionList::full_files: return prefix + "_files_ex.txt";
        case ExclusionList::short_files: return prefix + "_shortfiles_ex.txt";
    }
    return {};
}

void ExclusionsWindow::show_page(int page) {
    if (page < 0 || page >= pages_.page_count()) return;
    pages_.set_active(page);
    folders_switch_.set_checked(page == 0, ui::Notify::no);
    files_switch_.set_checked(page == 1, ui::Notify::no);
}

void ExclusionsWindow::opened() {
    for (ExclusionList which : kLists) {
        if (!has(which)) continue;
        auto& rows = list(which);
        rows.clear();
        rows.begin_update();
        for (auto& line : data_.read_lines(file(which))) rows.add(std::move(line));
        rows.end_update();
    }
}

bool ExclusionsWindow::on_unchecked_drive(const std::string& path) const {
    if (path.empty()) return false;
    for (std::size_t row = 0; row < selection_.rows().size(); ++row) {
        const std::string& drive = selection_.rows()[row];
        if (!selection_.checked(row) && !drive.empty() && fold_char(drive[0]) == fold_char(path[0])) return true;
    }
    return false;
}

void ExclusionsWindow::add_full_folder() {
    const auto chosen = dialogs().choose_folder(kChooseFolderTitle);
    if (!chosen || chosen->empty() || !fs_.is_existing_folder(*chosen)) return;
    const std::string& folder = *chosen;
    auto& rows = list(ExclusionList::full_folders);

    const char* refusal = nullptr;
    if (folder.size() < 4) refusal = kRootRefusal;
    else if (on_unchecked_drive(folder)) refusal = kFolderOffAreaRefusal;
    else if (rows.find(folder) >= 0) refusal = kFolderDuplicate;
    if (refusal) {
        dialogs().message(refusal, kFolderNotAdded, ui::Icon::information);
        return;
    }
    rows.add(folder);
}

void ExclusionsWindow::add_full_file() {
    const auto chosen = dialogs().open_file();
    if (!chosen || !fs_.is_existing_file(*chosen)) return;
    const std::string& path = *chosen;
    auto& rows = list(ExclusionList::full_files);

    const char* refusal = nullptr;
    if (on_unchecked_drive(path)) refusal = kFileOffAreaRefusal;
    else if (rows.find(path) >= 0) refusal = kFileDuplicate;
    if (refusal) {
        dialogs().message(refusal, kFileNotAdded, ui::Icon::information);
        return;
    }
    rows.add(path);
}

void ExclusionsWindow::add_name(ExclusionList which) {
    Group& names = group(which);
    const std::string text = names.name_field->text();
    if (text.empty()) return;
    if (names.list.find(text) >= 0) {
        const bool folders = which == ExclusionList::short_folders;
        dialogs().message(folders ? kFolderNameDuplicate : kFileNameDuplicate, folders ? kFolderNotAdded : kFileNotAdded,
                          ui::Icon::information);
        return;
    }
    names.list.add(text);
}

void ExclusionsWindow::apply() {
    for (ExclusionList which : kLists) {
        if (!has(which)) continue;
        const auto& rows = list(which);
        std::vector<std::string> lines;
        for (int row = 0; row < rows.count(); ++row) lines.push_back(rows.text(row));
        data_.rewrite(file(which), lines);
    }
    close();
}

}  // namespace search
