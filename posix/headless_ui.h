#pragma once
// The headless backend of the widget model, for native tests: state only.
// Windows "show" by raising their events, modal windows return at once and
// stay shown until closed, message boxes answer from a script and are
// recorded, the pump runs a test's callback, timers tick when a test moves
// the clock.
//
//     headless::Toolkit toolkit;
//     MyWindow window(toolkit);
//     toolkit.dialogs().answers.push_back(ui::Answer::yes);
//     toolkit.pump().on_serve = [&] { if (++n == 5) window.stop.click(); };
//     window.show_modal();            // on_show, on_activate ran; still shown
//     EXPECT_EQ(toolkit.dialogs().messages.back().caption, "Поиск завершен");
//     window.close();
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace headless {

// One message box as the program asked for it.
struct Message {
    std::string text;
    std::string caption;
    ui::Icon icon = ui::Icon::none;
    ui::Buttons buttons = ui::Buttons::ok;
    std::string owner;  // name of the active form, or empty
};

class Dialogs : public ui::Dialogs {
public:
    explicit Dialogs(ui::Toolkit& toolkit) : toolkit_(toolkit) {}

    // The script, taken from the front. Without a queued answer a box
    // answers OK, a yes/no box No, the folder chooser and the file dialog
    // are cancelled.
    std::deque<ui::Answer> answers;
    std::deque<std::optional<std::string>> folders;
    std::deque<std::vector<std::string>> files;

    // What was asked.
    std::vector<Message> messages;
    std::vector<std::string> folder_titles;
    std::vector<bool> file_dialogs;  // one per file dialog: multiple selection
    int beeps = 0;
    // Runs while a message box is open (after it was recorded).
    std::function<void(const Message&)> on_message;

    ui::Answer message(const std::string& text, const std::string& caption, ui::Icon icon,
                       ui::Buttons buttons = ui::Buttons::ok) override;
    ui::Answer confirm(const std::string& text) override;
    std::optional<std::string> choose_folder(const std::string& title) override;
    std::vector<std::string> open_files(bool multiple) override;
    void beep() override { ++beeps; }

private:
    ui::Toolkit& toolkit_;
};

class Pump : public platform::Pump {
public:
    void serve() override {
        ++served;
        if (on_serve) on_serve();
    }
    std::function<void()> on_serve;
    long long served = 0;
};

class Toolkit : public ui::Toolkit {
public:
    Toolkit() : dialogs_(*this) {}

    Dialogs& dialogs() override { return dialogs_; }
    Pump& pump() override { return pump_; }
    ui::Size screen_size() const override { return screen; }
    ui::Size screen{1024, 768};

    // Shows the main window and returns; ended() tells when it was closed.
    void run(ui::Form& main) override;
    bool ended() const { return ended_; }

    // Moves the clock: every enabled timer ticks once for each of its
    // intervals that passes, in time order.
    void advance(int milliseconds);
    long long now() const { return now_; }

    // Tray icons alive (shown or not).
    const std::vector<ui::TrayIcon*>& tray_icons() const { return tray_icons_; }

    // The popup menu last opened and not yet chosen from, and where.
    ui::PopupMenu* open_menu() const { return open_menu_; }
    std::optional<ui::Point> menu_point() const { return menu_point_; }
    int popups() const { return popups_; }
    // Chooses an item of the open menu (closing the menu first); false when
    // no menu is open.
    bool choose(ui::MenuItem& item);
    void close_menu() { open_menu_ = nullptr; }

    void realize(ui::Form&) override {}
    void show_form(ui::Form& form) override;
    void hide_form(ui::Form& form) override;
    void activate_form(ui::Form& form) override;
    void run_modal(ui::Form& form) override { form.show(); }
    void quit() override { ended_ = true; }
    void timer_changed(ui::Timer& timer) override;
    void timer_removed(ui::Timer& timer) override;
    void tray_changed(ui::TrayIcon& icon) override;
    void tray_removed(ui::TrayIcon& icon) override;
    void track_popup(ui::PopupMenu& menu, std::optional<ui::Point> at) override;

private:
    void bring_forward(ui::Form& form);
    bool alive(const ui::Form* form) const;

    Dialogs dialogs_;
    Pump pump_;
    bool ended_ = false;
    long long now_ = 0;
    std::map<ui::Timer*, long long> due_;
    std::vector<ui::TrayIcon*> tray_icons_;
    std::vector<ui::Form*> order_;  // most recently activated last
    ui::PopupMenu* open_menu_ = nullptr;
    std::optional<ui::Point> menu_point_;
    int popups_ = 0;
};

}  // namespace headless
