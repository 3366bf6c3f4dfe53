#pragma once
// The tools of the "Интернет" category and the history-lists tool.
#include "privacy/cache_page.h"
#include "privacy/history_lists_page.h"
#include "privacy/traces_page.h"
#include "search/tool.h"

namespace privacy {

class CacheTool : public search::Tool {
public:
    CacheTool(search::ToolContext& context, ui::Page& page)
        : page_(page, context.platform, context.main.pump()) {}
    void open() override { page_.refresh(); }
    CachePage& page() { return page_; }

private:
    CachePage page_;
};

class TracesTool : public search::Tool {
public:
    TracesTool(search::ToolContext& context, ui::Page& page, Store store)
        : page_(page, context.platform, context.main.pump(), store) {}
    void open() override { page_.refresh(); }
    TracesPage& page() { return page_; }

private:
    TracesPage page_;
};

class HistoryListsTool : public search::Tool {
public:
    HistoryListsTool(search::ToolContext& context, ui::Page& page)
        : page_(page, context.platform, context.data) {}
    void open() override { page_.refresh(); }
    HistoryListsPage& page() { return page_; }

private:
    HistoryListsPage page_;
};

}  // namespace privacy
