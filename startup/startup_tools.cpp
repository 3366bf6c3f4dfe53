#include "startup/startup_tools.h"

namespace startup {

StartupListTool::StartupListTool(search::ToolContext& context, ui::Page& page, Hive hive)
    : editor_(context.shared<EntryWindow>(
          "startup.editor", [&] { return new EntryWindow(context.toolkit, context.platform, context.data); })),
      page_(page, hive, context.platform, context.data, editor_) {}

RunToolsTool::RunToolsTool(search::ToolContext& context, ui::Page& page)
    : notice_(context.toolkit, context.platform, context.data, *context.sounds.radar, *context.sounds.link),
      monitor_(notice_, context.platform.registry, context.data),
      page_(page, context.platform, context.data, monitor_),
      timer_(context.main, "Timer2") {
    timer_.set_interval(2000);
    timer_.on_tick = [this] { monitor_.tick(); };
    monitor_.on_watching_changed = [this](bool on) {
        if (on) timer_.start();
        else timer_.stop();
    };
}

void RunToolsTool::main_shown() {
    if (monitor_.watching()) timer_.start();
    notice_.park();
}

}  // namespace startup
