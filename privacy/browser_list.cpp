#include "privacy/browser_list.h"

#include <string>

#include "store/size_text.h"
#include "ui/guard.h"

namespace privacy {

namespace {

const char kEmpty[] = "0 KB";
const int kState = 1;  // the column of the state, after the size on the cache page

}  // namespace

BrowserList::BrowserList(ui::Page& page, platform::Platform& platform, platform::Pump& pump, Store store,
                         const char* prefix)
    : platform_(platform),
      traces_(platform, pump),
      store_(store),
      list_(page, std::string(prefix) + "Browsers"),
      button_(page, std::string(prefix) + "BrowserClean") {
    list_.add_column("Браузер", 120);
    if (store == Store::cache) list_.add_column("Размер", 70);
    list_.add_column("Состояние", store == Store::cache ? 400 : 470);
    list_.hide();
    list_.on_select = [this] { update_button(); };
    button_.set_text("  Очистить");
    button_.set_acts_on_release(store == Store::cache);
    button_.hide();
    button_.on_click = ui::guarded(page.form(), [this] {
        if (list_.selected() < 0) return;
        clean_row(list_.selected());
        if (on_cleaned) on_cleaned();
    });
}

void BrowserList::refresh(const BrowserSlots& slots, int top, int bottom) {
    browsers_ = browsers_of_rows(platform_, slots);
    cleaned_.assign(browsers_.size(), false);
    list_.begin_update();
    list_.clear();
    for (std::size_t row = 0; row < browsers_.size(); ++row) {
        std::vector<std::string> cells{browsers_[row].name, "", ""};
        if (store_ != Store::cache) cells.pop_back();
        list_.add(cells);
        measure(static_cast<int>(row));
    }
    list_.end_update();
    list_.set_bounds(12, top, 320, bottom - top);
    button_.set_bounds(338, top, 104, 28);
    list_.set_visible(shown());
    button_.set_visible(shown());
    if (shown()) list_.set_selected(0);
    update_button();
}

void BrowserList::measure(int row) {
    const ModernBrowser& browser = browsers_.at(static_cast<std::size_t>(row));
    const int state = store_ == Store::cache ? kState + 1 : kState;
    if (store_ == Store::cache)
        list_.set_text(row, 1,
                       store::SizeToText(static_cast<double>(traces_.cache_bytes(browser)),
                                         platform_.system.decimal_separator()));
    list_.set_text(row, state, traces_.refusal(browser, store_));
}

void BrowserList::clean_row(int row) {
    const ModernBrowser& browser = browsers_.at(static_cast<std::size_t>(row));
    const std::string why = traces_.clean(browser, store_);
    measure(row);
    if (!why.empty()) list_.set_text(row, store_ == Store::cache ? kState + 1 : kState, why);
    else cleaned_.at(static_cast<std::size_t>(row)) = true;
    update_button();
}

void BrowserList::clean_all() {
    for (int row = 0; row < list_.count(); ++row) clean_row(row);
}

bool BrowserList::any_left() const {
    for (int row = 0; row < list_.count(); ++row)
        if (store_ == Store::cache ? list_.text(row, 1) != kEmpty : !cleaned_.at(static_cast<std::size_t>(row)))
            return true;
    return false;
}

void BrowserList::update_button() {
    const int row = list_.selected();
    bool can = row >= 0;
    // A cache that holds nothing, and a history or cookies once cleared,
    // have nothing more to clean, as with the rows above.
    if (can && store_ == Store::cache) can = list_.text(row, 1) != kEmpty;
    if (can && store_ != Store::cache) can = !cleaned_.at(static_cast<std::size_t>(row));
    button_.set_enabled(can);
}

}  // namespace privacy
