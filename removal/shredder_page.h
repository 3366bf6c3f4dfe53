#pragma once
// The page "Полное удаление файлов": a list of files the user collects one by
// one, then destroys together.
#include "platform/platform.h"
#include "removal/shredder.h"
#include "ui/ui.h"

namespace removal {

class ShredderPage {
public:
    ShredderPage(ui::Page& page, platform::Platform& platform, platform::Pump& pump);

    // "Full Delete": the destroy button is usable while the list has rows.
    void refresh();
    void add_file();
    void destroy();

    ui::ListBox& list() { return list_; }
    ui::Button& add_button() { return add_button_; }
    ui::Button& destroy_button() { return destroy_button_; }

private:
    void update_destroy_button();

    ui::Form& form_;
    platform::FileSystem& fs_;
    platform::Pump& pump_;
    // The byte sequence continues from file to file for the program's run.
    ByteSource source_;
    bool busy_ = false;  // a shredding runs

    ui::Label intro_, list_caption_;
    ui::ListBox list_;
    ui::Button add_button_, destroy_button_;
};

}  // namespace removal
