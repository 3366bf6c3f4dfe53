// The empty folder search of the real program under Wine, end to end: a
// small tree in an area folder, searched in both modes from the page, and the
// empty trees it found removed for good, the files beside them untouched.
// scripts/docs-shots.sh EmptyDirsEndToEnd retakes its pictures in docs/.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation.h"
#include "platform/win32/handles.h"
#include "shots.h"

using namespace automation;

namespace {

std::wstring temp_path() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

void write_file(const std::wstring& path, const std::string& bytes) {
    const platform::win32::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The rows of a list view of another process, read through its memory.
std::vector<std::wstring> rows_of(HWND list, DWORD process_id) {
    std::vector<std::wstring> rows;
    const platform::win32::ObjectHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id));
    if (!process.get()) return rows;
    constexpr int kText = 1024;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process.get(), nullptr, 512 + kText * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.pszText = reinterpret_cast<wchar_t*>(remote + 512);
        item.cchTextMax = kText;
        WriteProcessMemory(process.get(), remote, &item, sizeof(item), nullptr);
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
        wchar_t text[kText] = {};
        ReadProcessMemory(process.get(), remote + 512, text, sizeof(text) - sizeof(wchar_t), nullptr);
        rows.emplace_back(text);
    }
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return rows;
}

// The program in a folder of its own; its empty folder search looks at one
// area folder and no drive, in empty-folder mode at first.
struct Installation {
    std::wstring folder = temp_path() + L"vsc-empty-" + std::to_wstring(GetCurrentProcessId());
    std::wstring area = folder + L"-area";
    std::wstring exe = folder + L"\\Vorlinde System Cleaner.exe";
    PROCESS_INFORMATION process{};

    Installation() {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
        CreateDirectoryW(area.c_str(), nullptr);
        CopyFileW(widen(VORLINDE_PROGRAM).c_str(), exe.c_str(), FALSE);
        for (const char* name : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
            CopyFileW(widen(std::string(VORLINDE_TEST_DATA "/../../data/") + name).c_str(),
                      (folder + L"\\Data\\" + widen(name)).c_str(), FALSE);
        std::string area_line;
        for (wchar_t c : area) area_line += static_cast<char>(c);
        write_file(folder + L"\\Data\\ed_dirs.txt", area_line + "\r\n");
        write_file(folder + L"\\Data\\ed_empty.txt", "");
    }
    ~Installation() {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 1);
            const platform::win32::ObjectHandle thread(process.hThread), started(process.hProcess);
        }
        SHFILEOPSTRUCTW op{};
        const std::wstring both = folder + L'\0' + area + L'\0';
        op.wFunc = FO_DELETE;
        op.pFrom = both.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&op);
    }
    bool start() {
        std::wstring command = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &process);
    }
    DWORD id() const { return process.dwProcessId; }
};

}  // namespace

TEST(EmptyDirsEndToEnd, BothModesListTheirFoldersAndTheTreesAreRemoved) {
    Installation install;
    const std::wstring& a = install.area;
    for (const wchar_t* sub : {L"\\A", L"\\A\\B", L"\\A\\B\\C", L"\\D", L"\\E", L"\\E\\F"})
        ASSERT_TRUE(CreateDirectoryW((a + sub).c_str(), nullptr));
    write_file(a + L"\\A\\keep.txt", "x");
    write_file(a + L"\\E\\keep.txt", "x");

    ASSERT_TRUE(install.start());
    HWND main = wait_for([&] { return top_window(install.id(), L"Vorlinde System Cleaner 1.5"); });
    ASSERT_TRUE(main);
    Sleep(500);  // the fade-in
    press(wait_for([&] { return component(main, L"CategoryButtons1_Category2"); }));  // "Пустые папки"
    press(wait_for([&] { return component(main, L"CategoryButtons1_Item2_0"); }));
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
    EXPECT_EQ(rows_of(list, install.id()), (std::vector<std::wstring>{a + L"\\A\\B\\C", a + L"\\D", a + L"\\E\\F"}));
    save_shot(window, "empty-dirs-folders-found");
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_for([&] { return IsWindowVisible(main) ? main : nullptr; }, 10000));

    // Empty-tree mode: the topmost folder of each tree without a file.
    press(component(main, L"EmptyDirsTreesMode"));
    ASSERT_TRUE(wait_for([&] { return exists(install.folder + L"\\Data\\ed_empty.txt") ? nullptr : main; }, 5000));
    press(start);
    EXPECT_EQ(answer_message_box(install.id(), L"Поиск завершен"),
              L"Поиск завершен. Ознакомтесь со списком найденных папок.");
    window = top_window(install.id(), L"Поиск пустых папок с пустыми подпапками");
    ASSERT_TRUE(window);
    list = component(window, L"ListView1");
    EXPECT_EQ(rows_of(list, install.id()), (std::vector<std::wstring>{a + L"\\A\\B", a + L"\\D", a + L"\\E\\F"}));

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

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_for([&] { return IsWindowVisible(main) ? main : nullptr; }, 10000));
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(install.process.hProcess, 20000), WAIT_OBJECT_0);
}
