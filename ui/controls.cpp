#include "ui/controls.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

// Label

void Label::set_link(bool link) {
    if (link_ == link) return;
    link_ = link;
    set_underline(link);
    notify(Aspect::cursor);
}

void Label::set_word_wrap(bool wrap) {
    if (word_wrap_ == wrap) return;
    word_wrap_ = wrap;
    notify(Aspect::style);
}

void Label::set_auto_size(bool auto_size) {
    if (auto_size_ == auto_size) return;
    auto_size_ = auto_size;
    notify(Aspect::style);
}

void Label::click() {
    if (usable()) fire(on_click);
}

// Buttons

void Button::click() {
    if (usable()) fire(on_click);
}

void Button::set_picture(Pixels picture) {
    picture_ = std::move(picture);
    notify(Aspect::picture);
}

void Button::release(MouseButton button) {
    if (usable() && (button == MouseButton::left || acts_on_release_)) fire(on_click);
}

void CheckBox::set_checked(bool checked, Notify notify_click) {
    if (checked_ == checked) return;
    checked_ = checked;
    notify(Aspect::checked);
    if (notify_click == Notify::yes) fire(on_click);
}

void CheckBox::click() {
    if (usable()) set_checked(!checked_);
}

void RadioButton::set_checked(bool checked, Notify notify_click) {
    if (checked_ == checked) return;
    checked_ = checked;
    notify(Aspect::checked);
    if (!checked) return;
    for (Control* sibling : parent().controls()) {
        if (sibling == this || sibling->kind() != Kind::radio_button) continue;
        auto* other = static_cast<RadioButton*>(sibling);
        if (other->group_ == group_ && other->checked_) {
            other->checked_ = false;
            other->notify(Aspect::checked);
        }
    }
    if (notify_click == Notify::yes) fire(on_click);
}

void RadioButton::click() {
    if (usable()) set_checked(true);
}

// Text fields

void Edit::set_read_only(bool read_only) {
    if (read_only_ == read_only) return;
    read_only_ = read_only;
    notify(Aspect::read_only);
}

void Edit::enter_text(std::string text) {
    if (usable() && !read_only_) set_text(std::move(text));
}

void Edit::double_click() {
    if (usable()) fire(on_double_click);
}

void Memo::append_line(const std::string& line) {
    set_text(text().empty() ? line : text() + "\r\n" + line);
}

NumberField::NumberField(Container& parent, std::string name) : Edit(parent, std::move(name), Kind::number_field) {
    set_text("0");
}

void NumberField::set_range(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    notify(Aspect::range);
}

int NumberField::value() const {
    const char* begin = text().c_str();
    char* end = nullptr;
    const long number = std::strtol(begin, &end, 10);
    if (end == begin) return minimum_;
    return static_cast<int>(std::clamp<long>(number, minimum_, maximum_));
}

void NumberField::set_value(int value) {
    set_text(std::to_string(std::clamp(value, minimum_, maximum_)));
}

void NumberField::step(int delta) {
    if (usable()) set_value(value() + delta);
}

// Lists

int ListControl::add(std::string text) {
    std::vector<std::string> cells;
    cells.push_back(std::move(text));
    return add(std::move(cells));
}

int ListControl::add(std::vector<std::string> cells) {
    rows_.push_back(Row{std::move(cells), false});
    if (updating_) pending_rows_ = true;
    else notify(Aspect::rows);
    return count() - 1;
}

void ListControl::remove(int row) {
    if (row < 0 || row >= count()) return;
    rows_.erase(rows_.begin() + row);
    ++removals_;
    const int before = selected_;
    if (selected_ == row) selected_ = -1;
    else if (selected_ > row) --selected_;
    if (updating_) pending_rows_ = true;
    else notify(Aspect::rows);
    if (selected_ != before) notify(Aspect::selection);
}

void ListControl::remove_rows(const std::vector<bool>& doomed) {
    const auto is_doomed = [&](std::size_t row) { return row < doomed.size() && doomed[row]; };
    std::size_t kept = 0;
    int selected = selected_;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (is_doomed(row)) {
            if (selected_ == static_cast<int>(row)) selected = -1;
            else if (selected_ > static_cast<int>(row)) --selected;
            continue;
        }
        if (kept != row) rows_[kept] = std::move(rows_[row]);
        ++kept;
    }
    if (kept == rows_.size()) return;
    rows_.resize(kept);
    ++removals_;
    const int before = selected_;
    selected_ = selected;
    if (updating_) pending_rows_ = true;
    else notify(Aspect::rows);
    if (selected_ != before) notify(Aspect::selection);
}

void ListControl::clear() {
    if (rows_.empty() && selected_ < 0) return;
    rows_.clear();
    ++removals_;
    const bool had_selection = selected_ >= 0;
    selected_ = -1;
    scroll_request_ = -1;
    if (updating_) pending_rows_ = true;
    else notify(Aspect::rows);
    if (had_selection) notify(Aspect::selection);
}

const std::string& ListControl::text(int row, int column) const {
    static const std::string none;
    if (row < 0 || row >= count() || column < 0) return none;
    const auto& cells = rows_[static_cast<std::size_t>(row)].cells;
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : none;
}

void ListControl::set_text(int row, int column, std::string text) {
    if (row < 0 || row >= count() || column < 0) return;
    auto& cells = rows_[static_cast<std::size_t>(row)].cells;
    if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = std::move(text);
    rows_touched(row, row);
}

int ListControl::find(const std::string& text) const {
    for (int i = 0; i < count(); ++i) {
        if (this->text(i) == text) return i;
    }
    return -1;
}

bool ListControl::checked(int row) const {
    return row >= 0 && row < count() && rows_[static_cast<std::size_t>(row)].checked;
}

void ListControl::set_checked(int row, bool checked) {
    if (row < 0 || row >= count()) return;
    bool& mark = rows_[static_cast<std::size_t>(row)].checked;
    if (mark == checked) return;
    mark = checked;
    rows_touched(row, row);
}

void ListControl::set_all_checked(bool checked) {
    int first = -1, last = -1;
    for (int i = 0; i < count(); ++i) {
        bool& mark = rows_[static_cast<std::size_t>(i)].checked;
        if (mark == checked) continue;
        mark = checked;
        if (first < 0) first = i;
        last = i;
    }
    if (first >= 0) rows_touched(first, last);
}

int ListControl::checked_count() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.checked; }));
}

void ListControl::set_selected(int row) {
    if (row < -1 || row >= count()) row = -1;
    if (selected_ == row) return;
    selected_ = row;
    notify(Aspect::selection);
    fire(on_select);
}

void ListControl::click(int row) {
    if (!usable()) return;
    set_selected(row);
    fire(on_click);
}

void ListControl::double_click(int row) {
    if (!usable()) return;
    if (row >= 0) set_selected(row);
    fire(on_double_click);
}

void ListControl::select(int row) {
    if (usable()) set_selected(row);
}

void ListControl::toggle_check(int row) {
    if (!usable() || row < 0 || row >= count()) return;
    set_checked(row, !checked(row));
    fire(on_check, row);
}

void ListControl::ensure_visible(int row) {
    if (row < 0 || row >= count()) return;
    scroll_request_ = row;
    notify(Aspect::scroll);
}

void ListControl::end_update() {
    if (updating_ > 0 && --updating_ == 0 && pending_rows_) {
        pending_rows_ = false;
        notify(Aspect::rows);
    }
}

void ListControl::rows_touched(int first, int last) {
    if (updating_) {
        pending_rows_ = true;
        return;
    }
    if (ControlPeer* p = peer()) p->rows_changed(first, last);
}

void ListView::add_column(std::string caption, int width) {
    columns_.push_back(Column{std::move(caption), width});
    notify(Aspect::columns);
}

void ListView::set_check_boxes(bool check_boxes) {
    if (check_boxes_ == check_boxes) return;
    check_boxes_ = check_boxes;
    notify(Aspect::style);
}

// Progress bar, bevel, image

void ProgressBar::set_position(int position) {
    position = std::clamp(position, 0, maximum_);
    if (position_ == position) return;
    position_ = position;
    notify(Aspect::position);
}

void ProgressBar::set_maximum(int maximum) {
    maximum = std::max(maximum, 0);
    if (maximum_ == maximum) return;
    maximum_ = maximum;
    notify(Aspect::range);
    if (position_ > maximum_) {
        position_ = maximum_;
        notify(Aspect::position);
    }
}

void Bevel::set_shape(Shape shape) {
    if (shape_ == shape) return;
    shape_ = shape;
    notify(Aspect::style);
}

void Image::set_picture(Pixels picture) {
    picture_ = std::move(picture);
    notify(Aspect::picture);
}

// Pages

Page& PageSet::page(int index) const {
    return static_cast<Page&>(*controls()[static_cast<std::size_t>(index)]);
}

bool PageSet::shows_child(const Control& child) const {
    return active_ >= 0 && active_ < page_count() && &page(active_) == &child;
}

void PageSet::set_active(int index) {
    if (index < -1 || index >= page_count() || index == active_) return;
    active_ = index;
    notify(Aspect::pages);
    for (const Control* page : controls()) page->cascade(Aspect::visible);
}

Page::Page(PageSet& pages, std::string name)
    : Control(pages, std::move(name), Kind::page), Container(pages.Control::form(), this), pages_(pages) {
    if (pages_.active_ < 0) pages_.active_ = 0;
}

int Page::index() const {
    const auto& pages = pages_.controls();
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

// Category bar

int CategoryBar::add_category(std::string caption, std::vector<std::string> items) {
    categories_.push_back(Category{std::move(caption), std::move(items), false});
    notify(Aspect::categories);
    return category_count() - 1;
}

void CategoryBar::add_item(int category, std::string caption) {
    if (category < 0 || category >= category_count()) return;
    categories_[static_cast<std::size_t>(category)].items.push_back(std::move(caption));
    notify(Aspect::categories);
}

bool CategoryBar::expanded(int category) const {
    return category >= 0 && category < category_count() && categories_[static_cast<std::size_t>(category)].expanded;
}

void CategoryBar::set_expanded(int category, bool expanded) {
    if (category < 0 || category >= category_count()) return;
    bool& state = categories_[static_cast<std::size_t>(category)].expanded;
    if (state == expanded) return;
    state = expanded;
    notify(Aspect::categories);
    fire(expanded ? on_expand : on_collapse, category);
}

int CategoryBar::last_expanded() const {
    for (int i = category_count() - 1; i >= 0; --i) {
        if (categories_[static_cast<std::size_t>(i)].expanded) return i;
    }
    return -1;
}

void CategoryBar::mouse_down() {
    if (usable()) fire(on_mouse_down);
}

void CategoryBar::toggle(int category) {
    if (usable()) set_expanded(category, !expanded(category));
}

void CategoryBar::choose_item(int category, int item) {
    if (!usable() || !expanded(category)) return;
    if (item < 0 || item >= static_cast<int>(this->category(category).items.size())) return;
    fire(on_item_click, category, item);
}

void CategoryBar::click_header(int category) {
    mouse_down();
    toggle(category);
}

void CategoryBar::click_item(int category, int item) {
    mouse_down();
    choose_item(category, item);
}

}  // namespace ui
