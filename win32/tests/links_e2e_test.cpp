// The real program under Wine, end to end: shortcuts made with IShellLink in
// the prefix's Desktop and Programs folders, some pointing at missing files;
// the search in its optimal mode lists exactly those, one is repaired, and
// the others go to the real recycle bin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "automation.h"
#include "installation.h"
#include "win32/win32_platform.h"
#include "shots.h"

using namespace automation;

namespace {

// An edit control's own text: GetWindowText of another process's window
// gives the caption it was made with.
std::wstring edit_text(HWND edit) {
    wchar_t text[1024] = {};
    SendMessageW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// The program whose Data folder asks for the optimal search.
struct LinksInstallation : Installation {
    LinksInstallation() : Installation(L"links") { write_data(L"bl_optimal.txt", ""); }
};

}  // namespace

TEST(LinksEndToEnd, ListsBrokenShortcutsRepairsOneAndBinsTheRest) {
    auto& p = platform::win32::instance();
    LinksInstallation install;
    const std::string tag = "vsc-links-" + std::to_string(GetCurrentProcessId());
    const std::string desktop = narrow(user_shell_folder(L"Desktop")), programs = narrow(user_shell_folder(L"Programs"));
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(programs.empty());
    const std::string missing = "C:\\" + tag + "-gone\\app.exe", existing = narrow(install.exe);
    const std::string gone1 = programs + "\\" + tag + "-1.lnk", gone2 = desktop + "\\" + tag + "-2.lnk",
                      gone3 = desktop + "\\" + tag + "-3.lnk", good = desktop + "\\" + tag + "-good.lnk";
    for (const auto& link : {gone1, gone2, gone3}) ASSERT_TRUE(p.links.write(link, missing, "", ""));
    ASSERT_TRUE(p.links.write(good, existing, "", ""));
    struct Cleanup {
        std::vector<std::string> links;
        ~Cleanup() {
            for (const auto& link : links) DeleteFileA(link.c_str());
        }
    } cleanup{{gone1, gone2, gone3, good}};
    const auto bin_before = recycle_bin_items();

    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 0, 2);
    HWND start = visible_component(main, L"SpeedButton10");
    ASSERT_TRUE(start);
    Sleep(200);
    save_shot(main, "main-bad-links");

    // The rows this test planted, among whatever else the prefix holds.
    HWND search = nullptr;
    const auto search_rows = [&] {
        press(start);
        EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
                  L"Поиск завершен. Ознакомтесь со списком найденных ошибок.");
        search = top_window(install.id(), L"Поиск неправильных ярлыков");
        std::vector<std::string> mine;
        if (!search) return mine;
        for (const auto& row : list_rows(component(search, L"ListView1")))
            if (narrow(row).find(tag) != std::string::npos) mine.push_back(narrow(row));
        return mine;
    };
    ASSERT_EQ(search_rows(), (std::vector<std::string>{gone1, gone2, gone3}));
    EXPECT_FALSE(IsWindowVisible(main));
    save_shot(search, "bad-links-found");

    // Repair: the selected row's target shows in the link field, which the
    // user replaces with an existing file.
    HWND list = component(search, L"ListView1");
    const auto rows = list_rows(list);
    select_row(list, static_cast<int>(std::find(rows.begin(), rows.end(), widen(gone2)) - rows.begin()));
    HWND field = component(search, L"Edit1");
    EXPECT_TRUE(wait_for([&] { return narrow(edit_text(field)) == missing ? field : nullptr; }, 5000))
        << narrow(edit_text(field));
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(existing).c_str()));
    save_shot(search, "bad-links-repair");
    press(component(search, L"SpeedButton2"));
    const std::wstring changed = answer_message_box(install.id(), L"Ссылка изменена");
    EXPECT_EQ(changed.rfind(L"Новое значение ярлыка \"", 0), 0u) << narrow(changed);
    EXPECT_NE(changed.find(widen(gone2 + "\":")), std::wstring::npos);
    EXPECT_NE(changed.find(widen(existing)), std::wstring::npos);
    EXPECT_EQ(p.links.read_target(gone2), existing);
    EXPECT_EQ(list_rows(list).size(), rows.size());  // the row stays

    // A new search no longer lists it; the other two go to the bin.
    ASSERT_TRUE(close_back_to(search, main));
    ASSERT_EQ(search_rows(), (std::vector<std::string>{gone1, gone3}));
    list = component(search, L"ListView1");
    const auto left = list_rows(list);
    for (const auto& link : {gone1, gone3})
        check_row(list, static_cast<int>(std::find(left.begin(), left.end(), widen(link)) - left.begin()));
    press(component(search, L"SpeedButton3"));
    EXPECT_EQ(answer_message_box(install.id(), L"Удаление завершено"), L"Все выбранные ярлыки были успешно удалены.");
    EXPECT_EQ(recycle_bin_items(), bin_before + 2);
    EXPECT_EQ(GetFileAttributesA(gone1.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(gone3.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(good.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::wstring summary = text_of(component(search, L"Label2"));
    EXPECT_NE(summary.find(L"          Удалено ярлыков: 2"), std::wstring::npos) << narrow(summary);
    save_shot(search, "bad-links-deleted");

    EXPECT_TRUE(close_back_to(search, main));
    EXPECT_TRUE(install.closes(main));
}
