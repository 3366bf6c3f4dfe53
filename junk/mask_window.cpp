#include "junk/mask_window.h"

#include "search/folded.h"
#include "ui/guard.h"

namespace junk {

namespace {

constexpr char kMaskFile[] = "tf_mask.txt";
constexpr char kDateFile[] = "tf_date.txt";

}  // namespace

MaskWindow::MaskWindow(ui::Toolkit& toolkit, const store::DataFolder& data)
    : ui::Form(toolkit, "MaskForm"), data_(data) {
    set_caption("Редактирование маски");
    set_border(ui::Border::dialog);
    set_client_size(364, 266);

    mask_list_.set_bounds(8, 8, 180, 226);
    select_all_.set_text("Выделить все");
    select_all_.set_bounds(8, 240, 180, 18);

    mask_field_.set_bounds(196, 8, 160, 21);
    add_button_.set_text("  Добавить");
    add_button_.set_bounds(196, 36, 160, 28);
    remove_button_.set_text("  Удалить");
    remove_button_.set_bounds(196, 70, 160, 28);

    date_limit_.set_text("Ограничение по дате");
    date_limit_.set_bounds(196, 120, 160, 18);
    older_caption_.set_text("Искать файлы старше");
    older_caption_.set_bounds(214, 144, 142, 16);
    days_.set_bounds(214, 164, 56, 21);
    days_.set_read_only(true);
    days_.set_range(1, 365);
    days_.set_value(1);
    days_caption_.set_text("дней");
    days_caption_.set_bounds(276, 167, 40, 16);
    show_date_controls();

    apply_button_.set_text("  Применить");
    apply_button_.set_bounds(256, 230, 100, 28);

    date_limit_.on_click = [this] { show_date_controls(); };
    select_all_.on_click = [this] { select_all_clicked(); };
    add_button_.on_click = [this] { add_mask(); };
    remove_button_.on_click = [this] { remove_mask(); };
    apply_button_.on_click = ui::guarded(*this, [this] { apply(); });
    on_show = ui::guarded(*this, [this] { opened(); });
}

void MaskWindow::opened() {
    mask_list_.clear();
    mask_list_.begin_update();
    for (const auto& line : data_.read_lines(kMaskFile)) {
        const auto entry = store::PrefixedEntry::parse(line);
        mask_list_.set_checked(mask_list_.add(entry.text), entry.enabled);
    }
    mask_list_.end_update();
    // Without the file the limit keeps the state it had.
    if (data_.exists(kDateFile)) {
        const std::string days = data_.read_first_line(kDateFile);
        date_limit_.set_checked(true);
        show_date_controls();
        days_.set_text(days);
    }
}

void MaskWindow::show_date_controls() {
    const bool on = date_limit_.checked();
    older_caption_.set_visible(on);
    days_.set_visible(on);
    days_caption_.set_visible(on);
}

void MaskWindow::select_all_clicked() {
    if (!mask_list_.empty()) mask_list_.set_all_checked(select_all_.checked());
}

void MaskWindow::add_mask() {
    const std::string& text = mask_field_.text();
    if (text.empty()) return;
    const std::string mask = search::folded(text);
    for (int row = 0; row < mask_list_.count(); ++row) {
        if (search::folded(mask_list_.text(row)) == mask) {
            dialogs().message("Введенное расширение уже содержится в списке.", "Расширение не добавлено",
                              ui::Icon::information);
            return;
        }
    }
    mask_list_.set_checked(mask_list_.add(mask), true);
}

void MaskWindow::remove_mask() {
    if (mask_list_.selected() < 0) {
        dialogs().beep();
        return;
    }
    mask_list_.remove(mask_list_.selected());
}

void MaskWindow::apply() {
    std::vector<std::string> lines;
    for (int row = 0; row < mask_list_.count(); ++row)
        lines.push_back(store::PrefixedEntry{mask_list_.text(row), mask_list_.checked(row)}.line());
    data_.rewrite(kMaskFile, lines);
    if (date_limit_.checked()) data_.rewrite(kDateFile, {days_.text()});
    else data_.remove(kDateFile);
    close();
}

}  // namespace junk
