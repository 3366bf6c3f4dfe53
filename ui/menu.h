#pragma once
// Popup menus: context menus of controls and the tray icon's menu. A menu
// item whose caption is "-" is a separator; items constructed with another
// item are its submenu.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/types.h"

namespace ui {

class Form;
class MenuItem;

class PopupMenu {
public:
    PopupMenu(Form& owner, std::string name);
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    ~PopupMenu() = default;

    Form& owner() const { return owner_; }
    const std::string& name() const { return name_; }
    const std::vector<MenuItem*>& items() const { return items_; }

    // The menu grows upwards from the point where it opens.
    bool opens_upward() const { return opens_upward_; }
    void set_opens_upward(bool upward) { opens_upward_ = upward; }

    // Runs before the menu opens: the place to enable and disable items.
    std::function<void()> on_popup;

    // Opens the menu at a point of the screen, or at the mouse pointer. Under
    // Win32 this returns when the menu closes, after the chosen item's
    // on_click ran; headless it returns at once and the menu stays open (see
    // the headless toolkit) until a test clicks an item.
    void popup(std::optional<Point> at = std::nullopt);

private:
    friend class MenuItem;
    Form& owner_;
    std::string name_;
    std::vector<MenuItem*> items_;
    bool opens_upward_ = false;
};

class MenuItem {
public:
    MenuItem(PopupMenu& menu, std::string name, std::string caption);
    MenuItem(MenuItem& parent, std::string name, std::string caption);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    ~MenuItem();

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption) { caption_ = std::move(caption); }
    bool separator() const { return caption_ == "-"; }
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled) { enabled_ = enabled; }
    bool visible() const { return visible_; }
    void set_visible(bool visible) { visible_ = visible; }
    // The submenu's items.
    const std::vector<MenuItem*>& items() const { return items_; }
    PopupMenu& menu() const { return menu_; }
    MenuItem* parent() const { return parent_; }

    // Visible and enabled, and so is every item above it.
    bool usable() const;

    std::function<void()> on_click;
    // The user chose the item; nothing happens when it is not usable, is a
    // separator or opens a submenu.
    void click();

private:
    PopupMenu& menu_;
    MenuItem* parent_ = nullptr;
    std::string name_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    std::vector<MenuItem*> items_;
};

}  // namespace ui
