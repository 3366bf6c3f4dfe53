#include "removal/shredder_page.h"

#include <algorithm>

#include "ui/guard.h"

namespace removal {

namespace {

// A listed path that still names something: a file, or a link (which the
// shredder refuses by name).
bool still_there(platform::FileSystem& fs, const std::string& path) {
    const auto attributes = fs.attributes(path);
    return attributes &&
           (!(*attributes & platform::attr::directory) || (*attributes & platform::attr::reparse_point));
}

// Removes the row at `row` or, should the rows have moved, the last one
// above it that shows `path`.
void remove_row_of(ui::ListBox& list, int row, const std::string& path) {
    for (int i = std::min(row, list.count() - 1); i >= 0; --i)
        if (list.text(i) == path) return list.remove(i);
}

}  // namespace

ShredderPage::ShredderPage(ui::Page& page, platform::Platform& platform, platform::Pump& pump)
    : form_(page.form()),
      fs_(platform.fs),
      pump_(pump),
      intro_(page, "ShredderText"),
      list_caption_(page, "Label1"),
      list_(page, "ListBox3"),
      add_button_(page, "SpeedButton37"),
      destroy_button_(page, "SpeedButton38") {
    intro_.set_text(
        "После удаления файла, даже из корзины, существует возможность его восстановления. Чтобы это "
        "предотвратить, можно перед удалением несколько раз перезаписать содержимое файла случайными символами.");
    intro_.set_auto_size(false);
    intro_.set_word_wrap(true);
    intro_.set_bounds(12, 10, 430, 78);
    list_caption_.set_text("Файлы, которые необходимо уничтожить:");
    list_caption_.set_bounds(12, 96, 300, 16);
    list_.set_bounds(12, 114, 430, 168);
    add_button_.set_text("  Добавить");
    add_button_.set_bounds(226, 290, 104, 28);
    destroy_button_.set_text("Уничтожить");
    destroy_button_.set_bounds(338, 290, 104, 28);
    destroy_button_.set_acts_on_release(true);
    destroy_button_.set_enabled(false);

    // A shredding serves the message queue: meanwhile both commands are
    // ignored, so no second run starts inside the first.
    add_button_.on_click = [this] {
        if (!busy_) add_file();
    };
    destroy_button_.on_click = ui::guarded(form_, [this] {
        if (!busy_) destroy();
    });
}

void ShredderPage::update_destroy_button() { destroy_button_.set_enabled(!list_.empty()); }

void ShredderPage::refresh() { update_destroy_button(); }

void ShredderPage::add_file() {
    if (const auto file = form_.dialogs().open_file()) list_.add(*file);
    update_destroy_button();
}

void ShredderPage::destroy() {
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};
    for (int row = list_.count() - 1; row >= 0; --row) {
        pump_.serve();
        if (row >= list_.count()) continue;
        const std::string path = list_.text(row);
        if (!still_there(fs_, path)) {
            remove_row_of(list_, row, path);
            continue;
        }
        const auto deleted = shred_file(fs_, path, source_);
        if (!deleted) {
            // The rows not yet walked stay for another try.
            form_.dialogs().message(deleted.message(), ui::kErrorCaption, ui::Icon::error);
            return;
        }
        if (*deleted) remove_row_of(list_, row, path);
    }
    if (!list_.empty() &&
        form_.dialogs().confirm("Оставшиеся в списке файлы удалить не удалось. Удалить их из списка?") ==
            ui::Answer::yes)
        list_.clear();
    update_destroy_button();
}

}  // namespace removal
