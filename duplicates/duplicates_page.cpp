#include "duplicates/duplicates_page.h"

#include "duplicates/duplicate_search.h"

namespace duplicates {

namespace {

constexpr int kExplanationHeight = 48;

search::LauncherLayout layout(ui::Form& files, ui::Form& area, ui::Form& exclusions, ui::Form& types) {
    search::LauncherLayout l{
        "Duplicates",
        "Поиск копий файлов",
        "Копии определяются при помощи побайтового сравнения файлов. Поиск можно проводить как среди всех "
        "файлов в области поиска, так и среди выбранных типов.",
        kExplanationHeight,
        {{"Задание списка файлов для поиска.", "DuplicatesFilesButton", &files},
         {"Задание области поиска - локальных и сетевых дисков, а также отдельных папок.", "DuplicatesAreaButton",
          &area},
         {"Задание исключений из поиска - отдельных файлов и папок.", "DuplicatesExclusionsButton", &exclusions},
         {"Задание типов файлов, которые будут включены в поиск копий.", "DuplicatesTypesButton", &types}},
        "DuplicatesStartButton"};
    l.own_controls_height = 44;
    return l;
}

}  // namespace

DuplicatesPage::DuplicatesPage(ui::Page& page, ui::Form& files, ui::Form& area, ui::Form& exclusions,
                               ui::Form& types, const store::DataFolder& data)
    : search::LauncherPage(page, layout(files, area, exclusions, types)),
      data_(data),
      area_mode_(page, "DuplicatesAreaMode"),
      files_mode_(page, "DuplicatesFilesMode") {
    const int top = 36 + kExplanationHeight + 4;
    area_mode_.set_text("Искать копии файлов из области поиска");
    area_mode_.set_bold(true);
    area_mode_.set_bounds(12, top, 400, 18);
    files_mode_.set_text("Искать копии выбранных файлов");
    files_mode_.set_bold(true);
    files_mode_.set_bounds(12, top + 20, 400, 18);
    area_mode_.on_click = [this] { area_mode_chosen(); };
    files_mode_.on_click = [this] { files_mode_chosen(); };
}

void DuplicatesPage::opened() {
    ui::RadioButton& stored = data_.marker(DuplicateSettings::kWholeAreaMarker) ? area_mode_ : files_mode_;
    if (stored.checked()) {
        files_button().set_enabled(&stored == &files_mode_);
        return;
    }
    stored.set_checked(true);
}

void DuplicatesPage::area_mode_chosen() {
    data_.rewrite(DuplicateSettings::kWholeAreaMarker, {});
    files_button().set_enabled(false);
}

void DuplicatesPage::files_mode_chosen() {
    data_.remove(DuplicateSettings::kWholeAreaMarker);
    files_button().set_enabled(true);
}

}  // namespace duplicates
