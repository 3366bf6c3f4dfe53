#include "posix/headless_ui.h"

#include <algorithm>

namespace headless {

// Dialogs

ui::Answer Dialogs::message(const std::string& text, const std::string& caption, ui::Icon icon,
                            ui::Buttons buttons) {
    const ui::Form* owner = toolkit_.active_form();
    messages.push_back(Message{text, caption, icon, buttons, owner ? owner->name() : std::string()});
    if (on_message) on_message(messages.back());
    if (!answers.empty()) {
        const ui::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == ui::Buttons::ok ? ui::Answer::ok : ui::Answer::no;
}

ui::Answer Dialogs::confirm(const std::string& text) {
    return message(text, "Confirm", ui::Icon::question, ui::Buttons::yes_no);
}

std::optional<std::string> Dialogs::choose_folder(const std::string& title) {
    folder_titles.push_back(title);
    if (folders.empty()) return std::nullopt;
    auto folder = folders.front();
    folders.pop_front();
    return folder;
}

std::vector<std::string> Dialogs::open_files(bool multiple) {
    file_dialogs.push_back(multiple);
    if (files.empty()) return {};
    auto chosen = files.front();
    files.pop_front();
    if (!multiple && chosen.size() > 1) chosen.resize(1);
    return chosen;
}

// Toolkit

void Toolkit::run(ui::Form& main) {
    set_main_form(&main);
    ended_ = false;
    main.show();
}

bool Toolkit::alive(const ui::Form* form) const {
    return std::find(forms().begin(), forms().end(), form) != forms().end();
}

void Toolkit::bring_forward(ui::Form& form) {
    order_.erase(std::remove(order_.begin(), order_.end(), &form), order_.end());
    order_.push_back(&form);
}

void Toolkit::show_form(ui::Form& form) {
    bring_forward(form);
    form.activated();
}

void Toolkit::activate_form(ui::Form& form) {
    bring_forward(form);
    form.activated();
}

void Toolkit::hide_form(ui::Form& form) {
    order_.erase(std::remove(order_.begin(), order_.end(), &form), order_.end());
    if (active_form()) return;
    // As Windows does, the window activated before becomes active again.
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        ui::Form* candidate = *it;
        if (alive(candidate) && candidate->visible()) {
            candidate->activated();
            return;
        }
    }
}

void Toolkit::advance(int milliseconds) {
    const long long until = now_ + std::max(milliseconds, 0);
    for (;;) {
        auto next = std::min_element(due_.begin(), due_.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
        if (next == due_.end() || next->second > until) break;
        ui::Timer* timer = next->first;
        now_ = next->second;
        next->second = now_ + timer->interval();
        timer->tick();  // may change or remove its own entry
    }
    now_ = until;
}

void Toolkit::timer_changed(ui::Timer& timer) {
    if (timer.enabled() && timer.interval() > 0) due_[&timer] = now_ + timer.interval();
    else due_.erase(&timer);
}

void Toolkit::timer_removed(ui::Timer& timer) { due_.erase(&timer); }

void Toolkit::tray_changed(ui::TrayIcon& icon) {
    if (std::find(tray_icons_.begin(), tray_icons_.end(), &icon) == tray_icons_.end()) tray_icons_.push_back(&icon);
}

void Toolkit::tray_removed(ui::TrayIcon& icon) {
    tray_icons_.erase(std::remove(tray_icons_.begin(), tray_icons_.end(), &icon), tray_icons_.end());
}

void Toolkit::track_popup(ui::PopupMenu& menu, std::optional<ui::Point> at) {
    open_menu_ = &menu;
    menu_point_ = at;
    ++popups_;
}

bool Toolkit::choose(ui::MenuItem& item) {
    if (!open_menu_ || &item.menu() != open_menu_) return false;
    open_menu_ = nullptr;
    item.click();
    return true;
}

}  // namespace headless
