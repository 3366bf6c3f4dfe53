#pragma once
// The Win32 backend of the widget model: every Form becomes a real top-level
// window and every control a real (common) control, kept in step with the
// model both ways. Each window carries its control's or form's name as the
// property "ComponentName" (a global atom), for UI automation.
//
//     platform::win32::UiToolkit toolkit;
//     MainWindow main(toolkit);
//     toolkit.run(main);   // returns when the main window is closed
//
// One toolkit per program, made and used on the program's one thread.
#include <memory>
#include <optional>

#include "ui/toolkit.h"

namespace ui {
class Control;
class Form;
}  // namespace ui

namespace platform::win32 {

class UiToolkit final : public ui::Toolkit {
public:
    UiToolkit();
    ~UiToolkit() override;

    ui::Dialogs& dialogs() override;
    platform::Pump& pump() override;
    ui::Size screen_size() const override;
    void run(ui::Form& main) override;

    void realize(ui::Form& form) override;
    void show_form(ui::Form& form) override;
    void hide_form(ui::Form& form) override;
    void activate_form(ui::Form& form) override;
    void run_modal(ui::Form& form) override;
    void quit() override;
    void timer_changed(ui::Timer& timer) override;
    void timer_removed(ui::Timer& timer) override;
    void tray_changed(ui::TrayIcon& icon) override;
    void tray_removed(ui::TrayIcon& icon) override;
    void track_popup(ui::PopupMenu& menu, std::optional<ui::Point> at) override;

    // For tests and tools: the window (an HWND) made for a form or a
    // control, or null while there is none.
    void* window(const ui::Form& form) const;
    void* window(const ui::Control& control) const;
    // Applies pending window updates (list rows, late controls) now rather
    // than at the next message.
    void flush();
    // Dispatches every pending message now (Pump::serve() without its 15 ms
    // spacing); false once the program was asked to end.
    bool process_messages();

    class Impl;

protected:
    void application_title_changed() override;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::win32
