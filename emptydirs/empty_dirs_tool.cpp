#include "emptydirs/empty_dirs_tool.h"

namespace emptydirs {

EmptyDirsTool::EmptyDirsTool(search::ToolContext& context, ui::Page& page)
    : editors_(context, search::kEmptyDirsArea, search::kEmptyDirsExclusions),
      page_(page, editors_.area, editors_.exclusions, context.data) {
    // The result window comes with its own change.
    page_.start_button().set_enabled(false);
}

}  // namespace emptydirs
