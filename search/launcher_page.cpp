#include "search/launcher_page.h"

namespace search {

namespace {

constexpr int kLeft = 12;
constexpr int kWidth = 430;
constexpr int kLineHeight = 38;

}  // namespace

LauncherPage::LauncherPage(ui::Page& page, const LauncherLayout& layout)
    : title_(page, layout.name + "Title"),
      explanation_(page, layout.name + "Explanation"),
      top_line_(page, layout.name + "TopLine") {
    for (const auto& line : layout.lines) {
        texts_.push_back(std::make_unique<ui::Label>(page, line.button_name + "Text"));
        buttons_.push_back(std::make_unique<ui::Button>(page, line.button_name));
    }
    bottom_line_ = std::make_unique<ui::Bevel>(page, layout.name + "BottomLine");
    start_ = std::make_unique<ui::Button>(page, layout.start_name);

    title_.set_text(layout.title);
    title_.set_bounds(kLeft, 10, 300, 18);
    title_.set_bold(true);
    title_.set_font_size(14);
    explanation_.set_text(layout.explanation);
    explanation_.set_auto_size(false);
    explanation_.set_word_wrap(true);
    explanation_.set_bounds(kLeft, 36, kWidth, layout.explanation_height);

    int top = 36 + layout.explanation_height + layout.own_controls_height + 4;
    top_line_.set_bounds(kLeft, top, kWidth, 2);
    top += 14;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        ui::Label& text = *texts_[i];
        text.set_text(layout.lines[i].text);
        text.set_auto_size(false);
        text.set_word_wrap(true);
        // A text that fits one line (about 6 pixels a character) sits level
        // with the middle of its button; a longer one takes two lines.
        const bool one_line = text.text().size() * 6 <= 312;
        text.set_bounds(kLeft, one_line ? top + 7 : top, 312, one_line ? 16 : 30);
        ui::Button& button = *buttons_[i];
        button.set_text("  Настроить");
        button.set_bounds(kLeft + kWidth - 104, top, 104, 28);
        if (ui::Form* editor = layout.lines[i].editor) button.on_click = [editor] { editor->show_modal(); };
        else button.set_enabled(false);
        top += kLineHeight;
    }
    bottom_line_->set_bounds(kLeft, top + 2, kWidth, 2);

    start_->set_text("  Начать поиск");
    start_->set_bounds(kLeft + kWidth - 124, 284, 124, 28);
    start_->on_click = [this] { ui::fire(on_start); };
}

LauncherPage::~LauncherPage() = default;

}  // namespace search
