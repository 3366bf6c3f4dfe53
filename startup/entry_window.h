#pragma once
// The entry editor (Form19): adds an entry to, or changes one of, the Run
// and RunOnce keys of either hive. Four tabs without visible tabs: adding and
// changing for all users, adding and changing for the current user.
#include <array>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "startup/startup_entries.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace startup {

class StartupPage;

class EntryWindow : public ui::Form {
public:
    EntryWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data);

    // The page a hive's changes are shown on.
    void attach(StartupPage& page);

    // Opens the add tab of the hive, emptied.
    void open_add(Hive hive);
    // Opens the change tab of the hive, filled from the entry.
    void open_change(Hive hive, const StartupEntry& entry);

    // One tab: its group, command and name fields, the two radio buttons and
    // its two buttons.
    struct Tab {
        Tab(ui::PageSet& tabs, int index);
        ui::Page page;
        ui::GroupBox group;
        ui::Edit command;
        ui::Button choose;
        ui::Label name_caption;
        ui::Edit name;
        ui::RadioButton run, run_once;
        ui::Button apply;
    };
    Tab& add_tab(Hive hive) { return *tabs_[hive == Hive::all_users ? 0 : 1]; }
    Tab& change_tab(Hive hive) { return *tabs_[hive == Hive::all_users ? 2 : 3]; }
    ui::PageSet& tab_set() { return tab_set_; }

private:
    void activated();
    void choose_file(int tab);
    void apply(int tab);
    void finish(Hive hive);

    platform::Platform& platform_;
    const store::DataFolder& data_;
    std::array<StartupPage*, 2> pages_{};
    std::optional<StartupEntry> changing_;

    ui::PageSet tab_set_{*this, "PageControl1"};
    std::array<std::unique_ptr<Tab>, 4> tabs_;
};

}  // namespace startup
