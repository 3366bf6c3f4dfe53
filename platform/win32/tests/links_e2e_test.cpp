// The real program under Wine, end to end: shortcuts made with IShellLink in
// the prefix's Desktop and Programs folders, some pointing at missing files;
// the search in its optimal mode lists exactly those, one is repaired, and
// the others go to the real recycle bin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "automation.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_platform.h"
#include "shots.h"

using namespace automation;

namespace {

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c);
    return out;
}

std::string temp_folder() {
    char buffer[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, buffer);
    return buffer;
}

std::string shell_folder(const char* value) {
    auto key = platform::win32::instance().registry.open(
        platform::Root::current_user, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        platform::KeyAccess::read);
    return key ? (*key)->read_string(value).value_or("") : "";
}

// An edit control's own text: GetWindowText of another process's window
// gives the caption it was made with.
std::wstring edit_text(HWND edit) {
    wchar_t text[1024] = {};
    SendMessageW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// A list view of another process, through memory lent in that process.
class RemoteList {
public:
    RemoteList(HWND list, DWORD process)
        : list_(list), process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process)) {
        memory_ = VirtualAllocEx(process_.get(), nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteList() { VirtualFreeEx(process_.get(), memory_, 0, MEM_RELEASE); }

    std::vector<std::wstring> rows() {
        std::vector<std::wstring> out;
        const int count = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
        auto* text = static_cast<wchar_t*>(memory_) + sizeof(LVITEMW);
        for (int i = 0; i < count; ++i) {
            LVITEMW item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = 1024;
            WriteProcessMemory(process_.get(), memory_, &item, sizeof(item), nullptr);
            SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(memory_));
            wchar_t buffer[1024] = {};
            ReadProcessMemory(process_.get(), text, buffer, sizeof(buffer) - sizeof(wchar_t), nullptr);
            out.emplace_back(buffer);
        }
        return out;
    }
    void select(int row) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        WriteProcessMemory(process_.get(), memory_, &item, sizeof(item), nullptr);
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory_));
    }
    // Selects the row and toggles its check box with the space bar.
    void check(int row) {
        select(row);
        SendMessageW(list_, WM_KEYDOWN, VK_SPACE, 0);
    }

private:
    HWND list_;
    platform::win32::ObjectHandle process_;
    void* memory_ = nullptr;
};

// The program in a folder of its own whose Data folder asks for the optimal
// search.
struct Installation {
    std::wstring folder = widen(temp_folder()) + L"vsc-links-" + std::to_wstring(GetCurrentProcessId());
    std::wstring exe = folder + L"\\Vorlinde System Cleaner.exe";
    PROCESS_INFORMATION process{};

    Installation() {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
        CopyFileW(widen(VORLINDE_PROGRAM).c_str(), exe.c_str(), FALSE);
        for (const char* name : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
            CopyFileW(widen(std::string(VORLINDE_TEST_DATA "/../../data/") + name).c_str(),
                      (folder + L"\\Data\\" + widen(name)).c_str(), FALSE);
        const platform::win32::FileHandle marker(CreateFileW((folder + L"\\Data\\bl_optimal.txt").c_str(), GENERIC_WRITE,
                                                             0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    ~Installation() {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 1);
            const platform::win32::ObjectHandle thread(process.hThread), started(process.hProcess);
        }
        SHFILEOPSTRUCTW op{};
        const std::wstring from = folder + L'\0';
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
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

TEST(LinksEndToEnd, ListsBrokenShortcutsRepairsOneAndBinsTheRest) {
    auto& p = platform::win32::instance();
    Installation install;
    const std::string tag = "vsc-links-" + std::to_string(GetCurrentProcessId());
    const std::string desktop = shell_folder("Desktop"), programs = shell_folder("Programs");
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
    HWND main = wait_for([&] { return top_window(install.id(), L"Vorlinde System Cleaner 1.5"); });
    ASSERT_TRUE(main);
    Sleep(500);  // the fade-in
    press(wait_for([&] { return component(main, L"CategoryButtons1_Category0"); }));
    press(wait_for([&] { return component(main, L"CategoryButtons1_Item0_2"); }));
    HWND start = wait_for([&] {
        HWND button = component(main, L"SpeedButton10");
        return button && IsWindowVisible(button) ? button : nullptr;
    });
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
        for (const auto& row : RemoteList(component(search, L"ListView1"), install.id()).rows())
            if (narrow(row).find(tag) != std::string::npos) mine.push_back(narrow(row));
        return mine;
    };
    ASSERT_EQ(search_rows(), (std::vector<std::string>{gone1, gone2, gone3}));
    EXPECT_FALSE(IsWindowVisible(main));
    save_shot(search, "bad-links-found");

    // Repair: the selected row's target shows in the link field, which the
    // user replaces with an existing file.
    RemoteList list(component(search, L"ListView1"), install.id());
    const auto rows = list.rows();
    const int row2 = static_cast<int>(std::find(rows.begin(), rows.end(), widen(gone2)) - rows.begin());
    list.select(row2);
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
    EXPECT_EQ(list.rows().size(), rows.size());  // the row stays

    // A new search no longer lists it; the other two go to the bin.
    PostMessageW(search, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_for([&] { return IsWindowVisible(main) ? main : nullptr; }, 10000));
    ASSERT_EQ(search_rows(), (std::vector<std::string>{gone1, gone3}));
    RemoteList again(component(search, L"ListView1"), install.id());
    const auto left = again.rows();
    for (const auto& link : {gone1, gone3})
        again.check(static_cast<int>(std::find(left.begin(), left.end(), widen(link)) - left.begin()));
    press(component(search, L"SpeedButton3"));
    EXPECT_EQ(answer_message_box(install.id(), L"Удаление завершено"), L"Все выбранные ярлыки были успешно удалены.");
    EXPECT_EQ(recycle_bin_items(), bin_before + 2);
    EXPECT_EQ(GetFileAttributesA(gone1.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(gone3.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(good.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::wstring summary = text_of(component(search, L"Label2"));
    EXPECT_NE(summary.find(L"          Удалено ярлыков: 2"), std::wstring::npos) << narrow(summary);
    save_shot(search, "bad-links-deleted");

    PostMessageW(search, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wait_for([&] { return IsWindowVisible(main) ? main : nullptr; }, 10000));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(install.process.hProcess, 20000), WAIT_OBJECT_0);
}
