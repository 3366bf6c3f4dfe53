// The broken shortcut window: the search's end, deletion with its summary,
// the repair of a shortcut and a close during the walk.
#include <gtest/gtest.h>

#include <filesystem>

#include "posix/headless_ui.h"
#include "sandbox.h"
#include "shortcuts/links_search_window.h"

using testing_support::Sandbox;

namespace {

// Shortcuts that cannot be written while `refuse` is set, as on a read-only
// medium.
struct RefusingLinks : platform::ShellLinks {
    explicit RefusingLinks(platform::ShellLinks& inner) : inner(inner) {}
    std::string read_target(const std::string& path) override { return inner.read_target(path); }
    platform::Status write(const std::string& path, const std::string& target, const std::string& description,
                           const std::string& arguments) override {
        if (refuse) return platform::Status::failure("Отказано в доступе.");
        return inner.write(path, target, description, arguments);
    }
    platform::ShellLinks& inner;
    bool refuse = false;
};

struct Fixture {
    Fixture() {
        box.data().rewrite("bl_optimal.txt", {});
        box.make_folder("C:\\User\\Desktop");
    }
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string&) {
        config.registry =
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
            "\"Desktop\"=\"C:\\\\User\\\\Desktop\"\r\n";
    }};
    RefusingLinks links{box.platform().links};
    platform::Platform services{box.platform().fs,       box.platform().registry, box.platform().shell, links,
                                box.platform().internet, box.platform().sound,    box.platform().system};
    headless::Toolkit toolkit;
    ui::Form main{toolkit, "Form1"};
    search::DriveSelection drives;
    shortcuts::LinksSearchWindow window{toolkit, services, box.data(), drives, main};

    const std::vector<headless::Message>& messages() { return toolkit.dialogs().messages; }
    std::string desktop(int i) { return "C:\\User\\Desktop\\" + std::to_string(i) + ".lnk"; }
    void link(const std::string& path, const std::string& target) {
        ASSERT_TRUE(box.platform().links.write(path, target, "", ""));
    }
    void search() {
        toolkit.run(main);
        main.hide();
        window.show_modal();
    }
};

}  // namespace

// The report, then deletions counted against the search's total: to the bin,
// for good (a read-only shortcut too), one that resists, one deleted elsewhere.
TEST(LinksSearchWindow, ReportsAndDeletesAgainstTheSearchsTotal) {
    Fixture f;
    f.box.write("C:\\Apps\\here.exe");
    f.link(f.desktop(9), "C:\\Apps\\here.exe");
    for (int i = 0; i < 5; ++i) f.link(f.desktop(i), "C:\\Gone\\" + std::to_string(i) + ".exe");
    f.search();
    ASSERT_EQ(f.window.results().count(), 5);
    EXPECT_EQ(f.window.current().text(), "Найдено ошибок: 5");
    EXPECT_EQ(f.messages().back().text, "Поиск завершен. Ознакомтесь со списком найденных ошибок.");
    f.window.results().select(0);
    for (int row : {0, 2, 4}) f.window.results().toggle_check(row);
    f.window.delete_button().click();
    EXPECT_EQ(f.messages().back().text, "Все выбранные ярлыки были успешно удалены.");
    EXPECT_EQ(f.window.current().text(), "Найдено ярлыков: 5          Удалено ярлыков: 3");
    EXPECT_EQ(f.box.platform().shell.query_recycle_bin()->items, 3u);
    EXPECT_EQ(f.window.link().text(), "");
    ASSERT_EQ(f.window.results().count(), 2);
    EXPECT_EQ(f.window.results().text(1), f.desktop(3));

    f.window.to_recycle_bin().click();
    ASSERT_TRUE(f.box.platform().fs.set_attributes(f.desktop(1), platform::attr::read_only));
    f.window.check_all().click();
    {
        auto held = f.box.platform().fs.open(f.desktop(3), platform::Access::read, platform::Share::none);
        ASSERT_TRUE(held.ok());
        f.window.delete_button().click();
    }
    EXPECT_FALSE(f.box.exists(f.desktop(1)));
    EXPECT_EQ(f.messages().back().text, "Некоторые ярлыки удалить не удалось. По причинческим технинам.");
    EXPECT_EQ(f.window.current().text(), "Найдено ярлыков: 5          Удалено ярлыков: 4");
    EXPECT_TRUE(f.window.results_group().enabled());

    std::filesystem::remove(f.box.host_path(f.desktop(3)));
    f.window.delete_button().click();  // nothing checked: the vanished row goes all the same
    EXPECT_EQ(f.window.current().text(), "Найдено ярлыков: 5          Удалено ярлыков: 5");
    EXPECT_FALSE(f.window.results_group().enabled());

    // Nothing broken any more: no rows, and an empty walk leaves no stale line.
    f.window.close();
    EXPECT_TRUE(f.main.visible());
    std::filesystem::remove(f.box.host_path(f.desktop(9)));
    f.window.show_modal();
    EXPECT_EQ(f.window.current().text(), "Ошибок не обнаружено");
    EXPECT_EQ(f.messages().back().text, "Поиск завершен. Не было найдено ни одной ошибки.");
    EXPECT_FALSE(f.window.results_group().enabled());
}

// The link field keeps an edited or chosen target until another row is
// selected, so that the edit button applies it; a failed write leaves the
// old shortcut and says so.
TEST(LinksSearchWindow, RepairWritesTheFieldsTargetOverTheShortcut) {
    Fixture f;
    f.box.write("C:\\Apps\\new.exe");
    f.link(f.desktop(0), "C:\\Old\\app.exe");
    f.link(f.desktop(1), "C:\\Old\\tool.exe");
    f.search();
    f.window.edit_button().click();
    EXPECT_EQ(f.messages().back().text, "Вы не выбрали ярлык для правки.");
    EXPECT_EQ(f.messages().back().caption, "Недостаточно данных");

    f.window.results().click(1);
    EXPECT_EQ(f.window.link().text(), "C:\\Old\\tool.exe");
    f.window.link().enter_text("");
    f.window.edit_button().click();
    EXPECT_EQ(f.messages().back().text, "Вы не ввели новое значение в поле \"ссылка\".");

    f.toolkit.dialogs().files.push_back({"C:\\Apps\\new.exe"});
    f.window.link().double_click();
    f.window.results().leave_focus();
    f.window.link().leave_focus();
    EXPECT_EQ(f.window.link().text(), "C:\\Apps\\new.exe");
    f.links.refuse = true;
    f.window.edit_button().click();
    EXPECT_EQ(f.messages().back().caption, "Ошибка");
    EXPECT_EQ(f.messages().back().icon, ui::Icon::error);
    EXPECT_NE(f.messages().back().text.find(f.desktop(1)), std::string::npos);
    EXPECT_EQ(f.box.platform().links.read_target(f.desktop(1)), "C:\\Old\\tool.exe");

    f.links.refuse = false;
    f.window.edit_button().click();
    EXPECT_EQ(f.messages().back().caption, "Ссылка изменена");
    EXPECT_EQ(f.messages().back().text, "Новое значение ярлыка \"\r" + f.desktop(1) + "\":\rC:\\Apps\\new.exe");
    EXPECT_EQ(f.box.platform().links.read_target(f.desktop(1)), "C:\\Apps\\new.exe");
    EXPECT_EQ(f.window.results().count(), 2);

    // Another row brings its own target back.
    f.window.results().click(0);
    EXPECT_EQ(f.window.link().text(), "C:\\Old\\app.exe");
}

// Closing the window while it walks stops the walk first: nothing of that
// search is shown afterwards, and the main window is back.
TEST(LinksSearchWindow, ClosingDuringTheWalkStopsItAndSaysNothingMore) {
    Fixture f;
    for (int i = 0; i < 6; ++i) f.link(f.desktop(i), "C:\\Gone\\x.exe");
    int served = 0;
    f.toolkit.pump().on_serve = [&] {
        if (++served == 3) f.window.close();
    };
    f.search();
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.main.visible());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_LT(served, 6);

    f.toolkit.pump().on_serve = nullptr;
    f.main.hide();
    f.window.show_modal();
    EXPECT_EQ(f.window.results().count(), 6);
}
