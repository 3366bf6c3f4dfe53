#include "app/tray_menu.h"

#include "app/main_window.h"
#include "junk/junk_tools.h"
#include "privacy/browsers.h"
#include "ui/guard.h"

namespace app {

using privacy::Browser;
using privacy::Store;

TrayMenu::BrowserMenu::BrowserMenu(ui::PopupMenu& menu, const char* name, const char* caption, const char* all_name,
                                   const char* ie_name, const char* slot1_name, const char* slot2_name)
    : submenu(menu, name, caption),
      all(submenu, all_name, "Все"),
      line(submenu, std::string(name) + "Line", "-"),
      ie(submenu, ie_name, "Internet Explorer"),
      slots{ui::MenuItem(submenu, slot1_name, "Unknown Browser#1"),
            ui::MenuItem(submenu, slot2_name, "Unknown Browser#2")} {
    for (ui::MenuItem& slot : slots) slot.set_visible(false);
    for (std::size_t index = 0; index < privacy::kModernBrowsers; ++index) {
        modern.push_back(std::make_unique<ui::MenuItem>(submenu, std::string(name) + "Browser" + std::to_string(index + 1), "Unknown Browser"));
        modern.back()->set_visible(false);
    }
}

TrayMenu::TrayMenu(MainWindow& main, platform::Platform& platform)
    : main_(main),
      platform_(platform),
      traces_(platform, main.pump()),
      modern_traces_(platform, main.pump()),
      menu_(main, "TrayMenu"),
      restore_(menu_, "RestoreWindow", "Восстановить окно"),
      line1_(menu_, "TrayLine1", "-"),
      clean_temp_(menu_, "CleanTemp", "Очистить Temp"),
      empty_bin_(menu_, "EmptyBin", "Очистить корзину"),
      line2_(menu_, "TrayLine2", "-"),
      browsers_{BrowserMenu(menu_, "CacheMenu", "Очистить кэш", "N9", "IEC", "UB1C", "UB2C"),
                BrowserMenu(menu_, "JurnalMenu", "Очистить журнал", "N11", "IEJ", "UB1J", "UB2J"),
                BrowserMenu(menu_, "CookiesMenu", "Удалить cookies", "N13", "IECK", "UB1CK", "UB2CK")},
      line3_(menu_, "TrayLine3", "-"),
      uninstall_(menu_, "UninstallPrograms", "Удаление программ"),
      line4_(menu_, "TrayLine4", "-"),
      exit_(menu_, "ExitProgram", "Выход") {
    menu_.set_opens_upward(true);
    menu_.on_popup = [this] { ui::run_guarded(main_, [this] { prepare(); }); };

    restore_.on_click = action([this] { restore(); });
    clean_temp_.on_click = action([this] { clean_temp(); });
    empty_bin_.on_click = action([this] { empty_bin(); });
    for (const Store store : {Store::cache, Store::history, Store::cookies}) {
        BrowserMenu& submenu = browsers(store);
        submenu.all.on_click = action([this, store] { clean_every_browser(store); });
        for (int row = 0; row < 3; ++row)
            submenu.row(row).on_click = action([this, store, row] { clean_browser(store, row); });
        for (std::size_t index = 0; index < submenu.modern.size(); ++index)
            submenu.modern[index]->on_click = action([this, store, index] { clean_modern(store, index); });
    }
    uninstall_.on_click = action([this] { uninstall(); });
    exit_.on_click = action([this] { exit(); });
}

template <class F>
std::function<void()> TrayMenu::action(F run) {
    return [this, run] {
        if (busy_) return;
        busy_ = true;
        struct Done {
            bool& busy;
            ~Done() { busy = false; }
        } done{busy_};
        ui::run_guarded(main_, run);
    };
}

void TrayMenu::prepare() {
    ui::MenuItem* const top[] = {&restore_, &clean_temp_, &empty_bin_, &browsers(Store::cache).submenu,
                                 &browsers(Store::history).submenu, &browsers(Store::cookies).submenu,
                                 &uninstall_, &exit_};
    for (ui::MenuItem* item : top) item->set_enabled(!busy_);
    if (busy_) return;

    for (BrowserMenu& submenu : browsers_)
        for (ui::MenuItem& slot : submenu.slots) slot.set_visible(false);
    BrowserMenu& cache = browsers(Store::cache);
    for (ui::MenuItem* item : {&clean_temp_, &empty_bin_, &cache.ie, &cache.slots[0], &cache.slots[1]})
        item->set_enabled(false);
    cache.ie.set_enabled(traces_.cache_holds_files(Browser::internet_explorer));

    // Counting the temporary folder and the bin shows their page, as the
    // routine always does; its buttons tell whether there is anything to clean
    // (the bin's stays off when the bin cannot be read).
    main_.run("Temp Dirs");
    auto& temp = main_.tool<junk::TempDirsTool>("Temp Dirs").page();
    clean_temp_.set_enabled(temp.temp_button().enabled());
    empty_bin_.set_enabled(temp.bin_button().enabled());

    const privacy::BrowserSlots found = privacy::fill_slots(platform_);
    const std::optional<std::string>* names[] = {&found.first, &found.second};
    for (int slot = 1; slot <= 2; ++slot) {
        const auto& name = *names[slot - 1];
        if (!name) continue;
        for (BrowserMenu& submenu : browsers_) {
            submenu.row(slot).set_caption(*name);
            submenu.row(slot).set_visible(true);
        }
        cache.row(slot).set_enabled(traces_.cache_holds_files(privacy::browser_of_row(slot, *name)));
    }

    modern_ = privacy::browsers_of_rows(platform_, found);
    for (BrowserMenu& submenu : browsers_)
        for (std::size_t index = 0; index < submenu.modern.size(); ++index) {
            ui::MenuItem& item = *submenu.modern[index];
            item.set_visible(index < modern_.size());
            if (index >= modern_.size()) continue;
            item.set_caption(modern_[index].name);
            item.set_enabled(&submenu != &cache || modern_traces_.cache_holds_files(modern_[index]));
        }
}

void TrayMenu::restore() { main_.restore_from_tray(); }

void TrayMenu::clean_temp() { main_.tool<junk::TempDirsTool>("Temp Dirs").page().quick_clean_temp(); }

void TrayMenu::empty_bin() { main_.tool<junk::TempDirsTool>("Temp Dirs").page().quick_empty_bin(); }

void TrayMenu::clean_browser(Store store, int row) {
    traces_.clean(privacy::browser_of_row(row, browsers(store).row(row).caption()), store);
    main_.sounds().clean->play();
}

void TrayMenu::clean_every_browser(Store store) {
    BrowserMenu& submenu = browsers(store);
    for (int row = 0; row < 3; ++row)
        if (submenu.row(row).visible() && submenu.row(row).enabled()) clean_browser(store, row);
    for (std::size_t index = 0; index < submenu.modern.size(); ++index)
        if (submenu.modern[index]->visible() && submenu.modern[index]->enabled()) clean_modern(store, index);
    main_.sounds().clean->play();
}

// A running browser is left as it is; the menu shows no message.
void TrayMenu::clean_modern(Store store, std::size_t index) {
    if (index < modern_.size()) static_cast<void>(modern_traces_.clean(modern_[index], store));
    main_.sounds().clean->play();
}

void TrayMenu::uninstall() {
    main_.run("Uninstall");
    main_.tray().hide();
    main_.show();
}

void TrayMenu::exit() { main_.close(); }

}  // namespace app
