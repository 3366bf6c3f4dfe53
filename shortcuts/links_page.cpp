#include "shortcuts/links_page.h"

#include "ui/guard.h"

namespace shortcuts {

namespace {

constexpr int kExplanationHeight = 64;
// The explanation's room holds the mode choice below its text.
constexpr int kExplanationRoom = kExplanationHeight + 72;

}  // namespace

LinksPage::LinksPage(ui::Page& page, ui::Form& area, ui::Form& exclusions)
    : search::LauncherPage(
          page, {"BadLinks",
                 "Поиск неправильных ярлыков",
                 "После удаления некоторых программ, а также их перемещения, могут оставаться ярлыки, указывающие "
                 "на несуществующие файлы. Эти ярлыки не представляют собой никакой ценности, поэтому их можно "
                 "безболезненно удалить.",
                 kExplanationRoom,
                 {{"Задание области поиска - локальных дисков и отдельных папок.", "SpeedButton8", &area},
                  {"Задание папок, которые необходимо исключить из поиска.", "SpeedButton9", &exclusions}},
                 "SpeedButton10"}),
      page_(page),
      optimal_(page, "BadLinksOptimal"),
      optimal_text_(page, "BadLinksOptimalText"),
      own_(page, "BadLinksOwn") {
    const ui::Rect text = explanation().bounds();
    explanation().set_bounds(text.left, text.top, text.width, kExplanationHeight);
    const int top = text.top + kExplanationHeight + 2;

    optimal_.set_text("Использовать оптимальные настройки");
    optimal_.set_bold(true);
    optimal_.set_bounds(text.left, top, 300, 18);
    optimal_.on_click = [this] { optimal_clicked(); };
    optimal_text_.set_text(
        "Поиск неправильных ярлыков будет проведен только в тех местах, где они чаще всего встречаются.");
    optimal_text_.set_auto_size(false);
    optimal_text_.set_word_wrap(true);
    optimal_text_.set_bounds(text.left + 18, top + 20, text.width - 18, 30);
    own_.set_text("Использовать собственные настройки");
    own_.set_bold(true);
    own_.set_bounds(text.left, top + 52, 300, 18);
    own_.on_click = [this] { own_clicked(); };
}

void LinksPage::opened(const store::DataFolder& data) {
    data_ = &data;
    ui::run_guarded(page_.form(), [&] {
        if (data.exists("bl_optimal.txt")) optimal_.set_checked(true);
        else own_.set_checked(true);
    });
}

void LinksPage::optimal_clicked() {
    ui::run_guarded(page_.form(), [&] {
        if (data_) data_->rewrite("bl_optimal.txt", {});
        enable_editors(false);
    });
}

void LinksPage::own_clicked() {
    ui::run_guarded(page_.form(), [&] {
        if (data_) data_->remove("bl_optimal.txt");
        enable_editors(true);
        page_.form().dialogs().message(
            "Вы выбрали полную проверку компьютера, однако эта операция займет значительное время.\r"
            "Для частого использования выбирайте поиск с оптимальными настройками.",
            "Предупреждение", ui::Icon::information);
    });
}

void LinksPage::enable_editors(bool enabled) {
    area_button().set_enabled(enabled);
    exclusions_button().set_enabled(enabled);
}

}  // namespace shortcuts
