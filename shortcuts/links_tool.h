#pragma once
// The tool "Поиск неправильных ярлыков": its page with the mode choice and
// the area and exclusions editors.
#include "search/search_editors.h"
#include "shortcuts/links_page.h"

namespace shortcuts {

class LinksTool : public search::Tool {
public:
    LinksTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.opened(data_); }
    LinksPage& page() { return page_; }
    search::SearchEditors& editors() { return editors_; }

private:
    const store::DataFolder& data_;
    search::SearchEditors editors_;
    LinksPage page_;
};

}  // namespace shortcuts
