#include "privacy/history_lists_page.h"

#include "privacy/history_lists.h"
#include "search/registry_undo.h"
#include "ui/guard.h"

namespace privacy {

HistoryListsPage::HistoryListsPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data)
    : form_(page.form()),
      platform_(platform),
      data_(data),
      intro_(page, "HistoryText"),
      lists_(page, "CheckListBox6"),
      all_box_(page, "CheckBox1"),
      clear_button_(page, "SpeedButton33") {
    intro_.set_text(
        "Для того, чтобы Вы могли быстро открывать документы и запускать часто используемые программы, "
        "операционная система хранит списки истории. Это MRU (Most Recently Used), или списки недавно "
        "открывавшихся документов. При очистке этих списков никакие файлы не удаляются.");
    intro_.set_auto_size(false);
    intro_.set_word_wrap(true);
    intro_.set_bounds(12, 10, 430, 90);
    lists_.set_bounds(12, 106, 430, 150);
    for (const auto& list : kHistoryLists) lists_.add(list.caption);
    all_box_.set_text("Выбрать все");
    all_box_.set_bounds(12, 268, 150, 18);
    clear_button_.set_text("  Очистить выбранные списки");
    clear_button_.set_bounds(252, 264, 190, 28);

    all_box_.on_click = [this] { select_all(); };
    clear_button_.on_click = ui::guarded(form_, [this] { clear_selected(); });
}

void HistoryListsPage::refresh() {
    const auto saved = HistoryListSettings::load(data_);
    for (int row = 0; row < lists_.count(); ++row)
        if (saved.ticked[static_cast<std::size_t>(row)]) lists_.set_checked(row, true);
}

void HistoryListsPage::select_all() { lists_.set_all_checked(all_box_.checked()); }

void HistoryListsPage::clear_selected() {
    if (lists_.checked_count() == 0) {
        form_.dialogs().message("Вы ничего не выбрали списки для очистки.", "Ошибка", ui::Icon::information);
        return;
    }
    HistoryListSettings chosen;
    for (int row = 0; row < lists_.count(); ++row) chosen.ticked.push_back(lists_.checked(row));
    // The lists' keys go into the undo file before any is deleted.
    std::vector<search::UndoItem> touched;
    for (std::size_t index = 0; index < kHistoryLists.size(); ++index)
        if (chosen.ticked[index]) touched.push_back({platform::Root::current_user, kHistoryLists[index].key, std::nullopt});
    if (const auto saved = search::save_undo_file(platform_, data_, "history", touched); !saved) {
        form_.dialogs().message(saved.message(), search::kRegistryErrorCaption, ui::Icon::error);
        return;
    }
    chosen.save(data_);
    const std::string refusal = clear_history_lists(platform_, chosen.ticked);
    if (!refusal.empty()) form_.dialogs().message(refusal, "Очистка истории", ui::Icon::information);
    form_.dialogs().message("Выбранные списки были успешно очищены.", "Очистка завершена", ui::Icon::information);
}

}  // namespace privacy
