// Driving the real program from another process, as a UI automation tool
// would: windows found by title, controls by their "ComponentName" property,
// buttons pressed with posted clicks (a sent one would wait for the modal
// loops the click opens).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/handles.h"

namespace automation {

inline std::wstring widen(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
    out.resize(static_cast<std::size_t>(n) - 1);
    return out;
}

// The host's name of a Windows path under Wine; empty elsewhere.
inline std::string unix_name(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name) return "";
    std::string out = name;
    HeapFree(GetProcessHeap(), 0, name);
    return out;
}

// An ASCII text as it is (the tests' own paths and names).
inline std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c);
    return out;
}

inline std::wstring temp_path() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

inline void write_file(const std::wstring& path, const std::string& bytes) {
    const platform::win32::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

inline bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Files and folders with everything in them, removed for good.
inline void delete_trees(const std::vector<std::wstring>& paths) {
    std::wstring from;
    for (const auto& path : paths) from += path + L'\0';
    if (from.empty()) return;
    from += L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

// A shell folder of the prefix's user ("Personal", "Desktop"...).
inline std::wstring user_shell_folder(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name,
                 RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// Runs a host command under Wine (its words as they are, no quotes) and,
// since a Unix process cannot be waited for, waits until `done` holds.
inline bool run_on_host(const std::string& command, const std::function<bool()>& done) {
    std::wstring line(command.begin(), command.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    const platform::win32::ObjectHandle thread(process.hThread), started(process.hProcess);
    for (int waited = 0; waited < 10000; waited += 20) {
        if (done()) return true;
        Sleep(20);
    }
    return false;
}

inline std::wstring component_name(HWND window) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, L"ComponentName")));
    wchar_t name[256] = {};
    if (atom) GlobalGetAtomNameW(atom, name, 256);
    return name;
}

// Polls until `found` gives a window, for at most `timeout_ms`.
inline HWND wait_for(const std::function<HWND()>& found, int timeout_ms = 20000) {
    for (int waited = 0; waited < timeout_ms; waited += 25) {
        if (HWND window = found()) return window;
        Sleep(25);
    }
    return nullptr;
}

// A visible top-level window of the process with this title (any title when
// empty) and, optionally, this window class.
inline HWND top_window(DWORD process, const std::wstring& title, const wchar_t* cls = nullptr) {
    struct Search {
        DWORD process;
        const std::wstring* title;
        const wchar_t* cls;
        HWND found;
    } search{process, &title, cls, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.process || !IsWindowVisible(window)) return TRUE;
            wchar_t text[512] = {}, cls[64] = {};
            GetWindowTextW(window, text, 512);
            GetClassNameW(window, cls, 64);
            if ((!s.title->empty() && *s.title != text) || (s.cls && lstrcmpW(cls, s.cls) != 0)) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The descendant of `top` whose component name is `name`.
inline HWND component(HWND top, const std::wstring& name) {
    struct Search {
        const std::wstring* name;
        HWND found;
    } search{&name, nullptr};
    EnumChildWindows(
        top,
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            if (component_name(window) != *s.name) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls until the control `name` of `form` is there and visible.
inline HWND visible_component(HWND form, const wchar_t* name, int timeout_ms = 20000) {
    return wait_for([&] {
        HWND control = component(form, name);
        return control && IsWindowVisible(control) ? control : nullptr;
    }, timeout_ms);
}

inline void press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

inline std::wstring text_of(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// A dialog box's message: its first static text or, for the questions
// Wine's shell asks (which draw their text themselves), the text their
// "WINE_CONFIRM" property points at in the owning process.
inline std::wstring dialog_text(HWND box) {
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 32);
            if (lstrcmpW(cls, L"Static") == 0 && IsWindowVisible(child) && GetWindowTextLengthW(child) > 0) {
                *reinterpret_cast<std::wstring*>(param) = text_of(child);
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    const void* shell_text = GetPropW(box, L"WINE_CONFIRM");
    if (!text.empty() || !shell_text) return text;
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    const platform::win32::ObjectHandle process(OpenProcess(PROCESS_VM_READ, FALSE, owner));
    wchar_t buffer[MAX_PATH + 256] = {};
    ReadProcessMemory(process.get(), shell_text, buffer, sizeof(buffer) - sizeof(wchar_t), nullptr);
    return buffer;
}

// Presses OK (or Yes, No...) on the message box of the process with this
// caption, once it shows; returns the box's text, or "" when none came.
inline std::wstring answer_message_box(DWORD process, const std::wstring& caption, int button = IDOK) {
    HWND box = wait_for([&] { return top_window(process, caption, L"#32770"); });
    if (!box) return L"";
    const std::wstring text = dialog_text(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    wait_for([&] { return IsWindow(box) ? nullptr : HWND(1); }, 10000);
    return text;
}

inline std::uint64_t recycle_bin_items() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    return SUCCEEDED(SHQueryRecycleBinW(nullptr, &info)) ? static_cast<std::uint64_t>(info.i64NumItems) : 0;
}

// Memory lent inside the process that owns a window, for the messages whose
// arguments are pointers (a list view's item text and row bounds).
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
        if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    char* at() const { return static_cast<char*>(at_); }
    void write(const void* data, std::size_t size, std::size_t offset = 0) const {
        WriteProcessMemory(process_, at() + offset, data, size, nullptr);
    }
    void read(void* data, std::size_t size, std::size_t offset = 0) const {
        ReadProcessMemory(process_, at() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
};

// The text of one cell of a list view.
inline std::wstring list_cell(HWND list, int row, int column = 0) {
    constexpr int kChars = 1024;
    const RemoteMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!memory.at()) return L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at() + sizeof(LVITEMW));
    item.cchTextMax = kChars;
    memory.write(&item, sizeof(item));
    const auto length = static_cast<std::size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.at())));
    std::wstring text(length, L'\0');
    memory.read(text.data(), length * sizeof(wchar_t), sizeof(LVITEMW));
    return text;
}

// One column of a list view's rows, the first by default.
inline std::vector<std::wstring> list_rows(HWND list, int column = 0) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) rows.push_back(list_cell(list, row, column));
    return rows;
}

// Selects and focuses a list view's row (no NM_CLICK reaches the program).
inline void select_row(HWND list, int row) {
    const RemoteMemory memory(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    memory.write(&item, sizeof(item));
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.at()));
}

// Selects a row and toggles its check box with the space bar, as a user does.
inline void check_row(HWND list, int row) {
    select_row(list, row);
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
}

// Clicks a list view's row with the left mouse button, in the middle of its text.
inline void click_row(HWND list, int row) {
    const RemoteMemory memory(list, sizeof(RECT));
    RECT box{};
    box.left = LVIR_LABEL;
    memory.write(&box, sizeof(box));
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.at()));
    memory.read(&box, sizeof(box));
    const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
}

// Presses an item of the main window's category bar ("CategoryButtons1"):
// the category, then its item, as a user opens a tool's page.
inline void open_item(HWND main, int category, int item) {
    const std::wstring bar = L"CategoryButtons1_Category" + std::to_wstring(category);
    const std::wstring entry = L"CategoryButtons1_Item" + std::to_wstring(category) + L"_" + std::to_wstring(item);
    press(wait_for([&] { return component(main, bar); }));
    press(wait_for([&] { return component(main, entry); }));
}

// Closes a window of the program and waits until its main window shows again.
inline bool close_back_to(HWND window, HWND main) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return wait_for([&] { return IsWindowVisible(main) && !IsWindowVisible(window) ? main : nullptr; }, 10000);
}

}  // namespace automation
