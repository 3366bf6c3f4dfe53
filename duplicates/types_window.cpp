#include "duplicates/types_window.h"

#include <algorithm>

#include "duplicates/duplicate_search.h"
#include "ui/guard.h"

namespace duplicates {

namespace {

// The default value of a key opened for reading; "" when the key cannot be
// opened or the value is missing.
std::string default_value(platform::Registry& registry, const std::string& key) {
    auto opened = registry.open(platform::Root::classes_root, key, platform::KeyAccess::read);
    if (!opened) return {};
    return (*opened)->read_string("").value_or("");
}

}  // namespace

TypesWindow::TypesWindow(ui::Toolkit& toolkit, const store::DataFolder& data, platform::Registry& registry)
    : ui::Form(toolkit, "TypesForm"), data_(data), registry_(registry) {
    set_caption("Типы файлов");
    set_border(ui::Border::dialog);
    set_client_size(400, 372);
    set_color(ui::colors::white);

    group_.set_text("Зарегистрированные расширения");
    group_.set_bounds(8, 6, 384, 300);
    type_list_.set_bounds(10, 18, 364, 272);
    type_list_.set_check_boxes(true);
    type_list_.add_column("Тип", 80);
    type_list_.add_column("Описание", 260);
    select_all_.set_text("Выбрать все");
    select_all_.set_bounds(12, 314, 200, 18);
    no_mask_.set_text("Не использовать маску");
    no_mask_.set_bounds(12, 338, 200, 18);
    apply_button_.set_text("Применить");
    apply_button_.set_bounds(292, 336, 100, 28);
    apply_button_.set_acts_on_release(true);

    select_all_.on_click = [this] { select_all_clicked(); };
    type_list_.on_click = [this] { no_mask_.set_checked(false); };
    apply_button_.on_click = ui::guarded(*this, [this] { apply(); });
    on_show = ui::guarded(*this, [this] { opened(); });
}

void TypesWindow::opened() {
    type_list_.clear();
    const bool filter_on = data_.marker(DuplicateSettings::kTypeFilterMarker);
    std::vector<std::string> stored;
    if (filter_on) stored = data_.read_lines(DuplicateSettings::kTypesList);
    else no_mask_.set_checked(true);

    auto root = registry_.open(platform::Root::classes_root, "", platform::KeyAccess::read);
    if (!root) return;
    type_list_.begin_update();
    for (const auto& key : (*root)->subkey_names()) {
        pump().serve();
        if (key.empty() || key.front() != '.') continue;
        const std::string file_class = default_value(registry_, key);
        if (file_class.empty()) continue;
        if (!registry_.key_exists(platform::Root::classes_root, file_class + "\\shell\\open\\command")) continue;
        const std::string type = key.substr(1);
        const int row = type_list_.add({type, default_value(registry_, file_class)});
        if (filter_on && std::find(stored.begin(), stored.end(), type) != stored.end())
            type_list_.set_checked(row, true);
    }
    type_list_.end_update();
}

void TypesWindow::select_all_clicked() { type_list_.set_all_checked(select_all_.checked()); }

void TypesWindow::apply() {
    std::vector<std::string> types;
    for (int row = 0; row < type_list_.count(); ++row)
        if (type_list_.checked(row)) types.push_back(type_list_.text(row));
    if (no_mask_.checked() || types.empty()) {
        data_.remove(DuplicateSettings::kTypeFilterMarker);
    } else {
        data_.rewrite(DuplicateSettings::kTypesList, types);
        data_.set_marker(DuplicateSettings::kTypeFilterMarker, true);
    }
    close();
}

}  // namespace duplicates
