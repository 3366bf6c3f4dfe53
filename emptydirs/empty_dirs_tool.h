#pragma once
// The tool "Поиск пустых папок": its page with the mode choice and the area
// and exclusions editors.
#include "emptydirs/empty_dirs_page.h"
#include "search/search_editors.h"

namespace emptydirs {

class EmptyDirsTool : public search::Tool {
public:
    EmptyDirsTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.opened(); }
    EmptyDirsPage& page() { return page_; }
    search::SearchEditors& editors() { return editors_; }

private:
    search::SearchEditors editors_;
    EmptyDirsPage page_;
};

}  // namespace emptydirs
