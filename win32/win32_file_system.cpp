#include <windows.h>

#include "platform/paths.h"
#include "win32/handles.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

FileTime to_file_time(const FILETIME& t) {
    return static_cast<FileTime>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

Result<FileIdentity> identity_of(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return last_error();
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

class Win32File : public File {
public:
    explicit Win32File(FileHandle handle) : handle_(std::move(handle)) {}

    Result<std::uint64_t> length() override {
        if (!handle_) return error_status(ERROR_INVALID_HANDLE);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_.get(), &size)) return last_error();
        return static_cast<std::uint64_t>(size.QuadPart);
    }
    Result<FileIdentity> identity() override {
        if (!handle_) return error_status(ERROR_INVALID_HANDLE);
        return identity_of(handle_.get());
    }
    Result<std::size_t> read(void* buffer, std::size_t count) override {
        if (!handle_) return error_status(ERROR_INVALID_HANDLE);
        DWORD got = 0;
        const DWORD want = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        if (!ReadFile(handle_.get(), buffer, want, &got, nullptr)) return last_error();
        return static_cast<std::size_t>(got);
    }
    Status write(const void* data, std::size_t count) override {
        if (!handle_) return error_status(ERROR_INVALID_HANDLE);
        const char* p = static_cast<const char*>(data);
        while (count > 0) {
            DWORD put = 0;
            const DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
            if (!WriteFile(handle_.get(), p, chunk, &put, nullptr)) return last_error();
            if (put == 0) return error_status(ERROR_WRITE_FAULT);
            p += put;
            count -= put;
        }
        return Status::success();
    }
    Status seek_to_start() override {
        LARGE_INTEGER zero{};
        if (!handle_ || !SetFilePointerEx(handle_.get(), zero, nullptr, FILE_BEGIN)) return last_error();
        return Status::success();
    }
    Status flush() override {
        if (!handle_ || !FlushFileBuffers(handle_.get())) return last_error();
        return Status::success();
    }
    void close() override { handle_.reset(); }
    void seek_to_end() {
        LARGE_INTEGER zero{};
        SetFilePointerEx(handle_.get(), zero, nullptr, FILE_END);
    }

private:
    FileHandle handle_;
};

class Win32FileSystem : public FileSystem {
public:
    Status enumerate(const std::string& folder, const Visitor& visit) override {
        auto wide = wide_path(folder);
        if (!wide) return wide.status();
        std::wstring pattern = *wide;
        if (pattern.back() != L'\\') pattern += L'\\';
        pattern += L'*';
        WIN32_FIND_DATAW data;
        // Closed however the walk ends, a visitor's exception included.
        FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
        if (!find) {
            const DWORD error = GetLastError();
            // A drive root has no "." and "..": an empty one lists nothing.
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return Status::success();
            return error_status(error);
        }
        DirEntry entry;
        do {
            const wchar_t* name = data.cFileName;
            if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
            entry.name = narrow_lossy(name, &entry.unrepresentable);
            entry.attributes = data.dwFileAttributes;
            entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            entry.last_write = to_file_time(data.ftLastWriteTime);
            if (!visit(entry)) break;
        } while (FindNextFileW(find.get(), &data));
        return Status::success();
    }

    std::optional<std::uint32_t> attributes(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return std::nullopt;
        const DWORD a = GetFileAttributesW(wide->c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return a;
    }

    std::optional<DirEntry> entry(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide || is_drive_root(path)) return std::nullopt;
        WIN32_FIND_DATAW data;
        if (!FindHandle(FindFirstFileExW(wide->c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)))
            return std::nullopt;
        DirEntry e;
        e.name = narrow_lossy(data.cFileName, &e.unrepresentable);
        e.attributes = data.dwFileAttributes;
        e.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        e.last_write = to_file_time(data.ftLastWriteTime);
        return e;
    }

    Result<FileIdentity> identity(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        const FileHandle h(CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h) return last_error();
        return identity_of(h.get());
    }

    Result<std::string> final_path(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        const FileHandle h(CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h) return last_error();
        std::wstring target(MAX_PATH, L'\0');
        DWORD n = GetFinalPathNameByHandleW(h.get(), target.data(), static_cast<DWORD>(target.size()), VOLUME_NAME_DOS);
        if (n >= target.size()) {
            target.resize(n + 1);
            n = GetFinalPathNameByHandleW(h.get(), target.data(), static_cast<DWORD>(target.size()), VOLUME_NAME_DOS);
        }
        const DWORD error = GetLastError();
        if (n == 0 || n >= target.size()) return error_status(error);
        target.resize(n);
        if (target.rfind(L"\\\\?\\UNC\\", 0) == 0) target = L"\\\\" + target.substr(8);
        else if (target.rfind(L"\\\\?\\", 0) == 0) target = target.substr(4);
        auto narrowed = narrow(target);
        if (!narrowed) return error_status(ERROR_INVALID_NAME);
        return *narrowed;
    }

    std::optional<std::string> host_path(const std::string& path) override {
        const auto wide = wide_path(path);
        if (!wide || GetFileAttributesW(wide->c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide->c_str(), -1, nullptr, 0,
                                                                      nullptr, nullptr)), '\0');
        if (utf8.empty()) return std::nullopt;
        WideCharToMultiByte(CP_UTF8, 0, wide->c_str(), -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
        utf8.pop_back();  // the terminating zero
        return utf8;
    }

    Result<CalendarDate> last_write_date(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) return last_error();
        return local_date(to_file_time(data.ftLastWriteTime));
    }

    Result<CalendarDate> local_date(FileTime time) override {
        FILETIME utc{static_cast<DWORD>(static_cast<std::uint64_t>(time) & 0xFFFFFFFF),
                     static_cast<DWORD>(static_cast<std::uint64_t>(time) >> 32)};
        FILETIME local{};
        WORD date = 0, clock = 0;
        if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &clock)) return last_error();
        return CalendarDate{(date >> 9) + 1980, (date >> 5) & 15, date & 31};
    }

    std::optional<std::string> reported_name(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide || is_drive_root(path)) return std::nullopt;
        WIN32_FIND_DATAW data;
        if (!FindHandle(FindFirstFileExW(wide->c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)))
            return std::nullopt;
        return narrow(data.cFileName);
    }

    Status delete_file(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        return DeleteFileW(wide->c_str()) ? Status::success() : last_error();
    }

    Status set_attributes(const std::string& path, std::uint32_t attributes) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        return SetFileAttributesW(wide->c_str(), attributes) ? Status::success() : last_error();
    }

    Status remove_folder(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        if (is_drive_root(path)) return error_status(ERROR_ACCESS_DENIED);
        return RemoveDirectoryW(wide->c_str()) ? Status::success() : last_error();
    }

    Status create_folder(const std::string& path) override {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        return CreateDirectoryW(wide->c_str(), nullptr) ? Status::success() : last_error();
    }

    Result<std::unique_ptr<File>> open(const std::string& path, Access access, Share share) override {
        const DWORD rights = access == Access::read    ? GENERIC_READ
                             : access == Access::write ? GENERIC_WRITE
                                                       : GENERIC_READ | GENERIC_WRITE;
        const DWORD sharing = share == Share::none ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
        return open_handle(path, rights, sharing, OPEN_EXISTING);
    }

    Result<std::unique_ptr<File>> create(const std::string& path) override {
        return open_handle(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    }

    Result<std::unique_ptr<File>> open_for_append(const std::string& path) override {
        auto file = open_handle(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        if (file) static_cast<Win32File&>(**file).seek_to_end();
        return file;
    }

    std::vector<LogicalDrive> logical_drives() override {
        std::vector<LogicalDrive> drives;
        wchar_t buffer[512];
        const DWORD n = GetLogicalDriveStringsW(512, buffer);
        if (n == 0 || n > 512) return drives;
        for (const wchar_t* p = buffer; *p; p += wcslen(p) + 1) {
            if (auto root = narrow(p)) drives.push_back({*root, static_cast<DriveType>(GetDriveTypeW(p))});
        }
        return drives;
    }

    DriveType drive_type(const std::string& root) override {
        if (root.size() < 2 || root[1] != ':') return DriveType::no_root;
        const std::wstring wide = widen(root.substr(0, 2)) + L"\\";
        return static_cast<DriveType>(GetDriveTypeW(wide.c_str()));
    }

    std::optional<std::string> volume_guid(const std::string& root) override {
        if (root.size() < 2 || root[1] != ':') return std::nullopt;
        const std::wstring wide = widen(root.substr(0, 2)) + L"\\";
        wchar_t name[64] = {};
        if (!GetVolumeNameForVolumeMountPointW(wide.c_str(), name, 64)) return std::nullopt;
        // "\\?\Volume{GUID}\"
        const std::wstring text = name;
        const auto open = text.find(L'{'), close = text.find(L'}');
        if (open == std::wstring::npos || close == std::wstring::npos || close < open) return std::nullopt;
        return narrow(text.substr(open, close - open + 1));
    }

private:
    Result<std::unique_ptr<File>> open_handle(const std::string& path, DWORD rights, DWORD sharing, DWORD disposition) {
        auto wide = wide_path(path);
        if (!wide) return wide.status();
        FileHandle h(CreateFileW(wide->c_str(), rights, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) return last_error();
        return std::unique_ptr<File>(std::make_unique<Win32File>(std::move(h)));
    }
};

}  // namespace

FileSystem& file_system() {
    static Win32FileSystem instance;
    return instance;
}

}  // namespace platform::win32
