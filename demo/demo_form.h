#pragma once
// A window with every control kind of the widget model and Russian texts:
// the Windows tests render it, the ui_demo program shows it for screenshots.
#include <string>

#include "ui/ui.h"

namespace demo {

// A small modal window opened by the demo's "Настроить" button.
class DemoDialog : public ui::Form {
public:
    explicit DemoDialog(ui::Toolkit& toolkit);

    ui::Label hint{*this, "Label1"};
    ui::Edit name{*this, "Edit1"};
    ui::Button apply{*this, "SpeedButton1"};
};

class DemoForm : public ui::Form {
public:
    explicit DemoForm(ui::Toolkit& toolkit);

    // Fills the result list with sample paths.
    void fill_results(int count);
    // Starts the fade-in: the window goes from transparent to opaque over
    // twelve ticks of 30 ms.
    void fade_in();

    DemoDialog dialog;

    ui::CategoryBar bar{*this, "CategoryBar1"};
    ui::PageSet pages{*this, "PageControl1"};
    ui::Page search_page{pages, "TabSheet1"};
    ui::Page more_page{pages, "TabSheet2"};

    // The search page.
    ui::Label title{search_page, "Label1"};
    ui::Label beta{search_page, "Label2"};
    ui::Label home{search_page, "Label3"};
    ui::RadioButton optimal{search_page, "RadioButton1"};
    ui::RadioButton own{search_page, "RadioButton2"};
    ui::Button setup{search_page, "SpeedButton8"};
    ui::Button start{search_page, "SpeedButton10"};
    ui::Button clean{search_page, "SpeedButton12"};
    ui::Bevel line{search_page, "Bevel1"};
    ui::Label current{search_page, "Label4"};
    ui::Bevel frame{search_page, "Bevel2"};
    ui::ProgressBar progress{search_page, "ProgressBar1"};
    ui::GroupBox found{search_page, "GroupBox1"};
    ui::ListView results{found, "ListView1"};
    ui::CheckBox select_all{found, "CheckBox1"};
    ui::CheckBox to_bin{found, "CheckBox2"};
    ui::Label link_caption{found, "Label5"};
    ui::Edit link{found, "Edit1"};

    // The second page.
    ui::Label drives_caption{more_page, "Label6"};
    ui::CheckList drives{more_page, "CheckListBox1"};
    ui::Label programs_caption{more_page, "Label7"};
    ui::ListBox programs{more_page, "ListBox1"};
    ui::Label path_caption{more_page, "Label8"};
    ui::Edit path{more_page, "Edit2"};
    ui::Label days_caption{more_page, "Label9"};
    ui::NumberField days{more_page, "Edit3"};
    ui::Label history_caption{more_page, "Label10"};
    ui::Memo history{more_page, "Memo1"};
    ui::Image banner{more_page, "Image1"};

    ui::PopupMenu result_menu{*this, "PopupMenu1"};
    ui::MenuItem delete_file{result_menu, "N1", "Удалить файл"};
    ui::MenuItem delete_folder{result_menu, "N2", "Удалить все файлы из этой папки"};
    ui::MenuItem separator{result_menu, "N3", "-"};
    ui::MenuItem exclude_file{result_menu, "N4", "Добавить файл в исключения"};
    ui::MenuItem exclude_folder{result_menu, "N5", "Добавить папку в исключения"};

    ui::PopupMenu tray_menu{*this, "PopupMenu2"};
    ui::MenuItem restore{tray_menu, "N6", "Восстановить окно"};
    ui::MenuItem tray_line{tray_menu, "N7", "-"};
    ui::MenuItem cache{tray_menu, "N8", "Очистить кэш"};
    ui::MenuItem cache_all{cache, "N9", "Все"};
    ui::MenuItem cache_line{cache, "N10", "-"};
    ui::MenuItem cache_ie{cache, "N11", "Internet Explorer"};
    ui::MenuItem exit_line{tray_menu, "N12", "-"};
    ui::MenuItem exit{tray_menu, "N13", "Выход"};

    ui::TrayIcon tray{*this, "TrayIcon1"};
    ui::Timer fade{*this, "Timer1"};

    // What the handlers did, for tests.
    int starts = 0;
    int cleans = 0;
    platform::StopRequest stop;

private:
    int opened_before_ = -1;  // the category expanded when the mouse went down
};

}  // namespace demo
