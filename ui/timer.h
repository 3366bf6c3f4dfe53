#pragma once
// A window timer: while enabled, on_tick runs every interval milliseconds on
// the program's one thread, whenever messages are served (also inside
// Pump::serve()). Timers start disabled.
#include <functional>
#include <string>

namespace ui {

class Form;

class Timer {
public:
    Timer(Form& owner, std::string name);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    Form& owner() const { return owner_; }
    const std::string& name() const { return name_; }

    int interval() const { return interval_; }
    void set_interval(int milliseconds);
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);
    void start() { set_enabled(true); }
    void stop() { set_enabled(false); }

    std::function<void()> on_tick;
    // One tick; nothing while the timer is disabled.
    void tick();

private:
    Form& owner_;
    std::string name_;
    int interval_ = 1000;
    bool enabled_ = false;
};

}  // namespace ui
