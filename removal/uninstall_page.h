#pragma once
// The page "Установленные программы": the programs registered for
// uninstallation, sorted by name, with their uninstall command; one button
// starts the command, another deletes the program's entry from the registry.
#include <cstddef>
#include <vector>

#include "platform/platform.h"
#include "store/data_folder.h"
#include "removal/uninstall_entries.h"
#include "ui/ui.h"

namespace removal {

class UninstallPage {
public:
    UninstallPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data, platform::Pump& pump);

    // Reads the entries anew and lists them ("Uninstall").
    void refresh();
    // The list's selection, and the page's two buttons.
    void show_command();
    void uninstall();
    void remove_entry();

    const std::vector<UninstallEntry>& entries() const { return entries_; }
    // The entry a row acts on: the first entry, in the registry's order,
    // whose name is the row's text.
    const UninstallEntry& entry_of(int row) const { return entries_[rows_[static_cast<std::size_t>(row)]]; }

    ui::Label& title() { return title_; }
    ui::ListBox& list() { return list_; }
    ui::Edit& command() { return command_; }
    ui::Button& refresh_button() { return refresh_button_; }
    ui::Button& uninstall_button() { return uninstall_button_; }
    ui::Button& remove_button() { return remove_button_; }

private:
    ui::Form& form_;
    platform::Platform& platform_;
    const store::DataFolder& data_;
    platform::Pump& pump_;
    std::vector<UninstallEntry> entries_;
    std::vector<std::size_t> rows_;  // per list row, its entry

    ui::Label title_;
    ui::ListBox list_;
    ui::Label command_caption_;
    ui::Edit command_;
    ui::Button refresh_button_, uninstall_button_, remove_button_;
};

}  // namespace removal
