// The real program as a user installs it, for the tests that drive it from
// their own process (the test suite defines VORLINDE_PROGRAM, the program
// built beside it, and VORLINDE_TEST_DATA).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "automation.h"
#include "win32/handles.h"

namespace automation {

// The real program laid out as a user installs it: a copy in a folder of its
// own in the temporary folder, with a Data folder that holds the shipped
// sounds and banner and whatever list files the test writes there. The
// program is ended and the folder, and every folder the test gave it, are
// removed at the end.
class Installation {
public:
    const std::wstring folder, exe;

    explicit Installation(const std::wstring& tag)
        : folder(temp_path() + L"vsc-" + tag + L"-" + std::to_wstring(GetCurrentProcessId())),
          exe(folder + L"\\Vorlinde System Cleaner.exe") {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
        CopyFileW(widen(VORLINDE_PROGRAM).c_str(), exe.c_str(), FALSE);
        for (const char* name : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
            CopyFileW(widen(std::string(VORLINDE_TEST_DATA "/../../data/") + name).c_str(),
                      (folder + L"\\Data\\" + widen(name)).c_str(), FALSE);
        owned_.push_back(folder);
    }
    ~Installation() {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
            const platform::win32::ObjectHandle thread(process_.hThread), started(process_.hProcess);
        }
        delete_trees(owned_);
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    // A folder beside the program's ("-area" gives FOLDER-area), made now.
    std::wstring own(const std::wstring& suffix) { return own_path(folder + suffix); }
    // Any folder, made now; removed with everything in it at the end.
    std::wstring own_path(const std::wstring& path) {
        CreateDirectoryW(path.c_str(), nullptr);
        owned_.push_back(path);
        return path;
    }
    void write_data(const wchar_t* name, const std::string& bytes) const {
        write_file(folder + L"\\Data\\" + name, bytes);
    }

    // Starts the program in its folder; each NAME=value of `changed` takes
    // the place of that variable of this process's environment.
    bool start(std::initializer_list<std::pair<std::wstring, std::wstring>> changed = {}) {
        std::wstring environment;
        const platform::win32::EnvironmentBlock block(GetEnvironmentStringsW());
        for (const wchar_t* entry = block.get(); *entry; entry += lstrlenW(entry) + 1) {
            const std::wstring line = entry;
            bool replaced = false;
            for (const auto& [name, value] : changed) replaced = replaced || line.rfind(name + L"=", 0) == 0;
            if (!replaced) environment += line + L'\0';
        }
        for (const auto& [name, value] : changed) environment += name + L"=" + value + L'\0';
        environment += L'\0';
        std::wstring command = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                              environment.data(), folder.c_str(), &startup, &process_);
    }
    DWORD id() const { return process_.dwProcessId; }

    // The main window, once it shows and has faded in.
    HWND main_window() const {
        HWND main = wait_for([&] { return top_window(id(), L"Vorlinde System Cleaner 1.5"); });
        Sleep(500);
        return main;
    }
    // Whether the program ends, with exit code 0, within `timeout_ms`.
    bool ends_cleanly(DWORD timeout_ms = 20000) const {
        DWORD code = 99;
        return WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(process_.hProcess, &code) && code == 0;
    }
    // Closes the main window, which ends the program.
    bool closes(HWND main) const {
        PostMessageW(main, WM_CLOSE, 0, 0);
        return ends_cleanly();
    }

private:
    PROCESS_INFORMATION process_{};
    std::vector<std::wstring> owned_;
};

}  // namespace automation
