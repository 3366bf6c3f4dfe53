#include "duplicates/duplicates_tool.h"

namespace duplicates {

DuplicatesTool::DuplicatesTool(search::ToolContext& context, ui::Page& page)
    : editors_(context, search::kDuplicatesArea, search::kDuplicatesExclusions),
      files_(context.toolkit, context.data, context.platform.fs),
      types_(context.toolkit, context.data, context.platform.registry),
      page_(page, files_, editors_.area, editors_.exclusions, types_, context.data),
      window_(context.toolkit, context.platform, context.data, editors_.drives, context.main) {
    page_.on_start = [&context, this] { search::start_search(context, window_); };
}

}  // namespace duplicates
