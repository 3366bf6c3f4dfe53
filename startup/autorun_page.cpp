#include "startup/autorun_page.h"

#include <algorithm>

#include "search/registry_undo.h"
#include "startup/autorun_watch.h"
#include "ui/guard.h"

namespace startup {

namespace {

constexpr char kDeniedCaption[] = "Доступ запрещен";
constexpr char kDeniedText[] =
    "На Вашем компьютере установлено программное обеспечение (антивирус или межсетевой экран), блокирующее доступ "
    "к некоторым ключам реестра.\rНевозможно запретить автозагрузку.";

std::string box_name(int number) { return "CheckBox" + std::to_string(number); }

}  // namespace

AutorunPage::AutorunPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data,
                         AutorunMonitor& monitor)
    : form_(page.form()),
      platform_(platform),
      data_(data),
      monitor_(monitor),
      block_title_(page, "Label34"),
      block_line_(page, "BlockLine"),
      watch_title_(page, "Label35"),
      watch_line_(page, "WatchLine"),
      apply_button_(page, "SpeedButton45") {
    block_title_.set_text("Запретить автозагрузку из ключей:");
    block_title_.set_bold(true);
    block_title_.set_bounds(12, 10, 300, 16);
    watch_title_.set_text("Следить за изменениями в ключах:");
    watch_title_.set_bold(true);
    watch_title_.set_bounds(12, 150, 300, 16);
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
        const int row = static_cast<int>(i);
        block_boxes_[i] = std::make_unique<ui::CheckBox>(page, box_name(2 + row));
        watch_boxes_[i] = std::make_unique<ui::CheckBox>(page, box_name(6 + row));
        for (auto* box : {block_boxes_[i].get(), watch_boxes_[i].get()}) {
            box->set_text(kWatchedKeys[i].caption);
            box->on_click = [this] { apply_button_.set_enabled(true); };
        }
        block_boxes_[i]->set_bounds(20, 34 + 24 * row, 420, 18);
        watch_boxes_[i]->set_bounds(20, 174 + 24 * row, 420, 18);
    }
    block_line_.set_bounds(12, 136, 430, 2);
    watch_line_.set_bounds(12, 276, 430, 2);
    apply_button_.set_text("  Применить");
    apply_button_.set_bounds(340, 290, 102, 28);
    apply_button_.set_enabled(false);
    apply_button_.on_click = ui::guarded(form_, [this] { apply(); });
}

void AutorunPage::refresh() {
    const auto settings = AutorunSettings::load(data_, platform_.registry);
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
        block_boxes_[i]->set_checked(settings.blocked[i]);
        watch_boxes_[i]->set_checked(settings.watched[i]);
    }
}

void AutorunPage::apply() {
    std::array<bool, 4> watched{}, blocked{};
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
        watched[i] = watch_boxes_[i]->checked();
        blocked[i] = block_boxes_[i]->checked();
    }
    monitor_.set_watching(apply_watch(data_, platform_.registry, watched));

    std::vector<search::UndoItem> touched;
    for (const auto& key : kWatchedKeys) touched.push_back({platform::Root::local_machine, kPolicyKey, key.policy_value});
    const bool blocking = std::find(blocked.begin(), blocked.end(), true) != blocked.end();
    // Nothing is written without its undo file. Without a policy key nothing
    // is blocked, so allowing everything has nothing to write.
    const bool policy_key = platform_.registry.key_exists(platform::Root::local_machine, kPolicyKey);
    platform::Status written = policy_key ? search::save_undo_file(platform_, data_, "autorun-policy", touched).status()
                                          : platform::Status::success();
    if (written && (policy_key || blocking)) written = write_block_policy(platform_.registry, blocked);
    if (!written) {
        if (blocking)
            form_.dialogs().message(std::string(kDeniedText) + "\r" + written.message(), kDeniedCaption,
                                    ui::Icon::information);
        else
            form_.dialogs().message("Невозможно разрешить автозагрузку.\r" + written.message(),
                                    search::kRegistryErrorCaption, ui::Icon::error);
        // The boxes show what the registry holds now.
        const auto now = AutorunSettings::load(data_, platform_.registry);
        for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) block_boxes_[i]->set_checked(now.blocked[i]);
    }
    apply_button_.set_enabled(false);
}

}  // namespace startup
