#pragma once
// The About page: banner, version, links to updates, the home page and mail.
#include <functional>

#include "app/sounds.h"
#include "platform/shell.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace app {

class AboutPage {
public:
    AboutPage(ui::Page& page, platform::Shell& shell, Sounds& sounds, const store::DataFolder& data);

    // "Проверить обновления" runs this.
    std::function<void()> check_updates;

    ui::Image& banner() { return banner_; }
    ui::Label& version() { return version_; }
    ui::Label& home_link() { return home_link_; }
    ui::Label& feedback_link() { return feedback_link_; }

private:
    void open_link(ui::Label& link, const std::string& target);

    platform::Shell& shell_;
    Sounds& sounds_;
    ui::Image banner_;
    ui::Label version_, beta_;
    ui::Bevel top_line_;
    ui::Label updates_link_, home_link_;
    ui::Label author_heading_, author_name_, author_link_;
    ui::Label feedback_heading_, feedback_link_;
    ui::Label thanks_heading_, thanks_names_;
    ui::Label special_heading_, special_names_;
};

}  // namespace app
