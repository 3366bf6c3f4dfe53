#include "shortcuts/links_page.h"

namespace shortcuts {

LinksPage::LinksPage(ui::Page& page, ui::Form& area, ui::Form& exclusions)
    : search::LauncherPage(
          page, {"BadLinks",
                 "Поиск неправильных ярлыков",
                 "После удаления некоторых программ, а также их перемещения, могут оставаться ярлыки, указывающие "
                 "на несуществующие файлы. Эти ярлыки не представляют собой никакой ценности, поэтому их можно "
                 "безболезненно удалить.",
                 64,
                 {{"Задание области поиска - локальных дисков и отдельных папок.", "SpeedButton8", &area},
                  {"Задание папок, которые необходимо исключить из поиска.", "SpeedButton9", &exclusions}},
                 "SpeedButton10"}) {}

}  // namespace shortcuts
