#pragma once
#include <exception>
// The base of every control: a name, bounds, visibility, enabled state, font,
// colours, a tooltip and a text, plus the link to the backend's window.
//
// Controls are constructed with their parent (a Form, a GroupBox or a Page) and
// a name; the parent keeps them in construction order, which is also their tab
// order. Windows of the program hold their controls as members:
//
//     ui::Button stop{*this, "SpeedButton1"};
//     ui::ListView results{found_group, "ListView1"};
//
// Every change of state reaches the control's peer (the real window, when a
// backend made one); a user's gesture reaches the control through the same
// public functions a test calls (Button::click(), ListView::toggle_check()...).
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/types.h"

namespace ui {

class Control;
class Form;
class PopupMenu;

// What changed, as the backend's peer is told.
enum class Aspect {
    text, bounds, visible, enabled, font, colors, tooltip, cursor, checked, read_only,
    rows,       // lists: row count or many rows (see ControlPeer::rows_changed)
    columns,    // list view columns
    selection,  // lists: the selected row
    range,      // progress bar maximum, number field range
    position,   // progress bar position
    picture,    // image pixels
    pages,      // page set: the active page
    categories, // category bar: categories, items, expansion
    style,      // anything else that shapes the window (word wrap, shape, check boxes)
    scroll,     // lists: bring the row asked by ensure_visible() into view
};

// The backend's side of one control (a real window under Win32).
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void changed(Aspect aspect) = 0;
    // Lists: rows first..last changed their text or check (count unchanged).
    virtual void rows_changed(int first, int last) {
        (void)first;
        (void)last;
        changed(Aspect::rows);
    }
    // Asks for the keyboard focus.
    virtual void focus() {}
};

enum class Kind {
    label, button, check_box, radio_button, edit, memo, number_field, check_list, list_box,
    list_view, progress_bar, group_box, bevel, image, page_set, page, category_bar
};

// Something that holds controls: a Form, a GroupBox, a PageSet or a Page.
class Container {
public:
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // The children in construction order.
    const std::vector<Control*>& controls() const { return controls_; }
    Form& form() const { return form_; }
    // The control this container is, or nothing for the form itself.
    Control* as_control() const { return self_; }

    // Finds a control by name among all descendants.
    Control* find(const std::string& name) const;

protected:
    Container(Form& form, Control* self) : form_(form), self_(self) {}
    ~Container() = default;

private:
    friend class Control;
    Form& form_;
    Control* self_;
    std::vector<Control*> controls_;
};

class Control {
public:
    Control(Container& parent, std::string name, Kind kind);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Container& parent() const { return parent_; }
    Form& form() const { return parent_.form(); }

    // Bounds inside the parent's client area.
    const Rect& bounds() const { return bounds_; }
    void set_bounds(int left, int top, int width, int height) { set_bounds(Rect{left, top, width, height}); }
    void set_bounds(const Rect& bounds);
    void set_left(int left) { set_bounds(Rect{left, bounds_.top, bounds_.width, bounds_.height}); }
    void set_top(int top) { set_bounds(Rect{bounds_.left, top, bounds_.width, bounds_.height}); }
    void set_width(int width) { set_bounds(Rect{bounds_.left, bounds_.top, width, bounds_.height}); }
    void set_height(int height) { set_bounds(Rect{bounds_.left, bounds_.top, bounds_.width, height}); }

    // Own visibility, and visibility in effect (this control and every
    // container above it visible; the inactive pages of a PageSet are hidden).
    bool visible() const { return visible_; }
    void set_visible(bool visible);
    void show() { set_visible(true); }
    void hide() { set_visible(false); }
    bool showing() const;

    // Own enabled state, and the state in effect: a disabled GroupBox or Page
    // disables everything inside it (their own flags stay as they were).
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);
    bool usable() const;

    // Caption or text, cp1251.
    const std::string& text() const { return text_; }
    void set_text(std::string text);

    // The font in effect: the control's own or its parent's (Tahoma 12 px).
    Font font() const;
    void set_font(const Font& font);
    void set_bold(bool bold);
    void set_underline(bool underline);
    void set_font_size(int size);

    // Text colour (none: the system's) and background colour (none: the
    // parent's shows through, or the system's for edits and lists).
    std::optional<Color> text_color() const { return text_color_; }
    void set_text_color(Color color);
    std::optional<Color> background() const { return background_; }
    void set_background(Color color);

    const std::string& tooltip() const { return tooltip_; }
    void set_tooltip(std::string tooltip);

    // The menu that opens on a right click (or the menu key) over the control.
    PopupMenu* popup_menu() const { return popup_menu_; }
    void set_popup_menu(PopupMenu* menu) { popup_menu_ = menu; }

    void set_focus();
    // The keyboard focus left the control.
    std::function<void()> on_exit;
    void leave_focus() {
        if (on_exit) on_exit();
    }

    // Opens the control's popup menu (a right click); false without one.
    bool context_menu();

    // The backend's side; attached by the backend, never by the program.
    ControlPeer* peer() const { return peer_; }
    void attach(ControlPeer* peer) { peer_ = peer; }
    // The container this control is (GroupBox, PageSet, Page), or nothing.
    virtual Container* container() { return nullptr; }
    const Container* container() const { return const_cast<Control*>(this)->container(); }
    // Whether this container lets a child show (a PageSet shows only its
    // active page).
    virtual bool shows_child(const Control& child) const {
        (void)child;
        return true;
    }
    // Tells this control and everything inside it that an inherited aspect
    // (enabled, visible, font) changed.
    void cascade(Aspect aspect) const;

protected:
    void notify(Aspect aspect) const {
        if (peer_) peer_->changed(aspect);
    }
    // Called after the text changed (edits raise their change event).
    virtual void text_changed() {}

private:
    Container& parent_;
    std::string name_;
    Kind kind_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    std::optional<Font> font_;
    std::optional<Color> text_color_;
    std::optional<Color> background_;
    std::string tooltip_;
    PopupMenu* popup_menu_ = nullptr;
    ControlPeer* peer_ = nullptr;
};

// Calls a handler when one is set.
// Shows the message of an exception that escaped an event handler (caption
// "Ошибка", error icon, owned by the active window); the program goes on.
void report_escaped_exception(const char* what);

template <class F, class... Args>
void fire(const F& handler, Args&&... args) {
    if (!handler) return;
    // An exception that escapes a handler ends that handler only.
    try {
        handler(std::forward<Args>(args)...);
    } catch (const std::exception& error) {
        report_escaped_exception(error.what());
    } catch (...) {
        report_escaped_exception(nullptr);
    }
}

}  // namespace ui
