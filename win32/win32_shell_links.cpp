#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/shell_link_format.h"
#include "win32/handles.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

// Whether the file starts as a shortcut does: most files a search offers are
// not shortcuts, and a shell link object made for each of them would cost far
// more than this one small read.
bool starts_as_shortcut(const std::wstring& path) {
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char header[kShellLinkHeaderSignature];
    DWORD got = 0;
    const BOOL read = ReadFile(file.get(), header, sizeof header, &got, nullptr);
    return read && starts_as_shell_link(std::string_view(header, got));
}

void ensure_com() {
    // Once, on the program's one thread; a thread that has COM already keeps it.
    static const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)initialised;
}

class Win32ShellLinks : public ShellLinks {
public:
    // The path the item list spells comes first: Windows' own GetPath takes
    // it from there, and it keeps names that the ANSI part of the link could
    // not hold. A target that has no cp1251 form reads as empty.
    std::string read_target(const std::string& link_path) override {
        auto wide = wide_path(link_path);
        if (!wide) return "";
        // A missing path and a folder cannot be opened for reading here.
        if (!starts_as_shortcut(*wide)) return "";
        ensure_com();
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.out())) ||
            FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
            return "";
        const std::wstring plain = wide->rfind(L"\\\\?\\", 0) == 0 ? wide->substr(4) : *wide;
        if (FAILED(file->Load(plain.c_str(), STGM_READ))) return "";
        wchar_t buffer[MAX_PATH + 1] = {};
        PIDLIST_ABSOLUTE ids = nullptr;
        if (SUCCEEDED(link->GetIDList(&ids)) && ids) {
            const TaskMemory owned(ids);
            if (!SHGetPathFromIDListW(ids, buffer)) buffer[0] = 0;
        }
        if (!buffer[0]) {
            if (FAILED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_UNCPRIORITY))) buffer[0] = 0;
        }
        buffer[MAX_PATH] = 0;
        auto target = narrow(buffer);
        return target ? *target : "";
    }

    Status write(const std::string& link_path, const std::string& target, const std::string& description,
                 const std::string& arguments) override {
        auto wide = wide_path(link_path);
        if (!wide) return wide.status();
        ensure_com();
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      link.out());
        if (SUCCEEDED(hr)) hr = link->SetArguments(widen(arguments).c_str());
        if (SUCCEEDED(hr)) hr = link->SetDescription(widen(description).c_str());
        if (SUCCEEDED(hr)) hr = link->SetPath(widen(target).c_str());
        if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistFile, file.out());
        const std::wstring plain = wide->rfind(L"\\\\?\\", 0) == 0 ? wide->substr(4) : *wide;
        if (SUCCEEDED(hr)) hr = file->Save(plain.c_str(), FALSE);
        return SUCCEEDED(hr) ? Status::success() : error_status(static_cast<DWORD>(hr));
    }
};

}  // namespace

ShellLinks& shell_links() {
    static Win32ShellLinks instance;
    return instance;
}

}  // namespace platform::win32
