#include "startup/notice_window.h"

#include <algorithm>
#include <cmath>

#include "startup/autorun_watch.h"
#include "search/registry_undo.h"
#include "search/registry_walk.h"
#include "startup/startup_entries.h"
#include "ui/guard.h"

namespace startup {

namespace {

constexpr int kWidth = 371;
constexpr int kHeight = 128;
constexpr int kStep = 10;

void red_bold(ui::Label& label, const char* text, int left, int top) {
    label.set_text(text);
    label.set_text_color(ui::colors::red);
    label.set_bold(true);
    label.set_bounds(left, top, 50, 16);
}

void white(ui::Label& label, int left, int top, int width) {
    label.set_text_color(ui::colors::white);
    label.set_auto_size(false);
    label.set_bounds(left, top, width, 16);
}

}  // namespace

NoticeWindow::NoticeWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                           platform::SoundPlayer& radar, platform::SoundPlayer& link)
    : ui::Form(toolkit, "Form20"), platform_(platform), data_(data), radar_(radar), link_(link) {
    set_border(ui::Border::none);
    set_stay_on_top(true);
    set_color(ui::colors::blue);
    set_client_size(kWidth, kHeight);

    red_bold(title_, "Добавлена новая запись", 10, 8);
    title_.set_auto_size(false);
    title_.set_width(300);
    red_bold(command_caption_, "Файл:", 10, 34);
    command_.set_bounds(56, 32, 305, 20);
    command_.set_read_only(true);
    command_.set_background(ui::colors::blue);
    command_.set_text_color(ui::colors::white);
    red_bold(key_caption_, "Ключ:", 10, 60);
    white(key_text_, 56, 60, 305);
    red_bold(name_caption_, "Имя:", 10, 80);
    white(name_, 56, 80, 305);
    keep_link_.set_text("Оставить");
    remove_link_.set_text("Удалить");
    for (ui::Label* link_label : {&keep_link_, &remove_link_}) {
        link_label->set_text_color(ui::colors::white);
        link_label->set_link(true);
    }
    keep_link_.set_bounds(206, 104, 60, 16);
    remove_link_.set_bounds(296, 104, 60, 16);

    slide_timer_.set_interval(10);
    slide_timer_.on_tick = [this] { slide(); };
    on_show = [this] { radar_.play(); };
    keep_link_.on_click = ui::guarded(*this, [this] { keep(); });
    remove_link_.on_click = ui::guarded(*this, [this] { remove(); });
    park();
}

void NoticeWindow::park() {
    slide_timer_.stop();
    set_position(toolkit().screen_size().width, top());
    hide();
}

bool NoticeWindow::parked() const { return left() == toolkit().screen_size().width; }

void NoticeWindow::notify(std::size_t key, const WatchedValue& value) {
    key_ = key;
    view_ = value.view;
    unrepresentable_ = value.unrepresentable;
    const std::string command = value.data ? platform::shown_text(*value.data) : "";
    command_.set_text(command);
    command_.set_tooltip(command);
    key_text_.set_text(search::key_name_in_view(kWatchedKeys[key].caption, value.view));
    name_.set_text(value.name);
    if (!parked()) return;
    const int screen_height = toolkit().screen_size().height;
    set_position(left(), static_cast<int>(std::lround(screen_height / 2.0 - kHeight / 2.0)));
    show();  // the showing plays the sound, and so does its start
    radar_.play();
    slide_timer_.start();
}

void NoticeWindow::slide() {
    if (left() - kStep <= toolkit().screen_size().width - kWidth) {
        slide_timer_.stop();
        return;
    }
    set_position(left() - kStep, top());
}

void NoticeWindow::keep() {
    link_.play();
    // A key no longer watched has no snapshot to remember the name in.
    if (data_.exists(kWatchedKeys[key_].snapshot)) data_.append_line(kWatchedKeys[key_].snapshot, name_.text());
    park();  // also ends a slide-in still under way
}

void NoticeWindow::remove() {
    link_.play();
    const WatchedKey& key = kWatchedKeys[key_];
    const auto deleted = [&]() -> platform::Status {
        if (unrepresentable_) return platform::Status::failure(kUnrepresentableName);
        auto open = platform_.registry.open(key.root, key.key, platform::KeyAccess::write, view_);
        if (!open) return open.status();
        const auto saved = search::save_undo_file(platform_, data_, "autorun",
                                                  {{key.root, search::key_name_in_view(key.key, view_), name_.text()}});
        if (!saved) return saved.status();
        return (*open)->delete_value(name_.text());
    }();
    if (!deleted) dialogs().message(deleted.message(), search::kRegistryErrorCaption, ui::Icon::error);
    park();
}

AutorunMonitor::AutorunMonitor(NoticeWindow& notice, platform::Registry& registry, const store::DataFolder& data)
    : notice_(notice), registry_(registry), data_(data) {}

bool AutorunMonitor::watching() const { return monitor_on(data_); }

void AutorunMonitor::set_watching(bool on) {
    // Fresh snapshots accept what a showing notification asks about; with
    // nothing watched there is nothing to ask.
    notice_.park();
    ui::fire(on_watching_changed, on);
}

void AutorunMonitor::tick() {
    ui::run_guarded(notice_, [this] {
        for (std::size_t index = 0; index < kWatchedKeys.size(); ++index) {
            const WatchedKey& key = kWatchedKeys[index];
            if (!data_.exists(key.snapshot)) continue;
            const auto snapshot = data_.read_lines(key.snapshot);
            if (snapshot.empty()) continue;  // a key without values when taken is not watched
            const auto value = new_value(snapshot, current_values(registry_, key));
            if (!value) continue;
            notice_.notify(index, *value);
        }
    });
}

}  // namespace startup
