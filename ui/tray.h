#pragma once
// The notification-area icon: the program's icon with a tooltip; a left click
// raises on_click, a right click raises on_right_click and opens the popup
// menu, if one is set.
#include <functional>
#include <string>

namespace ui {

class Form;
class PopupMenu;

class TrayIcon {
public:
    TrayIcon(Form& owner, std::string name);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon();

    Form& owner() const { return owner_; }
    const std::string& name() const { return name_; }

    const std::string& tooltip() const { return tooltip_; }
    void set_tooltip(std::string tooltip);
    bool visible() const { return visible_; }
    void set_visible(bool visible);
    void show() { set_visible(true); }
    void hide() { set_visible(false); }

    PopupMenu* popup_menu() const { return popup_menu_; }
    void set_popup_menu(PopupMenu* menu) { popup_menu_ = menu; }

    std::function<void()> on_click;
    std::function<void()> on_right_click;
    // Gestures (nothing while the icon is hidden).
    void click();
    void right_click();

private:
    Form& owner_;
    std::string name_;
    std::string tooltip_;
    bool visible_ = false;
    PopupMenu* popup_menu_ = nullptr;
};

}  // namespace ui
