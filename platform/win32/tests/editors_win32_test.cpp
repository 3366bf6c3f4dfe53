// The settings editors as real windows under Wine: the folder chooser that
// "  Добавить" opens, and a picture of each editor with sample settings.
// scripts/docs-shots.sh EditorsWin32 retakes the pictures in docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "duplicates/duplicates_tool.h"
#include "duplicates/duplicates_page.h"
#include "duplicates/files_window.h"
#include "duplicates/types_window.h"
#include "junk/mask_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/ui_toolkit.h"
#include "platform/win32/win32_platform.h"
#include "search/area_window.h"
#include "search/exclusions_window.h"
#include "store/data_folder.h"
#include "in_process.h"
#include "shots.h"

namespace {

using platform::win32::UiToolkit;

using namespace in_process;

// A program folder with its Data folder in the user's temporary folder.
struct ProgramFolder {
    std::string folder;
    ProgramFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "vsc-editors-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "Data").c_str(), nullptr);
    }
    ~ProgramFolder() {
        WIN32_FIND_DATAA found;
        const std::string data = folder + "Data\\";
        const platform::win32::FindHandle find(FindFirstFileA((data + "*").c_str(), &found));
        if (find) {
            do DeleteFileA((data + found.cFileName).c_str());
            while (FindNextFileA(find.get(), &found));
        }
        RemoveDirectoryA(data.c_str());
        RemoveDirectoryA(folder.c_str());
    }
};

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
    ProgramFolder program;
    store::DataFolder data{platform.fs, program.folder};
    std::vector<std::string> drives = search::usable_drives(platform.fs.logical_drives());
    search::DriveSelection selection;

    Editors() { selection.refill(drives, {"1"}); }

    // Shows a window until it is active and painted, then takes its picture.
    void picture(ui::Form& form, const char* name) {
        form.show();
        ASSERT_TRUE(serve_until(toolkit, [&] { return form.active(); }));
        serve_for(toolkit, 300);
        // save_shot() waits for the window to repaint: this thread, the
        // window's, serves its messages meanwhile.
        std::atomic<bool> saved{false};
        std::thread shot([&] {
            automation::save_shot(static_cast<HWND>(toolkit.window(form)), name);
            saved = true;
        });
        EXPECT_TRUE(serve_until(toolkit, [&] { return saved.load(); }));
        shot.join();
    }
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
    e.picture(area, "editor-area");
    area.close();

    search::ExclusionsWindow exclusions(e.toolkit, search::kTempFilesExclusions, e.data, e.platform.fs, e.selection);
    e.picture(exclusions, "editor-exclusions-folders");
    exclusions.files_switch().click();
    e.picture(exclusions, "editor-exclusions-files");
    EXPECT_EQ(exclusions.pages().active(), 1);
    exclusions.close();

    junk::MaskWindow mask(e.toolkit, e.data);
    e.picture(mask, "editor-mask");
    EXPECT_TRUE(mask.days().visible());
    EXPECT_EQ(mask.mask_list().count(), 10);
    mask.close();

    duplicates::TypesWindow types(e.toolkit, e.data, e.platform.registry);
    e.picture(types, "editor-types");
    EXPECT_GT(types.type_list().count(), 0);  // Wine registers types with an open command too
    types.close();

    e.data.rewrite("cf_files.txt", {"C:\\Users\\Public\\report.doc", "D:\\Photos\\2008\\sea.jpg"});
    duplicates::FilesWindow files(e.toolkit, e.data, e.platform.fs);
    e.picture(files, "editor-files");
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
        e.picture(main, name);
    }
    auto& copies = main.tool<duplicates::DuplicatesTool>("Duplicates").page();
    EXPECT_TRUE(IsWindowEnabled(static_cast<HWND>(e.toolkit.window(copies.area_button()))));
    EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(e.toolkit.window(copies.files_button()))));
    main.close();
}
