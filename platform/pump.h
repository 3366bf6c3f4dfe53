#pragma once
// Serving the window message queue from inside long work on the one thread.
// Engines call serve() where the program's walks say so and check their stop
// request right after it.

namespace platform {

class Pump {
public:
    virtual ~Pump() = default;
    // Dispatches pending window messages (the Win32 pump at most about every
    // 15 ms, a cheap clock check otherwise).
    virtual void serve() = 0;
};

// A flag per result window, set by its "Прекратить" button, cleared when a
// search starts, polled by the engine after each serve().
class StopRequest {
public:
    void request() { requested_ = true; }
    void clear() { requested_ = false; }
    bool requested() const { return requested_; }
    // A request that is never made, for work that cannot be stopped.
    static const StopRequest& never() {
        static const StopRequest none;
        return none;
    }

private:
    bool requested_ = false;
};

}  // namespace platform
