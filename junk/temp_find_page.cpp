#include "junk/temp_find_page.h"

namespace junk {

TempFindPage::TempFindPage(ui::Page& page, ui::Form& area, ui::Form& exclusions, ui::Form& mask)
    : search::LauncherPage(
          page,
          {"TempFind",
           "Поиск временных файлов",
           "Многие программы создают временные файлы и не всегда удаляют их после себя: резервные копии, "
           "журналы, остатки прерванных операций. Поиск найдет такие файлы по расширению и, если нужно, по "
           "давности изменения, а Вы решите, какие из них удалить.",
           64,
           {{"Задание области поиска - локальных и сетевых дисков, а также отдельных папок.", "TempFindAreaButton",
             &area},
            {"Задание исключений из поиска - отдельных файлов и папок.", "TempFindExclusionsButton", &exclusions},
            {"Задание расширений временных файлов и ограничения по дате.", "TempFindMaskButton", &mask}},
           "TempFindStartButton"}) {}

}  // namespace junk
