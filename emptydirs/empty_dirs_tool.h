#pragma once
// The tool "Поиск пустых папок": its page with the mode choice and the area
// and exclusions editors, and the search window its start opens.
#include "emptydirs/empty_dirs_page.h"
#include "emptydirs/empty_dirs_window.h"
#include "search/search_editors.h"

namespace emptydirs {

class EmptyDirsTool : public search::Tool {
public:
    EmptyDirsTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.opened(); }
    EmptyDirsPage& page() { return page_; }
    search::SearchEditors& editors() { return editors_; }
    EmptyDirsWindow& window() { return window_; }

private:
    search::SearchEditors editors_;
    EmptyDirsPage page_;
    EmptyDirsWindow window_;
};

}  // namespace emptydirs
