#include "ui/form.h"

#include <algorithm>

#include "ui/dialogs.h"
#include "ui/toolkit.h"

namespace ui {

Form::Form(Toolkit& toolkit, std::string name) : Container(*this, nullptr), toolkit_(toolkit), name_(std::move(name)) {
    toolkit_.forms_.push_back(this);
}

Form::~Form() {
    auto& forms = toolkit_.forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (toolkit_.active_ == this) toolkit_.active_ = nullptr;
    if (toolkit_.main_ == this) toolkit_.main_ = nullptr;
    peer_.reset();
}

Dialogs& Form::dialogs() const { return toolkit_.dialogs(); }
platform::Pump& Form::pump() const { return toolkit_.pump(); }

void Form::set_caption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    notify(FormAspect::caption);
}

void Form::set_client_size(int width, int height) {
    const Size size{width, height};
    if (client_ == size) return;
    client_ = size;
    notify(FormAspect::bounds);
}

void Form::set_centred() {
    if (!position_) return;
    position_.reset();
    notify(FormAspect::bounds);
}

Point Form::position() const {
    if (position_) return *position_;
    const Size screen = toolkit_.screen_size();
    return Point{(screen.width - client_.width) / 2, (screen.height - client_.height) / 2};
}

void Form::set_position(int left, int top) {
    const Point point{left, top};
    if (position_ == point) return;
    position_ = point;
    notify(FormAspect::bounds);
}

void Form::set_border(Border border) {
    if (border_ == border) return;
    border_ = border;
    notify(FormAspect::border);
}

void Form::set_color(Color color) {
    if (color_ == color) return;
    color_ = color;
    notify(FormAspect::color);
}

void Form::set_stay_on_top(bool on_top) {
    if (stay_on_top_ == on_top) return;
    stay_on_top_ = on_top;
    notify(FormAspect::stay_on_top);
}

void Form::set_alpha(int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    if (alpha_ == alpha) return;
    alpha_ = alpha;
    notify(FormAspect::alpha);
}

void Form::set_alpha_blend(bool blend) {
    if (alpha_blend_ == blend) return;
    alpha_blend_ = blend;
    notify(FormAspect::alpha);
}

void Form::set_font(const Font& font) {
    if (font_ == font) return;
    font_ = font;
    notify(FormAspect::font);
    for (const Control* control : controls()) control->cascade(Aspect::font);
}

bool Form::active() const { return toolkit_.active_ == this; }

void Form::show() {
    if (visible_) {
        activate();
        return;
    }
    visible_ = true;
    fire(on_show);
    if (!visible_) return;  // the handler hid it again
    toolkit_.show_form(*this);
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    modal_ = false;
    if (toolkit_.active_ == this) deactivated();
    fire(on_hide);
    toolkit_.hide_form(*this);
}

void Form::close() {
    if (closing_) return;
    if (on_close_query && !on_close_query()) return;
    closing_ = true;
    fire(on_close);
    closing_ = false;
    hide();
    if (toolkit_.main_ == this) toolkit_.quit();
}

void Form::show_modal() {
    modal_ = true;
    toolkit_.run_modal(*this);
}

void Form::activate() {
    if (visible_) toolkit_.activate_form(*this);
}

void Form::attach(std::unique_ptr<FormPeer> peer) { peer_ = std::move(peer); }

void Form::activated() {
    if (!visible_ || toolkit_.active_ == this) return;
    if (Form* previous = toolkit_.active_) previous->deactivated();
    toolkit_.active_ = this;
    fire(on_activate);
}

void Form::deactivated() {
    if (toolkit_.active_ != this) return;
    toolkit_.active_ = nullptr;
    fire(on_deactivate);
}

void Form::realize() { toolkit_.realize(*this); }

void report_escaped_exception(const char* what) {
    Toolkit* toolkit = Toolkit::current();
    if (!toolkit) return;
    toolkit->dialogs().message(what && *what ? what : "Внутренняя ошибка программы.", "Ошибка", Icon::error);
}

}  // namespace ui
