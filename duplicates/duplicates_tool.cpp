#include "duplicates/duplicates_tool.h"

namespace duplicates {

DuplicatesTool::DuplicatesTool(search::ToolContext& context, ui::Page& page)
    : editors_(context, search::kDuplicatesArea, search::kDuplicatesExclusions),
      files_(context.toolkit, context.data, context.platform.fs),
      types_(context.toolkit, context.data, context.platform.registry),
      page_(page, files_, editors_.area, editors_.exclusions, types_, context.data) {
    // The result window comes with its own change.
    page_.start_button().set_enabled(false);
}

}  // namespace duplicates
