#include "search/search_editors.h"

namespace search {

SearchEditors::SearchEditors(ToolContext& context, const AreaVariant& area_variant,
                             const ExclusionsVariant& exclusions_variant)
    : drives(context.drives(std::string(area_variant.prefix) + "_drives.txt")),
      area(context.toolkit, area_variant, context.data, context.platform.fs, context.usable_drives, drives),
      exclusions(context.toolkit, exclusions_variant, context.data, context.platform.fs, drives) {}

void start_search(ToolContext& context, ui::Form& result_window) {
    context.main.hide();
    result_window.show_modal();
}

}  // namespace search
