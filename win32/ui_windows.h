#pragma once
// Inside the Win32 backend of the widget model: the windows made for forms
// and controls, and the toolkit's shared state. Only the backend includes it.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "win32/handles.h"
#include "win32/ui_toolkit.h"
#include "win32/win32_text.h"
#include "ui/ui.h"

namespace platform::win32::uiw {

// Our own messages.
constexpr UINT kFlushMessage = WM_APP + 1;      // to the message window: apply pending updates
constexpr UINT kTrayMessage = WM_APP + 2;       // to the application window: tray icon callbacks
constexpr UINT kActivatedMessage = WM_APP + 3;  // to a form: it became the active window
constexpr UINT kHandActivation = WM_APP + 4;    // to the application window: activate a form

// The program's texts break lines with "\r" alone; windows want "\r\n".
std::wstring widen_lines(const std::string& text);
std::wstring window_text(HWND window);
inline COLORREF colorref(ui::Color c) { return RGB(c.r, c.g, c.b); }

// The "ComponentName" property: a global atom of the name.
void set_component_name(HWND window, const std::string& name);
void release_component_name(HWND window);

class Toolkit;
class FormWindow;

// A window this backend made: it receives the notifications its child
// controls send, and the messages of our own window classes.
class Window {
public:
    virtual ~Window() = default;
    HWND hwnd() const { return hwnd_; }
    // WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM sent about this window.
    virtual void command(HWND from, WORD code) {
        (void)from;
        (void)code;
    }
    virtual bool notify(NMHDR* header, LRESULT& result) {
        (void)header;
        (void)result;
        return false;
    }
    virtual HBRUSH control_color(HDC dc, UINT message) {
        (void)dc;
        (void)message;
        return nullptr;
    }
    virtual bool draw_item(DRAWITEMSTRUCT* item) {
        (void)item;
        return false;
    }
    // A message to a window of our own class (forms and panels).
    virtual bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        (void)msg;
        (void)wp;
        (void)lp;
        (void)result;
        return false;
    }
    // The brush children see behind them.
    virtual HBRUSH background() = 0;
    // The control whose popup menu a right click here opens, if any.
    virtual ui::Control* model_control() { return nullptr; }

protected:
    HWND hwnd_ = nullptr;
};

class ControlWindow : public ui::ControlPeer, public Window {
public:
    ControlWindow(Toolkit& toolkit, FormWindow& form, ui::Control& control);
    ~ControlWindow() override;

    // Makes the window (and its children's windows later) inside parent.
    void create(HWND parent);
    ui::Control& control() const { return control_; }
    ui::Control* model_control() override { return &control_; }
    // The window that children of this control live in (containers).
    virtual HWND client_window() const { return hwnd_; }

    void changed(ui::Aspect aspect) override;
    void focus() override;
    HBRUSH background() override;

    // Deferred updates (lists), applied by Toolkit::flush(); unless forced,
    // a list that only grew may wait a little longer (schedule_later).
    virtual void apply_pending(bool forced) { (void)forced; }

    // Subclass messages of the control's own window.
    virtual bool subclass_message(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    // The window class, styles and extended styles of the control's window.
    virtual HWND make(HWND parent) = 0;
    // Applies one aspect that is not common to all controls.
    virtual void apply(ui::Aspect aspect) { (void)aspect; }
    virtual void place();
    virtual bool window_visible() const { return control_.visible(); }
    // Text and background colours for WM_CTLCOLOR*: transparent on the parent.
    HBRUSH transparent_color(HDC dc);
    // Registers a further window (an up-down, a category header) as ours.
    void adopt(HWND window, const std::string& name);
    void subclass(HWND window);
    std::wstring wide_text() const { return widen_lines(control_.text()); }

    Toolkit& toolkit_;
    FormWindow& form_;
    ui::Control& control_;
    std::vector<HWND> extra_;  // further windows of this control
};

class FormWindow : public ui::FormPeer, public Window {
public:
    FormWindow(Toolkit& toolkit, ui::Form& form);
    ~FormWindow() override;

    ui::Form& form() const { return form_; }
    void changed(ui::FormAspect aspect) override;
    void show() override;
    void hide() override;
    void activate() override;
    void control_added(ui::Control& control) override;
    void control_removed(ui::Control& control) override;
    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    HBRUSH background() override;

    // Makes the windows of controls that have none yet.
    void create_controls();
    ControlWindow* window_of(const ui::Control& control) const;
    void set_tooltip(HWND window, const std::string& text);

private:
    void create_tree(const ui::Container& container, HWND parent);
    void place();
    DWORD style() const;
    DWORD ex_style() const;

    Toolkit& toolkit_;
    ui::Form& form_;
    std::map<const ui::Control*, std::unique_ptr<ControlWindow>> controls_;
    HWND tooltip_ = nullptr;
    HWND focus_ = nullptr;  // the control that had the focus when the window was left
};

std::unique_ptr<ControlWindow> make_control_window(Toolkit& toolkit, FormWindow& form, ui::Control& control);

// The toolkit's state shared by the windows.
class Toolkit {
public:
    explicit Toolkit(UiToolkit& owner);
    ~Toolkit();

    UiToolkit& owner() { return owner_; }
    HINSTANCE instance() const { return instance_; }
    // Layout (bounds, client sizes, positions, font sizes, column widths) is
    // written for 96 dots per inch and scaled by the system's, read once at
    // start-up: the program declares itself DPI-aware.
    int dpi() const { return dpi_; }
    int scaled(int length) const { return MulDiv(length, dpi_, 96); }
    // Edges are scaled, not widths, so that neighbours stay neighbours.
    RECT scaled(const ui::Rect& r) const {
        return RECT{scaled(r.left), scaled(r.top), scaled(r.right()), scaled(r.bottom())};
    }
    int unscaled(int pixels) const { return MulDiv(pixels, 96, dpi_); }
    // The font at the system's size.
    HFONT font(const ui::Font& font);
    HBRUSH brush(COLORREF color);
    HBRUSH brush(std::optional<ui::Color> color, int system_color);
    HICON program_icon() const { return icon_; }

    // Windows of controls, by HWND, for the notifications their parents get.
    void register_window(HWND window, Window* owner) { windows_[window] = owner; }
    void unregister_window(HWND window) { windows_.erase(window); }
    Window* window_of(HWND window) const {
        auto it = windows_.find(window);
        return it == windows_.end() ? nullptr : it->second;
    }

    // Updates applied at the next message (or flush()), or after a delay.
    void schedule(ControlWindow* window);
    void schedule_later(ControlWindow* window, unsigned milliseconds);
    void schedule_forms() { schedule(nullptr); }
    void cancel(ControlWindow* window);
    void flush(bool forced);

    // One message: keyboard navigation inside our windows, then dispatch.
    void dispatch(MSG& msg);
    bool process_messages();
    bool quitting() const { return quitting_; }
    void set_quitting() { quitting_ = true; }

    // The modal windows open, innermost last, with what each disabled.
    struct Modal {
        ui::Form* form;
        std::vector<HWND> disabled;
        HWND previous_active;
    };
    std::vector<Modal>& modals() { return modals_; }
    void end_modal_disabling(ui::Form& form);

    // Timers, tray icons and popup menus.
    void timer_changed(ui::Timer& timer);
    void timer_removed(ui::Timer& timer);
    void tray_changed(ui::TrayIcon& icon);
    void tray_removed(ui::TrayIcon& icon);
    void track_popup(ui::PopupMenu& menu, std::optional<ui::Point> at);

    HWND message_window() const { return message_window_; }
    // The program's button on the task bar, titled with the application
    // title: a window without size that owns every form (forms owned by it
    // have no buttons of their own). It is shown while a form is, receives
    // the tray icons' messages and hands its activation to the program's
    // active form.
    HWND application_window() const { return application_window_; }
    void application_title_changed(const std::string& title);
    void forms_shown_or_hidden();
    const wchar_t* form_class() const { return L"VorlindeForm"; }
    const wchar_t* panel_class() const { return L"VorlindePanel"; }

    static Toolkit* current();
    LRESULT helper_message(HWND window, UINT msg, WPARAM wp, LPARAM lp);

private:
    UiToolkit& owner_;
    HINSTANCE instance_;
    HICON icon_ = nullptr;
    int dpi_ = 96;
    HWND message_window_ = nullptr;
    HWND application_window_ = nullptr;
    std::map<std::tuple<std::string, int, bool, bool>, GdiObject<HFONT>> fonts_;
    std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
    std::unordered_map<HWND, Window*> windows_;
    std::vector<ControlWindow*> pending_;
    std::vector<ControlWindow*> later_;
    bool later_timer_ = false;
    bool forms_pending_ = false;
    bool flush_posted_ = false;
    bool quitting_ = false;
    std::vector<Modal> modals_;
    std::map<ui::Timer*, UINT_PTR> timers_;
    std::map<UINT_PTR, ui::Timer*> timer_ids_;
    UINT_PTR next_timer_id_ = 1;
    std::map<ui::TrayIcon*, UINT> tray_;
    UINT next_tray_id_ = 1;
};

LRESULT CALLBACK host_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace platform::win32::uiw
