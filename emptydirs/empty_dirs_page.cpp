#include "emptydirs/empty_dirs_page.h"

#include "emptydirs/empty_dirs_search.h"

namespace emptydirs {

namespace {

constexpr int kExplanationHeight = 64;

search::LauncherLayout layout(ui::Form& area, ui::Form& exclusions) {
    search::LauncherLayout l{
        "EmptyDirs",
        "Поиск пустых папок",
        "Наличие на Вашем компьютере большого количества пустых папок замедляет некоторые операции, такие как "
        "поиск, определение размера и прочие. Их удаление может повысить быстродействие системы, но следует "
        "внимательно смотреть, что Вы удаляете.",
        kExplanationHeight,
        {{"Задание области поиска - локальных и сетевых дисков, а также отдельных папок.", "SpeedButton24", &area},
         {"Задание папок, которые необходимо исключить из поиска.", "SpeedButton25", &exclusions}},
        "SpeedButton26"};
    l.own_controls_height = 44;
    return l;
}

}  // namespace

EmptyDirsPage::EmptyDirsPage(ui::Page& page, ui::Form& area, ui::Form& exclusions, const store::DataFolder& data)
    : EmptyDirsPage(page, area, exclusions) {
    data_ = &data;
    folders_.set_enabled(true);
    trees_.set_enabled(true);
    folders_.on_click = [this] { EmptyDirsSettings::store_mode(*data_, SearchMode::empty_folders); };
    trees_.on_click = [this] { EmptyDirsSettings::store_mode(*data_, SearchMode::empty_trees); };
}

EmptyDirsPage::EmptyDirsPage(ui::Page& page, ui::Form& area, ui::Form& exclusions)
    : search::LauncherPage(page, layout(area, exclusions)),
      data_(nullptr),
      folders_(page, "EmptyDirsFoldersMode"),
      trees_(page, "EmptyDirsTreesMode") {
    const int top = 36 + kExplanationHeight + 4;
    folders_.set_text("Искать пустые папки");
    folders_.set_bold(true);
    folders_.set_bounds(12, top, 400, 18);
    trees_.set_text("Искать пустые папки с пустыми подпапками");
    trees_.set_bold(true);
    trees_.set_bounds(12, top + 20, 400, 18);
    folders_.set_enabled(false);
    trees_.set_enabled(false);
}

void EmptyDirsPage::opened() {
    if (!data_) return;
    ui::RadioButton& stored =
        EmptyDirsSettings::stored_mode(*data_) == SearchMode::empty_folders ? folders_ : trees_;
    stored.set_checked(true);
}

}  // namespace emptydirs
