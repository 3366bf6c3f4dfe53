#pragma once
// The tools of the "Удаление" category.
#include "removal/shredder_page.h"
#include "removal/uninstall_page.h"
#include "search/tool.h"

namespace removal {

class UninstallTool : public search::Tool {
public:
    UninstallTool(search::ToolContext& context, ui::Page& page)
        : page_(page, context.platform, context.data, context.main.pump()) {}
    void open() override { page_.refresh(); }
    UninstallPage& page() { return page_; }

private:
    UninstallPage page_;
};

class ShredderTool : public search::Tool {
public:
    ShredderTool(search::ToolContext& context, ui::Page& page)
        : page_(page, context.platform, context.main.pump()) {}
    void open() override { page_.refresh(); }
    ShredderPage& page() { return page_; }

private:
    ShredderPage page_;
};

}  // namespace removal
