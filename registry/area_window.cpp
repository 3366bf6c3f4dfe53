#include "registry/area_window.h"

#include "registry/reference_search.h"
#include "ui/guard.h"

namespace registry {

namespace {

constexpr char kNoKeysCaption[] = "Не выбраны ключи";
constexpr char kNoKeysText[] =
    "Вы не выбрали ни одного ключа.\r"
    "Необходимо задать ключи, в которых надо искать неверные значения.";
constexpr char kNoDrivesCaption[] = "Не выбраны диски";
constexpr char kNoDrivesText[] =
    "Вы не выбрали ни одного диска.\r"
    "Необходимо задать диски, на которых надо искать неверные значения.";

}  // namespace

RegistryAreaWindow::RegistryAreaWindow(ui::Toolkit& toolkit, const store::DataFolder& data,
                                       const std::vector<std::string>& drives, search::DriveSelection& selection)
    : ui::Form(toolkit, "RegistryAreaForm"), data_(data), selection_(selection) {
    set_caption("Область поиска");
    set_border(ui::Border::dialog);
    set_color(ui::colors::white);

    drive_group_.set_text("Диски");
    drive_group_.set_bounds(8, 6, 200, 150);
    drive_list_.set_bounds(10, 18, 180, 122);
    for (const auto& drive : drives) drive_list_.add(drive);

    key_group_.set_text("Ключи");
    key_group_.set_bounds(216, 6, 196, 70);
    current_user_box_.set_text("HKEY_CURRENT_USER");
    current_user_box_.set_bounds(12, 20, 176, 20);
    local_machine_box_.set_text("HKEY_LOCAL_MACHINE");
    local_machine_box_.set_bounds(12, 44, 176, 20);

    apply_button_.set_text("Применить");
    apply_button_.set_bounds(310, 164, 102, 28);
    set_client_size(420, 200);

    apply_button_.on_click = ui::guarded(*this, [this] { apply(); });
    on_show = ui::guarded(*this, [this] { opened(); });
}

void RegistryAreaWindow::opened() {
    if (const auto keys = read_key_selection(data_)) {
        if (keys->current_user) current_user_box_.set_checked(true);
        if (keys->local_machine) local_machine_box_.set_checked(true);
    }
    const auto checks =
        store::flags_for_rows(data_.read_lines(kDrivesFile), static_cast<std::size_t>(drive_list_.count()));
    for (std::size_t row = 0; row < checks.size(); ++row)
        if (checks[row]) drive_list_.set_checked(static_cast<int>(row), true);
}

void RegistryAreaWindow::apply() {
    const KeySelection keys{current_user_box_.checked(), local_machine_box_.checked()};
    if (keys.current_user || keys.local_machine)
        save_key_selection(data_, keys);
    else
        dialogs().message(kNoKeysText, kNoKeysCaption, ui::Icon::stop);

    if (drive_list_.checked_count() == 0) {
        dialogs().message(kNoDrivesText, kNoDrivesCaption, ui::Icon::stop);
        return;
    }
    std::vector<bool> checks;
    for (int row = 0; row < drive_list_.count(); ++row) checks.push_back(drive_list_.checked(row));
    data_.rewrite(kDrivesFile, store::flag_lines(checks));
    // The selection holds the same usable drive list once the main window was shown.
    for (std::size_t row = 0; row < checks.size() && row < selection_.rows().size(); ++row)
        selection_.set_checked(row, checks[row]);
    close();
}

}  // namespace registry
