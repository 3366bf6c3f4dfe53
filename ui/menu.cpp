#include "ui/menu.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/timer.h"
#include "ui/toolkit.h"
#include "ui/tray.h"

namespace ui {

PopupMenu::PopupMenu(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

void PopupMenu::popup(std::optional<Point> at) {
    fire(on_popup);
    owner_.toolkit().track_popup(*this, at);
}

MenuItem::MenuItem(PopupMenu& menu, std::string name, std::string caption)
    : menu_(menu), name_(std::move(name)), caption_(std::move(caption)) {
    menu_.items_.push_back(this);
}

MenuItem::MenuItem(MenuItem& parent, std::string name, std::string caption)
    : menu_(parent.menu_), parent_(&parent), name_(std::move(name)), caption_(std::move(caption)) {
    parent_->items_.push_back(this);
}

MenuItem::~MenuItem() {
    auto& siblings = parent_ ? parent_->items_ : menu_.items_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

bool MenuItem::usable() const { return enabled_ && visible_ && (!parent_ || parent_->usable()); }

void MenuItem::click() {
    if (usable() && !separator() && items_.empty()) fire(on_click);
}

// Timer

Timer::Timer(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

Timer::~Timer() { owner_.toolkit().timer_removed(*this); }

void Timer::set_interval(int milliseconds) {
    if (interval_ == milliseconds) return;
    interval_ = milliseconds;
    owner_.toolkit().timer_changed(*this);
}

void Timer::set_enabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    owner_.toolkit().timer_changed(*this);
}

void Timer::tick() {
    if (enabled_ && interval_ > 0) fire(on_tick);
}

// Tray icon

TrayIcon::TrayIcon(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {
    owner_.toolkit().tray_changed(*this);
}

TrayIcon::~TrayIcon() { owner_.toolkit().tray_removed(*this); }

void TrayIcon::set_tooltip(std::string tooltip) {
    if (tooltip_ == tooltip) return;
    tooltip_ = std::move(tooltip);
    owner_.toolkit().tray_changed(*this);
}

void TrayIcon::set_visible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    owner_.toolkit().tray_changed(*this);
}

void TrayIcon::click() {
    if (visible_) fire(on_click);
}

void TrayIcon::right_click() {
    if (!visible_) return;
    fire(on_right_click);
    if (popup_menu_) popup_menu_->popup();
}

}  // namespace ui
