#include "posix/posix_platform.h"

#include <stdexcept>

namespace platform::posix {

namespace {

PosixSystem::Settings system_settings(PosixConfig& c) {
    PosixSystem::Settings s;
    s.environment = std::move(c.environment);
    s.executable_path = std::move(c.executable_path);
    s.decimal_separator = c.decimal_separator;
    s.short_date_format = std::move(c.short_date_format);
    s.clock = std::move(c.clock);
    s.real_sleep = c.real_sleep;
    return s;
}

}  // namespace

PosixPlatform::PosixPlatform(PosixConfig config)
    : fs_(config.drives, config.utc_offset_minutes),
      shell_(fs_, registry_, config.trash_folder, config.spawn_processes),
      links_(fs_),
      internet_(fs_, config.connected),
      sound_(fs_),
      system_(fs_, system_settings(config)),
      bundle_{fs_, registry_, shell_, links_, internet_, sound_, system_} {
    if (!config.registry.empty()) {
        if (Status s = registry_.import_reg(config.registry); !s) throw std::invalid_argument(s.message());
    }
}

}  // namespace platform::posix
