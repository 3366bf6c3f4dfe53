#pragma once
// The standard dialogs: message boxes owned by the program's active window,
// the folder chooser, the file-open dialog and the default beep. Texts are
// cp1251; a "\r" in a message text is a line break.
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class Icon { none, information, warning, question, error, stop };
enum class Buttons { ok, yes_no };
enum class Answer { ok, yes, no };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; returns the button pressed.
    virtual Answer message(const std::string& text, const std::string& caption, Icon icon,
                           Buttons buttons = Buttons::ok) = 0;
    // The confirmation dialog: caption "Confirm", question icon, buttons
    // "&Yes" and "&No".
    virtual Answer confirm(const std::string& text) = 0;
    // The folder chooser (file-system folders only); nothing when cancelled.
    virtual std::optional<std::string> choose_folder(const std::string& title) = 0;
    // The file-open dialog (no filter, resizable): full paths of the chosen
    // files, one unless multiple; empty when cancelled.
    virtual std::vector<std::string> open_files(bool multiple) = 0;
    std::optional<std::string> open_file() {
        auto files = open_files(false);
        if (files.empty()) return std::nullopt;
        return files.front();
    }
    // The system's default beep.
    virtual void beep() = 0;
};

}  // namespace ui
