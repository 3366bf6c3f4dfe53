#pragma once
// The page "Очистка кэша": how much each browser's cache holds, a button per
// browser that cleans it and, with both extra browsers present, one that
// cleans all three. A row whose size reads "0 KB" has nothing to clean.
#include <array>

#include "platform/platform.h"
#include "privacy/browser_cleaning.h"
#include "privacy/browser_list.h"
#include "ui/ui.h"

namespace privacy {

class CachePage {
public:
    CachePage(ui::Page& page, platform::Platform& platform, platform::Pump& pump);

    // Finds the browsers and sizes their caches anew ("Cache").
    void refresh();
    // Row 0 is Internet Explorer, rows 1 and 2 the browser slots.
    void clean_row(int row);
    void clean_all();

    struct Row {
        Row(ui::Page& page, int label, int button, int bevel);
        ui::Label name, caption, size;
        ui::Button button;
        ui::Bevel line;
    };
    Row& row(int index) { return rows_.at(static_cast<std::size_t>(index)); }
    ui::Button& all_button() { return all_button_; }
    // Why caches that were sized are not cleaned; hidden when all are.
    ui::Label& refusal() { return refusal_; }
    // Today's browsers, below the rows.
    BrowserList& browsers() { return browsers_; }

private:
    Browser browser_of(int row);
    // The size of the browser's cache into the row's size label.
    void measure(int row, Browser browser);
    void size_row(int row);
    void enable_row(int row);
    void update_all_button();
    void show_refusals();
    // The list of today's browsers below the shown rows, the refusals above it.
    void place_browsers(const BrowserSlots& slots);

    platform::Platform& platform_;
    BrowserTraces traces_;
    ui::Label intro_;
    ui::Bevel top_line_;
    std::array<Row, 3> rows_;
    ui::Button all_button_;
    ui::Label refusal_;
    std::array<std::string, 3> refusals_;  // of each row's last sizing
    BrowserList browsers_;
};

}  // namespace privacy
