// The settings editors as real windows under Wine: the folder chooser that
// "  Добавить" opens, and a picture of each editor with sample settings.
// scripts/docs-shots.sh EditorsWin32 retakes the pictures in docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "duplicates/duplicates_tool.h"
#include "duplicates/duplicates_page.h"
#include "duplicates/files_window.h"
#include "duplicates/types_window.h"
#include "junk/mask_window.h"
#include "win32/handles.h"
#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"
#include "search/area_window.h"
#include "search/exclusions_window.h"
#include "store/data_folder.h"
#include "in_process.h"

namespace {

using platform::win32::UiToolkit;

using namespace in_process;

BOOL CALLBACK add_text(HWND child, LPARAM out) {
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(text);
    return TRUE;
}

// The texts of a window's children.
std::vector<std::wstring> child_texts(HWND window) {
    std::vector<std::wstring> texts;
    EnumChildWindows(window, add_text, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

struct Editors {
    UiToolkit toolkit;
    platform::Platform& platform = platform::win32::instance();
    TempProgramFolder program{"editors"};
    store::DataFolder data{platform.fs, program.folder};
    std::vector<std::string> drives = search::usable_drives(platform.fs.logical_drives());
    search::DriveSelection selection;

    Editors() { selection.refill(drives, {"1"}); }

};

}  // namespace

TEST(EditorsWin32, TheAreaWindowsFolderChooserCarriesItsTitleAndCancelAddsNothing) {
    Editors e;
    search::AreaWindow window(e.toolkit, search::kTempFilesArea, e.data, e.platform.fs, e.drives, e.selection);
    window.show();
    ASSERT_TRUE(serve_until(e.toolkit, [&] { return window.active(); }));

    std::vector<std::wstring> texts;
    HWND owner = nullptr;
    ui::Timer watch(window, "WatchTimer");
    watch.set_interval(50);
    watch.on_tick = [&] {
        HWND chooser = visible_dialog();
        if (!chooser) return;
        watch.stop();
        texts = child_texts(chooser);
        owner = GetWindow(chooser, GW_OWNER);
        PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    };
    watch.start();
    window.add_button().click();

    EXPECT_NE(std::find(texts.begin(), texts.end(), from_cp1251("Выберите папку...")), texts.end());
    EXPECT_EQ(owner, static_cast<HWND>(e.toolkit.window(window)));
    EXPECT_TRUE(window.folder_list().empty());
    EXPECT_TRUE(window.visible());
    window.close();
}

TEST(EditorsWin32, EveryEditorShowsWithSampleSettings) {
    Editors e;
    e.data.rewrite("tf_drives.txt", {"1"});
    e.data.rewrite("tf_dirs.txt", {"D:\\Projects\\Build", "E:\\Downloads"});
    e.data.rewrite("tf_dirs_ex.txt", {"C:\\Program Files", "C:\\Windows\\Installer"});
    e.data.rewrite("tf_shortdirs_ex.txt", {"Backup", "Temp"});
    e.data.rewrite("tf_files_ex.txt", {"C:\\Windows\\setupact.log", "C:\\Users\\Public\\notes.bak"});
    e.data.rewrite("tf_shortfiles_ex.txt", {"desktop.ini"});
    e.data.rewrite("tf_mask.txt", {"tmp", "temp", "bak", "old", "#log", "chk", "~*", "$$$", "#dmp", "gid"});
    e.data.rewrite("tf_date.txt", {"30"});

    search::AreaWindow area(e.toolkit, search::kTempFilesArea, e.data, e.platform.fs, e.drives, e.selection);
    picture(e.toolkit, area, "editor-area");
    area.close();

    search::ExclusionsWindow exclusions(e.toolkit, search::kTempFilesExclusions, e.data, e.platform.fs, e.selection);
    picture(e.toolkit, exclusions, "editor-exclusions-folders");
    exclusions.files_switch().click();
    picture(e.toolkit, exclusions, "editor-exclusions-files");
    EXPECT_EQ(exclusions.pages().active(), 1);
    exclusions.close();

    junk::MaskWindow mask(e.toolkit, e.data);
    picture(e.toolkit, mask, "editor-mask");
    EXPECT_TRUE(mask.days().visible());
    EXPECT_EQ(mask.mask_list().count(), 10);
    mask.close();

    duplicates::TypesWindow types(e.toolkit, e.data, e.platform.registry);
    picture(e.toolkit, types, "editor-types");
    EXPECT_GT(types.type_list().count(), 0);  // Wine registers types with an open command too
    types.close();

    e.data.rewrite("cf_files.txt", {"C:\\Users\\Public\\report.doc", "D:\\Photos\\2008\\sea.jpg"});
    duplicates::FilesWindow files(e.toolkit, e.data, e.platform.fs);
    picture(e.toolkit, files, "editor-files");
    EXPECT_EQ(files.file_list().count(), 2);
    files.close();
}

TEST(EditorsWin32, TheSearchPagesOfTheMainWindowShow) {
    Editors e;
    for (const char* file : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
        ASSERT_TRUE(CopyFileA((std::string(VORLINDE_TEST_DATA "/../../data/") + file).c_str(),
                              (e.program.folder + "Data\\" + file).c_str(), FALSE))
            << file;
    app::MainWindow main(e.toolkit, e.platform, e.data);
    main.startup_timer().stop();
    main.set_alpha_blend(false);
    main.set_alpha(255);
    e.data.rewrite("cf_all.txt", {});  // area mode: the chosen-files button is disabled
    // Optimal mode: opening the page in own-settings mode warns with a message box.
    e.data.rewrite("bl_optimal.txt", {});
    const std::pair<const char*, const char*> pages[] = {{"Temp Find", "page-temp-find"},
                                                         {"Bad Links", "page-bad-links"},
                                                         {"Empty Dirs", "page-empty-dirs"},
                                                         {"Duplicates", "page-duplicates"},
                                                         {"Reg Find", "page-registry"}};
    for (const auto& [routine, name] : pages) {
        main.run(routine);
        picture(e.toolkit, main, name);
    }
    auto& copies = main.tool<duplicates::DuplicatesTool>("Duplicates").page();
    EXPECT_TRUE(IsWindowEnabled(static_cast<HWND>(e.toolkit.window(copies.area_button()))));
    EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(e.toolkit.window(copies.files_button()))));
    main.close();
}
