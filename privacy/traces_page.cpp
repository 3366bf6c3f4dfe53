#include "privacy/traces_page.h"

#include <initializer_list>
#include <string>

#include "ui/guard.h"

namespace privacy {

namespace {

struct Layout {
    int label, button, bevel;  // the first number of each kind
    const char* prefix;        // of the names of the page's own controls
    const char* explanation;
};

Layout layout_of(Store store) {
    if (store == Store::cookies)
        return {23, 20, 22, "Cookies",
                "Файлы «cookie» — это созданные веб-узлом объекты, которые сохраняют на компьютере определенные "
                "сведения, например о предпочтениях пользователя при посещении данного узла, а также личные данные, "
                "такие как имя и адрес электронной почты."};
    return {20, 16, 18, "Jurnal",
            "Интернет-браузеры хранят в журнале ссылки на посещенные вами веб-страницы. Этот журнал можно очистить, "
            "никакие файлы при этом не удаляются."};
}

std::string numbered(const char* kind, int number) { return kind + std::to_string(number); }

}  // namespace

TracesPage::TracesPage(ui::Page& page, platform::Platform& platform, platform::Pump& pump, Store store)
    : platform_(platform),
      traces_(platform, pump),
      store_(store),
      intro_(page, std::string(layout_of(store).prefix) + "Text"),
      top_line_(page, std::string(layout_of(store).prefix) + "Line"),
      names_{ui::Label(page, numbered("Label", layout_of(store).label)),
             ui::Label(page, numbered("Label", layout_of(store).label + 1)),
             ui::Label(page, numbered("Label", layout_of(store).label + 2))},
      buttons_{ui::Button(page, numbered("SpeedButton", layout_of(store).button)),
               ui::Button(page, numbered("SpeedButton", layout_of(store).button + 1)),
               ui::Button(page, numbered("SpeedButton", layout_of(store).button + 2)),
               ui::Button(page, numbered("SpeedButton", layout_of(store).button + 3))},
      lines_{ui::Bevel(page, numbered("Bevel", layout_of(store).bevel)),
             ui::Bevel(page, numbered("Bevel", layout_of(store).bevel + 1))},
      refusal_(page, std::string(layout_of(store).prefix) + "Refusal"),
      browsers_(page, platform, pump, store, layout_of(store).prefix) {
    const Layout layout = layout_of(store);
    intro_.set_text(layout.explanation);
    intro_.set_auto_size(false);
    intro_.set_word_wrap(true);
    intro_.set_bounds(12, 10, 430, 90);
    top_line_.set_bounds(12, 104, 430, 2);

    for (int row = 0; row < 3; ++row) {
        const int top = 114 + row * 46;
        name(row).set_bounds(12, top + 6, 250, 16);
        name(row).set_bold(true);
        button(row).set_text("  Очистить");
        button(row).set_bounds(338, top, 104, 28);
        button(row).on_click = ui::guarded(page.form(), [this, row] { clean_row(row); });
        if (row == 0) continue;
        line(row).set_bounds(12, top - 8, 430, 2);
        for (ui::Control* hidden : std::initializer_list<ui::Control*>{&name(row), &button(row), &line(row)})
            hidden->hide();
    }
    name(0).set_text("Internet Explorer");
    all_button().set_text("  Очистить все");
    all_button().set_bounds(318, 260, 124, 28);
    all_button().hide();
    all_button().on_click = ui::guarded(page.form(), [this] { clean_all(); });
    refusal_.set_auto_size(false);
    refusal_.set_word_wrap(true);
    refusal_.set_bounds(12, 258, 296, 76);
    refusal_.hide();
    browsers_.on_cleaned = [this] { update_all_button(); };
}

void TracesPage::refresh() {
    for (ui::Button& b : buttons_) b.set_enabled(true);
    const BrowserSlots slots = fill_slots(platform_);
    const std::optional<std::string>* names[] = {&slots.first, &slots.second};
    for (int row = 1; row < 3; ++row) {
        if (!*names[row - 1]) continue;
        name(row).set_text(**names[row - 1]);
        for (ui::Control* shown : std::initializer_list<ui::Control*>{&name(row), &button(row), &line(row)})
            shown->show();
    }
    if (slots.second) all_button().show();

    std::string text;
    for (int row = 0; row < 3; ++row) {
        if (!name(row).visible()) continue;
        add_line(text, traces_.refusal(browser_of_row(row, name(row).text()), store_));
    }
    refusal_.set_text(text);
    refusal_.set_visible(!text.empty());

    // Today's browsers below the shown rows (and the refusals).
    int top = 110;
    for (int row = 0; row < 3; ++row)
        if (name(row).visible()) top += 46;
    if (refusal_.visible()) {
        refusal_.set_bounds(12, top, 296, 48);
        top += 50;
    }
    browsers_.refresh(slots, top, 326);
    if (browsers_.shown()) {
        all_button().set_bounds(318, top + 30, 124, 28);
        all_button().show();
    }
}

void TracesPage::clean_row(int row) {
    traces_.clean(browser_of_row(row, name(row).text()), store_);
    button(row).set_enabled(false);
    update_all_button();
}

// "Clean all" goes grey once no row and no browser of the list has anything left.
void TracesPage::update_all_button() {
    bool any = browsers_.any_left();
    for (int row = 0; row < 3; ++row) any = any || button(row).enabled();
    if (!any) all_button().set_enabled(false);
}

void TracesPage::clean_all() {
    for (const Browser browser : {Browser::internet_explorer, Browser::opera, Browser::firefox})
        traces_.clean(browser, store_);
    browsers_.clean_all();
    for (ui::Button& b : buttons_) b.set_enabled(false);
}

}  // namespace privacy
