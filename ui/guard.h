#pragma once
// A user action that fails with an exception (a list file that cannot be
// written, say) ends there: its message is shown with the error icon, and
// what the action already did stays done.
#include <exception>
#include <functional>
#include <utility>

#include "ui/dialogs.h"
#include "ui/form.h"

namespace ui {

inline constexpr char kErrorCaption[] = "System Cleaner";

template <class F>
void run_guarded(Form& form, F&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        form.dialogs().message(error.what(), kErrorCaption, Icon::error);
    }
}

// A handler that runs `action` guarded.
template <class F>
std::function<void()> guarded(Form& form, F action) {
    return [&form, action = std::move(action)]() mutable { run_guarded(form, action); };
}

}  // namespace ui
