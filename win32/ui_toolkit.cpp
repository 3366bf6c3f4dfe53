// The Win32 toolkit: message loops, the pump, dialogs, timers, the tray icon
// and popup menus.
#include "win32/ui_toolkit.h"

#include "win32/ui_windows.h"

#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace platform::win32 {

using namespace uiw;

namespace uiw {

namespace {

Toolkit* g_current = nullptr;

LRESULT CALLBACK helper_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_current) return g_current->helper_message(window, msg, wp, lp);
    return DefWindowProcW(window, msg, wp, lp);
}

void register_class(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HICON icon, UINT style) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    if (GetClassInfoExW(instance, name, &cls)) return;
    cls = WNDCLASSEXW{};
    cls.cbSize = sizeof(cls);
    cls.style = style;
    cls.lpfnWndProc = proc;
    cls.hInstance = instance;
    cls.hIcon = icon;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = name;
    RegisterClassExW(&cls);
}

}  // namespace

Toolkit* Toolkit::current() { return g_current; }

Toolkit::Toolkit(UiToolkit& owner) : owner_(owner), instance_(GetModuleHandleW(nullptr)) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (const int dpi = GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY); dpi > 0) dpi_ = dpi;
    icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
    register_class(instance_, form_class(), host_proc, icon_, CS_DBLCLKS);
    register_class(instance_, panel_class(), host_proc, nullptr, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    register_class(instance_, L"VorlindeHelper", helper_proc, icon_, 0);
    g_current = this;
    message_window_ = CreateWindowExW(0, L"VorlindeHelper", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
    application_window_ = CreateWindowExW(0, L"VorlindeHelper", L"", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                          GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                          nullptr, nullptr, instance_, nullptr);
}

Toolkit::~Toolkit() {
    for (auto& [icon, id] : tray_) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = application_window_;
        data.uID = id;
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
    for (auto& [timer, id] : timers_) KillTimer(message_window_, id);
    DestroyWindow(application_window_);
    DestroyWindow(message_window_);
    if (g_current == this) g_current = nullptr;
}

HFONT Toolkit::font(const ui::Font& font) {
    const auto key = std::make_tuple(font.name, font.size, font.bold, font.underline);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();
    HFONT made = CreateFontW(-scaled(font.size), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, font.underline, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, widen(font.name).c_str());
    fonts_.emplace(key, GdiObject<HFONT>(made));
    return made;
}

HBRUSH Toolkit::brush(COLORREF color) {
    auto it = brushes_.find(color);
    if (it != brushes_.end()) return it->second.get();
    HBRUSH made = CreateSolidBrush(color);
    brushes_.emplace(color, GdiObject<HBRUSH>(made));
    return made;
}

HBRUSH Toolkit::brush(std::optional<ui::Color> color, int system_color) {
    return color ? brush(colorref(*color)) : GetSysColorBrush(system_color);
}

void Toolkit::schedule(ControlWindow* window) {
    if (window) {
        if (std::find(pending_.begin(), pending_.end(), window) == pending_.end()) pending_.push_back(window);
    } else {
        forms_pending_ = true;
    }
    if (!flush_posted_) {
        flush_posted_ = PostMessageW(message_window_, kFlushMessage, 0, 0) != 0;
    }
}

namespace {
constexpr UINT_PTR kLaterTimer = 0x7F00;  // far above the ids of ui::Timer
}

void Toolkit::schedule_later(ControlWindow* window, unsigned milliseconds) {
    if (std::find(later_.begin(), later_.end(), window) == later_.end()) later_.push_back(window);
    if (!later_timer_) later_timer_ = SetTimer(message_window_, kLaterTimer, std::max(milliseconds, 10u), nullptr) != 0;
}

void Toolkit::cancel(ControlWindow* window) {
    pending_.erase(std::remove(pending_.begin(), pending_.end(), window), pending_.end());
    later_.erase(std::remove(later_.begin(), later_.end(), window), later_.end());
}

void Toolkit::flush(bool forced) {
    if (forms_pending_) {
        forms_pending_ = false;
        for (ui::Form* form : owner_.forms()) {
            if (auto* window = static_cast<FormWindow*>(form->peer())) window->create_controls();
        }
    }
    if (forced) {
        for (ControlWindow* window : later_) {
            if (std::find(pending_.begin(), pending_.end(), window) == pending_.end()) pending_.push_back(window);
        }
        later_.clear();
    }
    while (!pending_.empty()) {
        ControlWindow* window = pending_.front();
        pending_.erase(pending_.begin());
        window->apply_pending(forced);
    }
}

void Toolkit::dispatch(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        wchar_t name[32];
        if (root && GetClassNameW(root, name, 32) && std::wcscmp(name, form_class()) == 0 &&
            IsDialogMessageW(root, &msg)) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool Toolkit::process_messages() {
    MSG msg;
    while (!quitting_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitting_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        dispatch(msg);
    }
    return !quitting_;
}

void Toolkit::end_modal_disabling(ui::Form& form) {
    for (auto it = modals_.rbegin(); it != modals_.rend(); ++it) {
        if (it->form != &form) continue;
        for (HWND window : it->disabled) {
            if (IsWindow(window)) EnableWindow(window, TRUE);
        }
        it->disabled.clear();
        return;
    }
}

void Toolkit::timer_changed(ui::Timer& timer) {
    auto it = timers_.find(&timer);
    if (timer.enabled() && timer.interval() > 0) {
        if (it == timers_.end()) {
            it = timers_.emplace(&timer, next_timer_id_++).first;
            timer_ids_[it->second] = &timer;
        }
        SetTimer(message_window_, it->second, static_cast<UINT>(timer.interval()), nullptr);
    } else if (it != timers_.end()) {
        KillTimer(message_window_, it->second);
        timer_ids_.erase(it->second);
        timers_.erase(it);
    }
}

void Toolkit::timer_removed(ui::Timer& timer) {
    auto it = timers_.find(&timer);
    if (it == timers_.end()) return;
    KillTimer(message_window_, it->second);
    timer_ids_.erase(it->second);
    timers_.erase(it);
}

void Toolkit::tray_changed(ui::TrayIcon& icon) {
    auto it = tray_.find(&icon);
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = application_window_;
    if (!icon.visible()) {
        if (it == tray_.end()) return;
        data.uID = it->second;
        Shell_NotifyIconW(NIM_DELETE, &data);
        tray_.erase(it);
        return;
    }
    const bool added = it != tray_.end();
    data.uID = added ? it->second : next_tray_id_++;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    const std::wstring tip = widen(icon.tooltip());
    std::wcsncpy(data.szTip, tip.c_str(), std::size(data.szTip) - 1);
    if (Shell_NotifyIconW(added ? NIM_MODIFY : NIM_ADD, &data) || added) tray_[&icon] = data.uID;
    else tray_[&icon] = data.uID;  // kept, so that a later change or hide finds it
}

void Toolkit::tray_removed(ui::TrayIcon& icon) {
    auto it = tray_.find(&icon);
    if (it == tray_.end()) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = application_window_;
    data.uID = it->second;
    Shell_NotifyIconW(NIM_DELETE, &data);
    tray_.erase(it);
}

namespace {

void build_menu(HMENU menu, const std::vector<ui::MenuItem*>& items, std::vector<ui::MenuItem*>& ids) {
    for (ui::MenuItem* item : items) {
        if (!item->visible()) continue;
        if (item->separator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = item->enabled() ? MF_ENABLED : MF_GRAYED;
        const std::wstring caption = widen(item->caption());
        if (!item->items().empty()) {
            HMENU sub = CreatePopupMenu();
            build_menu(sub, item->items(), ids);
            AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
        } else {
            ids.push_back(item);
            AppendMenuW(menu, MF_STRING | state, ids.size(), caption.c_str());
        }
    }
}

}  // namespace

void Toolkit::track_popup(ui::PopupMenu& menu, std::optional<ui::Point> at) {
    flush(true);
    std::vector<ui::MenuItem*> ids;
    const MenuHandle popup(CreatePopupMenu());
    build_menu(popup.get(), menu.items(), ids);
    POINT point{};
    if (at) point = POINT{at->x, at->y};
    else GetCursorPos(&point);
    HWND owner = application_window_;
    if (auto* form = static_cast<FormWindow*>(menu.owner().peer()); form && IsWindowVisible(form->hwnd()))
        owner = form->hwnd();
    SetForegroundWindow(owner);
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_LEFTALIGN |
                       (menu.opens_upward() ? TPM_BOTTOMALIGN : TPM_TOPALIGN);
    const int chosen = TrackPopupMenuEx(popup.get(), flags, point.x, point.y, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen > 0 && static_cast<std::size_t>(chosen) <= ids.size()) ids[static_cast<std::size_t>(chosen) - 1]->click();
}

void Toolkit::application_title_changed(const std::string& title) {
    SetWindowTextW(application_window_, widen(title).c_str());
}

void Toolkit::forms_shown_or_hidden() {
    const auto& forms = owner_.forms();
    const bool shown = std::any_of(forms.begin(), forms.end(), [](const ui::Form* f) { return f->visible(); });
    if (shown == (IsWindowVisible(application_window_) != FALSE)) return;
    SetWindowPos(application_window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

LRESULT Toolkit::helper_message(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (window == application_window_) {
        switch (msg) {
        case WM_ACTIVATE:
            // The task bar button was pressed, or a form owned by it went away.
            if (LOWORD(wp) != WA_INACTIVE) PostMessageW(window, kHandActivation, 0, 0);
            return 0;
        case kHandActivation: {
            if (GetActiveWindow() != window) return 0;
            ui::Form* target = owner_.active_form();
            if (!target || !target->visible()) target = owner_.main_form();
            if (!target || !target->visible()) {
                const auto& forms = owner_.forms();
                auto shown = std::find_if(forms.begin(), forms.end(), [](const ui::Form* f) { return f->visible(); });
                target = shown == forms.end() ? nullptr : *shown;
            }
            if (target && target->peer()) target->peer()->activate();
            return 0;
        }
        case WM_CLOSE:  // "Close" on the task bar button closes the program's main window
            if (ui::Form* main = owner_.main_form()) main->close();
            return 0;
        default:
            break;
        }
    }
    switch (msg) {
    case kFlushMessage:
        flush_posted_ = false;
        flush(false);
        return 0;
    case WM_TIMER: {
        if (wp == kLaterTimer) {
            KillTimer(message_window_, kLaterTimer);
            later_timer_ = false;
            std::vector<ControlWindow*> due;
            due.swap(later_);
            for (ControlWindow* late : due) {
                if (std::find(pending_.begin(), pending_.end(), late) == pending_.end()) pending_.push_back(late);
            }
            flush(false);
            return 0;
        }
        auto it = timer_ids_.find(wp);
        if (it != timer_ids_.end()) it->second->tick();
        return 0;
    }
    case kTrayMessage: {
        ui::TrayIcon* icon = nullptr;
        for (auto& [candidate, id] : tray_) {
            if (id == wp) icon = candidate;
        }
        if (!icon) return 0;
        switch (LOWORD(lp)) {
        case WM_LBUTTONUP: icon->click(); break;
        case WM_RBUTTONUP: icon->right_click(); break;
        default: break;
        }
        return 0;
    }
    default:
        return DefWindowProcW(window, msg, wp, lp);
    }
}

}  // namespace uiw

namespace {

// Message boxes and the common dialogs, owned by the program's active window.
class Dialogs : public ui::Dialogs {
public:
    ui::Answer message(const std::string& text, const std::string& caption, ui::Icon icon,
                       ui::Buttons buttons) override {
        UINT flags = buttons == ui::Buttons::yes_no ? MB_YESNO : MB_OK;
        switch (icon) {
        case ui::Icon::information: flags |= MB_ICONINFORMATION; break;
        case ui::Icon::warning: flags |= MB_ICONWARNING; break;
        case ui::Icon::question: flags |= MB_ICONQUESTION; break;
        case ui::Icon::error: flags |= MB_ICONERROR; break;
        case ui::Icon::stop: flags |= MB_ICONSTOP; break;
        case ui::Icon::none: break;
        }
        return show(text, caption, flags, false);
    }

    ui::Answer confirm(const std::string& text) override {
        return show(text, "Confirm", MB_YESNO | MB_ICONQUESTION, true);
    }

    std::optional<std::string> choose_folder(const std::string& title) override {
        const std::wstring wide_title = widen(title);
        BROWSEINFOW browse{};
        browse.hwndOwner = GetActiveWindow();
        browse.lpszTitle = wide_title.c_str();
        browse.ulFlags = BIF_RETURNONLYFSDIRS;
        const TaskMemory chosen(SHBrowseForFolderW(&browse));
        if (!chosen) return std::nullopt;
        wchar_t path[MAX_PATH + 1] = {};
        const BOOL ok = SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path);
        return ok ? narrow_lossy(path) : std::string();
    }

    std::vector<std::string> open_files(bool multiple) override {
        std::vector<wchar_t> buffer(65536, L'\0');
        OPENFILENAMEW open{};
        open.lStructSize = sizeof(open);
        open.hwndOwner = GetActiveWindow();
        open.lpstrFile = buffer.data();
        open.nMaxFile = static_cast<DWORD>(buffer.size());
        open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                     (multiple ? OFN_ALLOWMULTISELECT : 0);
        if (!GetOpenFileNameW(&open)) return {};
        std::vector<std::string> files;
        const wchar_t* first = buffer.data();
        const std::wstring head = first;
        const wchar_t* next = first + head.size() + 1;
        if (!multiple || *next == L'\0') {
            files.push_back(narrow_lossy(head));
            return files;
        }
        std::wstring folder = head;
        if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
        while (*next) {
            const std::wstring name = next;
            files.push_back(narrow_lossy(folder + name));
            next += name.size() + 1;
        }
        return files;
    }

    void beep() override { MessageBeep(0); }

private:
    static LRESULT CALLBACK rename_buttons(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_ACTIVATE) {
            SetDlgItemTextW(reinterpret_cast<HWND>(wp), IDYES, L"&Yes");
            SetDlgItemTextW(reinterpret_cast<HWND>(wp), IDNO, L"&No");
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }

    ui::Answer show(const std::string& text, const std::string& caption, UINT flags, bool english_buttons) {
        if (Toolkit* toolkit = Toolkit::current()) toolkit->flush(true);
        HHOOK hook = english_buttons ? SetWindowsHookExW(WH_CBT, rename_buttons, nullptr, GetCurrentThreadId()) : nullptr;
        const int pressed = MessageBoxW(GetActiveWindow(), widen_lines(text).c_str(), widen(caption).c_str(),
                                        flags | MB_APPLMODAL);
        if (hook) UnhookWindowsHookEx(hook);
        if (pressed == IDYES) return ui::Answer::yes;
        if (pressed == IDNO) return ui::Answer::no;
        return ui::Answer::ok;
    }
};

// Serves the message queue at most about every 15 ms; cheap in between.
class Pump : public platform::Pump {
public:
    explicit Pump(uiw::Toolkit& toolkit) : toolkit_(toolkit) {}
    void serve() override {
        const ULONGLONG now = GetTickCount64();
        if (now - last_ < 15) return;
        last_ = now;
        toolkit_.process_messages();
    }

private:
    uiw::Toolkit& toolkit_;
    ULONGLONG last_ = 0;
};

}  // namespace

class UiToolkit::Impl {
public:
    explicit Impl(UiToolkit& owner) : core(owner), pump(core) {}
    // Before the windows and after them.
    ComScope com;
    uiw::Toolkit core;
    Dialogs dialogs;
    Pump pump;
};

UiToolkit::UiToolkit() : impl_(std::make_unique<Impl>(*this)) {}

UiToolkit::~UiToolkit() {
    for (ui::Form* form : forms()) form->attach(nullptr);
    impl_.reset();
}

ui::Dialogs& UiToolkit::dialogs() { return impl_->dialogs; }
platform::Pump& UiToolkit::pump() { return impl_->pump; }

ui::Size UiToolkit::screen_size() const {
    const uiw::Toolkit& core = impl_->core;
    return ui::Size{core.unscaled(GetSystemMetrics(SM_CXSCREEN)), core.unscaled(GetSystemMetrics(SM_CYSCREEN))};
}

void UiToolkit::run(ui::Form& main) {
    set_main_form(&main);
    main.show();
    MSG msg;
    while (!impl_->core.quitting()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) break;
        impl_->core.dispatch(msg);
    }
}

void UiToolkit::realize(ui::Form& form) {
    if (!form.peer()) form.attach(std::make_unique<FormWindow>(impl_->core, form));
    static_cast<FormWindow*>(form.peer())->create_controls();
}

void UiToolkit::show_form(ui::Form& form) {
    realize(form);
    impl_->core.forms_shown_or_hidden();
    form.peer()->show();
}

void UiToolkit::hide_form(ui::Form& form) {
    impl_->core.end_modal_disabling(form);
    if (form.peer()) form.peer()->hide();
    impl_->core.forms_shown_or_hidden();
}

void UiToolkit::application_title_changed() { impl_->core.application_title_changed(application_title()); }

void UiToolkit::activate_form(ui::Form& form) {
    if (form.peer()) form.peer()->activate();
}

void UiToolkit::run_modal(ui::Form& form) {
    uiw::Toolkit& core = impl_->core;
    realize(form);
    uiw::Toolkit::Modal modal{&form, {}, GetActiveWindow()};
    for (ui::Form* other : forms()) {
        if (other == &form || !other->peer()) continue;
        HWND window = static_cast<FormWindow*>(other->peer())->hwnd();
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            modal.disabled.push_back(window);
        }
    }
    core.modals().push_back(modal);
    form.show();
    MSG msg;
    while (form.visible() && !core.quitting()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            core.set_quitting();
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 1);
            break;
        }
        core.dispatch(msg);
    }
    core.end_modal_disabling(form);
    auto& modals = core.modals();
    for (auto it = modals.rbegin(); it != modals.rend(); ++it) {
        if (it->form == &form) {
            HWND previous = it->previous_active;
            modals.erase(std::next(it).base());
            if (previous && IsWindow(previous) && IsWindowVisible(previous) && !GetActiveWindow())
                SetActiveWindow(previous);
            break;
        }
    }
}

void UiToolkit::quit() { PostQuitMessage(0); }

void UiToolkit::timer_changed(ui::Timer& timer) { impl_->core.timer_changed(timer); }
void UiToolkit::timer_removed(ui::Timer& timer) {
    if (impl_) impl_->core.timer_removed(timer);
}
void UiToolkit::tray_changed(ui::TrayIcon& icon) { impl_->core.tray_changed(icon); }
void UiToolkit::tray_removed(ui::TrayIcon& icon) {
    if (impl_) impl_->core.tray_removed(icon);
}
void UiToolkit::track_popup(ui::PopupMenu& menu, std::optional<ui::Point> at) { impl_->core.track_popup(menu, at); }

void* UiToolkit::window(const ui::Form& form) const {
    auto* peer = static_cast<FormWindow*>(form.peer());
    return peer ? peer->hwnd() : nullptr;
}

void* UiToolkit::window(const ui::Control& control) const {
    auto* peer = dynamic_cast<ControlWindow*>(control.peer());
    return peer ? peer->hwnd() : nullptr;
}

void UiToolkit::flush() { impl_->core.flush(true); }

bool UiToolkit::process_messages() { return impl_->core.process_messages(); }

}  // namespace platform::win32
