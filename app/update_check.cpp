#include "app/update_check.h"

#include "search/folders.h"

namespace app {

namespace {

const char kTemporaryCopy[] = "new.~";
const char kVersionWord[] = "Версия";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<PublishedBuild> published_build(const std::string& first_line) {
    const std::string_view word = kVersionWord;
    if (first_line.compare(0, word.size(), word) != 0) return std::nullopt;
    const std::size_t n = first_line.size();
    if (!is_digit(first_line[n - 2]) || !is_digit(first_line[n - 1])) return std::nullopt;
    return PublishedBuild{first_line.substr(n - 6), (first_line[n - 2] - '0') * 10 + (first_line[n - 1] - '0')};
}

UpdateWindow::UpdateWindow(ui::Toolkit& toolkit, platform::Shell& shell, std::string server)
    : ui::Form(toolkit, "UpdateForm"), shell_(shell), server_(std::move(server)) {
    set_caption("Обновление");
    set_border(ui::Border::dialog);
    set_stay_on_top(true);
    set_client_size(462, 381);
    set_color(ui::colors::white);

    heading_.set_text("Доступна новая версия!");
    heading_.set_bounds(16, 12, 300, 24);
    heading_.set_bold(true);
    heading_.set_font_size(16);
    heading_.set_text_color(ui::colors::blue);
    frame_.set_bounds(16, 42, 300, 66);
    new_caption_.set_text("Новая версия:");
    new_caption_.set_bounds(12, 16, 100, 16);
    new_version_.set_bounds(118, 16, 80, 16);
    new_version_.set_bold(true);
    own_caption_.set_text("Ваша версия:");
    own_caption_.set_bounds(12, 40, 100, 16);
    own_version_.set_bounds(118, 40, 80, 16);
    own_version_.set_bold(true);
    download_button_.set_text("  Скачать!");
    download_button_.set_bounds(330, 58, 116, 32);
    download_button_.set_bold(true);
    download_button_.set_text_color(ui::colors::blue);
    changes_caption_.set_text("Список изменений:");
    changes_caption_.set_auto_size(false);
    changes_caption_.set_bounds(16, 116, 200, 16);
    changes_.set_bounds(16, 136, 430, 229);
    changes_.set_read_only(true);

    download_button_.on_click = [this] { download(); };
}

void UpdateWindow::offer(const std::string& new_version, const std::vector<std::string>& history) {
    new_version_.set_text(new_version);
    own_version_.set_text(kVersion);
    std::string text;
    for (const auto& line : history) text += (text.empty() ? "" : "\r\n") + line;
    changes_.set_text(text);  // at once: a line at a time repaints the box once per line
    show();
}

void UpdateWindow::download() {
    // The shell tells the user itself when no browser takes the address.
    static_cast<void>(shell_.open("open", server_ + kDownloadPath));
}

UpdateCheck::UpdateCheck(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                         std::string server)
    : platform_(platform), data_(data), server_(std::move(server)), window_(toolkit, platform.shell, server_) {}

std::string UpdateCheck::copy_path() const {
    // Only a file of the program's own is written there, so the temp folder
    // need not pass the rule for folders that are cleaned.
    const auto temp = search::TempFolderPath(platform_.system, platform_.fs, {});
    if (!temp) return "";
    return temp->path() + "\\" + kTemporaryCopy;
}

UpdateCheck::Outcome UpdateCheck::check() {
    const std::string copy = copy_path();
    if (copy.empty()) {
        write_failure_ = "Не задана папка для временных файлов (TEMP).";
        return Outcome::unwritable;
    }
    // A copy left by an earlier run is stale, and a missing one is no error.
    const auto discard_copy = [&] { static_cast<void>(platform_.fs.delete_file(copy)); };
    discard_copy();
    std::vector<std::string> history;
    if (platform_.internet.connected()) {
        // A copy that cannot be written is told as such, not as a server
        // that cannot be reached.
        if (auto made = platform::write_whole_file(platform_.fs, copy, ""); !made) {
            write_failure_ = "Не удалось записать файл " + copy + ". " + made.message();
            discard_copy();
            return Outcome::unwritable;
        }
        if (platform_.internet.download(server_ + kHistoryPath, copy))
            if (const auto text = platform::read_whole_file(platform_.fs, copy)) history = store::split_lines(*text);
    }
    discard_copy();
    const auto published = history.empty() ? std::nullopt : published_build(history.front());
    if (!published) return Outcome::failed;
    if (published->build <= kBuild) return Outcome::latest;
    window_.offer(published->version, history);
    return Outcome::newer;
}

void UpdateCheck::check_now() {
    switch (check()) {
        case Outcome::newer: break;
        case Outcome::latest:
            window_.dialogs().message("У Вас установлена самая последняя версия!", "Проверка завершена",
                                      ui::Icon::information);
            break;
        case Outcome::failed:
            window_.dialogs().message(
                "Не удалось соединиться с сервером обновлений. Проверьте Ваше подключение к интернету.", "Ошибка",
                ui::Icon::error);
            break;
        case Outcome::unwritable: window_.dialogs().message(write_failure_, "Ошибка", ui::Icon::error); break;
    }
}

void UpdateCheck::check_at_startup() { static_cast<void>(check()); }

}  // namespace app
