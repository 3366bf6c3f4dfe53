#pragma once
// The page of a file search on the main window: a bold title, an
// explanation, one line per settings editor (a text and a "  Настроить"
// button that opens the editor modally) and the "  Начать поиск" button.
// Each search's page derives from it and names its buttons.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace search {

struct LauncherLayout {
    struct Line {
        std::string text;
        std::string button_name;
        ui::Form* editor;  // opened modally by the button; nothing leaves it disabled
    };
    std::string name;  // prefix of the names of the page's own controls
    std::string title;
    std::string explanation;
    int explanation_height;
    std::vector<Line> lines;
    std::string start_name;
    int own_controls_height = 0;  // room below the explanation for the page's own controls
};

class LauncherPage {
public:
    LauncherPage(ui::Page& page, const LauncherLayout& layout);
    virtual ~LauncherPage();

    ui::Label& title() { return title_; }
    ui::Label& explanation() { return explanation_; }
    int line_count() const { return static_cast<int>(buttons_.size()); }
    ui::Label& line_text(int line) { return *texts_.at(static_cast<std::size_t>(line)); }
    ui::Button& line_button(int line) { return *buttons_.at(static_cast<std::size_t>(line)); }
    ui::Button& start_button() { return *start_; }

    // Runs when "  Начать поиск" is clicked.
    std::function<void()> on_start;

private:
    ui::Label title_;
    ui::Label explanation_;
    ui::Bevel top_line_;
    std::vector<std::unique_ptr<ui::Label>> texts_;
    std::vector<std::unique_ptr<ui::Button>> buttons_;
    // Made after the lines, so that the tab order follows the page.
    std::unique_ptr<ui::Bevel> bottom_line_;
    std::unique_ptr<ui::Button> start_;
};

}  // namespace search
