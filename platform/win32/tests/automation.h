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

#include "platform/win32/handles.h"

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

// Presses OK (or Yes) on the message box of the process with this caption,
// once it shows; returns the box's text, or "" when none came.
inline std::wstring answer_message_box(DWORD process, const std::wstring& caption, int button = IDOK) {
    HWND box = wait_for([&] { return top_window(process, caption, L"#32770"); });
    if (!box) return L"";
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 32);
            if (lstrcmpW(cls, L"Static") == 0 && GetWindowTextLengthW(child) > 0) {
                *reinterpret_cast<std::wstring*>(param) = text_of(child);
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
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

// The first cells of a list view's rows, or the cells of another column.
inline std::vector<std::wstring> list_rows(HWND list, int column = 0) {
    constexpr int kChars = 1024;
    std::vector<std::wstring> rows;
    const RemoteMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!memory.at()) return rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<wchar_t*>(memory.at() + sizeof(LVITEMW));
        item.cchTextMax = kChars;
        memory.write(&item, sizeof(item));
        const auto length = static_cast<std::size_t>(
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.at())));
        std::wstring text(length, L'\0');
        memory.read(text.data(), length * sizeof(wchar_t), sizeof(LVITEMW));
        rows.push_back(text);
    }
    return rows;
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

}  // namespace automation
