#pragma once
// A tool of the main window: one item of its category bar, the page that item
// shows and the windows that page opens. Each tool's folder makes its own;
// the main window only knows the table that lists them.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "search/drives.h"
#include "search/sounds.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace search {

// What the main window lends its tools.
struct ToolContext {
    ui::Toolkit& toolkit;
    platform::Platform& platform;
    const store::DataFolder& data;
    // Hidden while a result window is open; that window shows it again.
    ui::Form& main;
    const std::vector<std::string>& usable_drives;
    Sounds& sounds;
    // Hides the main window into the notification area.
    std::function<void()> hide_to_tray;

    // The drive selection that the flag file `flag_file` keeps, made on first
    // use; the main window refills every selection from its file each time
    // it is shown.
    DriveSelection& drives(const std::string& flag_file) { return selections[flag_file]; }
    std::map<std::string, DriveSelection>& selections;

    // A part that several tools of one folder share (one editor for two
    // pages), made by the first that asks; it lives as long as the tools.
    template <class T, class Make>
    T& shared(const std::string& key, Make make) {
        auto& part = parts[key];
        if (!part) part = std::shared_ptr<T>(make());
        return *static_cast<T*>(part.get());
    }
    std::map<std::string, std::shared_ptr<void>>& parts;
};

class Tool {
public:
    virtual ~Tool() = default;
    // The tool's routine: its page is being shown; refresh what it displays.
    virtual void open() {}
    // The main window was shown (at start, and when a result window or the
    // notification area gives it back).
    virtual void main_shown() {}
    // The main window's fade-in ended.
    virtual void faded_in() {}
};

// A tool that only shows its page.
class PageOnly : public Tool {};

}  // namespace search
