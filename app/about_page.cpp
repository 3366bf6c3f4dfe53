#include "app/about_page.h"

#include "app/product.h"
#include "ui/jpeg.h"

namespace app {

AboutPage::AboutPage(ui::Page& page, platform::Shell& shell, search::Sounds& sounds, const store::DataFolder& data)
    : shell_(shell),
      sounds_(sounds),
      banner_(page, "Image1"),
      version_(page, "Label1"),
      beta_(page, "Label2"),
      top_line_(page, "Bevel1"),
      updates_link_(page, "Label3"),
      home_link_(page, "Label4"),
      author_heading_(page, "Label5"),
      author_name_(page, "Label6"),
      author_link_(page, "Label7"),
      feedback_heading_(page, "Label8"),
      feedback_link_(page, "Label9"),
      thanks_heading_(page, "Label10"),
      thanks_names_(page, "Label11"),
      special_heading_(page, "Label12"),
      special_names_(page, "Label13") {
    banner_.set_bounds(8, 8, 420, 84);
    if (const auto bytes = platform::read_whole_file(data.fs(), data.path("banner.jpg")))
        if (auto picture = ui::decode_jpeg(*bytes)) banner_.set_picture(std::move(*picture));

    version_.set_text(std::string("Версия") + " " + kVersion);
    version_.set_bounds(12, 102, 120, 16);
    version_.set_bold(true);
    version_.set_text_color(ui::colors::blue);
    beta_.set_text("Beta");
    beta_.set_bounds(112, 102, 40, 16);
    beta_.set_bold(true);
    beta_.set_text_color(ui::colors::red);

    updates_link_.set_text("Проверить обновления");
    updates_link_.set_bounds(12, 124, 150, 16);
    home_link_.set_text("Домашняя страница");
    home_link_.set_bounds(190, 124, 150, 16);
    top_line_.set_bounds(8, 148, 420, 2);

    author_heading_.set_text("Автор и разработчик:");
    author_heading_.set_bounds(12, 158, 200, 16);
    author_heading_.set_bold(true);
    author_name_.set_text(kAuthorName);
    author_name_.set_bounds(24, 176, 200, 16);
    author_link_.set_text(kAuthorMail);
    author_link_.set_bounds(24, 194, 220, 16);

    feedback_heading_.set_text("Вопросы и предложения:");
    feedback_heading_.set_bounds(12, 218, 200, 16);
    feedback_heading_.set_bold(true);
    feedback_link_.set_text(kFeedbackMail);
    feedback_link_.set_bounds(24, 236, 220, 16);

    thanks_heading_.set_text("Благодарности:");
    thanks_heading_.set_bounds(250, 158, 170, 16);
    thanks_heading_.set_bold(true);
    thanks_names_.set_text("Ольга Верескова\rМарат Зиннатов\rПётр Кольцов");
    thanks_names_.set_auto_size(false);
    thanks_names_.set_word_wrap(true);
    thanks_names_.set_bounds(262, 176, 170, 48);
    special_heading_.set_text("Отдельное спасибо:");
    special_heading_.set_bounds(250, 228, 170, 16);
    special_heading_.set_bold(true);
    special_names_.set_text("всем, кто присылал отчеты об ошибках");
    special_names_.set_auto_size(false);
    special_names_.set_word_wrap(true);
    special_names_.set_bounds(262, 246, 170, 32);

    for (ui::Label* link : {&updates_link_, &home_link_, &author_link_, &feedback_link_}) {
        link->set_link(true);
        link->set_text_color(ui::colors::blue);
    }
    updates_link_.on_click = [this] {
        sounds_.link->play();
        updates_link_.set_text_color(ui::colors::purple);
        if (check_updates) check_updates();
    };
    home_link_.on_click = [this] { open_link(home_link_, kHomePage); };
    author_link_.on_click = [this] { open_link(author_link_, std::string("mailto:") + kAuthorMail); };
    feedback_link_.on_click = [this] {
        open_link(feedback_link_, std::string("mailto:") + kFeedbackMail + "?&subject=" + kVersion);
    };
}

void AboutPage::open_link(ui::Label& link, const std::string& target) {
    sounds_.link->play();
    link.set_text_color(ui::colors::purple);
    // The shell shows its own message when nothing can open the address.
    static_cast<void>(shell_.open("open", target));
}

AboutTool::AboutTool(search::ToolContext& context, ui::Page& page)
    : data_(context.data),
      page_(page, context.platform.shell, context.sounds, context.data),
      updates_(context.toolkit, context.platform, context.data) {
    page_.check_updates = [this] { updates_.check_now(); };
}

void AboutTool::faded_in() {
    if (data_.exists("update.txt")) updates_.check_at_startup();
}

}  // namespace app
