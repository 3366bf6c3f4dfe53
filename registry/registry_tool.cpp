#include "registry/registry_tool.h"

#include "registry/reference_search.h"
#include "search/search_editors.h"

namespace registry {

RegistryPage::RegistryPage(ui::Page& page, ui::Form& area)
    : search::LauncherPage(
          page, {"Registry",
                 "Поиск неправильных ссылок",
                 "Иногда, при удалении программ или отдельных файлов, их перемещении, изменении их имен и т.д. в "
                 "реестре продолжают оставаться их прежние, неверные пути. От большого количества таких ссылок "
                 "падает производительность компьютера.",
                 64,
                 {{"Задание области поиска - ключей в реестре и локальных дисков.", "RegistryAreaButton", &area}},
                 "RegistryStartButton"}) {}

RegistryTool::RegistryTool(search::ToolContext& context, ui::Page& page)
    : area_(context.toolkit, context.data, context.usable_drives, context.drives(kDrivesFile)),
      page_(page, area_),
      window_(context.toolkit, context.platform, context.data, context.drives(kDrivesFile), context.main) {
    page_.on_start = [&context, this] { search::start_search(context, window_); };
}

}  // namespace registry
