#pragma once
// Today's browsers on an Internet page: one row each below the Internet
// Explorer row and the two slots (name, on the cache page the cache size,
// and what keeps it from being cleaned), a "  Очистить" button for the
// chosen row. The page's "  Очистить все" cleans them too.
#include <functional>
#include <vector>

#include "platform/platform.h"
#include "privacy/modern_browsers.h"
#include "ui/ui.h"

namespace privacy {

class BrowserList {
public:
    // `prefix` names the page's controls ("Cache", "Jurnal", "Cookies").
    BrowserList(ui::Page& page, platform::Platform& platform, platform::Pump& pump, Store store, const char* prefix);

    // Finds the browsers anew, beside those the slots show; the list and its
    // button are shown only when there is one, in the rows from `top` to `bottom`.
    void refresh(const BrowserSlots& slots, int top, int bottom);
    void clean_row(int row);
    void clean_all();
    bool shown() const { return !browsers_.empty(); }
    // Whether a row has something left to clean: on the cache page a cache
    // that holds anything, on the others a row not cleaned since the load.
    bool any_left() const;

    // After the row button cleaned a row.
    std::function<void()> on_cleaned;

    ui::ListView& list() { return list_; }
    ui::Button& button() { return button_; }
    // What keeps the chosen row from being cleaned, in full.
    ui::Label& note() { return note_; }

private:
    void measure(int row);
    void update_button();
    bool left(int row) const;  // whether the row still has something to clean
    // The list from top_ to bottom_, the chosen row's state in full below it.
    void layout();
    int state_column() const;

    platform::Platform& platform_;
    ModernTraces traces_;
    Store store_;
    std::vector<ModernBrowser> browsers_;
    std::vector<bool> cleaned_;
    ui::ListView list_;
    ui::Button button_;
    ui::Label note_;
    int top_ = 0, bottom_ = 0;
};

}  // namespace privacy
