#pragma once
// The tool "Поиск неправильных ярлыков": its page with the mode choice, the
// area and exclusions editors, and the search window its start opens.
#include "search/search_editors.h"
#include "shortcuts/links_page.h"
#include "shortcuts/links_search_window.h"

namespace shortcuts {

class LinksTool : public search::Tool {
public:
    LinksTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.opened(data_); }
    LinksPage& page() { return page_; }
    search::SearchEditors& editors() { return editors_; }
    LinksSearchWindow& window() { return window_; }

private:
    const store::DataFolder& data_;
    search::SearchEditors editors_;
    LinksPage page_;
    LinksSearchWindow window_;
};

}  // namespace shortcuts
