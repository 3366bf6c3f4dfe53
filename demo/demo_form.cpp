#include "demo/demo_form.h"

#include <string>

namespace demo {

DemoDialog::DemoDialog(ui::Toolkit& toolkit) : ui::Form(toolkit, "Form2") {
    set_caption("Список файлов");
    set_border(ui::Border::dialog);
    set_client_size(320, 110);
    set_color(ui::colors::white);
    hint.set_bounds(12, 12, 296, 16);
    hint.set_text("Задание списка файлов для поиска.");
    name.set_bounds(12, 36, 296, 21);
    name.set_text("C:\\Мои документы");
    apply.set_bounds(208, 72, 100, 25);
    apply.set_text("  Применить");
    apply.set_acts_on_release(true);
    apply.on_click = [this] { close(); };
}

DemoForm::DemoForm(ui::Toolkit& toolkit) : ui::Form(toolkit, "Form1"), dialog(toolkit) {
    set_caption("Vorlinde System Cleaner 1.5");
    set_client_size(720, 430);
    set_color(ui::colors::white);

    bar.set_bounds(6, 6, 190, 227);
    const int junk = bar.add_category("Ненужные файлы",
                                      {"Очистка Temp папок", "Поиск временных файлов", "Поиск неправильных ярлыков"});
    bar.add_category("Интернет", {"Очистка кэша", "Очистка журнала", "Удаление Cookies"});
    bar.add_category("Дубликаты", {"Поиск копий выбранных файлов"});
    bar.add_category("Дополнительно", {"Настройки программы", "О программе", "Свернуть в трэй"});
    bar.expand(junk);
    bar.on_mouse_down = [this] { opened_before_ = bar.last_expanded(); };
    const auto one_open = [this](int category) {
        if (opened_before_ >= 0 && opened_before_ != category) bar.collapse(opened_before_);
    };
    bar.on_expand = one_open;
    bar.on_item_click = [this](int category, int item) {
        pages.set_active(category == 0 && item == 1 ? 0 : 1);
        if (category == 3 && item == 2) {
            hide();
            tray.show();
        }
    };

    pages.set_bounds(204, 6, 510, 418);

    title.set_bounds(8, 4, 300, 16);
    title.set_text("Поиск временных файлов");
    title.set_bold(true);
    title.set_font_size(14);
    title.set_text_color(ui::colors::blue);
    beta.set_bounds(240, 6, 40, 14);
    beta.set_text("Beta");
    beta.set_text_color(ui::colors::red);
    home.set_bounds(380, 6, 120, 14);
    home.set_text("Домашняя страница");
    home.set_link(true);
    home.set_text_color(ui::colors::blue);
    home.on_click = [this] { home.set_text_color(ui::colors::purple); };

    optimal.set_bounds(8, 28, 300, 17);
    optimal.set_text("Использовать оптимальные настройки");
    optimal.set_bold(true);
    own.set_bounds(8, 48, 300, 17);
    own.set_text("Использовать собственные настройки");
    own.set_bold(true);
    optimal.set_checked(true);
    own.on_click = [this] { setup.set_enabled(true); };
    optimal.on_click = [this] { setup.set_enabled(false); };
    setup.set_bounds(320, 28, 90, 25);
    setup.set_text("  Настроить");
    setup.set_enabled(false);
    setup.set_tooltip("Задание области поиска - локальных дисков и отдельных папок.");
    setup.on_click = [this] { dialog.show_modal(); };
    start.set_bounds(414, 28, 92, 25);
    start.set_text("  Начать поиск");
    start.on_click = [this] {
        ++starts;
        stop.clear();
        progress.set_position(0);
    };
    clean.set_bounds(414, 56, 92, 25);
    clean.set_text("  Очистить");
    clean.set_acts_on_release(true);
    clean.on_click = [this] { ++cleans; };

    line.set_bounds(8, 86, 498, 2);
    current.set_bounds(14, 98, 480, 16);
    current.set_text("Найдено файлов: 3    Общий размер: 1,25 MB");
    current.set_text_color(ui::colors::blue);
    frame.set_shape(ui::Bevel::Shape::frame);
    frame.set_bounds(8, 94, 498, 24);
    progress.set_bounds(8, 124, 498, 16);
    progress.set_maximum(10);
    progress.set_position(7);

    found.set_bounds(8, 148, 498, 266);
    found.set_text("Найденные файлы");
    results.set_bounds(10, 20, 478, 170);
    results.add_column("Имя", 455);
    results.set_check_boxes(true);
    results.set_popup_menu(&result_menu);
    fill_results(40);
    results.set_checked(1, true);
    select_all.set_bounds(10, 198, 160, 17);
    select_all.set_text("Выбрать все");
    select_all.on_click = [this] { results.set_all_checked(select_all.checked()); };
    to_bin.set_bounds(180, 198, 200, 17);
    to_bin.set_text("Удалять в корзину");
    to_bin.set_checked(true);
    link_caption.set_bounds(10, 226, 60, 16);
    link_caption.set_text("Ссылка:");
    link.set_bounds(70, 222, 418, 21);
    link.set_text_color(ui::colors::blue);
    link.set_tooltip("В этом поле отображается адрес файла, на который ссылается выбранный ярлык.\r"
                     "Вы можете изменить эту ссылку вручную, либо кликнув два раза по этому полю и выбрав новый файл.");
    results.on_select = [this] { link.set_text(results.selected() >= 0 ? results.text(results.selected()) : ""); };
    result_menu.on_popup = [this] {
        const bool some = results.selected() >= 0;
        for (ui::MenuItem* item : {&delete_file, &delete_folder, &exclude_file, &exclude_folder}) item->set_enabled(some);
    };
    delete_file.on_click = [this] { results.remove(results.selected()); };

    drives_caption.set_bounds(8, 8, 200, 16);
    drives_caption.set_text("Диски:");
    drives.set_bounds(8, 26, 200, 80);
    for (const char* drive : {"C:", "D: Данные", "E: Архив"}) drives.add(drive);
    drives.set_checked(0, true);
    programs_caption.set_bounds(220, 8, 280, 16);
    programs_caption.set_text("Установленные программы (3)");
    programs.set_bounds(220, 26, 280, 80);
    for (const char* name : {"Блокнот++", "Архиватор 7-Zip", "Проигрыватель"}) programs.add(name);
    programs.set_selected(1);
    path_caption.set_bounds(8, 116, 200, 16);
    path_caption.set_text("Путь для удаления:");
    path.set_bounds(8, 134, 492, 21);
    path.set_text("C:\\Program Files\\Архиватор\\uninstall.exe");
    path.set_read_only(true);
    path.set_background(ui::colors::blue);
    path.set_text_color(ui::colors::white);
    days_caption.set_bounds(8, 168, 140, 16);
    days_caption.set_text("Искать файлы старше");
    days.set_bounds(150, 165, 60, 21);
    days.set_range(1, 365);
    days.set_value(7);
    days.set_read_only(true);
    history_caption.set_bounds(8, 196, 200, 16);
    history_caption.set_text("Список изменений:");
    history.set_bounds(8, 214, 492, 96);
    history.set_read_only(true);
    history.set_text("Версия 1.5.06\r\n- Поиск копий файлов\r\n- Очистка журнала\r\n- Автозагрузка\r\n"
                     "- Исправлены ошибки\r\n- Новый значок\r\n- Уведомления о новых записях\r\n- Меню в трэе");
    // A gradient until the program's banner (a JPEG) is set.
    banner.set_bounds(8, 320, 420, 84);
    ui::Pixels picture;
    picture.width = 420;
    picture.height = 84;
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            auto* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
            p[0] = static_cast<std::uint8_t>(20 + x / 4);
            p[1] = static_cast<std::uint8_t>(90 + y);
            p[2] = 204;
        }
    }
    banner.set_picture(std::move(picture));

    tray.set_tooltip("Щелкните правой кнопкой для вызова подменю быстрых действий");
    tray.set_popup_menu(&tray_menu);
    tray_menu.set_opens_upward(true);
    restore.on_click = [this] {
        tray.hide();
        show();
    };
    tray.on_click = restore.on_click;
    exit.on_click = [this] { close(); };

    fade.set_interval(30);
    fade.on_tick = [this] {
        if (alpha() < 221) set_alpha(alpha() + 20);
        if (alpha() > 239) {
            fade.stop();
            set_alpha(255);
            set_alpha_blend(false);
        }
    };
}

void DemoForm::fill_results(int count) {
    results.begin_update();
    results.clear();
    for (int i = 0; i < count; ++i) {
        results.add("C:\\Documents and Settings\\Пользователь\\Local Settings\\Temp\\файл" + std::to_string(i) + ".tmp");
    }
    results.end_update();
}

void DemoForm::fade_in() {
    set_alpha(0);
    set_alpha_blend(true);
    fade.start();
}

}  // namespace demo
