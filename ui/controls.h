#pragma once
// Every control kind of the program's windows. Each is plain state plus its
// events (one std::function per event); the public functions named after a
// gesture (click, toggle_check, enter_text...) are what a user's action does,
// and are what the Win32 backend calls when the real window reports it.
// Gestures on a control that is not usable (disabled, or inside a disabled
// GroupBox or Page) do nothing.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/jpeg.h"

namespace ui {

// Static text; link style makes it underlined with a hand cursor.
class Label : public Control {
public:
    Label(Container& parent, std::string name) : Control(parent, std::move(name), Kind::label) {}

    bool link() const { return link_; }
    void set_link(bool link);
    // Long texts wrap at word boundaries inside the bounds; otherwise the
    // label is one line and, with auto size (the default), as wide as its text.
    bool word_wrap() const { return word_wrap_; }
    void set_word_wrap(bool wrap);
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool auto_size);

    std::function<void()> on_click;
    void click();

private:
    bool link_ = false;
    bool word_wrap_ = false;
    bool auto_size_ = true;
};

// A push button. It acts on a click (left button or keyboard); with
// acts_on_release it also acts when any other mouse button pressed on it is
// released over it. A button that is not usable never acts.
class Button : public Control {
public:
    Button(Container& parent, std::string name) : Control(parent, std::move(name), Kind::button) {}

    bool acts_on_release() const { return acts_on_release_; }
    void set_acts_on_release(bool on_release) { acts_on_release_ = on_release; }

    // A glyph, shown in the middle of a button without text; the pixels of the
    // colour of its bottom-left corner are transparent.
    const Pixels& picture() const { return picture_; }
    void set_picture(Pixels picture);

    std::function<void()> on_click;
    void click();
    void release(MouseButton button);

private:
    bool acts_on_release_ = false;
    Pixels picture_;
};

enum class Notify { yes, no };

// A check box. on_click runs when the user toggles it and whenever
// set_checked changes its state (unless told not to).
class CheckBox : public Control {
public:
    CheckBox(Container& parent, std::string name) : Control(parent, std::move(name), Kind::check_box) {}

    bool checked() const { return checked_; }
    void set_checked(bool checked, Notify notify = Notify::yes);

    std::function<void()> on_click;
    void click();

private:
    bool checked_ = false;
};

// A radio button. Radio buttons with one parent and one group number are
// exclusive: checking one unchecks the others. on_click runs when the button
// becomes checked, by the user or by set_checked; clicking a checked button
// does nothing.
class RadioButton : public Control {
public:
    RadioButton(Container& parent, std::string name) : Control(parent, std::move(name), Kind::radio_button) {}

    bool checked() const { return checked_; }
    void set_checked(bool checked, Notify notify = Notify::yes);
    int group() const { return group_; }
    void set_group(int group) { group_ = group; }

    std::function<void()> on_click;
    void click();

private:
    bool checked_ = false;
    int group_ = 0;
};

// A one-line text field. on_change runs after every change of the text, made
// by the user or by set_text.
class Edit : public Control {
public:
    Edit(Container& parent, std::string name) : Edit(parent, std::move(name), Kind::edit) {}

    bool read_only() const { return read_only_; }
    void set_read_only(bool read_only);

    std::function<void()> on_change;
    std::function<void()> on_double_click;
    // The user replaced the text (typing, pasting); ignored when read-only.
    void enter_text(std::string text);
    void double_click();

protected:
    Edit(Container& parent, std::string name, Kind kind) : Control(parent, std::move(name), kind) {}
    void text_changed() override { fire(on_change); }

private:
    bool read_only_ = false;
};

// A multi-line text box with a vertical scroll bar; lines are joined by "\r\n".
class Memo : public Edit {
public:
    Memo(Container& parent, std::string name) : Edit(parent, std::move(name), Kind::memo) {}
    void append_line(const std::string& line);
};

// A text field with an up-down control. The up-down steps the number shown
// by one inside the range; the text itself may be set to anything.
class NumberField : public Edit {
public:
    NumberField(Container& parent, std::string name);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void set_range(int minimum, int maximum);
    // The number the text shows, or the minimum when it shows none.
    int value() const;
    void set_value(int value);

    void up() { step(1); }
    void down() { step(-1); }

private:
    void step(int delta);
    int minimum_ = 0;
    int maximum_ = 100;
};

// One row of a list: its cells (the first is the row's text) and its check.
struct Row {
    std::vector<std::string> cells;
    bool checked = false;
};

// What the three lists share: rows, checks and one selected row (or -1).
// on_select runs when the selected row changes by the user or by
// set_selected; removing rows moves the selection with its row and clears it
// when the selected row itself goes, without an event.
class ListControl : public Control {
public:
    int count() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    int add(std::string text);
    int add(std::vector<std::string> cells);
    void remove(int row);
    // Removes, in one pass, every row whose flag is set (rows beyond the
    // flags stay): a batch that removes thousands of rows one by one would
    // move the rest of the list each time.
    void remove_rows(const std::vector<bool>& doomed);
    void clear();
    // The text of a cell; empty for a cell or row that does not exist.
    const std::string& text(int row, int column = 0) const;
    void set_text(int row, int column, std::string text);
    const Row& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // Index of the first row whose text is exactly this, or -1.
    int find(const std::string& text) const;

    bool checked(int row) const;
    void set_checked(int row, bool checked);
    void set_all_checked(bool checked);
    int checked_count() const;

    int selected() const { return selected_; }
    void set_selected(int row);

    std::function<void()> on_select;
    std::function<void()> on_click;
    std::function<void()> on_double_click;
    // The user toggled a row's check box.
    std::function<void(int row)> on_check;

    // Gestures. A click selects the row under the mouse (-1: empty space,
    // which clears the selection) and then raises on_click; a double click
    // raises on_double_click; toggle_check flips a row's check box.
    void click(int row);
    void double_click(int row);
    void select(int row);
    void toggle_check(int row);

    // Keeps a row visible (scrolls to it).
    void ensure_visible(int row);
    int scroll_request() const { return scroll_request_; }
    // How many times rows were removed (remove, clear): a backend that sees
    // it unchanged knows that rows were only appended.
    unsigned long long removals() const { return removals_; }

    // Bigger changes tell the peer once: begin_update() ... end_update().
    void begin_update() { ++updating_; }
    void end_update();

protected:
    ListControl(Container& parent, std::string name, Kind kind) : Control(parent, std::move(name), kind) {}

private:
    void rows_touched(int first, int last);
    std::vector<Row> rows_;
    int selected_ = -1;
    int scroll_request_ = -1;
    unsigned long long removals_ = 0;
    int updating_ = 0;
    bool pending_rows_ = false;
};

// A list of texts, one selected at a time.
class ListBox : public ListControl {
public:
    ListBox(Container& parent, std::string name) : ListControl(parent, std::move(name), Kind::list_box) {}
};

// A list of texts with a check box each.
class CheckList : public ListControl {
public:
    CheckList(Container& parent, std::string name) : ListControl(parent, std::move(name), Kind::check_list) {}
};

// A report list: columns with captions and widths, whole-row selection, read
// only, no sorting; check boxes when asked.
class ListView : public ListControl {
public:
    struct Column {
        std::string caption;
        int width = 100;
    };
    ListView(Container& parent, std::string name) : ListControl(parent, std::move(name), Kind::list_view) {}

    const std::vector<Column>& columns() const { return columns_; }
    void add_column(std::string caption, int width);
    bool check_boxes() const { return check_boxes_; }
    void set_check_boxes(bool check_boxes);

private:
    std::vector<Column> columns_;
    bool check_boxes_ = false;
};

class ProgressBar : public Control {
public:
    ProgressBar(Container& parent, std::string name) : Control(parent, std::move(name), Kind::progress_bar) {}

    int position() const { return position_; }
    int maximum() const { return maximum_; }
    int step() const { return step_; }
    // The position stays inside 0..maximum.
    void set_position(int position);
    void set_maximum(int maximum);
    void set_step(int step) { step_ = step; }
    void step_it() { step_by(step_); }
    void step_by(int delta) { set_position(position_ + delta); }

private:
    int position_ = 0;
    int maximum_ = 100;
    int step_ = 1;
};

// A framed group with a caption; disabling it disables what it holds.
class GroupBox : public Control, public Container {
public:
    GroupBox(Container& parent, std::string name)
        : Control(parent, std::move(name), Kind::group_box), Container(parent.form(), this) {}
    Container* container() override { return this; }
    using Control::form;
};

// A separator line (along the top of its bounds) or a sunken frame.
class Bevel : public Control {
public:
    enum class Shape { line, frame };
    Bevel(Container& parent, std::string name) : Control(parent, std::move(name), Kind::bevel) {}
    Shape shape() const { return shape_; }
    void set_shape(Shape shape);

private:
    Shape shape_ = Shape::line;
};

// A picture shown at its own size from the top left corner.
class Image : public Control {
public:
    Image(Container& parent, std::string name) : Control(parent, std::move(name), Kind::image) {}
    const Pixels& picture() const { return picture_; }
    void set_picture(Pixels picture);

private:
    Pixels picture_;
};

class Page;

// Pages on top of each other without visible tabs; the program switches them
// by index. Pages are constructed with their PageSet, in index order.
class PageSet : public Control, public Container {
public:
    PageSet(Container& parent, std::string name)
        : Control(parent, std::move(name), Kind::page_set), Container(parent.form(), this) {}
    Container* container() override { return this; }
    bool shows_child(const Control& child) const override;
    using Control::form;

    int page_count() const { return static_cast<int>(controls().size()); }
    Page& page(int index) const;
    // The page shown, or -1 while there is none.
    int active() const { return active_; }
    void set_active(int index);

private:
    friend class Page;
    int active_ = -1;
};

// One page of a PageSet; it fills the set and holds controls.
class Page : public Control, public Container {
public:
    Page(PageSet& pages, std::string name);
    Container* container() override { return this; }
    using Control::form;
    PageSet& page_set() const { return pages_; }
    int index() const;
    bool active() const { return pages_.active() == index(); }

private:
    PageSet& pages_;
};

// The navigation bar: categories, each with a header and items below it that
// show while it is expanded. Expanding and collapsing raise on_expand and
// on_collapse whether the user or the program did it. A press of the mouse
// anywhere on the bar raises on_mouse_down before anything else happens.
// The owner sets the bar's height. Under Win32 every header and item is a
// child window named "<bar>_Category<c>" and "<bar>_Item<c>_<i>", with its
// caption as window text, usable with Tab, Space and Enter.
class CategoryBar : public Control {
public:
    struct Category {
        std::string caption;
        std::vector<std::string> items;
        bool expanded = false;
    };
    CategoryBar(Container& parent, std::string name) : Control(parent, std::move(name), Kind::category_bar) {}

    int add_category(std::string caption, std::vector<std::string> items = {});
    void add_item(int category, std::string caption);
    int category_count() const { return static_cast<int>(categories_.size()); }
    const Category& category(int index) const { return categories_[static_cast<std::size_t>(index)]; }

    bool expanded(int category) const;
    void set_expanded(int category, bool expanded);
    void expand(int category) { set_expanded(category, true); }
    void collapse(int category) { set_expanded(category, false); }
    // The highest index of an expanded category, or -1.
    int last_expanded() const;

    std::function<void(int category)> on_expand;
    std::function<void(int category)> on_collapse;
    std::function<void()> on_mouse_down;
    std::function<void(int category, int item)> on_item_click;

    // Gestures as the backend reports them: the press, then a header toggled
    // or an item chosen.
    void mouse_down();
    void toggle(int category);
    void choose_item(int category, int item);
    // A whole click, as tests use it: mouse_down() then toggle() or choose_item().
    void click_header(int category);
    void click_item(int category, int item);

private:
    std::vector<Category> categories_;
};

}  // namespace ui
