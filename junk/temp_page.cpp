#include "junk/temp_page.h"

#include "store/size_text.h"

namespace junk {

namespace {

const char kMeasuring[] = "Определяется размер файлов...";

}  // namespace

TempPage::TempPage(ui::Page& page, platform::Platform& platform, platform::Pump& pump,
                   std::unique_ptr<platform::SoundPlayer>& clean_sound)
    : page_(page),
      platform_(platform),
      pump_(pump),
      clean_sound_(clean_sound),
      folders_(platform, pump),
      title_(page, "Label20"),
      intro_(page, "Label21"),
      line_(page, "Bevel2"),
      temp_heading_(page, "Label22"),
      temp_count_caption_(page, "Label23"),
      temp_count_(page, "Label24"),
      temp_size_caption_(page, "Label25"),
      temp_size_(page, "Label26"),
      temp_button_(page, "SpeedButton1"),
      temp_line_(page, "Bevel3"),
      bin_heading_(page, "Label27"),
      bin_count_caption_(page, "Label28"),
      bin_count_(page, "Label29"),
      bin_size_caption_(page, "Label30"),
      bin_size_(page, "Label31"),
      bin_button_(page, "SpeedButton2"),
      bin_line_(page, "Bevel4"),
      all_button_(page, "SpeedButton3"),
      refusal_(page, "TempRefusal") {
    title_.set_text("Очистка Temp папок");
    title_.set_bounds(12, 10, 300, 18);
    title_.set_bold(true);
    title_.set_font_size(14);
    intro_.set_text(
        "На Вашем компьютере есть специальные папки для хранения временных файлов, помещаемых туда "
        "операционной системой и/или другими программами с тем, чтобы в дальнейшем эти файлы были удалены. "
        "Вы также можете удалить эти файлы самостоятельно.");
    intro_.set_auto_size(false);
    intro_.set_word_wrap(true);
    intro_.set_bounds(12, 36, 430, 64);
    line_.set_bounds(12, 104, 430, 2);

    const auto place_block = [](int top, ui::Label& heading, const char* heading_text, ui::Label& count_caption,
                                ui::Label& count, ui::Label& size_caption, ui::Label& size, ui::Button& button,
                                ui::Bevel& line) {
        heading.set_text(heading_text);
        heading.set_bounds(12, top, 250, 16);
        heading.set_bold(true);
        count_caption.set_text(kMeasuring);
        count_caption.set_bounds(24, top + 22, 200, 16);
        count.set_bounds(230, top + 22, 90, 16);
        count.set_bold(true);
        size_caption.set_bounds(24, top + 42, 200, 16);
        size.set_bounds(230, top + 42, 90, 16);
        size.set_bold(true);
        for (ui::Label* hidden : {&count, &size_caption, &size}) hidden->hide();
        button.set_text("  Очистить");
        button.set_bounds(338, top + 24, 104, 28);
        button.set_acts_on_release(true);
        button.set_enabled(false);
        line.set_bounds(12, top + 70, 430, 2);
    };
    place_block(116, temp_heading_, "Временные файлы", temp_count_caption_, temp_count_, temp_size_caption_,
                temp_size_, temp_button_, temp_line_);
    place_block(198, bin_heading_, "Корзина", bin_count_caption_, bin_count_, bin_size_caption_, bin_size_,
                bin_button_, bin_line_);
    all_button_.set_text("  Очистить все");
    all_button_.set_bounds(318, 284, 124, 28);
    all_button_.set_acts_on_release(true);
    all_button_.set_enabled(false);
    refusal_.set_auto_size(false);
    refusal_.set_word_wrap(true);
    refusal_.set_bounds(12, 280, 296, 54);
    refusal_.hide();

    temp_button_.on_click = [this] { clean_temp(); };
    bin_button_.on_click = [this] { empty_bin(); };
    all_button_.on_click = [this] { clean_all(); };
}

void TempPage::measure_temp() {
    const auto figures = folders_.measure_temp();
    const char separator = platform_.system.decimal_separator();
    pump_.serve();
    refusal_.set_text(figures.refusal);
    refusal_.set_visible(!figures.refusal.empty());
    temp_count_caption_.set_text("Количество временных файлов:");
    temp_size_caption_.set_text("Размер временных файлов: ");
    temp_count_.set_text(std::to_string(figures.files));
    temp_size_.set_text(store::SizeToText(static_cast<double>(figures.bytes), separator));
    for (ui::Label* label : {&temp_count_, &temp_size_caption_, &temp_size_}) label->show();
    temp_button_.set_enabled(figures.files != 0);
}

void TempPage::measure_bin() {
    const auto bin = folders_.measure_bin();
    if (bin) {
        bin_count_.set_text(std::to_string(bin->items));
        bin_size_.set_text(store::SizeToText(static_cast<double>(bin->bytes), platform_.system.decimal_separator()));
    }
    bin_count_caption_.set_text("Количество элементов в корзине:");
    bin_size_caption_.set_text("Размер элементов в корзине:");
    for (ui::Label* label : {&bin_count_, &bin_size_caption_, &bin_size_}) label->show();
    bin_button_.set_enabled(bin && bin->items != 0);
}

void TempPage::update_all_button() {
    all_button_.set_enabled(temp_button_.enabled() || bin_button_.enabled());
}

void TempPage::refresh() {
    temp_button_.set_enabled(false);
    bin_button_.set_enabled(false);
    measure_temp();
    measure_bin();
    update_all_button();
}

void TempPage::clean_temp() {
    folders_.clean_temp();
    temp_button_.set_enabled(false);
    measure_temp();
    if (!temp_button_.enabled() && !bin_button_.enabled()) all_button_.set_enabled(false);
}

void TempPage::empty_bin() {
    const auto emptied = folders_.empty_bin();
    // What the bin holds now, not what it should hold.
    measure_bin();
    update_all_button();
    if (!emptied)
        page_.form().dialogs().message("Не удалось очистить корзину. " + emptied.message(), "Ошибка",
                                       ui::Icon::error);
}

void TempPage::clean_all() {
    if (temp_button_.enabled()) clean_temp();
    if (bin_button_.enabled()) empty_bin();
    if (!temp_button_.enabled() && !bin_button_.enabled()) all_button_.set_enabled(false);
}

void TempPage::quick_clean_temp() {
    folders_.clean_temp();
    clean_sound_->play();
}

void TempPage::quick_empty_bin() {
    // The tray's quick action has no page to show a failure on; the page
    // reads the bin anew when it is next shown.
    static_cast<void>(folders_.empty_bin());
    clean_sound_->play();
}

}  // namespace junk
