#include "shortcuts/links_tool.h"

namespace shortcuts {

LinksTool::LinksTool(search::ToolContext& context, ui::Page& page)
    : data_(context.data),
      editors_(context, search::kBrokenLinksArea, search::kBrokenLinksExclusions),
      page_(page, editors_.area, editors_.exclusions),
      window_(context.toolkit, context.platform, context.data, editors_.drives, context.main) {
    page_.on_start = [&context, this] { search::start_search(context, window_); };
}

}  // namespace shortcuts
