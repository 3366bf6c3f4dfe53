// The duplicate search of the real program under Wine: a search from its
// page over a prepared area folder, the groups read back from the window,
// and one copy deleted from the lower list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation.h"
#include "installation.h"
#include "shots.h"

using namespace automation;

namespace {

// The program whose duplicate search looks at every file of one area folder.
struct DuplicatesInstallation : Installation {
    const std::wstring area = own(L"-area");
    DuplicatesInstallation() : Installation(L"dupes") {
        write_data(L"cf_all.txt", "");
        write_data(L"cf_dirs.txt", narrow(area) + "\r\n");
    }
};

}  // namespace

TEST(DuplicatesEndToEnd, FindsTheGroupsAndDeletesOneCopy) {
    DuplicatesInstallation install;
    const std::wstring& area = install.area;
    CreateDirectoryW((area + L"\\sub").c_str(), nullptr);
    for (const wchar_t* name : {L"\\a.txt", L"\\b.txt", L"\\sub\\c.txt"}) write_file(area + name, "the same text");
    for (const wchar_t* name : {L"\\d.bin", L"\\e.bin"}) write_file(area + name, std::string(3000, 'd'));
    write_file(area + L"\\f.bin", std::string(2999, 'd') + "f");

    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 3, 0);
    HWND start = visible_component(main, L"DuplicatesStartButton");
    ASSERT_TRUE(start);
    press(start);

    EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
              L"Поиск завершен. Ознакомтесь со списком найденных файлов.");
    HWND window = top_window(install.id(), L"Поиск копий");
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(text_of(component(window, L"Label2")), L"Найдено файлов, имеющих копии: 2");
    HWND groups = component(window, L"ListView1"), copies = component(window, L"ListView2");
    EXPECT_EQ(list_rows(groups), (std::vector<std::wstring>{area + L"\\a.txt", area + L"\\d.bin"}));

    click_row(groups, 0);
    ASSERT_TRUE(wait_for([&] { return SendMessageW(copies, LVM_GETITEMCOUNT, 0, 0) == 2 ? copies : nullptr; }, 5000));
    EXPECT_EQ(list_rows(copies), (std::vector<std::wstring>{area + L"\\sub\\c.txt", area + L"\\b.txt"}));
    HWND remove = component(window, L"SpeedButton4");
    EXPECT_FALSE(IsWindowEnabled(remove));
    click_row(copies, 1);
    ASSERT_TRUE(wait_for([&] { return IsWindowEnabled(remove) ? remove : nullptr; }, 5000));
    save_shot(window, "copies-found");

    press(remove);
    EXPECT_TRUE(wait_for([&] { return SendMessageW(copies, LVM_GETITEMCOUNT, 0, 0) == 1 ? copies : nullptr; }, 5000));
    EXPECT_FALSE(exists(area + L"\\b.txt"));
    EXPECT_TRUE(exists(area + L"\\a.txt"));
    EXPECT_TRUE(exists(area + L"\\sub\\c.txt"));
    EXPECT_EQ(list_rows(copies), (std::vector<std::wstring>{area + L"\\sub\\c.txt"}));
    EXPECT_FALSE(IsWindowEnabled(remove));
    save_shot(window, "copies-deleted");

    EXPECT_TRUE(close_back_to(window, main));
    EXPECT_TRUE(install.closes(main));
}
