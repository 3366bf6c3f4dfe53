#include "ui/control.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/menu.h"

namespace ui {

Control* Container::find(const std::string& name) const {
    for (Control* control : controls_) {
        if (control->name() == name) return control;
        if (const Container* inner = control->container()) {
            if (Control* found = inner->find(name)) return found;
        }
    }
    return nullptr;
}

Control::Control(Container& parent, std::string name, Kind kind)
    : parent_(parent), name_(std::move(name)), kind_(kind) {
    parent_.controls_.push_back(this);
    if (FormPeer* peer = form().peer()) peer->control_added(*this);
}

Control::~Control() {
    if (FormPeer* peer = form().peer()) peer->control_removed(*this);
    auto& siblings = parent_.controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

void Control::set_bounds(const Rect& bounds) {
    if (bounds_ == bounds) return;
    bounds_ = bounds;
    notify(Aspect::bounds);
}

void Control::set_visible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    cascade(Aspect::visible);
}

bool Control::showing() const {
    if (!visible_) return false;
    const Control* above = parent_.as_control();
    return !above || (above->showing() && above->shows_child(*this));
}

void Control::set_enabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    cascade(Aspect::enabled);
}

bool Control::usable() const {
    if (!enabled_) return false;
    const Control* above = parent_.as_control();
    return !above || above->usable();
}

void Control::set_text(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    notify(Aspect::text);
    text_changed();
}

Font Control::font() const {
    if (font_) return *font_;
    if (const Control* above = parent_.as_control()) return above->font();
    return form().font();
}

void Control::set_font(const Font& font) {
    font_ = font;
    cascade(Aspect::font);
}

void Control::set_bold(bool bold) {
    Font changed = font();
    changed.bold = bold;
    set_font(changed);
}

void Control::set_underline(bool underline) {
    Font changed = font();
    changed.underline = underline;
    set_font(changed);
}

void Control::set_font_size(int size) {
    Font changed = font();
    changed.size = size;
    set_font(changed);
}

void Control::set_text_color(Color color) {
    if (text_color_ == color) return;
    text_color_ = color;
    notify(Aspect::colors);
}

void Control::set_background(Color color) {
    if (background_ == color) return;
    background_ = color;
    notify(Aspect::colors);
}

void Control::set_tooltip(std::string tooltip) {
    if (tooltip_ == tooltip) return;
    tooltip_ = std::move(tooltip);
    notify(Aspect::tooltip);
}

void Control::set_focus() {
    if (peer_) peer_->focus();
}

bool Control::context_menu() {
    if (!popup_menu_) return false;
    popup_menu_->popup();
    return true;
}

void Control::cascade(Aspect aspect) const {
    notify(aspect);
    if (const Container* inner = container()) {
        for (const Control* child : inner->controls()) child->cascade(aspect);
    }
}

}  // namespace ui
