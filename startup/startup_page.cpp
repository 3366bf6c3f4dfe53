#include "startup/startup_page.h"

#include "search/registry_walk.h"
#include "startup/entry_window.h"
#include "ui/guard.h"

namespace startup {

namespace {

struct PageNames {
    const char* title_name;
    const char* title;
    const char* list;
    int command_width;
    const char* key_caption;
    const char* key_label;
    const char* add;
    const char* remove;
    const char* change;
};

const PageNames& names_of(Hive hive) {
    static const PageNames all_users{"Label2",  "Программы, запускающиеся у всех пользователей",
                                     "ListView1", 326, "Label29", "Label30",
                                     "SpeedButton39", "SpeedButton40", "SpeedButton41"};
    static const PageNames current_user{"Label31", "Программы, запускающиеся у текущего пользователя",
                                        "ListView2", 329, "Label32", "Label33",
                                        "SpeedButton42", "SpeedButton43", "SpeedButton44"};
    return hive == Hive::all_users ? all_users : current_user;
}

}  // namespace

StartupPage::StartupPage(ui::Page& page, Hive hive, platform::Platform& platform, const store::DataFolder& data,
                         EntryWindow& editor)
    : form_(page.form()),
      hive_(hive),
      platform_(platform),
      data_(data),
      editor_(editor),
      title_(page, names_of(hive).title_name),
      list_(page, names_of(hive).list),
      key_caption_(page, names_of(hive).key_caption),
      key_label_(page, names_of(hive).key_label),
      add_button_(page, names_of(hive).add),
      remove_button_(page, names_of(hive).remove),
      change_button_(page, names_of(hive).change) {
    const auto& names = names_of(hive);
    title_.set_text(names.title);
    title_.set_bold(true);
    title_.set_bounds(12, 10, 440, 16);
    list_.set_bounds(12, 34, 430, 230);
    list_.add_column("Имя", 120);
    list_.add_column("Ссылка", names.command_width);
    key_caption_.set_text("Ключ:");
    key_caption_.set_bounds(12, 272, 40, 16);
    key_label_.set_text_color(ui::colors::blue);
    key_label_.set_bounds(52, 272, 390, 16);
    add_button_.set_text("  Добавить");
    add_button_.set_bounds(112, 298, 106, 28);
    remove_button_.set_text("  Удалить");
    remove_button_.set_bounds(224, 298, 106, 28);
    change_button_.set_text("  Изменить");
    change_button_.set_bounds(336, 298, 106, 28);

    list_.on_click = [this] { show_key(); };
    list_.on_double_click = ui::guarded(form_, [this] { change(); });
    add_button_.on_click = ui::guarded(form_, [this] { add(); });
    remove_button_.on_click = ui::guarded(form_, [this] { remove(); });
    change_button_.on_click = ui::guarded(form_, [this] { change(); });
    editor_.attach(*this);
}

void StartupPage::refresh() {
    list_.clear();
    key_label_.set_text("");
    entries_ = read_startup_entries(platform_.registry, hive_);
    list_.begin_update();
    for (const auto& entry : entries_) list_.add({entry.name, entry.command});
    list_.end_update();
}

const StartupEntry* StartupPage::first_named_as_selected() const {
    if (list_.selected() < 0) return nullptr;
    const std::string& name = list_.text(list_.selected(), 0);
    for (const auto& entry : entries_)
        if (entry.name == name) return &entry;
    return nullptr;
}

void StartupPage::show_key() {
    if (const StartupEntry* entry = first_named_as_selected()) key_label_.set_text(entry->key_text());
}

void StartupPage::add() { editor_.open_add(hive_); }

void StartupPage::remove() {
    if (const StartupEntry* entry = first_named_as_selected()) {
        const auto deleted = [&]() -> platform::Status {
            if (entry->unrepresentable) return platform::Status::failure(kUnrepresentableName);
            const auto saved = search::save_undo_file(platform_, data_, "startup",
                                                      {{root_of(hive_), search::key_name_in_view(written_key(entry->key), entry->view),
                                                        entry->name}});
            if (!saved) return saved.status();
            return delete_startup_entry(platform_.registry, hive_, *entry);
        }();
        if (!deleted) form_.dialogs().message(deleted.message(), search::kRegistryErrorCaption, ui::Icon::error);
    }
    refresh();  // the list shows what is left
}

void StartupPage::change() {
    const int row = list_.selected();
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    editor_.open_change(hive_, entries_[static_cast<std::size_t>(row)]);
}

}  // namespace startup
