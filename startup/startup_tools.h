#pragma once
// The tools of the "Автозагрузка" category: the two lists share one entry
// editor; the extra settings page owns the watch over the autorun keys (the
// main window's timer Timer2 and the notice window).
#include "search/tool.h"
#include "startup/autorun_page.h"
#include "startup/entry_window.h"
#include "startup/notice_window.h"
#include "startup/startup_page.h"

namespace startup {

class StartupListTool : public search::Tool {
public:
    StartupListTool(search::ToolContext& context, ui::Page& page, Hive hive);
    void open() override { page_.refresh(); }
    StartupPage& page() { return page_; }
    EntryWindow& editor() { return editor_; }

private:
    EntryWindow& editor_;
    StartupPage page_;
};

class RunToolsTool : public search::Tool {
public:
    RunToolsTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.refresh(); }
    void main_shown() override;
    AutorunPage& page() { return page_; }
    NoticeWindow& notice() { return notice_; }
    AutorunMonitor& monitor() { return monitor_; }
    ui::Timer& timer() { return timer_; }

private:
    NoticeWindow notice_;
    AutorunMonitor monitor_;
    AutorunPage page_;
    ui::Timer timer_;
};

}  // namespace startup
