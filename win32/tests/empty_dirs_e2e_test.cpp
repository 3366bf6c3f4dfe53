// The empty folder search of the real program under Wine, end to end: a
// small tree in an area folder, searched in both modes from the page, and the
// empty trees it found removed for good, the files beside them untouched.
// scripts/docs-shots.sh EmptyDirsEndToEnd retakes its pictures in docs/.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation.h"
#include "installation.h"
#include "shots.h"

using namespace automation;

namespace {

// The program whose empty folder search looks at one area folder and no
// drive, in empty-folder mode at first.
struct EmptyDirsInstallation : Installation {
    const std::wstring area = own(L"-area");
    EmptyDirsInstallation() : Installation(L"empty") {
        write_data(L"ed_dirs.txt", narrow(area) + "\r\n");
        write_data(L"ed_empty.txt", "");
    }
};

}  // namespace

TEST(EmptyDirsEndToEnd, BothModesListTheirFoldersAndTheTreesAreRemoved) {
    EmptyDirsInstallation install;
    const std::wstring& a = install.area;
    for (const wchar_t* sub : {L"\\A", L"\\A\\B", L"\\A\\B\\C", L"\\D", L"\\E", L"\\E\\F"})
        ASSERT_TRUE(CreateDirectoryW((a + sub).c_str(), nullptr));
    write_file(a + L"\\A\\keep.txt", "x");
    write_file(a + L"\\E\\keep.txt", "x");

    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 2, 0);  // "Пустые папки"
    HWND start = visible_component(main, L"SpeedButton26");
    ASSERT_TRUE(start);
    Sleep(200);
    save_shot(main, "main-empty-dirs-page");

    // Empty-folder mode: folders without any entry.
    press(start);
    EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
              L"Поиск завершен. Ознакомтесь со списком найденных папок.");
    HWND window = top_window(install.id(), L"Поиск пустых папок");
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsWindowVisible(main));
    HWND list = component(window, L"ListView1");
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{a + L"\\A\\B\\C", a + L"\\D", a + L"\\E\\F"}));
    save_shot(window, "empty-dirs-folders-found");
    ASSERT_TRUE(close_back_to(window, main));

    // Empty-tree mode: the topmost folder of each tree without a file.
    press(component(main, L"EmptyDirsTreesMode"));
    ASSERT_TRUE(wait_for([&] { return exists(install.folder + L"\\Data\\ed_empty.txt") ? nullptr : main; }, 5000));
    press(start);
    EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
              L"Поиск завершен. Ознакомтесь со списком найденных папок.");
    window = top_window(install.id(), L"Поиск пустых папок с пустыми подпапками");
    ASSERT_TRUE(window);
    list = component(window, L"ListView1");
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{a + L"\\A\\B", a + L"\\D", a + L"\\E\\F"}));

    press(component(window, L"CheckBox1"));  // "Выбрать все"
    save_shot(window, "empty-dirs-trees-found");
    press(component(window, L"SpeedButton3"));  // "  Удалить выбранные папки"
    EXPECT_EQ(answer_message_box(install.id(), L"Удаление завершено"), L"Все выбранные папки были успешно удалены.");
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
    for (const wchar_t* gone : {L"\\A\\B", L"\\D", L"\\E\\F"}) EXPECT_FALSE(exists(a + gone));
    EXPECT_TRUE(exists(a + L"\\A\\keep.txt"));
    EXPECT_TRUE(exists(a + L"\\E\\keep.txt"));
    EXPECT_EQ(text_of(component(window, L"Label2")), L"Найдено папок: 3          Удалено папок: 3");
    save_shot(window, "empty-dirs-trees-deleted");

    EXPECT_TRUE(close_back_to(window, main));
    EXPECT_TRUE(install.closes(main));
}
