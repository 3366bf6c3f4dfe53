#pragma once
// The pages "Очистка журнала" and "Удаление Cookies": a button per browser
// that clears its history (or cookies) and, with both extra browsers
// present, one that clears all three. A button that has done its work turns
// off until the page is opened again.
#include <array>

#include "platform/platform.h"
#include "privacy/browser_cleaning.h"
#include "privacy/browser_list.h"
#include "ui/ui.h"

namespace privacy {

class TracesPage {
public:
    // `store` is Store::history or Store::cookies.
    TracesPage(ui::Page& page, platform::Platform& platform, platform::Pump& pump, Store store);

    // Finds the browsers anew ("Jurnal", "Cookies").
    void refresh();
    // Row 0 is Internet Explorer, rows 1 and 2 the browser slots.
    void clean_row(int row);
    void clean_all();

    ui::Label& name(int row) { return names_.at(static_cast<std::size_t>(row)); }
    ui::Button& button(int row) { return buttons_.at(static_cast<std::size_t>(row)); }
    ui::Bevel& line(int slot) { return lines_.at(static_cast<std::size_t>(slot - 1)); }
    ui::Button& all_button() { return buttons_[3]; }
    // Why shown rows' stores are not cleaned; hidden when all are.
    ui::Label& refusal() { return refusal_; }
    // Today's browsers, below the rows.
    BrowserList& browsers() { return browsers_; }

private:
    void update_all_button();
    platform::Platform& platform_;
    BrowserTraces traces_;
    Store store_;
    ui::Label intro_;
    ui::Bevel top_line_;
    std::array<ui::Label, 3> names_;
    std::array<ui::Button, 4> buttons_;
    std::array<ui::Bevel, 2> lines_;
    ui::Label refusal_;
    BrowserList browsers_;
};

}  // namespace privacy
