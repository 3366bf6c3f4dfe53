#pragma once
// The About page: banner, version, links to updates, the home page and mail.
#include <functional>

#include "search/sounds.h"
#include "app/settings_page.h"
#include "app/update_check.h"
#include "search/tool.h"
#include "platform/shell.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace app {

class AboutPage {
public:
    AboutPage(ui::Page& page, platform::Shell& shell, search::Sounds& sounds, const store::DataFolder& data);

    // "Проверить обновления" runs this.
    std::function<void()> check_updates;

    ui::Image& banner() { return banner_; }
    ui::Label& version() { return version_; }
    ui::Label& home_link() { return home_link_; }
    ui::Label& feedback_link() { return feedback_link_; }

private:
    void open_link(ui::Label& link, const std::string& target);

    platform::Shell& shell_;
    search::Sounds& sounds_;
    ui::Image banner_;
    ui::Label version_, beta_;
    ui::Bevel top_line_;
    ui::Label updates_link_, home_link_;
    ui::Label author_heading_, author_name_, author_link_;
    ui::Label feedback_heading_, feedback_link_;
    ui::Label thanks_heading_, thanks_names_;
    ui::Label special_heading_, special_names_;
};

// The About page as the tool of "О программе", with the update check that
// its link runs and that runs at the end of the fade-in when update.txt
// exists.
class AboutTool : public search::Tool {
public:
    AboutTool(search::ToolContext& context, ui::Page& page);
    void faded_in() override;
    AboutPage& page() { return page_; }
    UpdateCheck& updates() { return updates_; }

private:
    const store::DataFolder& data_;
    AboutPage page_;
    UpdateCheck updates_;
};

// The settings page as the tool of "Настройки программы".
class SettingsTool : public search::Tool {
public:
    SettingsTool(search::ToolContext& context, ui::Page& page) : page_(page, context.platform, context.data) {}
    void open() override { page_.refresh(); }
    SettingsPage& page() { return page_; }

private:
    SettingsPage page_;
};

}  // namespace app
