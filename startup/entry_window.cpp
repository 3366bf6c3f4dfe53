#include "startup/entry_window.h"

#include "platform/file_system.h"
#include "startup/startup_page.h"
#include "ui/guard.h"

namespace startup {

namespace {

constexpr char kMissingCaption[] = "Недостаточно данных";

struct TabNames {
    const char* command;
    const char* name;
    const char* run;
    const char* run_once;
    const char* choose;
    const char* apply;
};

constexpr TabNames kTabNames[4] = {
    {"Edit1", "Edit2", "RadioButton1", "RadioButton2", "SpeedButton1", "SpeedButton2"},
    {"Edit3", "Edit4", "RadioButton3", "RadioButton4", "SpeedButton3", "SpeedButton4"},
    {"Edit5", "Edit7", "RadioButton5", "RadioButton6", "SpeedButton5", "SpeedButton7"},
    {"Edit6", "Edit8", "RadioButton7", "RadioButton8", "SpeedButton6", "SpeedButton8"},
};

bool is_change_tab(int tab) { return tab >= 2; }
Hive hive_of_tab(int tab) { return tab % 2 == 0 ? Hive::all_users : Hive::current_user; }
const char* caption_of(Hive hive) { return hive == Hive::all_users ? "Все пользователи" : "Текущий пользователь"; }

// Everything after the last backslash.
std::string file_name_of(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

EntryWindow::Tab::Tab(ui::PageSet& tabs, int index)
    : page(tabs, "TabSheet" + std::to_string(index + 1)),
      group(page, "GroupBox" + std::to_string(index + 1)),
      command(group, kTabNames[index].command),
      choose(group, kTabNames[index].choose),
      name_caption(group, "NameCaption" + std::to_string(index + 1)),
      name(group, kTabNames[index].name),
      run(group, kTabNames[index].run),
      run_once(group, kTabNames[index].run_once),
      apply(page, kTabNames[index].apply) {
    group.set_text(is_change_tab(index) ? "Изменение записи" : "Добавление нового файла");
    group.set_bounds(8, 8, 384, 148);
    command.set_bounds(12, 22, 252, 21);
    choose.set_text("  Выбрать файл");
    choose.set_bounds(272, 19, 102, 27);
    name_caption.set_text("Имя:");
    name_caption.set_bounds(12, 60, 30, 16);
    name.set_bounds(46, 57, 218, 21);
    run.set_text("Запускать при каждой загрузке");
    run.set_bounds(12, 92, 250, 18);
    run_once.set_text("Запустить однократно");
    run_once.set_bounds(12, 116, 250, 18);
    apply.set_text("  Применить");
    apply.set_bounds(290, 164, 102, 28);
}

EntryWindow::EntryWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data)
    : ui::Form(toolkit, "Form19"), platform_(platform), data_(data) {
    set_border(ui::Border::single);
    set_client_size(400, 200);
    tab_set_.set_bounds(0, 0, 400, 200);
    for (int index = 0; index < 4; ++index) {
        tabs_[static_cast<std::size_t>(index)] = std::make_unique<Tab>(tab_set_, index);
        Tab& tab = *tabs_[static_cast<std::size_t>(index)];
        tab.choose.on_click = ui::guarded(*this, [this, index] { choose_file(index); });
        tab.apply.on_click = ui::guarded(*this, [this, index] { apply(index); });
    }
    tab_set_.set_active(0);
    on_activate = [this] { activated(); };
}

void EntryWindow::attach(StartupPage& page) { pages_[page.hive() == Hive::all_users ? 0 : 1] = &page; }

void EntryWindow::open_add(Hive hive) {
    set_caption(caption_of(hive));
    tab_set_.set_active(add_tab(hive).page.index());
    show_modal();
}

void EntryWindow::open_change(Hive hive, const StartupEntry& entry) {
    set_caption(caption_of(hive));
    Tab& tab = change_tab(hive);
    tab.command.set_text(entry.command);
    // Only a string's command can be changed: other data is shown, and kept.
    tab.command.set_read_only(!entry.is_string());
    tab.name.set_text(entry.name);
    (entry.key == StartKey::run ? tab.run : tab.run_once).set_checked(true);
    changing_ = entry;
    tab_set_.set_active(tab.page.index());
    show_modal();
}

void EntryWindow::activated() {
    for (Hive hive : {Hive::all_users, Hive::current_user}) {
        Tab& tab = add_tab(hive);
        tab.command.set_text("");
        tab.name.set_text("");
        tab.run.set_checked(false);
        tab.run_once.set_checked(false);
    }
}

void EntryWindow::choose_file(int index) {
    Tab& tab = *tabs_[static_cast<std::size_t>(index)];
    if (tab.command.read_only()) return;  // an entry whose data is not a command
    const auto file = dialogs().open_file();
    if (!file) return;
    const auto attributes = platform_.fs.attributes(*file);
    if (!attributes || (*attributes & platform::attr::directory)) return;
    tab.command.set_text(*file);
    // Changing an entry keeps its name: only its command is chosen.
    if (!is_change_tab(index)) tab.name.set_text(file_name_of(*file));
}

void EntryWindow::apply(int index) {
    Tab& tab = *tabs_[static_cast<std::size_t>(index)];
    if (tab.command.text().empty()) {
        dialogs().message("Вы не выбрали файл.", kMissingCaption, ui::Icon::information);
        return;
    }
    if (tab.name.text().empty()) {
        dialogs().message("Вы не ввели имя записи.", kMissingCaption, ui::Icon::information);
        return;
    }
    if (!tab.run.checked() && !tab.run_once.checked()) {
        dialogs().message("Вы не выбрали тип запуска.", kMissingCaption, ui::Icon::information);
        return;
    }
    const Hive hive = hive_of_tab(index);
    const StartKey key = tab.run.checked() ? StartKey::run : StartKey::run_once;
    const bool changing = is_change_tab(index) && changing_;
    const platform::View view = changing ? changing_->view : added_view(hive);
    const platform::Status written = [&]() -> platform::Status {
        if (changing && changing_->unrepresentable) return platform::Status::failure(kUnrepresentableName);
        const auto touched = changing ? touched_by_change(hive, *changing_, key, tab.name.text())
                                      : std::vector<search::UndoItem>{{root_of(hive), written_key(key), tab.name.text()}};
        // A key that will not open for writing is refused before its undo file.
        if (auto target = platform_.registry.open(root_of(hive), written_key(key), platform::KeyAccess::write, view);
            !target)
            return target.status();
        const auto saved = search::save_undo_file(platform_, data_, "startup", touched);
        if (!saved) return saved.status();
        return changing ? change_startup_entry(platform_.registry, hive, *changing_, key, tab.name.text(), tab.command.text())
                        : write_startup_entry(platform_.registry, hive, key, tab.name.text(), tab.command.text(), view);
    }();
    if (!written) {
        dialogs().message(written.message(), search::kRegistryErrorCaption, ui::Icon::error);
        // The page shows what the registry holds now; the editor stays open.
        if (StartupPage* page = pages_[hive == Hive::all_users ? 0 : 1]) page->refresh();
        return;
    }
    finish(hive);
}

void EntryWindow::finish(Hive hive) {
    if (StartupPage* page = pages_[hive == Hive::all_users ? 0 : 1]) page->refresh();
    changing_.reset();
    close();
}

}  // namespace startup
