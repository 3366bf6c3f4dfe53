// The windows of forms and controls: real windows and common controls kept in
// step with the widget model.
#include "win32/ui_windows.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "platform/cp1251.h"

namespace platform::win32::uiw {

// Text

std::wstring widen_lines(const std::string& text) {
    if (text.find('\r') == std::string::npos) return widen(text);
    std::string fixed;
    fixed.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        fixed += text[i];
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) fixed += '\n';
    }
    return widen(fixed);
}

std::wstring window_text(HWND window) {
    const int n = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

void set_component_name(HWND window, const std::string& name) {
    if (name.empty()) return;
    const ATOM atom = GlobalAddAtomW(widen(name).c_str());
    if (atom) SetPropW(window, L"ComponentName", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void release_component_name(HWND window) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(window, L"ComponentName")));
    if (atom) GlobalDeleteAtom(atom);
}

namespace {

LRESULT CALLBACK subclass_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(window, subclass_proc, id);
        release_component_name(window);
        return DefSubclassProc(window, msg, wp, lp);
    }
    // No exception may cross the system's code back to the message loop.
    try {
        LRESULT result = 0;
        if (reinterpret_cast<ControlWindow*>(data)->subclass_message(window, msg, wp, lp, result)) return result;
    } catch (const std::exception& error) {
        ui::report_escaped_exception(error.what());
        return 0;
    } catch (...) {
        ui::report_escaped_exception(nullptr);
        return 0;
    }
    return DefSubclassProc(window, msg, wp, lp);
}

void set_window_text(HWND window, const std::wstring& text) {
    if (window_text(window) != text) SetWindowTextW(window, text.c_str());
}

void move(HWND window, int left, int top, int width, int height) {
    SetWindowPos(window, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void move(HWND window, const RECT& box) { move(window, box.left, box.top, box.right - box.left, box.bottom - box.top); }

}  // namespace

// The window procedure of forms and panels

namespace {
LRESULT host_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
}  // namespace

LRESULT CALLBACK host_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // No exception may cross the system's code back to the message loop.
    try {
        return host_message(hwnd, msg, wp, lp);
    } catch (const std::exception& error) {
        ui::report_escaped_exception(error.what());
    } catch (...) {
        ui::report_escaped_exception(nullptr);
    }
    return 0;
}

namespace {

LRESULT host_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    Toolkit* toolkit = Toolkit::current();
    if (self && toolkit) {
        switch (msg) {
        case WM_COMMAND:
            if (lp) {
                if (Window* from = toolkit->window_of(reinterpret_cast<HWND>(lp))) {
                    from->command(reinterpret_cast<HWND>(lp), HIWORD(wp));
                    return 0;
                }
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (Window* from = toolkit->window_of(header->hwndFrom)) {
                LRESULT result = 0;
                if (from->notify(header, result)) return result;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (Window* from = toolkit->window_of(reinterpret_cast<HWND>(lp))) {
                if (HBRUSH brush = from->control_color(reinterpret_cast<HDC>(wp), msg))
                    return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            if (Window* from = toolkit->window_of(item->hwndItem)) {
                if (from->draw_item(item)) return TRUE;
            }
            break;
        }
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wp), &client, self->background());
            return 1;
        }
        case WM_CONTEXTMENU: {
            Window* from = toolkit->window_of(reinterpret_cast<HWND>(wp));
            if (!from && reinterpret_cast<HWND>(wp) == hwnd) from = self;
            ui::Control* control = from ? from->model_control() : nullptr;
            while (control && !control->popup_menu()) control = control->parent().as_control();
            if (!control) break;
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (lp == -1) {
                RECT box;
                GetWindowRect(reinterpret_cast<HWND>(wp), &box);
                at = POINT{box.left + 8, box.top + 8};
            }
            control->popup_menu()->popup(ui::Point{at.x, at.y});
            return 0;
        }
        case WM_NCDESTROY:
            release_component_name(hwnd);
            break;
        default:
            break;
        }
        LRESULT result = 0;
        if (self->message(msg, wp, lp, result)) return result;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

// ControlWindow: what every control's window does

ControlWindow::ControlWindow(Toolkit& toolkit, FormWindow& form, ui::Control& control)
    : toolkit_(toolkit), form_(form), control_(control) {}

ControlWindow::~ControlWindow() {
    toolkit_.cancel(this);
    if (control_.peer() == this) control_.attach(nullptr);
    std::vector<HWND> all = extra_;
    if (hwnd_) all.push_back(hwnd_);
    for (HWND window : all) {
        RemoveWindowSubclass(window, subclass_proc, 1);
        release_component_name(window);
        toolkit_.unregister_window(window);
    }
    if (hwnd_) {
        form_.set_tooltip(hwnd_, std::string());
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
    for (HWND window : extra_) {
        if (IsWindow(window) && GetParent(window) != hwnd_) DestroyWindow(window);
    }
    if (hwnd_) DestroyWindow(hwnd_);
}

void ControlWindow::subclass(HWND window) { SetWindowSubclass(window, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this)); }

void ControlWindow::adopt(HWND window, const std::string& name) {
    extra_.push_back(window);
    toolkit_.register_window(window, this);
    subclass(window);
    set_component_name(window, name);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit_.font(control_.font())), FALSE);
}

void ControlWindow::create(HWND parent) {
    hwnd_ = make(parent);
    if (!hwnd_) return;
    toolkit_.register_window(hwnd_, this);
    // Overlapping siblings do not paint over each other.
    SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_CLIPSIBLINGS);
    // Later controls go below earlier ones: the tab order is the construction order.
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    subclass(hwnd_);
    set_component_name(hwnd_, control_.name());
    control_.attach(this);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit_.font(control_.font())), FALSE);
    for (ui::Aspect aspect : {ui::Aspect::style, ui::Aspect::columns, ui::Aspect::text, ui::Aspect::font,
                              ui::Aspect::colors, ui::Aspect::cursor, ui::Aspect::checked, ui::Aspect::read_only,
                              ui::Aspect::range, ui::Aspect::position, ui::Aspect::rows, ui::Aspect::selection,
                              ui::Aspect::picture, ui::Aspect::pages, ui::Aspect::categories}) {
        apply(aspect);
    }
    if (!control_.tooltip().empty()) form_.set_tooltip(hwnd_, control_.tooltip());
    place();
    changed(ui::Aspect::enabled);
    changed(ui::Aspect::visible);
}

void ControlWindow::changed(ui::Aspect aspect) {
    if (!hwnd_) return;
    switch (aspect) {
    case ui::Aspect::bounds:
        place();
        break;
    case ui::Aspect::visible:
        ShowWindow(hwnd_, window_visible() ? SW_SHOWNA : SW_HIDE);
        apply(aspect);
        break;
    case ui::Aspect::enabled:
        EnableWindow(hwnd_, control_.usable());
        apply(aspect);
        break;
    case ui::Aspect::font:
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit_.font(control_.font())), TRUE);
        apply(aspect);
        break;
    case ui::Aspect::colors:
        apply(aspect);
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case ui::Aspect::tooltip:
        form_.set_tooltip(hwnd_, control_.tooltip());
        break;
    default:
        apply(aspect);
        break;
    }
}

void ControlWindow::focus() {
    if (hwnd_) SetFocus(hwnd_);
}

void ControlWindow::place() { move(hwnd_, toolkit_.scaled(control_.bounds())); }

HBRUSH ControlWindow::background() {
    if (control_.background()) return toolkit_.brush(colorref(*control_.background()));
    if (ui::Control* above = control_.parent().as_control()) {
        if (ControlWindow* window = form_.window_of(*above)) return window->background();
    }
    return form_.background();
}

HBRUSH ControlWindow::transparent_color(HDC dc) {
    SetTextColor(dc, control_.text_color() ? colorref(*control_.text_color()) : GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    return background();
}

bool ControlWindow::subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_KILLFOCUS && window == hwnd_) {
        result = DefSubclassProc(window, msg, wp, lp);
        control_.leave_focus();
        return true;
    }
    return false;
}

namespace {

// Label: a static text; a link is underlined with a hand cursor.
class LabelWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    ui::Label& label() const { return static_cast<ui::Label&>(control_); }

    HWND make(HWND parent) override {
        return CreateWindowExW(0, L"STATIC", wide_text().c_str(), WS_CHILD | style_bits(), 0, 0, 0, 0, parent,
                               nullptr, toolkit_.instance(), nullptr);
    }
    DWORD style_bits() const {
        return SS_NOTIFY | SS_NOPREFIX | (label().word_wrap() ? SS_LEFT : SS_LEFTNOWORDWRAP);
    }
    void apply(ui::Aspect aspect) override {
        switch (aspect) {
        case ui::Aspect::text:
            set_window_text(hwnd_, wide_text());
            place();
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        case ui::Aspect::font:
            place();
            break;
        case ui::Aspect::style: {
            const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
            SetWindowLongPtrW(hwnd_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | style_bits());
            place();
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        }
        default:
            break;
        }
    }
    void place() override {
        const RECT b = toolkit_.scaled(control_.bounds());
        if (!label().auto_size() || label().word_wrap()) {
            move(hwnd_, b);
            return;
        }
        const WindowDc dc(hwnd_);
        HGDIOBJ old = SelectObject(dc.get(), toolkit_.font(control_.font()));
        RECT extent{0, 0, 0, 0};
        const std::wstring text = wide_text();
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent,
                  DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc.get(), old);
        move(hwnd_, b.left, b.top, extent.right, text.empty() ? b.bottom - b.top : extent.bottom);
    }
    void command(HWND, WORD code) override {
        if (code == STN_CLICKED || code == STN_DBLCLK) label().click();
    }
    HBRUSH control_color(HDC dc, UINT) override { return transparent_color(dc); }
    bool subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg == WM_SETCURSOR && label().link()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        return ControlWindow::subclass_message(window, msg, wp, lp, result);
    }
};

// An icon of `picture` drawn `width` by `height` pixels (each taking the
// nearest pixel of the picture), the colour of its bottom-left pixel clear.
HICON glyph_icon(const ui::Pixels& picture, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return nullptr;
    const std::uint32_t clear = picture.at(0, picture.height - 1);
    const int mask_stride = (width + 15) / 16 * 2;  // monochrome rows are whole words
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(mask_stride) * height, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = picture.at(x * picture.width / width, y * picture.height / height);
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            if (rgb == clear) {
                pixels[at] = 0;
                mask[static_cast<std::size_t>(y) * mask_stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            } else {
                pixels[at] = 0xFF000000u | rgb;
            }
        }
    }
    GdiObject<HBITMAP> mask_bitmap(CreateBitmap(width, height, 1, 1, mask.data()));
    ICONINFO icon{TRUE, 0, 0, mask_bitmap.get(), colour.get()};
    return CreateIconIndirect(&icon);
}

// Button, CheckBox, RadioButton: the model decides the checks.
class ButtonWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    HWND make(HWND parent) override {
        DWORD style = WS_CHILD | WS_TABSTOP;
        switch (control_.kind()) {
        case ui::Kind::check_box: style |= BS_CHECKBOX; break;
        case ui::Kind::radio_button: style |= BS_RADIOBUTTON; break;
        default: style |= BS_PUSHBUTTON; break;
        }
        return CreateWindowExW(0, L"BUTTON", wide_text().c_str(), style, 0, 0, 0, 0, parent, nullptr,
                               toolkit_.instance(), nullptr);
    }
    bool checked() const {
        if (control_.kind() == ui::Kind::check_box) return static_cast<ui::CheckBox&>(control_).checked();
        if (control_.kind() == ui::Kind::radio_button) return static_cast<ui::RadioButton&>(control_).checked();
        return false;
    }
    void apply(ui::Aspect aspect) override {
        if (aspect == ui::Aspect::text) set_window_text(hwnd_, wide_text());
        if (aspect == ui::Aspect::picture && control_.kind() == ui::Kind::button) show_picture();
        if (aspect == ui::Aspect::checked && control_.kind() != ui::Kind::button)
            SendMessageW(hwnd_, BM_SETCHECK, checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void command(HWND, WORD code) override {
        if (code != BN_CLICKED) return;
        switch (control_.kind()) {
        case ui::Kind::check_box: static_cast<ui::CheckBox&>(control_).click(); break;
        case ui::Kind::radio_button: static_cast<ui::RadioButton&>(control_).click(); break;
        default: static_cast<ui::Button&>(control_).click(); break;
        }
    }
    HBRUSH control_color(HDC dc, UINT) override { return transparent_color(dc); }
    bool subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        const bool release_mode =
            control_.kind() == ui::Kind::button && static_cast<ui::Button&>(control_).acts_on_release();
        if (release_mode) {
            switch (msg) {
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                pressed_ = msg == WM_RBUTTONDOWN ? ui::MouseButton::right : ui::MouseButton::middle;
                SetCapture(window);
                return true;
            case WM_RBUTTONUP:
            case WM_MBUTTONUP: {
                if (!pressed_) return true;
                const ui::MouseButton button = *pressed_;
                pressed_.reset();
                ReleaseCapture();
                RECT client;
                GetClientRect(window, &client);
                if (PtInRect(&client, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}))
                    static_cast<ui::Button&>(control_).release(button);
                return true;
            }
            case WM_CAPTURECHANGED:
                pressed_.reset();
                break;
            default:
                break;
            }
        }
        return ControlWindow::subclass_message(window, msg, wp, lp, result);
    }

private:
    // A button with a glyph shows it instead of its text.
    void show_picture() {
        const ui::Pixels& picture = static_cast<ui::Button&>(control_).picture();
        glyph_.reset(picture.width > 0 && picture.height > 0
                         ? glyph_icon(picture, toolkit_.scaled(picture.width), toolkit_.scaled(picture.height))
                         : nullptr);
        const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
        SetWindowLongPtrW(hwnd_, GWL_STYLE, glyph_ ? style | BS_ICON : style & ~static_cast<LONG_PTR>(BS_ICON));
        SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph_.get()));
    }

    std::optional<ui::MouseButton> pressed_;
    IconHandle glyph_;
};

// Edit, Memo, NumberField (an edit with an up-down beside it).
class EditWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    ui::Edit& edit() const { return static_cast<ui::Edit&>(control_); }
    bool number() const { return control_.kind() == ui::Kind::number_field; }

    HWND make(HWND parent) override {
        DWORD style = WS_CHILD | WS_TABSTOP | (edit().read_only() ? ES_READONLY : 0);
        if (control_.kind() == ui::Kind::memo) style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
        else style |= ES_AUTOHSCROLL;
        HWND window = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", widen(control_.text()).c_str(), style, 0, 0, 0, 0,
                                      parent, nullptr, toolkit_.instance(), nullptr);
        if (number()) {
            HWND updown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0,
                                          0, 0, parent, nullptr, toolkit_.instance(), nullptr);
            adopt(updown, control_.name() + "_UpDown");
        }
        return window;
    }
    HWND updown() const { return extra_.empty() ? nullptr : extra_.front(); }

    void apply(ui::Aspect aspect) override {
        switch (aspect) {
        case ui::Aspect::text: {
            const std::wstring text = widen(control_.text());
            if (window_text(hwnd_) != text) {
                applying_ = true;
                SetWindowTextW(hwnd_, text.c_str());
                applying_ = false;
            }
            if (number()) SendMessageW(updown(), UDM_SETPOS32, 0, static_cast<ui::NumberField&>(control_).value());
            break;
        }
        case ui::Aspect::read_only:
            SendMessageW(hwnd_, EM_SETREADONLY, edit().read_only(), 0);
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        case ui::Aspect::range:
            if (number()) {
                auto& field = static_cast<ui::NumberField&>(control_);
                SendMessageW(updown(), UDM_SETRANGE32, field.minimum(), field.maximum());
                SendMessageW(updown(), UDM_SETPOS32, 0, field.value());
            }
            break;
        case ui::Aspect::visible:
            if (number()) ShowWindow(updown(), control_.visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case ui::Aspect::enabled:
            if (number()) EnableWindow(updown(), control_.usable());
            break;
        default:
            break;
        }
    }
    void place() override {
        const RECT b = toolkit_.scaled(control_.bounds());
        if (!number()) {
            move(hwnd_, b);
            return;
        }
        const int width = b.right - b.left, height = b.bottom - b.top;
        const int arrows = std::min(toolkit_.scaled(17), width);
        move(hwnd_, b.left, b.top, width - arrows, height);
        move(updown(), b.right - arrows, b.top, arrows, height);
    }
    void command(HWND from, WORD code) override {
        if (from == hwnd_ && code == EN_CHANGE && !applying_) {
            const std::wstring text = window_text(hwnd_);
            edit().enter_text(narrow_lossy(text));
        }
    }
    bool notify(NMHDR* header, LRESULT& result) override {
        if (header->code != UDN_DELTAPOS) return false;
        auto* change = reinterpret_cast<NMUPDOWN*>(header);
        auto& field = static_cast<ui::NumberField&>(control_);
        if (change->iDelta > 0) field.up();
        else if (change->iDelta < 0) field.down();
        result = 1;  // the model moved; the up-down keeps no position of its own
        return true;
    }
    HBRUSH control_color(HDC dc, UINT) override {
        const COLORREF back = control_.background() ? colorref(*control_.background()) : GetSysColor(COLOR_WINDOW);
        SetTextColor(dc, control_.text_color() ? colorref(*control_.text_color()) : GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, back);
        return toolkit_.brush(back);
    }
    bool subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (window == hwnd_ && msg == WM_LBUTTONDBLCLK) {
            result = DefSubclassProc(window, msg, wp, lp);
            edit().double_click();
            return true;
        }
        if (window == hwnd_ && number() && msg == WM_KEYDOWN && (wp == VK_UP || wp == VK_DOWN)) {
            auto& field = static_cast<ui::NumberField&>(control_);
            if (wp == VK_UP) field.up();
            else field.down();
            return true;
        }
        return ControlWindow::subclass_message(window, msg, wp, lp, result);
    }

private:
    bool applying_ = false;
};

// ListView, ListBox, CheckList: a list view in owner-data mode that shows the
// model's rows; row counts and redraws wait for the next message.
class ListWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

    void rows_changed(int first, int last) override {
        if (first_ < 0 || first < first_) first_ = first;
        if (last > last_) last_ = last;
        toolkit_.schedule(this);
    }

    // A list that only grows (a search adding rows) shows its new row count
    // at most every kSettle ms: each new count costs the list view a
    // repaint of its scroll bar and rows.
    static constexpr ULONGLONG kSettle = 200;

    void apply_pending(bool forced) override {
        if (!hwnd_) return;
        if (count_dirty_) {
            const int count = list().count();
            const bool grew = list().removals() == shown_removals_ && count >= shown_count_;
            const ULONGLONG now = GetTickCount64();
            if (!forced && grew && shown_count_ > 0 && now - shown_at_ < kSettle) {
                toolkit_.schedule_later(this, static_cast<unsigned>(kSettle - (now - shown_at_)));
            } else {
                count_dirty_ = false;
                first_ = last_ = -1;
                syncing_ = true;
                SendMessageW(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
                syncing_ = false;
                InvalidateRect(hwnd_, nullptr, FALSE);
                push_selection();
                if (single_column()) ListView_SetColumnWidth(hwnd_, 0, LVSCW_AUTOSIZE_USEHEADER);
                shown_count_ = count;
                shown_removals_ = list().removals();
                shown_at_ = now;
            }
        }
        if (first_ >= 0) {
            const int top = ListView_GetTopIndex(hwnd_);
            const int shown = ListView_GetCountPerPage(hwnd_) + 1;
            const int low = std::max(first_, top), high = std::min(last_, top + shown);
            if (low <= high) ListView_RedrawItems(hwnd_, low, high);
            first_ = last_ = -1;
        }
    }

protected:
    ui::ListControl& list() const { return static_cast<ui::ListControl&>(control_); }
    bool single_column() const { return control_.kind() != ui::Kind::list_view; }
    bool checks() const {
        if (control_.kind() == ui::Kind::check_list) return true;
        if (control_.kind() == ui::Kind::list_view) return static_cast<ui::ListView&>(control_).check_boxes();
        return false;
    }

    HWND make(HWND parent) override {
        DWORD style = WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                      LVS_NOSORTHEADER;
        if (single_column()) style |= LVS_NOCOLUMNHEADER;
        HWND window = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 0, 0, parent, nullptr,
                                      toolkit_.instance(), nullptr);
        if (single_column()) {
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = 100;
            SendMessageW(window, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        }
        return window;
    }

    void apply(ui::Aspect aspect) override {
        switch (aspect) {
        case ui::Aspect::style: {
            DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | (checks() ? LVS_EX_CHECKBOXES : 0);
            ListView_SetExtendedListViewStyle(hwnd_, ex);
            SendMessageW(hwnd_, LVM_SETCALLBACKMASK, checks() ? LVIS_STATEIMAGEMASK : 0, 0);
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        }
        case ui::Aspect::columns: {
            if (single_column()) break;
            while (SendMessageW(hwnd_, LVM_DELETECOLUMN, 0, 0)) {
            }
            const auto& columns = static_cast<ui::ListView&>(control_).columns();
            for (std::size_t i = 0; i < columns.size(); ++i) {
                std::wstring caption = widen(columns[i].caption);
                LVCOLUMNW column{};
                column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
                column.fmt = LVCFMT_LEFT;
                column.cx = toolkit_.scaled(columns[i].width);
                column.pszText = caption.data();
                SendMessageW(hwnd_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
            }
            break;
        }
        case ui::Aspect::rows:
            count_dirty_ = true;
            toolkit_.schedule(this);
            break;
        case ui::Aspect::selection:
            apply_pending(true);
            push_selection();
            break;
        case ui::Aspect::scroll:
            apply_pending(true);
            if (list().scroll_request() >= 0) ListView_EnsureVisible(hwnd_, list().scroll_request(), FALSE);
            break;
        case ui::Aspect::colors: {
            const COLORREF back =
                control_.background() ? colorref(*control_.background()) : GetSysColor(COLOR_WINDOW);
            ListView_SetBkColor(hwnd_, back);
            ListView_SetTextBkColor(hwnd_, back);
            ListView_SetTextColor(hwnd_, control_.text_color() ? colorref(*control_.text_color())
                                                               : GetSysColor(COLOR_WINDOWTEXT));
            break;
        }
        default:
            break;
        }
    }

    void place() override {
        ControlWindow::place();
        if (single_column()) ListView_SetColumnWidth(hwnd_, 0, LVSCW_AUTOSIZE_USEHEADER);
    }

    void push_selection() {
        const int want = list().selected();
        const int have = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
        if (want == have) return;
        syncing_ = true;
        ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
        if (want >= 0) ListView_SetItemState(hwnd_, want, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        syncing_ = false;
    }

    void selection_from_window() {
        if (syncing_) return;
        list().select(ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED));
        if (list().selected() != ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED)) push_selection();
    }

    bool notify(NMHDR* header, LRESULT& result) override {
        switch (header->code) {
        case LVN_GETDISPINFOW: {
            auto& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                // Straight into the list's buffer: no string is made per row.
                const std::string& text = list().text(item.iItem, item.iSubItem);
                const std::size_t n = std::min<std::size_t>(text.size(), item.cchTextMax - 1);
                for (std::size_t i = 0; i < n; ++i)
                    item.pszText[i] = static_cast<wchar_t>(cp1251_to_unicode(static_cast<unsigned char>(text[i])));
                item.pszText[n] = L'\0';
            }
            if ((item.mask & LVIF_STATE) && checks()) {
                item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(list().checked(item.iItem) ? 2 : 1);
                item.stateMask |= LVIS_STATEIMAGEMASK;
            }
            result = 0;
            return true;
        }
        case LVN_ODFINDITEMW:
            result = -1;
            return true;
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<NMLISTVIEW*>(header);
            if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
                selection_from_window();
            return false;
        }
        case LVN_ODSTATECHANGED:
            selection_from_window();
            return false;
        case NM_CLICK: {
            auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
            LVHITTESTINFO hit{};
            hit.pt = click->ptAction;
            const int row = static_cast<int>(SendMessageW(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            list().click(row >= 0 && row < list().count() ? row : -1);
            return false;
        }
        case NM_DBLCLK: {
            auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
            list().double_click(click->iItem < list().count() ? click->iItem : -1);
            return false;
        }
        default:
            return false;
        }
    }

    // Check boxes: the model holds the checks, so a click on a row's check
    // box and the space bar toggle the model's check, and the list view
    // itself never sees them.
    bool subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (window == hwnd_ && checks()) {
            if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
                LVHITTESTINFO hit{};
                hit.pt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                const int row = static_cast<int>(SendMessageW(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
                if (row >= 0 && row < list().count() && (hit.flags & LVHT_ONITEMSTATEICON)) {
                    SetFocus(hwnd_);
                    list().toggle_check(row);
                    return true;
                }
            }
            if (msg == WM_KEYDOWN && wp == VK_SPACE) {
                int row = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
                if (row < 0) row = list().selected();
                if (row >= 0 && row < list().count()) list().toggle_check(row);
                return true;
            }
            if (msg == WM_CHAR && wp == L' ') return true;
        }
        return ControlWindow::subclass_message(window, msg, wp, lp, result);
    }

private:
    bool count_dirty_ = false;
    bool syncing_ = false;
    int shown_count_ = 0;
    unsigned long long shown_removals_ = 0;
    ULONGLONG shown_at_ = 0;
    int first_ = -1, last_ = -1;
};

class ProgressWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    HWND make(HWND parent) override {
        return CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | PBS_SMOOTH, 0, 0, 0, 0, parent, nullptr,
                               toolkit_.instance(), nullptr);
    }
    // A batch steps the bar once per item, and the control repaints at every
    // new position (one to three milliseconds under Wine, at every serving
    // of the queue): the bar shows the latest position at the next message,
    // and at most every kSettle ms.
    static constexpr ULONGLONG kSettle = 100;
    void apply(ui::Aspect aspect) override {
        if (aspect == ui::Aspect::range || aspect == ui::Aspect::position) toolkit_.schedule(this);
    }
    void apply_pending(bool forced) override {
        if (!hwnd_) return;
        const ULONGLONG now = GetTickCount64();
        if (!forced && now - shown_at_ < kSettle) {
            toolkit_.schedule_later(this, static_cast<unsigned>(kSettle - (now - shown_at_)));
            return;
        }
        shown_at_ = now;
        auto& bar = static_cast<ui::ProgressBar&>(control_);
        if (bar.maximum() != shown_maximum_) {
            shown_maximum_ = bar.maximum();
            SendMessageW(hwnd_, PBM_SETRANGE32, 0, shown_maximum_);
        }
        SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(bar.position()), 0);
    }

private:
    int shown_maximum_ = 100;  // the control's own default range
    ULONGLONG shown_at_ = 0;
};

// Windows of our own class: group boxes, page sets, pages, bevels, images
// and the category bar.
class PanelWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    HWND make(HWND parent) override {
        return CreateWindowExW(WS_EX_CONTROLPARENT, toolkit_.panel_class(), wide_text().c_str(),
                               WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                               toolkit_.instance(), static_cast<Window*>(this));
    }
    bool window_visible() const override {
        if (control_.kind() == ui::Kind::page)
            return control_.visible() && static_cast<ui::Page&>(control_).active();
        return control_.visible();
    }
    void place() override {
        if (control_.kind() == ui::Kind::page) {
            const RECT set = toolkit_.scaled(static_cast<ui::Page&>(control_).page_set().bounds());
            move(hwnd_, 0, 0, set.right - set.left, set.bottom - set.top);
            return;
        }
        ControlWindow::place();
        if (control_.kind() == ui::Kind::page_set) {
            for (ui::Control* page : static_cast<ui::PageSet&>(control_).controls()) {
                if (page->peer()) page->peer()->changed(ui::Aspect::bounds);
            }
        }
    }
    void apply(ui::Aspect aspect) override {
        if (aspect == ui::Aspect::text) {
            set_window_text(hwnd_, wide_text());
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        if (aspect == ui::Aspect::enabled || aspect == ui::Aspect::font) InvalidateRect(hwnd_, nullptr, TRUE);
    }
    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        (void)wp;
        (void)lp;
        if (msg != WM_PAINT || control_.kind() != ui::Kind::group_box) return false;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        RECT client;
        GetClientRect(hwnd_, &client);
        HGDIOBJ old = SelectObject(dc, toolkit_.font(control_.font()));
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        RECT frame = client;
        frame.top += metrics.tmHeight / 2;
        if (const ThemeHandle theme(OpenThemeData(hwnd_, L"BUTTON")); theme) {
            DrawThemeBackground(theme.get(), dc, BP_GROUPBOX, control_.usable() ? GBS_NORMAL : GBS_DISABLED, &frame,
                                nullptr);
        } else {
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        }
        const std::wstring text = wide_text();
        if (!text.empty()) {
            SIZE size;
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            const int indent = toolkit_.scaled(6);
            RECT behind{indent, 0, indent + size.cx + toolkit_.scaled(4), metrics.tmHeight};
            FillRect(dc, &behind, background());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, !control_.usable()       ? GetSysColor(COLOR_GRAYTEXT)
                             : control_.text_color() ? colorref(*control_.text_color())
                                                     : GetSysColor(COLOR_WINDOWTEXT));
            TextOutW(dc, toolkit_.scaled(8), 0, text.c_str(), static_cast<int>(text.size()));
        }
        SelectObject(dc, old);
        EndPaint(hwnd_, &paint);
        result = 0;
        return true;
    }
};

class BevelWindow : public PanelWindow {
public:
    using PanelWindow::PanelWindow;

protected:
    bool line() const { return static_cast<ui::Bevel&>(control_).shape() == ui::Bevel::Shape::line; }
    void apply(ui::Aspect aspect) override {
        if (aspect == ui::Aspect::style) place();
    }
    void place() override {
        const RECT b = toolkit_.scaled(control_.bounds());
        const int width = b.right - b.left, height = b.bottom - b.top;
        if (line()) {
            SetWindowRgn(hwnd_, nullptr, FALSE);
            move(hwnd_, b.left, b.top, width, 2);
            return;
        }
        move(hwnd_, b);
        // Only the frame itself is the window: what lies inside stays uncovered.
        HRGN ring = CreateRectRgn(0, 0, width, height);
        const GdiObject<HRGN> inside(CreateRectRgn(1, 1, std::max(width - 1, 1), std::max(height - 1, 1)));
        CombineRgn(ring, ring, inside.get(), RGN_DIFF);
        SetWindowRgn(hwnd_, ring, TRUE);  // the window owns the region from here on
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    bool message(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg == WM_NCHITTEST) {
            result = HTTRANSPARENT;
            return true;
        }
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        RECT client;
        GetClientRect(hwnd_, &client);
        if (line()) DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
        else DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
        EndPaint(hwnd_, &paint);
        result = 0;
        return true;
    }
};

class ImageWindow : public PanelWindow {
public:
    using PanelWindow::PanelWindow;

protected:
    void apply(ui::Aspect aspect) override {
        if (aspect != ui::Aspect::picture) return;
        const ui::Pixels& picture = static_cast<ui::Image&>(control_).picture();
        bgra_.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
        for (std::size_t i = 0; i < bgra_.size() && i * 3 + 2 < picture.rgb.size(); ++i) {
            bgra_[i] = (std::uint32_t{picture.rgb[i * 3]} << 16) | (std::uint32_t{picture.rgb[i * 3 + 1]} << 8) |
                       picture.rgb[i * 3 + 2];
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    bool message(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        const ui::Pixels& picture = static_cast<ui::Image&>(control_).picture();
        if (!bgra_.empty()) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = picture.width;
            info.bmiHeader.biHeight = -picture.height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            // A picture's pixels are 96-DPI units too: it grows with the layout.
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchDIBits(dc, 0, 0, toolkit_.scaled(picture.width), toolkit_.scaled(picture.height), 0, 0, picture.width,
                          picture.height, bgra_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        }
        EndPaint(hwnd_, &paint);
        result = 0;
        return true;
    }

private:
    std::vector<std::uint32_t> bgra_;
};

// The category bar: a header button per category and an item button per
// item, owner-drawn, each a child window named after the bar.
class CategoryWindow : public PanelWindow {
public:
    using PanelWindow::PanelWindow;

protected:
    static constexpr int kHeader = 19;
    static constexpr int kItem = 24;

    ui::CategoryBar& bar() const { return static_cast<ui::CategoryBar&>(control_); }

    struct Part {
        HWND window;
        int category;
        int item;  // -1 for the header
    };

    void apply(ui::Aspect aspect) override {
        if (aspect == ui::Aspect::categories) {
            rebuild_if_needed();
            layout();
        }
        if (aspect == ui::Aspect::font || aspect == ui::Aspect::enabled) {
            for (const Part& part : parts_) {
                EnableWindow(part.window, control_.usable());
                InvalidateRect(part.window, nullptr, TRUE);
            }
        }
    }
    void place() override {
        PanelWindow::place();
        layout();
    }

    void rebuild_if_needed() {
        std::size_t wanted = 0;
        for (int c = 0; c < bar().category_count(); ++c) wanted += 1 + bar().category(c).items.size();
        bool same = wanted == parts_.size();
        for (std::size_t i = 0; same && i < parts_.size(); ++i) {
            const Part& part = parts_[i];
            const auto& category = bar().category(part.category);
            const std::string& caption = part.item < 0 ? category.caption : category.items[static_cast<std::size_t>(part.item)];
            same = window_text(part.window) == widen(caption);
        }
        if (same) return;
        for (const Part& part : parts_) {
            extra_.erase(std::remove(extra_.begin(), extra_.end(), part.window), extra_.end());
            toolkit_.unregister_window(part.window);
            DestroyWindow(part.window);
        }
        parts_.clear();
        for (int c = 0; c < bar().category_count(); ++c) {
            const auto& category = bar().category(c);
            add_part(category.caption, control_.name() + "_Category" + std::to_string(c), c, -1);
            for (std::size_t i = 0; i < category.items.size(); ++i) {
                add_part(category.items[i], control_.name() + "_Item" + std::to_string(c) + "_" + std::to_string(i), c,
                         static_cast<int>(i));
            }
        }
    }
    void add_part(const std::string& caption, const std::string& name, int category, int item) {
        HWND window = CreateWindowExW(0, L"BUTTON", widen(caption).c_str(), WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, 0, 0,
                                      0, 0, hwnd_, nullptr, toolkit_.instance(), nullptr);
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        adopt(window, name);
        EnableWindow(window, control_.usable());
        parts_.push_back(Part{window, category, item});
    }
    void layout() {
        const RECT box = toolkit_.scaled(control_.bounds());
        const int width = box.right - box.left;
        int y = 0;
        for (const Part& part : parts_) {
            const bool shown = part.item < 0 || bar().expanded(part.category);
            if (!shown) {
                ShowWindow(part.window, SW_HIDE);
                continue;
            }
            const int height = toolkit_.scaled(part.item < 0 ? kHeader : kItem);
            move(part.window, 0, y, width, height);
            ShowWindow(part.window, SW_SHOWNA);
            y += height;
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    const Part* part_of(HWND window) const {
        for (const Part& part : parts_) {
            if (part.window == window) return &part;
        }
        return nullptr;
    }
    void command(HWND from, WORD code) override {
        const Part* part = part_of(from);
        if (!part || code != BN_CLICKED) return;
        const int category = part->category, item = part->item;
        if (item < 0) bar().toggle(category);
        else bar().choose_item(category, item);
    }
    void move_focus(HWND from, bool forward) {
        std::vector<HWND> shown;
        for (const Part& part : parts_) {
            if (IsWindowVisible(part.window)) shown.push_back(part.window);
        }
        auto it = std::find(shown.begin(), shown.end(), from);
        if (it == shown.end()) return;
        if (forward && it + 1 != shown.end()) SetFocus(*(it + 1));
        if (!forward && it != shown.begin()) SetFocus(*(it - 1));
    }
    bool subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (window != hwnd_ && part_of(window)) {
            switch (msg) {
            case WM_LBUTTONDOWN:
                bar().mouse_down();
                break;
            case WM_GETDLGCODE:
                // Arrows move between headers and items, Enter chooses.
                result = DefSubclassProc(window, msg, wp, lp) | DLGC_WANTARROWS;
                if (lp && reinterpret_cast<MSG*>(lp)->message == WM_KEYDOWN &&
                    reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN)
                    result |= DLGC_WANTMESSAGE;
                return true;
            case WM_KEYDOWN:
                if (wp == VK_SPACE && !(lp & 0x40000000)) bar().mouse_down();
                if (wp == VK_RETURN) {
                    bar().mouse_down();
                    command(window, BN_CLICKED);
                    return true;
                }
                if (wp == VK_DOWN || wp == VK_UP) {
                    move_focus(window, wp == VK_DOWN);
                    return true;
                }
                break;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                InvalidateRect(window, nullptr, FALSE);
                break;
            default:
                break;
            }
        }
        return PanelWindow::subclass_message(window, msg, wp, lp, result);
    }
    bool draw_item(DRAWITEMSTRUCT* draw) override {
        const Part* part = part_of(draw->hwndItem);
        if (!part) return false;
        HDC dc = draw->hDC;
        RECT box = draw->rcItem;
        const bool header = part->item < 0;
        const bool focused = (draw->itemState & ODS_FOCUS) != 0;
        const bool usable = control_.usable();
        ui::Font font = control_.font();
        if (header) font.bold = true;
        else font.underline = focused;
        HBRUSH fill = toolkit_.brush(header ? RGB(214, 223, 247) : RGB(245, 247, 253));
        FillRect(dc, &box, fill);
        if (header) {
            RECT line{box.left, box.bottom - 1, box.right, box.bottom};
            FillRect(dc, &line, toolkit_.brush(RGB(255, 255, 255)));
        }
        HGDIOBJ old = SelectObject(dc, toolkit_.font(font));
        SetBkMode(dc, TRANSPARENT);
        COLORREF color = header ? RGB(33, 93, 198) : RGB(0, 0, 255);
        if (!usable) color = GetSysColor(COLOR_GRAYTEXT);
        SetTextColor(dc, color);
        RECT text = box;
        text.left += toolkit_.scaled(header ? 8 : 20);
        text.right -= toolkit_.scaled(header ? 20 : 4);
        const std::wstring caption = window_text(draw->hwndItem);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (header) {
            // A chevron: pointing down while collapsed, up while expanded.
            const int cx = box.right - toolkit_.scaled(11), cy = (box.top + box.bottom) / 2;
            const int d = bar().expanded(part->category) ? -toolkit_.scaled(2) : toolkit_.scaled(2);
            const int half = toolkit_.scaled(4);
            POINT arrow[3] = {{cx - half, cy - d}, {cx + half, cy - d}, {cx, cy + d}};
            HGDIOBJ old_brush = SelectObject(dc, toolkit_.brush(color));
            HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
            Polygon(dc, arrow, 3);
            SelectObject(dc, old_pen);
            SelectObject(dc, old_brush);
        }
        if (focused) {
            RECT ring = box;
            InflateRect(&ring, -1, -1);
            DrawFocusRect(dc, &ring);
        }
        SelectObject(dc, old);
        return true;
    }

private:
    std::vector<Part> parts_;
};

}  // namespace

std::unique_ptr<ControlWindow> make_control_window(Toolkit& toolkit, FormWindow& form, ui::Control& control) {
    switch (control.kind()) {
    case ui::Kind::label: return std::make_unique<LabelWindow>(toolkit, form, control);
    case ui::Kind::button:
    case ui::Kind::check_box:
    case ui::Kind::radio_button: return std::make_unique<ButtonWindow>(toolkit, form, control);
    case ui::Kind::edit:
    case ui::Kind::memo:
    case ui::Kind::number_field: return std::make_unique<EditWindow>(toolkit, form, control);
    case ui::Kind::check_list:
    case ui::Kind::list_box:
    case ui::Kind::list_view: return std::make_unique<ListWindow>(toolkit, form, control);
    case ui::Kind::progress_bar: return std::make_unique<ProgressWindow>(toolkit, form, control);
    case ui::Kind::bevel: return std::make_unique<BevelWindow>(toolkit, form, control);
    case ui::Kind::image: return std::make_unique<ImageWindow>(toolkit, form, control);
    case ui::Kind::category_bar: return std::make_unique<CategoryWindow>(toolkit, form, control);
    case ui::Kind::group_box:
    case ui::Kind::page_set:
    case ui::Kind::page: return std::make_unique<PanelWindow>(toolkit, form, control);
    }
    return nullptr;
}

// FormWindow

FormWindow::FormWindow(Toolkit& toolkit, ui::Form& form) : toolkit_(toolkit), form_(form) {
    // Owned by the application window: the program has one task bar button.
    hwnd_ = CreateWindowExW(ex_style(), toolkit_.form_class(), widen(form_.caption()).c_str(), style(), CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, toolkit_.application_window(), nullptr, toolkit_.instance(),
                            static_cast<Window*>(this));
    set_component_name(hwnd_, form_.name());
    // The tooltip window has no owner: Wine never puts a window that owns a
    // popup on top of all windows (stay on top).
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               toolkit_.instance(), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, toolkit_.scaled(600));
    changed(ui::FormAspect::alpha);
    place();
}

FormWindow::~FormWindow() {
    controls_.clear();
    if (tooltip_) DestroyWindow(tooltip_);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    release_component_name(hwnd_);
    DestroyWindow(hwnd_);
}

DWORD FormWindow::style() const {
    switch (form_.border()) {
    case ui::Border::single: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case ui::Border::dialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case ui::Border::none: return WS_POPUP | WS_CLIPCHILDREN;
    }
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
}

DWORD FormWindow::ex_style() const {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (form_.border() == ui::Border::dialog) ex |= WS_EX_DLGMODALFRAME;
    if (form_.border() == ui::Border::none) ex |= WS_EX_TOOLWINDOW;
    if (form_.stay_on_top()) ex |= WS_EX_TOPMOST;
    if (form_.alpha_blend()) ex |= WS_EX_LAYERED;
    return ex;
}

void FormWindow::place() {
    RECT frame{0, 0, toolkit_.scaled(form_.client_width()), toolkit_.scaled(form_.client_height())};
    AdjustWindowRectEx(&frame, style(), FALSE, ex_style());
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int left, top;
    if (form_.centred()) {
        left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    } else {
        left = toolkit_.scaled(form_.position().x);
        top = toolkit_.scaled(form_.position().y);
    }
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::changed(ui::FormAspect aspect) {
    switch (aspect) {
    case ui::FormAspect::caption:
        SetWindowTextW(hwnd_, widen(form_.caption()).c_str());
        break;
    case ui::FormAspect::bounds:
        place();
        break;
    case ui::FormAspect::border:
        SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style()) | (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE));
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(ex_style()));
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        place();
        break;
    case ui::FormAspect::color:
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
        break;
    case ui::FormAspect::stay_on_top:
        SetWindowPos(hwnd_, form_.stay_on_top() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
    case ui::FormAspect::alpha: {
        const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
        if (form_.alpha_blend()) {
            if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
            SetLayeredWindowAttributes(hwnd_, 0, static_cast<BYTE>(form_.alpha()), LWA_ALPHA);
        } else if (ex & WS_EX_LAYERED) {
            SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        break;
    }
    case ui::FormAspect::font:
        break;
    }
}

void FormWindow::show() {
    create_controls();
    if (form_.centred()) place();
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

void FormWindow::hide() { ShowWindow(hwnd_, SW_HIDE); }

void FormWindow::activate() {
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

void FormWindow::control_added(ui::Control&) { toolkit_.schedule_forms(); }

void FormWindow::control_removed(ui::Control& control) { controls_.erase(&control); }

void FormWindow::create_controls() { create_tree(form_, hwnd_); }

void FormWindow::create_tree(const ui::Container& container, HWND parent) {
    for (ui::Control* control : container.controls()) {
        auto it = controls_.find(control);
        if (it == controls_.end()) {
            auto window = make_control_window(toolkit_, *this, *control);
            window->create(parent);
            it = controls_.emplace(control, std::move(window)).first;
        }
        if (const ui::Container* inner = control->container()) create_tree(*inner, it->second->client_window());
    }
}

ControlWindow* FormWindow::window_of(const ui::Control& control) const {
    auto it = controls_.find(&control);
    return it == controls_.end() ? nullptr : it->second.get();
}

void FormWindow::set_tooltip(HWND window, const std::string& text) {
    if (!tooltip_) return;
    std::wstring wide = widen_lines(text);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    const bool known = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    tool.lpszText = wide.data();
    if (text.empty()) {
        if (known) SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (known) {
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

HBRUSH FormWindow::background() { return toolkit_.brush(form_.color(), COLOR_BTNFACE); }

bool FormWindow::message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    (void)lp;
    switch (msg) {
    case WM_CLOSE:
        form_.close();
        result = 0;
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) focus_ = focus;
        } else {
            PostMessageW(hwnd_, kActivatedMessage, 0, 0);
            if (HIWORD(wp) == 0) {  // not minimised
                HWND target = focus_ && IsWindow(focus_) && IsChild(hwnd_, focus_) && IsWindowVisible(focus_) &&
                                      IsWindowEnabled(focus_)
                                  ? focus_
                                  : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
                SetFocus(target ? target : hwnd_);
            }
        }
        result = 0;
        return true;
    default:
        break;
    }
    if (msg == kActivatedMessage) {
        if (GetActiveWindow() == hwnd_ && form_.visible()) form_.activated();
        result = 0;
        return true;
    }
    return false;
}

}  // namespace platform::win32::uiw
