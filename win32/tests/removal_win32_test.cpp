// The uninstall list and the file shredder over real windows under Wine:
// uninstall entries planted in the prefix's HKEY_LOCAL_MACHINE (both views)
// and HKEY_CURRENT_USER are listed in name order and removed where they are
// registered; a file is shredded. A picture of each page.
// scripts/docs-shots.sh RemovalWin32 retakes the pictures in docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"
#include "removal/shredder_page.h"
#include "removal/uninstall_page.h"
#include "in_process.h"

namespace {

using namespace in_process;
using platform::Root;

const std::string kUninstall = removal::kUninstallKey;

class RemovalForm : public ui::Form {
public:
    RemovalForm(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data)
        : ui::Form(toolkit, "Form1"),
          uninstall(uninstall_page, platform, data, pump()),
          shredder(shredder_page, platform, pump()) {
        set_caption("Vorlinde System Cleaner 1.5");
        set_color(ui::colors::white);
        set_client_size(456, 337);
        pages.set_bounds(0, 0, 456, 337);
    }
    ui::PageSet pages{*this, "PageControl"};
    ui::Page uninstall_page{pages, "Uninstall"}, shredder_page{pages, "FullDelete"};
    removal::UninstallPage uninstall;
    removal::ShredderPage shredder;
};

// Three programs registered for the machine, one for 32-bit programs
// ("Software\WOW6432Node") and one for the current user, removed at the end.
struct Programs {
    platform::Platform& p = platform::win32::instance();
    struct Program {
        std::string subkey, name;
        Root root = Root::local_machine;
        std::string under = "SOFTWARE";
    };
    const std::vector<Program> programs{{"VorlindeTest1", "Яндекс Бар"},
                                        {"VorlindeTest2", "яблоко 2.0"},
                                        {"VorlindeTest3", "Zebra Tools"},
                                        {"VorlindeTest4", "Xenon x86", Root::local_machine, "SOFTWARE\\WOW6432Node"},
                                        {"VorlindeTest5", "Xylophone (user)", Root::current_user}};
    Programs() { plant(); }
    static std::string key_of(const Program& program) {
        return program.under + kUninstall.substr(8) + "\\" + program.subkey;
    }
    void plant() {
        for (const auto& program : programs) {
            auto key = p.registry.create(program.root, key_of(program));
            ASSERT_TRUE(key);
            ASSERT_TRUE((*key)->write_string("DisplayName", program.name));
            ASSERT_TRUE((*key)->write_string("UninstallString",
                                             "C:\\Program Files\\" + program.subkey + "\\uninst.exe /S"));
        }
    }
    bool registered(std::size_t index) { return p.registry.key_exists(programs[index].root, key_of(programs[index])); }
    ~Programs() {
        for (const auto& program : programs)  // some were removed by the test
            static_cast<void>(p.registry.delete_tree(program.root, key_of(program)));
    }
};

}  // namespace

TEST(RemovalWin32, ListsPlantedProgramsAndShredsAFile) {
    Programs programs;
    platform::win32::UiToolkit toolkit;
    TempProgramFolder program{"removal"};
    const store::DataFolder data{programs.p.fs, program.folder};
    RemovalForm form(toolkit, programs.p, data);
    form.pages.set_active(0);
    form.uninstall.refresh();
    auto& list = form.uninstall.list();
    EXPECT_EQ(form.uninstall.title().text(), "Установленные программы (" + std::to_string(list.count()) + ")");
    const int zebra = list.find("Zebra Tools"), apple = list.find("яблоко 2.0"), bar = list.find("Яндекс Бар");
    ASSERT_GE(zebra, 0);
    EXPECT_LT(zebra, apple);
    EXPECT_LT(apple, bar);
    list.click(apple);
    EXPECT_EQ(form.uninstall.command().text(), "C:\\Program Files\\VorlindeTest2\\uninst.exe /S");
    picture(toolkit, form, "page-uninstall");
    form.uninstall.remove_button().click();
    EXPECT_FALSE(programs.registered(1));
    EXPECT_EQ(list.find("яблоко 2.0"), -1);

    // The 32-bit program's and the user's entries are listed, and each is
    // removed where it is registered.
    const int xenon = list.find("Xenon x86"), xylophone = list.find("Xylophone (user)");
    ASSERT_GE(xenon, 0);
    ASSERT_GE(xylophone, 0);
    list.click(xenon);
    EXPECT_EQ(form.uninstall.command().text(), "C:\\Program Files\\VorlindeTest4\\uninst.exe /S");
    form.uninstall.remove_button().click();
    EXPECT_FALSE(programs.registered(3));
    list.click(list.find("Xylophone (user)"));
    form.uninstall.remove_button().click();
    EXPECT_FALSE(programs.registered(4));
    EXPECT_TRUE(programs.registered(2));

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "vsc-shred-" + std::to_string(GetCurrentProcessId());
    for (const char* tail : {"-report.doc", "-notes.txt"}) {
        ASSERT_TRUE(platform::write_whole_file(programs.p.fs, base + tail, std::string(10000, 's')));
        form.shredder.list().add(base + tail);
    }
    form.pages.set_active(1);
    form.shredder.refresh();
    ASSERT_TRUE(form.shredder.destroy_button().enabled());
    picture(toolkit, form, "page-shredder");
    form.shredder.destroy_button().release(ui::MouseButton::left);
    EXPECT_FALSE(programs.p.fs.is_existing_file(base + "-report.doc"));
    EXPECT_FALSE(programs.p.fs.is_existing_file(base + "-notes.txt"));
    EXPECT_TRUE(form.shredder.list().empty());
    form.close();
}
