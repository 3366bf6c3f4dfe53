#include "junk/junk_tools.h"

namespace junk {

TempDirsTool::TempDirsTool(search::ToolContext& context, ui::Page& page)
    : page_(page, context.platform, context.main.pump(), context.sounds.clean) {}

TempFindTool::TempFindTool(search::ToolContext& context, ui::Page& page)
    : editors_(context, search::kTempFilesArea, search::kTempFilesExclusions),
      mask_(context.toolkit, context.data),
      page_(page, editors_.area, editors_.exclusions, mask_),
      window_(context.toolkit, context.platform, context.data, editors_.drives, context.main) {
    page_.on_start = [&context, this] { search::start_search(context, window_); };
}

}  // namespace junk
