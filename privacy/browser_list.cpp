#include "privacy/browser_list.h"

#include <string>

#include "store/size_text.h"
#include "ui/guard.h"

namespace privacy {

namespace {

const char kEmpty[] = "0 KB";
const int kWidth = 300;      // beside the page's buttons
const int kNoteHeight = 44;  // three lines

}  // namespace

BrowserList::BrowserList(ui::Page& page, platform::Platform& platform, platform::Pump& pump, Store store,
                         const char* prefix)
    : platform_(platform),
      traces_(platform, pump),
      store_(store),
      list_(page, std::string(prefix) + "Browsers"),
      button_(page, std::string(prefix) + "BrowserClean"),
      note_(page, std::string(prefix) + "BrowserNote") {
    list_.add_column("Браузер", 110);
    if (store == Store::cache) list_.add_column("Размер", 60);
    list_.add_column("Состояние", store == Store::cache ? kWidth - 174 : kWidth - 114);
    list_.hide();
    list_.on_select = [this] {
        update_button();
        layout();
    };
    note_.set_auto_size(false);
    note_.set_word_wrap(true);
    note_.hide();
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
    top_ = top;
    bottom_ = bottom;
    button_.set_bounds(338, top, 104, 28);
    list_.set_visible(shown());
    button_.set_visible(shown());
    if (shown()) list_.set_selected(0);
    update_button();
    layout();
}

int BrowserList::state_column() const { return store_ == Store::cache ? 2 : 1; }

void BrowserList::layout() {
    const int row = list_.selected();
    const std::string& state = list_.text(row, state_column());
    note_.set_text(state);
    note_.set_visible(shown() && !state.empty());
    const int list_bottom = note_.visible() ? bottom_ - kNoteHeight - 4 : bottom_;
    list_.set_bounds(12, top_, kWidth, list_bottom - top_);
    note_.set_bounds(12, bottom_ - kNoteHeight, kWidth, kNoteHeight);
}

void BrowserList::measure(int row) {
    const ModernBrowser& browser = browsers_.at(static_cast<std::size_t>(row));
    if (store_ == Store::cache)
        list_.set_text(row, 1,
                       store::SizeToText(static_cast<double>(traces_.cache_bytes(browser)),
                                         platform_.system.decimal_separator()));
    list_.set_text(row, state_column(), traces_.refusal(browser, store_));
}

void BrowserList::clean_row(int row) {
    const ModernBrowser& browser = browsers_.at(static_cast<std::size_t>(row));
    const std::string why = traces_.clean(browser, store_);
    measure(row);
    if (!why.empty()) list_.set_text(row, state_column(), why);
    else cleaned_.at(static_cast<std::size_t>(row)) = true;
    update_button();
    layout();
}

void BrowserList::clean_all() {
    for (int row = 0; row < list_.count(); ++row) clean_row(row);
}

// A cache that holds nothing, and a history or cookies once cleared, have
// nothing more to clean, as with the rows above.
bool BrowserList::left(int row) const {
    return store_ == Store::cache ? list_.text(row, 1) != kEmpty : !cleaned_.at(static_cast<std::size_t>(row));
}

bool BrowserList::any_left() const {
    for (int row = 0; row < list_.count(); ++row)
        if (left(row)) return true;
    return false;
}

void BrowserList::update_button() {
    const int row = list_.selected();
    button_.set_enabled(row >= 0 && left(row));
}

}  // namespace privacy
