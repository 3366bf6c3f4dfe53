#include "app/settings_page.h"

#include "app/product.h"
#include "ui/guard.h"

namespace app {

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Vorlinde SC";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kShortcutName[] = "Vorlinde System Cleaner.lnk";

bool autostart_set(platform::Registry& registry) {
    auto key = registry.open(platform::Root::current_user, kRunKey, platform::KeyAccess::read);
    return key && (*key)->value_type(kRunValue).has_value();
}

void write_autostart(platform::Registry& registry, const store::DataFolder& data, bool on) {
    if (!on) {
        // A missing key or value is an autostart already off.
        if (auto key = registry.open(platform::Root::current_user, kRunKey, platform::KeyAccess::write))
            static_cast<void>((*key)->delete_value(kRunValue));
        return;
    }
    // The system makes the Run key; a profile without one gets no autostart,
    // and the message says so.
    auto key = registry.open(platform::Root::current_user, kRunKey, platform::KeyAccess::write);
    const platform::Status written = key ? (*key)->write_string(kRunValue, autostart_command(data)) : key.status();
    if (!written) throw store::FileError("Не удалось записать параметр автозапуска. " + written.message());
}

void write_shortcut(platform::Platform& platform, const store::DataFolder& data, const char* shell_folder, bool on) {
    const std::string link = program_shortcut(platform.registry, shell_folder);
    if (link.empty()) return;
    // Like the shell's own "create shortcut", a failure here is seen when the
    // page is opened again and shows the box unchecked.
    if (on)
        static_cast<void>(platform.links.write(link, data.program_folder() + kExecutableName, "", ""));
    else
        static_cast<void>(platform.fs.delete_file(link));
}

}  // namespace

std::string autostart_command(const store::DataFolder& data) {
    return "\"" + data.program_folder() + kExecutableName + "\"";
}

std::string program_shortcut(platform::Registry& registry, const std::string& shell_folder) {
    auto key = registry.open(platform::Root::current_user, kShellFolders, platform::KeyAccess::read);
    if (!key) return "";
    const std::string folder = (*key)->read_string(shell_folder).value_or("");
    if (folder.empty()) return "";
    return folder + (folder.back() == '\\' ? "" : "\\") + kShortcutName;
}

ProgramSettings ProgramSettings::load(platform::Platform& platform, const store::DataFolder& data) {
    const auto link_exists = [&](const char* shell_folder) {
        const std::string link = program_shortcut(platform.registry, shell_folder);
        return !link.empty() && platform.fs.is_existing_file(link);
    };
    ProgramSettings settings;
    settings.autostart = autostart_set(platform.registry);
    settings.start_in_tray = data.marker("tray.txt");
    settings.desktop_link = link_exists("Desktop");
    settings.menu_link = link_exists("Programs");
    settings.check_updates = data.marker("update.txt");
    return settings;
}

void ProgramSettings::apply(platform::Platform& platform, const store::DataFolder& data) const {
    write_autostart(platform.registry, data, autostart);
    data.set_marker("tray.txt", start_in_tray);
    write_shortcut(platform, data, "Desktop", desktop_link);
    write_shortcut(platform, data, "Programs", menu_link);
    data.set_marker("update.txt", check_updates);
}

SettingsPage::SettingsPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data)
    : platform_(platform),
      data_(data),
      title_(page, "SettingsTitle"),
      autostart_box_(page, "CheckBox2"),
      tray_box_(page, "CheckBox3"),
      start_line_(page, "Bevel5"),
      desktop_box_(page, "CheckBox4"),
      menu_box_(page, "CheckBox5"),
      links_line_(page, "Bevel6"),
      update_box_(page, "CheckBox7"),
      update_line_(page, "Bevel7"),
      apply_button_(page, "SpeedButton46") {
    title_.set_text("Настройки программы");
    title_.set_bounds(12, 10, 300, 18);
    title_.set_bold(true);
    title_.set_font_size(14);

    int top = 44;
    const auto place = [&top](ui::CheckBox& box, const char* text) {
        box.set_text(text);
        box.set_bounds(24, top, 400, 18);
        top += 26;
    };
    const auto line = [&top](ui::Bevel& bevel) {
        bevel.set_bounds(12, top, 430, 2);
        top += 14;
    };
    place(autostart_box_, "Запускаться вместе с Windows");
    place(tray_box_, "При запуске сворачиваться в трей");
    line(start_line_);
    place(desktop_box_, "Создать ярлык на рабочем столе");
    place(menu_box_, "Создать ярлык в главном меню");
    line(links_line_);
    place(update_box_, "Проверять наличие обновлений при запуске");
    line(update_line_);
    apply_button_.set_text("  Применить");
    apply_button_.set_bounds(338, top + 4, 104, 28);

    for (ui::CheckBox* box : {&autostart_box_, &tray_box_, &desktop_box_, &menu_box_, &update_box_})
        box->on_click = [this] { apply_button_.set_enabled(true); };
    apply_button_.on_click = ui::guarded(page.form(), [this] { apply(); });
}

void SettingsPage::refresh() {
    const auto stored = ProgramSettings::load(platform_, data_);
    autostart_box_.set_checked(stored.autostart);
    tray_box_.set_checked(stored.start_in_tray);
    desktop_box_.set_checked(stored.desktop_link);
    menu_box_.set_checked(stored.menu_link);
    update_box_.set_checked(stored.check_updates);
}

void SettingsPage::apply() {
    ProgramSettings chosen;
    chosen.autostart = autostart_box_.checked();
    chosen.start_in_tray = tray_box_.checked();
    chosen.desktop_link = desktop_box_.checked();
    chosen.menu_link = menu_box_.checked();
    chosen.check_updates = update_box_.checked();
    chosen.apply(platform_, data_);
    apply_button_.set_enabled(false);
}

}  // namespace app
