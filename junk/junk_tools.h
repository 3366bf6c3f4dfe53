#pragma once
// The tools of the "Ненужные файлы" category that live in this folder: the
// temporary folder page and the temporary-file search.
#include "junk/mask_window.h"
#include "junk/temp_find_page.h"
#include "junk/temp_page.h"
#include "junk/temp_search_window.h"
#include "search/search_editors.h"

namespace junk {

class TempDirsTool : public search::Tool {
public:
    TempDirsTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.refresh(); }
    TempPage& page() { return page_; }

private:
    TempPage page_;
};

class TempFindTool : public search::Tool {
public:
    TempFindTool(search::ToolContext& context, ui::Page& page);
    TempFindPage& page() { return page_; }
    search::SearchEditors& editors() { return editors_; }
    MaskWindow& mask() { return mask_; }
    TempSearchWindow& window() { return window_; }

private:
    search::SearchEditors editors_;
    MaskWindow mask_;
    TempFindPage page_;
    TempSearchWindow window_;
};

}  // namespace junk
