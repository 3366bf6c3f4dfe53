#include "duplicates/duplicates_page.h"

namespace duplicates {

DuplicatesPage::DuplicatesPage(ui::Page& page, ui::Form& area, ui::Form& exclusions)
    : search::LauncherPage(
          page, {"Duplicates",
                 "Поиск копий файлов",
                 "Копии определяются при помощи побайтового сравнения файлов. Поиск можно проводить как среди всех "
                 "файлов в области поиска, так и среди выбранных типов.",
                 48,
                 {{"Задание списка файлов для поиска.", "DuplicatesFilesButton", nullptr},
                  {"Задание области поиска - локальных и сетевых дисков, а также отдельных папок.",
                   "DuplicatesAreaButton", &area},
                  {"Задание исключений из поиска - отдельных файлов и папок.", "DuplicatesExclusionsButton",
                   &exclusions},
                  {"Задание типов файлов, которые будут включены в поиск копий.", "DuplicatesTypesButton", nullptr}},
                 "DuplicatesStartButton"}) {
    // The chosen files and file type editors are not there yet.
    files_button().set_tooltip("Пока недоступно");
    types_button().set_tooltip("Пока недоступно");
}

}  // namespace duplicates
