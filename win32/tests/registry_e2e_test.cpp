// The registry reference search of the real program under Wine, end to end:
// values planted under HKEY_CURRENT_USER\Software that name missing files
// are listed, three of them are checked and deleted after a backup that the
// registry editor writes into a chosen folder, and their data is empty; the
// program's undo file, given to the registry editor, puts every value back
// byte for byte.
// scripts/docs-shots.sh RegistryEndToEnd retakes the pictures in docs/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <shlobj.h>

#include "automation.h"
#include "installation.h"
#include "win32/handles.h"
#include "shots.h"

using namespace automation;

namespace {

const wchar_t kKey[] = L"Software\\VorlindeE2E";

// Runs the registry editor with `arguments` and waits for it.
bool regedit(const std::wstring& arguments) {
    std::wstring command = L"regedit.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    const platform::win32::ObjectHandle thread(process.hThread), running(process.hProcess);
    return WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
}

// Every value of the test key: its name, type and exact bytes.
std::map<std::wstring, std::pair<DWORD, std::string>> raw_values() {
    std::map<std::wstring, std::pair<DWORD, std::string>> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256, type = 0, size = 4096;
        std::string data(size, '\0');
        if (RegEnumValueW(key, i, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS)
            break;
        data.resize(size);
        values[std::wstring(name, length)] = {type, data};
    }
    RegCloseKey(key);
    return values;
}

std::wstring value(const wchar_t* name) {
    wchar_t data[512] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

// Chooses a folder in the folder chooser the program shows, and confirms.
// (Wine's chooser does not find folders below the user's Temp folder.)
bool choose_folder(DWORD id, const std::wstring& folder) {
    HWND chooser = wait_for([&] { return top_window(id, L"", L"#32770"); });
    HWND tree = chooser ? wait_for([&] { return FindWindowExW(chooser, nullptr, WC_TREEVIEWW, nullptr); }) : nullptr;
    if (!tree || !wait_for([&] { return SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0 ? tree : nullptr; })) return false;
    // The folder as an item list: a block of bytes that means the same in
    // the program's process.
    const platform::win32::TaskMemory item(ILCreateFromPathW(folder.c_str()));
    const UINT size = ILGetSize(static_cast<PCIDLIST_ABSOLUTE>(item.get()));
    const RemoteMemory selection(chooser, size);
    selection.write(item.get(), size);
    SendMessageW(chooser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(selection.at()));
    if (!SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) return false;
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
    return true;
}

// The program whose registry search looks at the current user's keys on the
// first usable drive (C:), with references planted under the test key.
struct RegistryInstallation : Installation {
    const std::wstring backup = own_path(L"C:\\vsc-reg-backup-" + std::to_wstring(GetCurrentProcessId()));

    RegistryInstallation() : Installation(L"reg") {
        write_data(L"rg_keys.txt", "10");
        write_data(L"rg_drives.txt", "1\r\n");
        // Cyrillic names and data and every other value type, planted by the
        // registry editor from a UTF-16 file.
        const std::wstring reg =
            L"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\VorlindeE2E]\r\n"
            L"\"Пропавший\"=\"C:\\\\VorlindeGone\\\\файл.exe\"\r\n"
            L"\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\r\n"
            L"\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
            L"\"Number\"=dword:0000002a\r\n"
            L"\"Big\"=hex(b):01,02,03,04,05,06,07,08\r\n"
            L"\"Bytes\"=hex:00,ff,10\r\n\r\n";
        write_file(folder + L"\\plant.reg", std::string(reinterpret_cast<const char*>(reg.data()), reg.size() * 2));
        regedit(L"/s \"" + folder + L"\\plant.reg\"");
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        const std::map<std::wstring, std::wstring> values{
            {L"Gone App", L"C:\\VorlindeGone\\app.exe"},
            {L"Gone Doc", L"c:\\VorlindeGone\\read me.txt"},
            {L"Kept", L"C:\\VorlindeGone\\kept.txt"},
            {L"Present", exe},
            {L"With argument", L"C:\\VorlindeGone\\app.exe -min"}};
        for (const auto& [name, data] : values)
            RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    ~RegistryInstallation() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
};

}  // namespace

TEST(RegistryEndToEnd, ListsPlantedReferencesBacksUpAndEmptiesTheCheckedOnes) {
    RegistryInstallation install;
    ASSERT_TRUE(install.start());
    HWND main = install.main_window();
    ASSERT_TRUE(main);
    open_item(main, 4, 0);  // "Реестр"
    HWND start = visible_component(main, L"RegistryStartButton");
    ASSERT_TRUE(start);
    press(start);

    EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
              L"Поиск завершен. Ознакомтесь со списком найденных ссылок.");
    HWND window = top_window(install.id(), L"Поиск неправильных ссылок");
    ASSERT_TRUE(window);
    HWND list = component(window, L"ResultsList");
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::map<std::wstring, int> planted;  // value name -> row
    for (int row = 0; row < count; ++row)
        if (list_cell(list, row, 0) == L"HKCU\\Software\\VorlindeE2E")
            planted[list_cell(list, row, 1)] = row;
    ASSERT_EQ(planted.size(), 4u);
    ASSERT_TRUE(planted.contains(L"Gone Doc") && planted.contains(L"Gone App") && planted.contains(L"Kept") &&
                planted.contains(L"Пропавший"));
    const auto before = raw_values();
    ASSERT_EQ(before.size(), 11u);
    EXPECT_EQ(list_cell(list, planted[L"Gone Doc"], 2), L"c:\\VorlindeGone\\read me.txt");
    EXPECT_EQ(text_of(component(window, L"Label2")), L"Найдено ненеправильных ссылок: " + std::to_wstring(count));

    check_row(list, planted[L"Gone App"]);
    check_row(list, planted[L"Gone Doc"]);
    check_row(list, planted[L"Пропавший"]);
    save_shot(window, "registry-references-found");

    press(component(window, L"DeleteButton"));  // no backup yet: it asks, and "&Yes" makes one first
    EXPECT_EQ(answer_message_box(install.id(), L"Confirm", IDYES).rfind(L"Вы не создали копию реестра.", 0), 0u);
    ASSERT_TRUE(choose_folder(install.id(), install.backup));
    EXPECT_EQ(answer_message_box(install.id(), L"Сохранение завершено").rfind(L"Копия реестра была успешно сохранена!", 0),
              0u);
    EXPECT_EQ(answer_message_box(install.id(), L"Удаление завершено"), L"Все выбранные ссылки были успешно удалены.");

    EXPECT_EQ(value(L"Gone App"), L"");
    EXPECT_EQ(value(L"Gone Doc"), L"");
    EXPECT_EQ(value(L"Kept"), L"C:\\VorlindeGone\\kept.txt");
    EXPECT_EQ(value(L"Пропавший"), L"");
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), count - 3);
    EXPECT_EQ(text_of(component(window, L"Label2")),
              L"Найдено: " + std::to_wstring(count) + L"     Удалено: 3");
    save_shot(window, "registry-references-deleted");

    WIN32_FIND_DATAW found{};
    const platform::win32::FindHandle export_file(FindFirstFileW((install.backup + L"\\HKCU(*).reg").c_str(), &found));
    ASSERT_TRUE(export_file);
    std::ifstream in(std::filesystem::path(install.backup + L"\\" + found.cFileName), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_NE(text.find(L"[HKEY_CURRENT_USER\\Software\\VorlindeE2E]"), std::wstring::npos);
    EXPECT_NE(text.find(L"VorlindeGone"), std::wstring::npos);  // saved before the deletion

    // The program's own undo file, given to the registry editor, puts back
    // exactly what the deletion emptied.
    const std::wstring backups = install.folder + L"\\Data\\Backups\\";
    const platform::win32::FindHandle undo_file(FindFirstFileW((backups + L"* references.reg").c_str(), &found));
    ASSERT_TRUE(undo_file);
    ASSERT_TRUE(regedit(L"/s \"" + backups + found.cFileName + L"\""));
    EXPECT_EQ(raw_values(), before);

    EXPECT_TRUE(close_back_to(window, main));
    EXPECT_TRUE(install.closes(main));
}
