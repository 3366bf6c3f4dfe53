#pragma once
// The backend the widget model talks to: the Win32 renderer in the program,
// the headless one in native tests. It serves the message loop, makes peers
// for forms, and keeps timers, tray icons and popup menus going. The model
// itself keeps which window of the program is the active one.
#include <optional>
#include <string>
#include <vector>

#include "platform/pump.h"
#include "ui/types.h"

namespace ui {

class Dialogs;
class Form;
class PopupMenu;
class Timer;
class TrayIcon;

class Toolkit {
public:
    Toolkit() { current_ = this; }
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;
    virtual ~Toolkit() {
        if (current_ == this) current_ = nullptr;
    }
    // The program's toolkit (the latest made).
    static Toolkit* current() { return current_; }

    virtual Dialogs& dialogs() = 0;
    virtual platform::Pump& pump() = 0;
    virtual Size screen_size() const = 0;

    // The program's loop: shows the main window and serves messages until it
    // is closed (closing the main window ends the program). Headless: shows
    // it and returns.
    virtual void run(Form& main) = 0;
    Form* main_form() const { return main_; }
    // The program's active window, or nothing.
    Form* active_form() const { return active_; }
    // The program's name on the task bar, where its windows share one button.
    const std::string& application_title() const { return application_title_; }
    void set_application_title(std::string title) {
        application_title_ = std::move(title);
        application_title_changed();
    }
    // Every form alive, in construction order.
    const std::vector<Form*>& forms() const { return forms_; }

    // Called by the model; a backend implements them.
    virtual void realize(Form& form) = 0;
    // The form became visible (its on_show ran): show its window and make it
    // the active one.
    virtual void show_form(Form& form) = 0;
    virtual void hide_form(Form& form) = 0;
    virtual void activate_form(Form& form) = 0;
    // Shows the form (calling form.show()) and, in a real backend, serves
    // messages while it stays visible, with the other windows disabled.
    virtual void run_modal(Form& form) = 0;
    // The main window closed: the loop of run() ends.
    virtual void quit() = 0;
    virtual void timer_changed(Timer& timer) = 0;
    virtual void timer_removed(Timer& timer) = 0;
    virtual void tray_changed(TrayIcon& icon) = 0;
    virtual void tray_removed(TrayIcon& icon) = 0;
    virtual void track_popup(PopupMenu& menu, std::optional<Point> at) = 0;

protected:
    void set_main_form(Form* form) { main_ = form; }
    virtual void application_title_changed() {}

private:
    friend class Form;
    Form* active_ = nullptr;
    Form* main_ = nullptr;
    std::vector<Form*> forms_;
    std::string application_title_;
    static inline Toolkit* current_ = nullptr;
};

}  // namespace ui
