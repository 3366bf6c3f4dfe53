#pragma once
// Owning wrappers of the system's handles: each closes what it holds when it
// goes out of scope (an exception included), is never copied, and hands its
// handle on when moved. Nothing else in the backend closes a handle by hand.
#include <windows.h>
#include <objbase.h>
#include <uxtheme.h>
#include <wininet.h>

#include <utility>

namespace platform::win32 {

// A handle of the kind `Traits` describes: its empty value and how it closes.
template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::empty(); }
    // Closes what is held and takes `handle` instead.
    void reset(Handle handle = Traits::empty()) {
        if (handle_ != Traits::empty()) Traits::close(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, Traits::empty()); }
    // For the functions that hand a new handle back through a pointer.
    Handle* out() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::empty();
};

struct FindTraits {
    using Handle = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
struct FileTraits {
    using Handle = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
// Processes, threads and the other kernel objects whose "none" is null.
struct ObjectTraits {
    using Handle = HANDLE;
    static HANDLE empty() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct KeyTraits {
    using Handle = HKEY;
    static HKEY empty() { return nullptr; }
    static void close(HKEY h) { RegCloseKey(h); }
};
struct InternetTraits {
    using Handle = HINTERNET;
    static HINTERNET empty() { return nullptr; }
    static void close(HINTERNET h) { InternetCloseHandle(h); }
};
template <class T>
struct GdiTraits {
    using Handle = T;
    static T empty() { return nullptr; }
    static void close(T h) { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static HICON empty() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static HMENU empty() { return nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
struct ThemeTraits {
    using Handle = HTHEME;
    static HTHEME empty() { return nullptr; }
    static void close(HTHEME h) { CloseThemeData(h); }
};
// Memory the system allocated with LocalAlloc (FormatMessage's buffer).
struct LocalTraits {
    using Handle = void*;
    static void* empty() { return nullptr; }
    static void close(void* p) { LocalFree(p); }
};
// The block GetEnvironmentStringsW hands out.
struct EnvironmentTraits {
    using Handle = wchar_t*;
    static wchar_t* empty() { return nullptr; }
    static void close(wchar_t* p) { FreeEnvironmentStringsW(p); }
};
// Memory COM allocated (item lists, strings a shell interface returns).
struct TaskMemoryTraits {
    using Handle = void*;
    static void* empty() { return nullptr; }
    static void close(void* p) { CoTaskMemFree(p); }
};

using FindHandle = Owned<FindTraits>;
using FileHandle = Owned<FileTraits>;
using ObjectHandle = Owned<ObjectTraits>;
using KeyHandle = Owned<KeyTraits>;
using InternetHandle = Owned<InternetTraits>;
template <class T>
using GdiObject = Owned<GdiTraits<T>>;
using IconHandle = Owned<IconTraits>;
using MenuHandle = Owned<MenuTraits>;
using ThemeHandle = Owned<ThemeTraits>;
using LocalMemory = Owned<LocalTraits>;
using TaskMemory = Owned<TaskMemoryTraits>;
using EnvironmentBlock = Owned<EnvironmentTraits>;

// A COM interface pointer, released at the end of its life.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    // For CoCreateInstance and QueryInterface.
    void** out() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }

private:
    T* p_ = nullptr;
};

// A device context made with CreateCompatibleDC.
struct DcTraits {
    using Handle = HDC;
    static HDC empty() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};
using MemoryDc = Owned<DcTraits>;

// A window's device context, released to the window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// COM on this thread for as long as it lives (when it was not there before).
class ComScope {
public:
    ComScope() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (started_) CoUninitialize();
    }

private:
    bool started_;
};

}  // namespace platform::win32
