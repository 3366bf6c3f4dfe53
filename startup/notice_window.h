#pragma once
// The autorun monitor and its notification window (Form20). Every tick of
// the main window's monitor timer compares the watched keys with their
// snapshots; a new value slides the notification in from the right edge of
// the screen, where the user keeps it ("Оставить": its name joins the
// snapshot) or deletes it ("Удалить").
//
// The window is parked (its left edge at the screen width) whenever no
// notification shows; that is how the monitor knows one is showing.
#include <cstddef>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/sound.h"
#include "search/registry_walk.h"
#include "startup/autorun_watch.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace startup {

class NoticeWindow : public ui::Form {
public:
    // `radar` plays when a notification comes in, `link` when it is answered.
    NoticeWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                 platform::SoundPlayer& radar, platform::SoundPlayer& link);

    // Off the right edge of the screen, hidden, not sliding.
    void park();
    bool parked() const;
    // Shows a new value of watched key `key` (an index of kWatchedKeys);
    // slides in unless a notification is already showing, whose content it
    // then replaces.
    void notify(std::size_t key, const WatchedValue& value);
    void slide();
    void keep();
    void remove();

    ui::Timer& slide_timer() { return slide_timer_; }
    ui::Edit& command() { return command_; }
    ui::Label& key_text() { return key_text_; }
    ui::Label& name() { return name_; }
    ui::Label& keep_link() { return keep_link_; }
    ui::Label& remove_link() { return remove_link_; }

private:
    platform::Platform& platform_;
    const store::DataFolder& data_;
    platform::SoundPlayer& radar_;
    platform::SoundPlayer& link_;
    std::size_t key_ = 0;
    // The shown name has characters without a cp1251 form.
    bool unrepresentable_ = false;
    platform::View view_ = platform::View::native;

    ui::Label title_{*this, "Label1"};
    ui::Label command_caption_{*this, "Label2"};
    ui::Edit command_{*this, "Edit1"};
    ui::Label key_caption_{*this, "Label3"};
    ui::Label key_text_{*this, "Label5"};
    ui::Label name_caption_{*this, "Label4"};
    ui::Label name_{*this, "Label6"};
    ui::Label keep_link_{*this, "Label7"};
    ui::Label remove_link_{*this, "Label8"};
    ui::Timer slide_timer_{*this, "Timer1"};
};

class AutorunMonitor {
public:
    AutorunMonitor(NoticeWindow& notice, platform::Registry& registry, const store::DataFolder& data);

    // Whether the monitor should run (the main window's Timer2 runs while
    // it does).
    bool watching() const;
    // Told when "  Применить" turns watching on or off.
    std::function<void(bool on)> on_watching_changed;
    void set_watching(bool on);

    // One round over the watched keys.
    void tick();

private:
    NoticeWindow& notice_;
    platform::Registry& registry_;
    const store::DataFolder& data_;
};

}  // namespace startup
