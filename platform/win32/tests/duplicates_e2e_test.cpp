// The duplicate search of the real program under Wine: a search from its
// page over a prepared area folder, the groups read back from the window,
// and one copy deleted from the lower list.
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

// The program in a folder of its own whose duplicate search looks at every
// file of one area folder.
struct Installation {
    std::wstring folder = temp_path() + L"vsc-dupes-" + std::to_wstring(GetCurrentProcessId());
    std::wstring area = folder + L"-area";
    PROCESS_INFORMATION process{};

    Installation() {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
        CreateDirectoryW(area.c_str(), nullptr);
        CopyFileW(widen(VORLINDE_PROGRAM).c_str(), (folder + L"\\Vorlinde System Cleaner.exe").c_str(), FALSE);
        for (const char* name : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
            CopyFileW(widen(std::string(VORLINDE_TEST_DATA "/../../data/") + name).c_str(),
                      (folder + L"\\Data\\" + widen(name)).c_str(), FALSE);
        write_file(folder + L"\\Data\\cf_all.txt", "");
        std::string dirs;
        for (wchar_t c : area) dirs += static_cast<char>(c);
        write_file(folder + L"\\Data\\cf_dirs.txt", dirs + "\r\n");
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
        std::wstring command = L"\"" + folder + L"\\Vorlinde System Cleaner.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &process);
    }
    DWORD id() const { return process.dwProcessId; }
};

}  // namespace

TEST(DuplicatesEndToEnd, FindsTheGroupsAndDeletesOneCopy) {
    Installation install;
    const std::wstring& area = install.area;
    CreateDirectoryW((area + L"\\sub").c_str(), nullptr);
    for (const wchar_t* name : {L"\\a.txt", L"\\b.txt", L"\\sub\\c.txt"}) write_file(area + name, "the same text");
    for (const wchar_t* name : {L"\\d.bin", L"\\e.bin"}) write_file(area + name, std::string(3000, 'd'));
    write_file(area + L"\\f.bin", std::string(2999, 'd') + "f");

    ASSERT_TRUE(install.start());
    HWND main = wait_for([&] { return top_window(install.id(), L"Vorlinde System Cleaner 1.5"); });
    ASSERT_TRUE(main);
    Sleep(500);  // the fade-in
    press(wait_for([&] { return component(main, L"CategoryButtons1_Category3"); }));
    press(wait_for([&] { return component(main, L"CategoryButtons1_Item3_0"); }));
    HWND start = wait_for([&] {
        HWND button = component(main, L"DuplicatesStartButton");
        return button && IsWindowVisible(button) ? button : nullptr;
    });
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

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_for([&] { return IsWindowVisible(main) ? main : nullptr; }, 10000));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(install.process.hProcess, 20000), WAIT_OBJECT_0);
}
