// The mask editor "Редактирование маски": folded extensions, disabled ones
// kept with "#", the date limit and tf_date.txt.
#include <gtest/gtest.h>

#include "editors_fixture.h"
#include "junk/mask_window.h"

using testing_support::EditorsFixture;

namespace {

std::vector<std::string> rows(const ui::ListControl& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.count(); ++i) texts.push_back((list.checked(i) ? "" : "-") + list.text(i));
    return texts;
}

}  // namespace

TEST(MaskWindow, AddsFoldedExtensionsAndRefusesFoldedDuplicates) {
    EditorsFixture f;
    junk::MaskWindow window(f.toolkit, f.box.data());
    window.show_modal();
    auto add = [&](const std::string& text) {
        window.mask_field().enter_text(text);
        window.add_button().click();
    };
    add("Tmp");
    add("TMP");
    add("");
    add(".BAK");  // kept as typed apart from the case
    EXPECT_EQ(rows(window.mask_list()), (std::vector<std::string>{"tmp", ".bak"}));
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Введенное расширение уже содержится в списке.");
    EXPECT_EQ(f.messages()[0].caption, "Расширение не добавлено");
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::information);

    // A hand-written upper-case row still counts as the same extension.
    f.box.data().rewrite("tf_mask.txt", {"#OLD"});
    window.close();
    window.show_modal();
    add("old");
    EXPECT_EQ(rows(window.mask_list()), (std::vector<std::string>{"-OLD"}));
    EXPECT_EQ(f.messages().size(), 2u);
}

TEST(MaskWindow, DisabledRowsSurviveARoundTripAndSelectAllAndRemoveWork) {
    EditorsFixture f;
    f.box.data().rewrite("tf_mask.txt", {"tmp", "#bak", "#", "~*"});
    junk::MaskWindow window(f.toolkit, f.box.data());
    window.show_modal();
    EXPECT_EQ(rows(window.mask_list()), (std::vector<std::string>{"tmp", "-bak", "-", "~*"}));
    window.apply_button().click();
    EXPECT_EQ(f.file("tf_mask.txt"), "tmp\r\n#bak\r\n#\r\n~*\r\n");
    EXPECT_FALSE(window.visible());

    window.show_modal();
    window.remove_button().click();  // nothing selected: the default beep
    EXPECT_EQ(f.dialogs().beeps, 1);
    window.mask_list().click(2);
    window.remove_button().click();
    window.select_all().click();
    EXPECT_EQ(rows(window.mask_list()), (std::vector<std::string>{"tmp", "bak", "~*"}));
}

TEST(MaskWindow, DateLimitComesFromTheFileAndOffDeletesIt) {
    EditorsFixture f;
    junk::MaskWindow window(f.toolkit, f.box.data());
    window.show_modal();
    EXPECT_FALSE(window.date_limit().checked());
    EXPECT_FALSE(window.days().visible());
    EXPECT_EQ(window.days().text(), "1");
    window.date_limit().click();
    EXPECT_TRUE(window.days().visible() && window.older_caption().visible() && window.days_caption().visible());
    window.days().down();
    EXPECT_EQ(window.days().text(), "1");
    window.days().up();
    window.apply_button().click();
    EXPECT_EQ(f.file("tf_date.txt"), "2\r\n");

    f.box.data().rewrite("tf_date.txt", {"abc"});  // shown as the file holds it
    window.show_modal();
    EXPECT_EQ(window.days().text(), "abc");
    f.box.data().rewrite("tf_date.txt", {"365"});
    window.close();
    window.show_modal();
    window.days().up();
    EXPECT_EQ(window.days().text(), "365");
    window.date_limit().click();
    EXPECT_FALSE(window.days().visible());
    window.apply_button().click();
    EXPECT_FALSE(f.box.exists("C:\\Program\\Data\\tf_date.txt"));

    // Without the file the limit keeps the state of the last opening.
    window.show_modal();
    EXPECT_FALSE(window.date_limit().checked());
    window.date_limit().click();
    window.close();
    window.show_modal();
    EXPECT_TRUE(window.date_limit().checked());
    EXPECT_EQ(window.days().text(), "365");
}
