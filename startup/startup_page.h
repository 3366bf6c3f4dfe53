#pragma once
// The pages "Все пользователи" and "Текущий пользователь": the programs
// Windows starts from the Run and RunOnce keys of one hive, the key of the
// chosen entry, and "  Добавить", "  Удалить", "  Изменить" (also a double
// click), which open the entry editor or delete at once.
#include <vector>

#include "platform/platform.h"
#include "store/data_folder.h"
#include "startup/startup_entries.h"
#include "ui/ui.h"

namespace startup {

class EntryWindow;

class StartupPage {
public:
    // Registers itself with the editor, which refreshes it after a change.
    StartupPage(ui::Page& page, Hive hive, platform::Platform& platform, const store::DataFolder& data, EntryWindow& editor);

    Hive hive() const { return hive_; }
    // Reads both keys afresh: the list shows entries()[i] in row i.
    void refresh();
    const std::vector<StartupEntry>& entries() const { return entries_; }

    void show_key();
    void add();
    void remove();
    void change();

    ui::ListView& list() { return list_; }
    ui::Label& key_label() { return key_label_; }
    ui::Button& add_button() { return add_button_; }
    ui::Button& remove_button() { return remove_button_; }
    ui::Button& change_button() { return change_button_; }

private:
    // The first entry named as the selected row, or nothing.
    const StartupEntry* first_named_as_selected() const;

    ui::Form& form_;
    Hive hive_;
    platform::Platform& platform_;
    const store::DataFolder& data_;
    EntryWindow& editor_;
    std::vector<StartupEntry> entries_;

    ui::Label title_;
    ui::ListView list_;
    ui::Label key_caption_, key_label_;
    ui::Button add_button_, remove_button_, change_button_;
};

}  // namespace startup
