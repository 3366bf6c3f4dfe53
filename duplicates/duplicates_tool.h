#pragma once
// The tool "Поиск копий выбранных файлов": its page with the mode choice,
// the four editors, and the search window "Поиск копий".
#include "duplicates/copies_window.h"
#include "duplicates/duplicates_page.h"
#include "duplicates/files_window.h"
#include "duplicates/types_window.h"
#include "search/search_editors.h"

namespace duplicates {

class DuplicatesTool : public search::Tool {
public:
    DuplicatesTool(search::ToolContext& context, ui::Page& page);
    void open() override { page_.opened(); }
    DuplicatesPage& page() { return page_; }
    search::SearchEditors& editors() { return editors_; }
    FilesWindow& files() { return files_; }
    TypesWindow& types() { return types_; }
    CopiesWindow& window() { return window_; }

private:
    search::SearchEditors editors_;
    FilesWindow files_;
    TypesWindow types_;
    DuplicatesPage page_;
    CopiesWindow window_;
};

}  // namespace duplicates
