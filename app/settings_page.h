#pragma once
// The page "Настройки программы": the program's own five options, each read
// from where it takes effect (the Run value, two marker files, two
// shortcuts) every time the page is opened, and written by "  Применить".
#include <string>

#include "platform/platform.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace app {

// The five options as they stand on the machine.
struct ProgramSettings {
    bool autostart = false;     // the Run value "Vorlinde SC"
    bool start_in_tray = false;  // tray.txt
    bool desktop_link = false;  // the shortcut on the desktop
    bool menu_link = false;     // the shortcut in the Start menu's programs
    bool check_updates = false;  // update.txt

    static ProgramSettings load(platform::Platform& platform, const store::DataFolder& data);
    // Writes all five in that order, whether or not they changed. A marker
    // file or Run value that cannot be written throws store::FileError and
    // leaves the options after it as they were. A shortcut is written (or
    // deleted) only where the shell names a desktop or programs folder.
    void apply(platform::Platform& platform, const store::DataFolder& data) const;
};

// The autostart value: the executable's full path in double quotes, so that
// Windows cannot read a path with blanks as a shorter program's.
std::string autostart_command(const store::DataFolder& data);
// The program's shortcut in a shell folder ("Desktop", "Programs"); empty
// when the shell names no such folder.
std::string program_shortcut(platform::Registry& registry, const std::string& shell_folder);

class SettingsPage {
public:
    SettingsPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data);

    // Sets the boxes from the machine; a box that changes enables
    // "  Применить" as a click would.
    void refresh();
    void apply();

    ui::CheckBox& autostart_box() { return autostart_box_; }
    ui::CheckBox& tray_box() { return tray_box_; }
    ui::CheckBox& desktop_box() { return desktop_box_; }
    ui::CheckBox& menu_box() { return menu_box_; }
    ui::CheckBox& update_box() { return update_box_; }
    ui::Button& apply_button() { return apply_button_; }

private:
    platform::Platform& platform_;
    const store::DataFolder& data_;
    ui::Label title_;
    ui::CheckBox autostart_box_, tray_box_;
    ui::Bevel start_line_;
    ui::CheckBox desktop_box_, menu_box_;
    ui::Bevel links_line_;
    ui::CheckBox update_box_;
    ui::Bevel update_line_;
    ui::Button apply_button_;
};

}  // namespace app
