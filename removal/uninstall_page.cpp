#include "removal/uninstall_page.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <string>

#include "search/registry_undo.h"
#include "ui/guard.h"

namespace removal {

namespace {

const char kTitle[] = "Установленные программы";

// The refresh button's glyph: a green arrow coming round.
constexpr const char* kRefreshGlyph[] = {
    ".......###......",
    ".......####.....",
    "....########....",
    "...########.....",
    "..####.###......",
    "..###..#........",
    "..##............",
    ".###........###.",
    ".###........###.",
    "..##........##..",
    "..###......###..",
    "..####....####..",
    "...##########...",
    "....########....",
    ".......##.......",
    "................",
};

ui::Pixels refresh_glyph() {
    ui::Pixels glyph;
    glyph.width = 16;
    glyph.height = static_cast<int>(std::size(kRefreshGlyph));
    for (const char* row : kRefreshGlyph)
        for (const char* dot = row; *dot; ++dot)
            for (std::uint8_t channel : *dot == '#' ? std::array<std::uint8_t, 3>{0, 128, 0}
                                                    : std::array<std::uint8_t, 3>{255, 0, 255})
                glyph.rgb.push_back(channel);
    return glyph;
}

}  // namespace

UninstallPage::UninstallPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data,
                             platform::Pump& pump)
    : form_(page.form()),
      platform_(platform),
      data_(data),
      pump_(pump),
      title_(page, "Label27"),
      list_(page, "ListBox2"),
      command_caption_(page, "Label28"),
      command_(page, "Edit1"),
      refresh_button_(page, "SpeedButton36"),
      uninstall_button_(page, "SpeedButton35"),
      remove_button_(page, "SpeedButton34") {
    title_.set_text(kTitle);
    title_.set_bounds(12, 10, 430, 18);
    title_.set_bold(true);
    title_.set_font_size(14);
    list_.set_bounds(12, 36, 430, 192);
    command_caption_.set_text("Путь для удаления:");
    command_caption_.set_bounds(12, 236, 200, 16);
    command_.set_bounds(12, 254, 430, 21);
    command_.set_read_only(true);
    command_.set_text_color(ui::colors::blue);
    refresh_button_.set_picture(refresh_glyph());  // and no caption
    refresh_button_.set_bounds(12, 290, 40, 28);
    uninstall_button_.set_text("  Удалить программу");
    uninstall_button_.set_bounds(118, 290, 144, 28);
    remove_button_.set_text("  Удалить запись из реестра");
    remove_button_.set_bounds(270, 290, 172, 28);

    list_.on_select = [this] { show_command(); };
    list_.on_double_click = ui::guarded(form_, [this] { uninstall(); });
    refresh_button_.on_click = ui::guarded(form_, [this] { refresh(); });
    uninstall_button_.on_click = ui::guarded(form_, [this] { uninstall(); });
    remove_button_.on_click = ui::guarded(form_, [this] { remove_entry(); });
}

void UninstallPage::refresh() {
    command_.set_text("");
    command_.set_tooltip("");
    list_.clear();
    rows_.clear();
    entries_ = read_uninstall_entries(platform_.registry, pump_);
    list_.begin_update();
    for (const std::size_t index : list_order(entries_)) {
        std::size_t first = 0;
        while (entries_[first].display_name != entries_[index].display_name) ++first;
        rows_.push_back(first);
        list_.add(entries_[first].display_name);
    }
    list_.end_update();
    title_.set_text(std::string(kTitle) + " (" + std::to_string(list_.count()) + ")");
}

void UninstallPage::show_command() {
    const int row = list_.selected();
    if (row < 0) return;
    command_.set_text(entry_of(row).command);
    command_.set_tooltip(entry_of(row).command);
}

void UninstallPage::uninstall() {
    if (!command_.text().empty()) {
        const auto started = platform_.shell.run_command_line(command_.text());
        if (started) return;
    }
    // No command, or one that does not start: the entry may be left over
    // from a program removed by hand.
    if (list_.selected() < 0) return;
    if (form_.dialogs().confirm("Невозможно запустить программу удаления. Удалить запись из реестра?") ==
        ui::Answer::yes)
        remove_entry();
}

void UninstallPage::remove_entry() {
    const int row = list_.selected();
    if (row < 0) return;
    const UninstallEntry& entry = entry_of(row);
    const auto saved = search::save_undo_file(platform_, data_, "uninstall",
                                              {{platform::Root::local_machine, entry.key_path, std::nullopt}});
    if (!saved) {
        form_.dialogs().message(saved.message(), search::kRegistryErrorCaption, ui::Icon::error);
        return;
    }
    const auto removed = remove_uninstall_entry(platform_.registry, entry);
    if (!removed) {
        form_.dialogs().message("Не удалось удалить запись из реестра. " + removed.message(), "Ошибка",
                                ui::Icon::error);
        return;
    }
    rows_.erase(rows_.begin() + row);
    list_.remove(row);
}

}  // namespace removal
