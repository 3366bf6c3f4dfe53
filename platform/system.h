#pragma once
// The process and the machine: environment, own path, clock, locale.
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class System {
public:
    virtual ~System() = default;
    // The environment block as exact name/value pairs, in block order (a name
    // may begin with "=", as "=C:" does). Characters without a cp1251 form
    // read as '?', which no file name holds.
    virtual std::vector<std::pair<std::string, std::string>> environment() = 0;
    // The running executable's full path.
    virtual std::string executable_path() = 0;
    // The local date and time.
    virtual LocalDateTime now() = 0;
    // The user's locale: decimal separator ("," or ".") and short date format
    // ("dd.MM.yyyy").
    virtual char decimal_separator() = 0;
    virtual std::string short_date_format() = 0;
    // A pause of the one thread.
    virtual void sleep_ms(int milliseconds) = 0;
};

}  // namespace platform
