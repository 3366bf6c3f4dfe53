#include "privacy/cache_page.h"

#include <string>

#include "store/size_text.h"
#include "ui/guard.h"

namespace privacy {

namespace {

const char kEmpty[] = "0 KB";
const char kMeasuring[] = "Определяется размер файлов...";
const char kSized[] = "Размер кэшированных файлов:";
const char* const kSlotNames[] = {"Internet Explorer", "Unknown Browser#1", "Unknown Browser#2"};

std::string numbered(const char* kind, int number) { return kind + std::to_string(number); }

}  // namespace

CachePage::Row::Row(ui::Page& page, int label, int button_number, int bevel)
    : name(page, numbered("Label", label)),
      caption(page, numbered("Label", label + 1)),
      size(page, numbered("Label", label + 2)),
      button(page, numbered("SpeedButton", button_number)),
      line(page, numbered("Bevel", bevel)) {}

CachePage::CachePage(ui::Page& page, platform::Platform& platform, platform::Pump& pump)
    : platform_(platform),
      traces_(platform, pump),
      intro_(page, "CacheText"),
      top_line_(page, "CacheLine"),
      rows_{Row(page, 11, 12, 13), Row(page, 14, 13, 14), Row(page, 17, 14, 15)},
      all_button_(page, "SpeedButton15"),
      refusal_(page, "CacheRefusal"),
      browsers_(page, platform, pump, Store::cache, "Cache") {
    intro_.set_text(
        "При открытии веб-страниц Ваш Интернет браузер сохраняет их на жесткий диск для ускорения их загрузки "
        "в будущем. Папка, в которую сохранаются файлы Интернета, называется кэш. Когда кэш начинает занимать "
        "значительное место есть смысл его очищать.");
    intro_.set_auto_size(false);
    intro_.set_word_wrap(true);
    intro_.set_bounds(12, 10, 430, 90);
    top_line_.set_bounds(12, 104, 430, 2);

    for (int index = 0; index < 3; ++index) {
        Row& r = row(index);
        const int top = 112 + index * 54;
        r.name.set_text(kSlotNames[index]);
        r.name.set_bounds(12, top, 250, 16);
        r.name.set_bold(true);
        r.caption.set_text(kMeasuring);
        r.caption.set_bounds(24, top + 22, 200, 16);
        r.size.set_text(kEmpty);
        r.size.set_bounds(230, top + 22, 90, 16);
        r.size.set_bold(true);
        r.size.hide();
        r.button.set_text("  Очистить");
        r.button.set_bounds(338, top + 8, 104, 28);
        r.button.set_acts_on_release(true);
        r.line.set_bounds(12, top + 46, 430, 2);
        r.button.on_click = ui::guarded(page.form(), [this, index] { clean_row(index); });
        if (index == 0) continue;
        for (ui::Control* hidden : std::initializer_list<ui::Control*>{&r.name, &r.caption, &r.button, &r.line})
            hidden->hide();
    }
    all_button_.set_text("  Очистить все");
    all_button_.set_bounds(318, 276, 124, 28);
    all_button_.set_acts_on_release(true);
    all_button_.hide();
    all_button_.on_click = ui::guarded(page.form(), [this] { clean_all(); });
    refusal_.set_auto_size(false);
    refusal_.set_word_wrap(true);
    refusal_.set_bounds(12, 274, 296, 60);
    browsers_.on_cleaned = [this] { update_all_button(); };
    refusal_.hide();
}

Browser CachePage::browser_of(int index) { return browser_of_row(index, row(index).name.text()); }

void CachePage::measure(int index, Browser browser) {
    const auto bytes = traces_.cache_bytes(browser);
    row(index).size.set_text(store::SizeToText(static_cast<double>(bytes), platform_.system.decimal_separator()));
    refusals_.at(static_cast<std::size_t>(index)) = traces_.refusal(browser, Store::cache);
}

void CachePage::show_refusals() {
    std::string text;
    for (const auto& why : refusals_) add_line(text, why);
    refusal_.set_text(text);
    refusal_.set_visible(!text.empty());
}

void CachePage::size_row(int index) {
    Row& r = row(index);
    measure(index, browser_of(index));
    r.caption.set_text(kSized);
    r.size.show();
}

void CachePage::enable_row(int index) { row(index).button.set_enabled(row(index).size.text() != kEmpty); }

void CachePage::update_all_button() {
    bool empty = !browsers_.any_left();
    for (const Row& r : rows_) empty = empty && r.size.text() == kEmpty;
    all_button_.set_enabled(!empty);
}

void CachePage::place_browsers(const BrowserSlots& slots) {
    int top = 112;
    for (const Row& r : rows_)
        if (r.name.visible()) top += 54;
    if (refusal_.visible()) {
        refusal_.set_bounds(12, top, 296, browsers_.shown() ? 48 : 60);
        if (browsers_.shown()) top += 50;
    }
    browsers_.refresh(slots, top, 326);
    if (browsers_.shown()) {
        all_button_.set_bounds(318, top + 30, 124, 28);
        all_button_.show();
    }
}

void CachePage::refresh() {
    for (Row& r : rows_) r.button.set_enabled(false);
    all_button_.set_enabled(false);
    refusals_ = {};

    const BrowserSlots slots = fill_slots(platform_);
    const std::optional<std::string>* names[] = {nullptr, &slots.first, &slots.second};
    for (int index = 1; index < 3; ++index) {
        if (!*names[index]) continue;
        Row& r = row(index);
        r.name.set_text(**names[index]);
        for (ui::Control* shown : std::initializer_list<ui::Control*>{&r.name, &r.caption, &r.button, &r.line})
            shown->show();
    }
    if (slots.second) all_button_.show();

    size_row(0);
    if (slots.filled() == 1) size_row(1);
    if (slots.filled() == 2) {
        size_row(1);
        size_row(2);
    }
    for (int index = 0; index < 3; ++index) enable_row(index);
    show_refusals();
    place_browsers(slots);
    if (slots.filled() == 2 || browsers_.shown()) update_all_button();
}

void CachePage::clean_row(int index) {
    traces_.clean(browser_of(index), Store::cache);
    size_row(index);
    enable_row(index);
    update_all_button();
    show_refusals();
}

void CachePage::clean_all() {
    const Browser browsers[] = {Browser::internet_explorer, Browser::opera, Browser::firefox};
    for (int index = 0; index < 3; ++index) {
        traces_.clean(browsers[index], Store::cache);
        measure(index, browsers[index]);
    }
    browsers_.clean_all();
    for (int index = 0; index < 3; ++index) enable_row(index);
    update_all_button();
    show_refusals();
}

}  // namespace privacy
