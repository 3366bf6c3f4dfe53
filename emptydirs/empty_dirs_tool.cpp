#include "emptydirs/empty_dirs_tool.h"

namespace emptydirs {

EmptyDirsTool::EmptyDirsTool(search::ToolContext& context, ui::Page& page)
    : editors_(context, search::kEmptyDirsArea, search::kEmptyDirsExclusions),
      page_(page, editors_.area, editors_.exclusions, context.data),
      window_(context.toolkit, context.platform, context.data, editors_.drives, context.main) {
    page_.on_start = [&context, this] {
        window_.set_caption(page_.folders_button().checked() ? "Поиск пустых папок"
                                                             : "Поиск пустых папок с пустыми подпапками");
        search::start_search(context, window_);
    };
}

}  // namespace emptydirs
