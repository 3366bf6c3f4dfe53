#include "emptydirs/empty_dirs_page.h"

namespace emptydirs {

EmptyDirsPage::EmptyDirsPage(ui::Page& page, ui::Form& area, ui::Form& exclusions)
    : search::LauncherPage(
          page, {"EmptyDirs",
                 "Поиск пустых папок",
                 "Наличие на Вашем компьютере большого количества пустых папок замедляет некоторые операции, такие "
                 "как поиск, определение размера и прочие. Их удаление может повысить быстродействие системы, но "
                 "следует внимательно смотреть, что Вы удаляете.",
                 64,
                 {{"Задание области поиска - локальных и сетевых дисков, а также отдельных папок.", "SpeedButton24",
                   &area},
                  {"Задание папок, которые необходимо исключить из поиска.", "SpeedButton25", &exclusions}},
                 "SpeedButton26"}) {}

}  // namespace emptydirs
