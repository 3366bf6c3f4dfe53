#include <windows.h>
#include <shellapi.h>

#include "platform/paths.h"
#include "win32/handles.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

constexpr DWORD kExportWaitMs = 60000;

class Win32Shell : public Shell {
public:
    Result<RecycleBinInfo> query_recycle_bin() override {
        SHQUERYRBINFO info{};
        info.cbSize = sizeof info;
        const HRESULT hr = SHQueryRecycleBinW(nullptr, &info);
        if (FAILED(hr)) return error_status(static_cast<DWORD>(hr));
        return RecycleBinInfo{static_cast<std::uint64_t>(info.i64NumItems), static_cast<std::uint64_t>(info.i64Size)};
    }

    Status empty_recycle_bin() override {
        // No confirmation; the platform's own progress display may show.
        const HRESULT hr = SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION);
        if (FAILED(hr) && hr != E_UNEXPECTED) return error_status(static_cast<DWORD>(hr));
        return Status::success();
    }

    Status delete_to_recycle_bin(const std::string& path) override {
        if (!is_absolute_path(path) || is_drive_root(path)) return error_status(ERROR_INVALID_NAME);
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        // A missing file is no question for the shell (Wine's would ask
        // whether to delete for good what it cannot find in the bin's way).
        if (GetFileAttributesW(wide->c_str()) == INVALID_FILE_ATTRIBUTES) return last_error();
        // The shell takes no "\\?\" form; the list ends with an empty string.
        std::wstring from = wide->rfind(L"\\\\?\\", 0) == 0 ? wide->substr(4) : *wide;
        from.push_back(L'\0');
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        // Where the shell would still delete the file for good (it cannot
        // move it to the bin), it asks first.
        op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING;
        const int r = SHFileOperationW(&op);
        if (r != 0) return Status::failure("Не удалось удалить в корзину: " + path + " (код " + std::to_string(r) + ").");
        if (op.fAnyOperationsAborted) return Status::failure("Удаление в корзину прервано: " + path + ".");
        return Status::success();
    }

    Status open(const std::string& verb, const std::string& target, const std::string& parameters) override {
        const std::wstring w_verb = widen(verb), w_target = widen(target), w_parameters = widen(parameters);
        const auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, verb.empty() ? nullptr : w_verb.c_str(),
                                                               w_target.c_str(),
                                                               parameters.empty() ? nullptr : w_parameters.c_str(),
                                                               nullptr, SW_SHOWNORMAL));
        if (r > 32) return Status::success();
        return error_status(r == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : static_cast<DWORD>(r));
    }

    Status run_command_line(const std::string& command_line) override {
        std::wstring line = widen(command_line);
        if (line.empty()) return error_status(ERROR_FILE_NOT_FOUND);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return last_error();
        // Nothing waits for the program: its handles are closed at once.
        const ObjectHandle thread(process.hThread), started(process.hProcess);
        return Status::success();
    }

    Status export_registry_key(const std::string& key, const std::string& file) override {
        if (!is_absolute_path(file)) return error_status(ERROR_INVALID_NAME);
        const std::wstring parameters = L"/e \"" + widen(file) + L"\" \"" + widen(key) + L"\"";
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        info.lpVerb = L"open";
        info.lpFile = L"regedit.exe";
        info.lpParameters = parameters.c_str();
        info.nShow = SW_SHOWDEFAULT;
        if (!ShellExecuteExW(&info)) return last_error();
        const ObjectHandle process(info.hProcess);
        if (!process) return Status::failure("Редактор реестра не запустился.");
        const DWORD waited = WaitForSingleObject(process.get(), kExportWaitMs);
        DWORD code = 1;
        GetExitCodeProcess(process.get(), &code);
        if (waited != WAIT_OBJECT_0) return Status::failure("Редактор реестра не закончил работу вовремя.");
        const auto target = wide_path(file);
        const bool written = target && GetFileAttributesW(target->c_str()) != INVALID_FILE_ATTRIBUTES;
        if (code != 0 || !written) return Status::failure("Редактор реестра не сохранил раздел " + key + ".");
        return Status::success();
    }
};

}  // namespace

Shell& shell() {
    static Win32Shell instance;
    return instance;
}

}  // namespace platform::win32
