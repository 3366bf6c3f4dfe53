// The release packages under Wine, as a user gets them: the installer run
// silently, the installed program started from its folder and uninstalled
// silently; the portable zip (unpacked by the test's driver into a fresh
// folder) started from there. Run by scripts/release-test in a prefix of
// their own, never the test suite's shared one.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "../automation.h"
#include "app/version.h"

using namespace automation;

namespace {

const std::wstring kProgram = L"Vorlinde System Cleaner";
const std::wstring kExe = kProgram + L".exe";
const std::wstring kTitle = widen("Vorlinde System Cleaner " VORLINDE_VERSION_SHORT);
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kProgram;
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? widen(value) : L"";
}

std::wstring shell_folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Names and sizes of the files of a folder (not below it).
std::set<std::wstring> files_of(const std::wstring& folder) {
    std::set<std::wstring> files;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        files.insert(name + L" " + std::to_wstring(entry.nFileSizeLow));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return files;
}

// Runs a command line and waits for it; its exit code, or -1.
long run(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// The program started from `exe`, and closed (expecting a clean end) when
// this goes out of scope.
class Started {
public:
    explicit Started(const std::wstring& exe) {
        std::wstring command = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            return;
        // The first start in a fresh prefix may take a while on a busy machine.
        main_ = wait_for([&] { return top_window(id(), kTitle, L"VorlindeForm"); }, 60000);
    }
    ~Started() {
        if (!process_.hProcess) return;
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (!main_ || WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 99);
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        EXPECT_EQ(code, 0u) << (main_ ? "" : "no main window within 60 s");
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    DWORD id() const { return process_.dwProcessId; }
    HWND main() const { return main_; }

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// The program shows its main window and no message box beside it.
void expect_program_starts(const std::wstring& exe) {
    Started program(exe);
    EXPECT_NE(program.main(), nullptr) << "no main window";
    EXPECT_EQ(top_window(program.id(), L"", L"#32770"), nullptr) << "a message box at start";
}

// Every file of the source's data folder is in the program's Data folder, as
// shipped (the program may have added its own).
void expect_shipped_data(const std::wstring& data) {
    const auto shipped = files_of(widen(VORLINDE_SHIPPED_DATA));
    ASSERT_FALSE(shipped.empty());
    const auto present = files_of(data);
    for (const auto& file : shipped) EXPECT_TRUE(present.count(file)) << "missing in Data: " << file;
}

std::wstring registry_text(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return L"<none>";
    return text;
}

std::wstring link_target(const std::wstring& link) {
    wchar_t target[MAX_PATH] = {};
    IShellLinkW* shell_link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shell_link))))
        return L"";
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell_link->QueryInterface(IID_PPV_ARGS(&file)))) {
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ))) shell_link->GetPath(target, MAX_PATH, nullptr, 0);
        file->Release();
    }
    shell_link->Release();
    return target;
}

bool same_path(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

}  // namespace

TEST(Installer, InstallsStartsAndUninstallsSilentlyKeepingOnlyTheData) {
    const std::wstring setup = environment("VORLINDE_SETUP");
    ASSERT_TRUE(exists(setup)) << "no installer; build it with scripts/release.sh";
    CoInitialize(nullptr);

    const std::wstring folder = shell_folder(CSIDL_PROGRAM_FILES) + L"\\" + kProgram;
    const std::wstring exe = folder + L"\\" + kExe;
    const std::wstring start_menu = shell_folder(CSIDL_COMMON_PROGRAMS) + L"\\" + kProgram + L".lnk";
    const std::wstring desktop = shell_folder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + kProgram + L".lnk";
    ASSERT_FALSE(exists(folder)) << "the prefix is not fresh";

    ASSERT_EQ(run(L"\"" + setup + L"\" /S"), 0);
    ASSERT_TRUE(exists(exe));
    expect_shipped_data(folder + L"\\Data");
    EXPECT_TRUE(same_path(link_target(start_menu), exe)) << link_target(start_menu);
    EXPECT_TRUE(same_path(link_target(desktop), exe)) << link_target(desktop);

    EXPECT_EQ(registry_text(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), kProgram);
    EXPECT_EQ(registry_text(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), widen(VORLINDE_VERSION_TEXT));
    EXPECT_EQ(registry_text(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Vorlinde");
    EXPECT_EQ(registry_text(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), exe + L",0");
    const std::wstring uninstall = registry_text(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString");
    EXPECT_EQ(uninstall, L"\"" + folder + L"\\uninstall.exe\"");
    DWORD kilobytes = 0, size = sizeof(kilobytes);
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey.c_str(), L"EstimatedSize", RRF_RT_REG_DWORD, nullptr,
                           &kilobytes, &size),
              ERROR_SUCCESS);
    EXPECT_GT(kilobytes, 100u);

    expect_program_starts(exe);

    // Started as it stands, the uninstaller copies itself to TEMP, starts the
    // copy and ends at once; the test does the same, with "_?=" naming the
    // folder, and waits for the copy.
    const std::wstring uninstaller = uninstall.substr(1, uninstall.size() - 2);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = temp + std::wstring(L"vsc-uninstall.exe");
    ASSERT_TRUE(CopyFileW(uninstaller.c_str(), copy.c_str(), FALSE));
    {
        Started program(exe);
        EXPECT_NE(run(L"\"" + copy + L"\" /S _?=" + folder), 0) << "uninstalled while running";
        EXPECT_TRUE(exists(exe));
    }
    // What the program itself may leave goes with it: the autostart value and
    // the user's shortcuts its settings page writes, an update download.
    const std::wstring user_desktop = shell_folder(CSIDL_DESKTOPDIRECTORY) + L"\\" + kProgram + L".lnk";
    const std::wstring user_start_menu = shell_folder(CSIDL_PROGRAMS) + L"\\" + kProgram + L".lnk";
    for (const auto& file : {user_desktop, user_start_menu, folder + L"\\new.~"})
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::wstring autostart = L"\"" + exe + L"\"";
    RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey.c_str(), L"Vorlinde SC", REG_SZ, autostart.c_str(),
                    static_cast<DWORD>((autostart.size() + 1) * sizeof(wchar_t)));
    ASSERT_EQ(run(L"\"" + copy + L"\" /S _?=" + folder), 0);
    DeleteFileW(copy.c_str());

    EXPECT_EQ(files_of(folder), std::set<std::wstring>{L"Data 0"}) << "only the kept Data folder stays";
    expect_shipped_data(folder + L"\\Data");
    EXPECT_FALSE(exists(start_menu));
    EXPECT_FALSE(exists(desktop));
    EXPECT_FALSE(exists(user_start_menu));
    EXPECT_FALSE(exists(user_desktop));
    EXPECT_EQ(registry_text(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"<none>");
    EXPECT_EQ(registry_text(HKEY_CURRENT_USER, kRunKey, L"Vorlinde SC"), L"<none>");
    CoUninitialize();
}

// The program's own uninstall page, once it exists, should list this entry
// and uninstall the program through it: a case for the test above.

TEST(Portable, StartsFromItsUnpackedFolderWithTheDataItShips) {
    const std::wstring folder = environment("VORLINDE_PORTABLE") + L"\\" + kProgram;
    ASSERT_TRUE(exists(folder + L"\\" + kExe)) << "nothing unpacked";
    EXPECT_TRUE(exists(folder + L"\\README.txt"));
    expect_shipped_data(folder + L"\\Data");
    expect_program_starts(folder + L"\\" + kExe);
}
