// The real program under Wine, end to end: a temporary-file search from the
// launcher over a prepared area folder, and the deletion of everything found
// to the real recycle bin.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "automation.h"
#include "installation.h"
#include "win32/handles.h"
#include "shots.h"

using namespace automation;

namespace {

// The program whose temporary-file search looks at one area folder for *.tmp
// files.
struct TempSearchInstallation : Installation {
    const std::wstring area = own(L"-area");
    TempSearchInstallation() : Installation(L"e2e") {
        write_data(L"tf_mask.txt", "tmp\r\n");
        write_data(L"tf_dirs.txt", narrow(area) + "\r\n");
    }
};

// "Ненужные файлы" -> "Поиск временных файлов": the launcher page's
// "  Начать поиск", once it shows.
HWND search_launcher(HWND main) {
    open_item(main, 0, 1);
    return visible_component(main, L"TempFindStartButton");
}

// Runs the search from its launcher page (whose picture is taken as `shot`,
// when given) and returns the search window once the search has ended with
// its message.
HWND finished_search(const Installation& install, HWND main, const char* shot = nullptr) {
    HWND start = search_launcher(main);
    if (!start) return nullptr;
    if (shot) {
        Sleep(200);
        save_shot(main, shot);
    }
    press(start);
    if (answer_message_box(install.id(), L"Поиск завершен") != L"Поиск завершен. Ознакомтесь со списком найденных файлов.")
        return nullptr;
    return top_window(install.id(), L"Поиск временных файлов");
}

// The program started with TEMP (and TMP) set to `temp`, on its page
// "Очистка Temp папок": the main window and the temporary file count, once
// it shows (null otherwise).
struct TempPage {
    HWND main = nullptr, count = nullptr;
};
TempPage open_temp_page(Installation& install, const std::wstring& temp) {
    TempPage page;
    if (!install.start({{L"TEMP", temp}, {L"TMP", temp}}) || !(page.main = install.main_window())) return page;
    open_item(page.main, 0, 0);
    page.count = visible_component(page.main, L"Label24");
    return page;
}

// A search whose area holds the host's shared files (Z:\usr\share,
// Z:\usr\lib), which keep the walk busy for a few seconds: started from the
// launcher, and seen walking them (`current`, the walk's caption, is null
// otherwise).
struct WalkingSearch {
    TempSearchInstallation install;
    HWND main = nullptr, search = nullptr, current = nullptr;
    WalkingSearch() {
        write_file(install.area + L"\\a.tmp", "junk");
        install.write_data(L"tf_dirs.txt", narrow(install.area) + "\r\nZ:\\usr\\share\r\nZ:\\usr\\lib\r\n");
        if (!install.start() || !(main = install.main_window())) return;
        HWND start = search_launcher(main);
        if (!start) return;
        press(start);
        search = wait_for([&] { return top_window(install.id(), L"Поиск временных файлов"); });
        HWND caption = search ? component(search, L"Label2") : nullptr;
        if (caption && wait_for([&] { return text_of(caption).rfind(L"Z:\\usr", 0) == 0 ? caption : nullptr; }))
            current = caption;
    }
};

// Drive R: as a folder of the test: a link among the prefix's drives; the
// host path of the devices folder.
std::string map_drive_r(const std::wstring& folder) {
    std::string devices = unix_name(L"C:\\");
    while (!devices.empty() && devices.back() == '/') devices.pop_back();
    devices = devices.substr(0, devices.rfind('/'));
    if (devices.ends_with("/drive_c")) devices = devices.substr(0, devices.rfind('/'));
    if (!devices.ends_with("/dosdevices")) devices += "/dosdevices";
    const std::string host = unix_name(folder);
    if (host.empty()) return {};
    const std::wstring name = L"\\" + folder.substr(folder.rfind(L'\\') + 1) + L".probe";
    write_file(folder + name, "");
    const bool mapped = run_on_host("/bin/ln -sfn " + host + " " + devices + "/r:", [&] {
        return GetFileAttributesW((L"R:" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    DeleteFileW((folder + name).c_str());
    return mapped ? devices : std::string();
}

void set_user_value(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

TEST(ProgramEndToEnd, SearchesTheAreaAndDeletesWhatItFoundToTheRecycleBin) {
    TempSearchInstallation install;
    for (const wchar_t* name : {L"\\a.tmp", L"\\b.TMP", L"\\keep.txt"}) write_file(install.area + name, "junk");
    CreateDirectoryW((install.area + L"\\sub").c_str(), nullptr);
    write_file(install.area + L"\\sub\\c.tmp", "junk");
    const auto bin_before = recycle_bin_items();

    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    save_shot(main, "main-about");

    HWND search = finished_search(install, main, "main-temp-search-launcher");
    ASSERT_TRUE(search);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(SendMessageW(component(search, L"ListView1"), LVM_GETITEMCOUNT, 0, 0), 3);
    save_shot(search, "temp-search-found");

    press(component(search, L"SpeedButton2"));  // "  Удалить все файлы"
    EXPECT_EQ(answer_message_box(install.id(), L"Удаление завершено"), L"Все выбранные файлы были успешно удалены.");
    EXPECT_EQ(recycle_bin_items(), bin_before + 3);
    EXPECT_EQ(GetFileAttributesW((install.area + L"\\a.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW((install.area + L"\\keep.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    save_shot(search, "temp-search-deleted");

    EXPECT_TRUE(close_back_to(search, main));
    EXPECT_TRUE(install.closes(main));
}

// Wine's recycle bin is the trash of XDG_DATA_HOME; one whose "files" is a
// file takes nothing. The program's own check finds the bin switched on, so
// it is the shell that asks before it deletes for good: "Yes" deletes the
// file and its row, "No" keeps both and counts as a failure.
TEST(ProgramEndToEnd, AFileTheBinCannotTakeGoesForGoodOnlyWhenTheShellIsAnsweredYes) {
    TempSearchInstallation install;
    for (const wchar_t* name : {L"\\a.tmp", L"\\b.tmp"}) write_file(install.area + name, "junk");
    const std::wstring data_home = install.own(L"-xdg");
    CreateDirectoryW((data_home + L"\\Trash").c_str(), nullptr);
    CreateDirectoryW((data_home + L"\\Trash\\info").c_str(), nullptr);
    write_file(data_home + L"\\Trash\\files", "");

    ASSERT_TRUE(install.start({{L"XDG_DATA_HOME", widen(unix_name(data_home))}}));
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    HWND search = finished_search(install, main);
    ASSERT_TRUE(search);
    HWND list = component(search, L"ListView1");
    ASSERT_EQ(list_rows(list), (std::vector<std::wstring>{install.area + L"\\a.tmp", install.area + L"\\b.tmp"}));

    press(component(search, L"SpeedButton2"));  // "  Удалить все файлы", the last row first
    const std::wstring cannot = L"' can't be sent to Trash. Do you want to delete it instead?";
    EXPECT_NE(answer_message_box(install.id(), L"Confirm file deletion", IDYES).find(L"b.tmp" + cannot),
              std::wstring::npos);
    EXPECT_NE(answer_message_box(install.id(), L"Confirm file deletion", IDNO).find(L"a.tmp" + cannot),
              std::wstring::npos);
    EXPECT_EQ(answer_message_box(install.id(), L"Удаление завершено"),
              L"Некоторые удалить не удалось. Возможно они используются системой.");
    EXPECT_FALSE(exists(install.area + L"\\b.tmp"));
    EXPECT_TRUE(exists(install.area + L"\\a.tmp"));
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{install.area + L"\\a.tmp"}));
    EXPECT_EQ(text_of(component(search, L"Label2")), L"Найдено файлов: 2          Удалено файлов: 1");

    EXPECT_TRUE(close_back_to(search, main));
    EXPECT_TRUE(install.closes(main));
}

// The walk is seen at work, and stops when asked.
TEST(ProgramEndToEnd, ShowsTheWalkWhileItSearchesAndStopsWhenAsked) {
    WalkingSearch walk;
    HWND main = walk.main, search = walk.search, current = walk.current;
    ASSERT_TRUE(current);
    TempSearchInstallation& install = walk.install;
    HWND stop = component(search, L"SpeedButton1");
    EXPECT_TRUE(IsWindowVisible(stop));
    EXPECT_EQ(text_of(component(search, L"Label1")),
              L"Выполняется поиск временных файлов... Это может занять несколько минут");
    EXPECT_FALSE(IsWindowEnabled(component(search, L"GroupBox1")));
    save_shot(search, "temp-search-running");

    press(stop);  // the rows so far, and a normal end
    EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
              L"Поиск завершен. Ознакомтесь со списком найденных файлов.");
    EXPECT_FALSE(IsWindowVisible(stop));
    EXPECT_EQ(text_of(component(search, L"Label1")), L"Поиск временных файлов завершен");
    EXPECT_GE(SendMessageW(component(search, L"ListView1"), LVM_GETITEMCOUNT, 0, 0), 1);  // the area's file
    EXPECT_EQ(text_of(current).rfind(L"Найдено файлов: ", 0), 0u);

    EXPECT_TRUE(close_back_to(search, main));
    EXPECT_TRUE(install.closes(main));
}

TEST(ProgramEndToEnd, CleansTheTemporaryFolderAndTheRecycleBinFromItsPage) {
    TempSearchInstallation install;
    const std::wstring temp = install.own(L"-temp");
    CreateDirectoryW((temp + L"\\sub").c_str(), nullptr);
    for (const wchar_t* name : {L"\\a.tmp", L"\\b.dat", L"\\sub\\c.log"}) write_file(temp + name, std::string(2048, 'x'));
    write_file(install.area + L"\\binned.txt", "x");
    SHFILEOPSTRUCTW op{};
    const std::wstring binned = install.area + L"\\binned.txt" + L'\0';
    op.wFunc = FO_DELETE;
    op.pFrom = binned.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ASSERT_EQ(SHFileOperationW(&op), 0);

    const TempPage page = open_temp_page(install, temp);
    HWND main = page.main, count = page.count;
    ASSERT_TRUE(count);
    EXPECT_EQ(text_of(count), L"3");
    EXPECT_EQ(text_of(component(main, L"Label26")), L"6 KB");
    EXPECT_NE(text_of(component(main, L"Label29")), L"0");
    save_shot(main, "main-temp-folders-before");

    // The page shows the new count first, then measures the size: wait for both.
    press(component(main, L"SpeedButton1"));  // the temporary folder's "  Очистить"
    HWND size = component(main, L"Label26");
    EXPECT_TRUE(wait_for([&] { return text_of(count) == L"0" && text_of(size) == L"0 KB" ? count : nullptr; }, 10000));
    EXPECT_NE(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);  // the folder itself stays
    press(component(main, L"SpeedButton2"));  // the recycle bin's "  Очистить"
    HWND bin = component(main, L"Label29"), empty_bin = component(main, L"SpeedButton3");
    EXPECT_TRUE(wait_for([&] { return text_of(bin) == L"0" && !IsWindowEnabled(empty_bin) ? bin : nullptr; }, 10000));
    EXPECT_EQ(recycle_bin_items(), 0u);
    save_shot(main, "main-temp-folders-after");

    EXPECT_TRUE(install.closes(main));
}

// Closing the search window while it walks ends the walk: the main window is
// back, and no message of that search ever shows.
TEST(ProgramEndToEnd, ClosingTheSearchWindowDuringTheWalkEndsTheSearchQuietly) {
    WalkingSearch walk;
    ASSERT_TRUE(walk.current);
    EXPECT_TRUE(close_back_to(walk.search, walk.main));
    Sleep(1500);
    EXPECT_FALSE(top_window(walk.install.id(), L"Поиск завершен"));
    EXPECT_TRUE(walk.install.closes(walk.main));
}

// TEMP spelled as the root of a drive ("R:\\\\", two backslashes): the page
// counts nothing and every file at that root survives.
TEST(ProgramEndToEnd, ATempThatSpellsADriveRootCleansNothing) {
    TempSearchInstallation install;
    const std::wstring root = install.own(L"-r");
    for (const wchar_t* name : {L"\\a.txt", L"\\b.tmp", L"\\c.log"}) write_file(root + name, "keep");
    const std::string devices = map_drive_r(root);
    ASSERT_FALSE(devices.empty());

    const TempPage page = open_temp_page(install, L"R:\\\\");
    HWND main = page.main, count = page.count;
    ASSERT_TRUE(count);
    EXPECT_EQ(text_of(count), L"0");
    EXPECT_FALSE(IsWindowEnabled(component(main, L"SpeedButton1")));
    press(component(main, L"SpeedButton1"));
    Sleep(300);
    for (const wchar_t* name : {L"\\a.txt", L"\\b.tmp", L"\\c.log"})
        EXPECT_NE(GetFileAttributesW((root + name).c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(install.closes(main));
    run_on_host("/bin/rm -f " + devices + "/r:", [] { return GetFileAttributesW(L"R:\\") == INVALID_FILE_ATTRIBUTES; });
}

// TEMP pointed at the Documents folder, the Desktop, or the folder that holds
// Recent, SendTo and the Start menu: the page counts nothing, says why, and
// every file there survives its "  Очистить".
TEST(ProgramEndToEnd, ATempThatHoldsTheUsersFoldersCleansNothing) {
    const std::wstring documents = user_shell_folder(L"Personal"), desktop = user_shell_folder(L"Desktop");
    const std::wstring send_to = user_shell_folder(L"SendTo");
    ASSERT_FALSE(documents.empty() || desktop.empty() || send_to.empty());
    const std::wstring windows = send_to.substr(0, send_to.rfind(L'\\'));
    const std::wstring own = L"\\vsc-e2e-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    const std::wstring planted[] = {documents + own, desktop + own, send_to + own};
    for (const auto& file : planted) write_file(file, "keep");

    for (const std::wstring& temp : {documents, desktop, windows}) {
        TempSearchInstallation install;
        const TempPage page = open_temp_page(install, temp);
        HWND main = page.main, count = page.count;
        ASSERT_TRUE(count);
        EXPECT_EQ(text_of(count), L"0");
        HWND refusal = visible_component(main, L"TempRefusal", 5000);
        EXPECT_TRUE(refusal);
        EXPECT_NE(text_of(refusal).find(L"не очищается"), std::wstring::npos) << narrow(temp);
        EXPECT_FALSE(IsWindowEnabled(component(main, L"SpeedButton1")));
        if (temp == documents) save_shot(main, "main-temp-folders-refused");
        press(component(main, L"SpeedButton1"));
        Sleep(300);
        for (const auto& file : planted) EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(install.closes(main));
    }
    for (const auto& file : planted) DeleteFileW(file.c_str());
}

// An Opera folder at the root of a mapped drive and a Firefox profile whose
// profiles.ini climbs out of Profiles: both are offered, their caches read
// "0 KB", and neither "  Очистить" nor "  Очистить все" deletes a file there.
TEST(ProgramEndToEnd, BrowserFoldersOutsideTheirPlaceCleanNothing) {
    TempSearchInstallation install;
    const std::wstring root = install.own(L"-r");
    const std::wstring victim = install.own_path(L"C:\\vsc-victim-" + std::to_wstring(GetCurrentProcessId()));
    for (const std::wstring& folder : {root + L"\\profile", root + L"\\profile\\cache4", victim + L"\\Cache"})
        CreateDirectoryW(folder.c_str(), nullptr);
    write_file(root + L"\\Opera.exe", "MZ");
    write_file(root + L"\\english.lng", "VersionInfo 9.50\r\n");
    const std::wstring sentinels[] = {root + L"\\profile\\cache4\\mine.tmp", root + L"\\profile\\global.dat",
                                      victim + L"\\Cache\\mine.tmp", victim + L"\\history.dat"};
    for (const auto& file : sentinels) write_file(file, std::string(4096, 's'));
    const std::string devices = map_drive_r(root);
    ASSERT_FALSE(devices.empty());

    const std::wstring firefox = L"Software\\Mozilla\\Mozilla Firefox";
    set_user_value(L"Software\\Opera Software", L"Last Directory3", L"R:\\");
    set_user_value(firefox, L"CurrentVersion", L"3.0");
    set_user_value(firefox + L"\\3.0\\Main", L"PathToExe", root + L"\\Opera.exe");
    const std::wstring ini_folder = user_shell_folder(L"AppData") + L"\\Mozilla\\Firefox";
    const bool made_mozilla = GetFileAttributesW((user_shell_folder(L"AppData") + L"\\Mozilla").c_str()) ==
                              INVALID_FILE_ATTRIBUTES;
    CreateDirectoryW((user_shell_folder(L"AppData") + L"\\Mozilla").c_str(), nullptr);
    CreateDirectoryW(ini_folder.c_str(), nullptr);
    write_file(ini_folder + L"\\profiles.ini",
               "[Profile0]\r\nPath=Profiles/../../../../../../../" + narrow(victim.substr(3)) + "\r\n");

    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 1, 0);
    HWND firefox_size = visible_component(main, L"Label19");
    ASSERT_TRUE(firefox_size);
    EXPECT_EQ(text_of(component(main, L"Label14")), L"Opera 9.50");
    EXPECT_EQ(text_of(component(main, L"Label16")), L"0 KB");
    EXPECT_EQ(text_of(firefox_size), L"0 KB");
    press(component(main, L"SpeedButton13"));
    press(component(main, L"SpeedButton14"));
    press(component(main, L"SpeedButton15"));
    Sleep(500);
    for (const auto& file : sentinels) EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(install.closes(main));

    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Opera Software");
    RegDeleteTreeW(HKEY_CURRENT_USER, firefox.c_str());
    DeleteFileW((ini_folder + L"\\profiles.ini").c_str());
    if (made_mozilla) {
        RemoveDirectoryW(ini_folder.c_str());
        RemoveDirectoryW((user_shell_folder(L"AppData") + L"\\Mozilla").c_str());
    }
    run_on_host("/bin/rm -f " + devices + "/r:", [] { return GetFileAttributesW(L"R:\\") == INVALID_FILE_ATTRIBUTES; });
}

// Today's browsers, planted where they keep their profiles: a Chrome
// profile's cache is sized and cleaned, its bookmarks and passwords kept; an
// Edge that runs (its lockfile held open) is left as it is.
TEST(ProgramEndToEnd, CleansAChromeProfilesCacheAndKeepsItsBookmarks) {
    const std::wstring local = user_shell_folder(L"Local AppData");
    const std::wstring profile = local + L"\\Google\\Chrome\\User Data\\Default";
    const std::wstring edge = local + L"\\Microsoft\\Edge\\User Data\\Default";
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, (profile + L"\\Cache\\Cache_Data").c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, (edge + L"\\GPUCache").c_str(), nullptr), ERROR_SUCCESS);
    for (const wchar_t* kept : {L"\\Preferences", L"\\Bookmarks", L"\\Login Data"}) write_file(profile + kept, "kept");
    write_file(profile + L"\\Cache\\Cache_Data\\f_000001", std::string(4096, 'c'));
    write_file(edge + L"\\Preferences", "kept");
    write_file(edge + L"\\GPUCache\\data_0", std::string(1024, 'g'));
    HANDLE running = CreateFileW((edge + L"\\..\\lockfile").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);

    Installation install(L"browsers");
    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 1, 0);
    HWND list = visible_component(main, L"CacheBrowsers");
    ASSERT_TRUE(list);
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{L"Google Chrome", L"Microsoft Edge"}));
    EXPECT_EQ(list_rows(list, 1), (std::vector<std::wstring>{L"4 KB", L"1 KB"}));
    press(component(main, L"CacheBrowserClean"));  // the first row is chosen
    EXPECT_TRUE(wait_for([&] {
        return list_rows(list, 1) == std::vector<std::wstring>{L"0 KB", L"1 KB"} ? list : nullptr;
    }));
    EXPECT_EQ(GetFileAttributesW((profile + L"\\Cache\\Cache_Data\\f_000001").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW((profile + L"\\Cache").c_str()), INVALID_FILE_ATTRIBUTES);
    for (const wchar_t* kept : {L"\\Preferences", L"\\Bookmarks", L"\\Login Data"})
        EXPECT_NE(GetFileAttributesW((profile + kept).c_str()), INVALID_FILE_ATTRIBUTES);
    click_row(list, 1);
    HWND note = visible_component(main, L"CacheBrowserNote");
    ASSERT_TRUE(note);
    EXPECT_EQ(text_of(note), L"Закройте Microsoft Edge: пока он запущен, его файлы не очищаются.");
    save_shot(main, "main-cache-browsers");
    press(component(main, L"SpeedButton15"));  // "  Очистить все"
    Sleep(500);
    EXPECT_NE(GetFileAttributesW((edge + L"\\GPUCache\\data_0").c_str()), INVALID_FILE_ATTRIBUTES);
    press(wait_for([&] { return component(main, L"CategoryButtons1_Item1_2"); }));
    ASSERT_TRUE(visible_component(main, L"CookiesBrowsers"));
    save_shot(main, "main-cookies-browsers");
    EXPECT_TRUE(install.closes(main));

    CloseHandle(running);
    delete_trees({local + L"\\Google", local + L"\\Microsoft\\Edge"});
}

// A Firefox profile of profiles.ini: its history goes, its bookmark stays.
TEST(ProgramEndToEnd, ClearsAFirefoxProfilesHistoryAndKeepsItsBookmark) {
    const std::wstring mozilla = user_shell_folder(L"AppData") + L"\\Mozilla";
    const std::wstring profile = mozilla + L"\\Firefox\\Profiles\\e2e.default-release";
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, profile.c_str(), nullptr), ERROR_SUCCESS);
    write_file(mozilla + L"\\Firefox\\profiles.ini",
               "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/e2e.default-release\r\n");
    const std::string places = narrow(profile + L"\\places.sqlite");
    const auto sql = [&](const char* text) {
        sqlite3* db = nullptr;
        std::string out;
        EXPECT_EQ(sqlite3_open(places.c_str(), &db), SQLITE_OK);
        sqlite3_exec(
            db, text,
            [](void* into, int, char** values, char**) {
                *static_cast<std::string*>(into) += std::string(values[0] ? values[0] : "NULL") + ";";
                return 0;
            },
            &out, nullptr);
        sqlite3_close(db);
        return out;
    };
    sql("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT, visit_count INTEGER, last_visit_date INTEGER);"
        "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, place_id INTEGER, visit_date INTEGER);"
        "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, fk INTEGER, title TEXT);"
        "INSERT INTO moz_places VALUES (1, 'https://kept.example/', 1, 10), (2, 'https://visited.example/', 2, 20);"
        "INSERT INTO moz_historyvisits VALUES (1, 1, 10), (2, 2, 20);"
        "INSERT INTO moz_bookmarks VALUES (1, 1, 'kept');");

    Installation install(L"browsers");
    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 1, 1);
    HWND list = visible_component(main, L"JurnalBrowsers");
    ASSERT_TRUE(list);
    EXPECT_EQ(list_rows(list), std::vector<std::wstring>{L"Mozilla Firefox"});
    save_shot(main, "main-history-browsers");
    HWND clean = component(main, L"JurnalBrowserClean");
    press(clean);
    EXPECT_TRUE(wait_for([&] { return IsWindowEnabled(clean) ? nullptr : clean; }));
    EXPECT_TRUE(install.closes(main));
    EXPECT_EQ(sql("SELECT url FROM moz_places"), "https://kept.example/;");
    EXPECT_EQ(sql("SELECT count(*) FROM moz_historyvisits"), "0;");
    EXPECT_EQ(sql("SELECT title FROM moz_bookmarks"), "kept;");
    EXPECT_EQ(sql("PRAGMA integrity_check"), "ok;");
    delete_trees({mozilla});
}

// Run by its own ctest test in a Wine prefix whose screen has 144 DPI (150%),
// never in the shared one: the layout, written for 96 DPI, grows by half.
TEST(ProgramEndToEnd, DISABLED_LaysItsWindowsOutAt144Dpi) {
    {
        const platform::win32::WindowDc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 144) << "the prefix is not set to 144 DPI";
    }
    TempSearchInstallation install;
    for (const wchar_t* name : {L"\\a.tmp", L"\\b.tmp"}) write_file(install.area + name, "junk");
    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 996);  // 664 x 337
    EXPECT_EQ(client.bottom, 506);
    HWND bar = component(main, L"CategoryButtons1");  // 6, 6, 196 x 154
    ASSERT_TRUE(bar);
    RECT box{};
    GetWindowRect(bar, &box);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, 9);
    EXPECT_EQ(box.top, 9);
    EXPECT_EQ(box.right, 303);
    EXPECT_EQ(box.bottom, 240);
    save_shot(main, "main-about-144dpi");

    HWND search = finished_search(install, main, "main-temp-search-launcher-144dpi");
    ASSERT_TRUE(search);
    GetClientRect(search, &client);
    EXPECT_EQ(client.right, 840);  // 560 x 440
    EXPECT_EQ(client.bottom, 660);
    HWND list = component(search, L"ListView1");  // 10, 56, 524 x 256 in its group box
    GetWindowRect(list, &box);
    MapWindowPoints(nullptr, GetParent(list), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, 15);
    EXPECT_EQ(box.top, 84);
    EXPECT_EQ(box.right, 801);
    EXPECT_EQ(box.bottom, 468);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 750);  // 500
    save_shot(search, "temp-search-found-144dpi");

    EXPECT_TRUE(close_back_to(search, main));
    EXPECT_TRUE(install.closes(main));
}
