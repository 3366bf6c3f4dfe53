#pragma once
// The update check: the history file of the update server against the
// program's own build, from the About page's link (with a message for every
// outcome) or silently at start-up, and the window that offers a newer build.
#include <optional>
#include <string>
#include <vector>

#include "app/product.h"
#include "platform/platform.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace app {

// The first line of a history file, "Версия 1.5.07": the published version
// text (its last six characters) and build (its last two, as a number).
struct PublishedBuild {
    std::string version;
    int build = 0;
};
// Nothing for a line that does not begin with "Версия" or does not end in
// two digits.
std::optional<PublishedBuild> published_build(const std::string& first_line);

class UpdateWindow : public ui::Form {
public:
    UpdateWindow(ui::Toolkit& toolkit, platform::Shell& shell, std::string server);

    // Fills the window with a newer build and its history, and shows it.
    void offer(const std::string& new_version, const std::vector<std::string>& history);

    ui::Label& new_version() { return new_version_; }
    ui::Label& own_version() { return own_version_; }
    ui::Button& download_button() { return download_button_; }
    ui::Memo& changes() { return changes_; }

private:
    void download();

    platform::Shell& shell_;
    std::string server_;
    ui::Label heading_{*this, "Label1"};
    ui::GroupBox frame_{*this, "GroupBox1"};
    ui::Label new_caption_{frame_, "Label2"}, new_version_{frame_, "Label3"};
    ui::Label own_caption_{frame_, "Label4"}, own_version_{frame_, "Label5"};
    ui::Button download_button_{*this, "SpeedButton1"};
    ui::Label changes_caption_{*this, "Label6"};
    ui::Memo changes_{*this, "Memo1"};
};

class UpdateCheck {
public:
    // `server` is the update server's address without a trailing "/".
    UpdateCheck(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                std::string server = kUpdateServer);

    // The About page's link: a message for every outcome but a newer build,
    // which shows the update window.
    void check_now();
    // The end of the fade-in: only a newer build shows anything.
    void check_at_startup();

    UpdateWindow& window() { return window_; }
    // The history file's temporary copy, in the temporary folder (TEMP),
    // where the user can write wherever the program is installed; "" when
    // there is no usable temporary folder.
    std::string copy_path() const;

private:
    enum class Outcome { newer, latest, failed, unwritable };
    Outcome check();

    platform::Platform& platform_;
    const store::DataFolder& data_;
    std::string server_;
    std::string write_failure_;  // what the user is told for Outcome::unwritable
    UpdateWindow window_;
};

}  // namespace app
