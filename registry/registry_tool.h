#pragma once
// The tool "Поиск неправильных ссылок": its page, the registry search area
// editor and the result window.
#include "registry/area_window.h"
#include "registry/reference_window.h"
#include "search/launcher_page.h"
#include "search/tool.h"

namespace registry {

class RegistryPage : public search::LauncherPage {
public:
    RegistryPage(ui::Page& page, ui::Form& area);
    ui::Button& area_button() { return line_button(0); }
};

class RegistryTool : public search::Tool {
public:
    RegistryTool(search::ToolContext& context, ui::Page& page);
    RegistryPage& page() { return page_; }
    RegistryAreaWindow& area() { return area_; }
    ReferenceWindow& window() { return window_; }

private:
    RegistryAreaWindow area_;
    RegistryPage page_;
    ReferenceWindow window_;
};

}  // namespace registry
