// Benchmark of the temporary-file search window under Windows or Wine (not a
// test): the real window searches a folder of many *.tmp files and fills its
// result list, then deletes every tenth row's file as "  Удалить выбранные
// файлы" does, to the recycle bin or for good. A thread answers the window's
// message boxes and notes when each one appeared.
//
//   search_window_bench FOLDER bin|permanent
//
// FOLDER is a Windows path (under Wine, Z:\... reaches the host's files).
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "junk/temp_search.h"
#include "junk/temp_search_window.h"
#include "platform/win32/ui_toolkit.h"
#include "platform/win32/win32_platform.h"
#include "search/drives.h"
#include "store/data_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Presses OK on every message box of the program's thread, noting when it
// was seen and what it said.
class BoxAnswerer {
public:
    explicit BoxAnswerer(DWORD thread) : thread_(thread), worker_([this] { run(); }) {}
    ~BoxAnswerer() {
        done_ = true;
        worker_.join();
    }
    // The time the next box appeared and its text, serving the program's
    // messages until it was answered.
    std::pair<Clock::time_point, std::string> next(platform::win32::UiToolkit& toolkit) {
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (taken_ < seen_.size()) return seen_[taken_++];
            }
            toolkit.process_messages();
            Sleep(1);
        }
    }

private:
    void run() {
        while (!done_) {
            HWND box = nullptr;
            EnumThreadWindows(
                thread_,
                [](HWND window, LPARAM found) -> BOOL {
                    wchar_t cls[16] = {};
                    GetClassNameW(window, cls, 16);
                    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
                    *reinterpret_cast<HWND*>(found) = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&box));
            if (box && box != last_) {
                const auto when = Clock::now();
                wchar_t text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 512);  // the static text of a message box
                char narrow[512] = {};
                WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    seen_.emplace_back(when, narrow);
                }
                last_ = box;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(1);
        }
    }

    DWORD thread_;
    std::atomic<bool> done_{false};
    HWND last_ = nullptr;
    std::mutex mutex_;
    std::vector<std::pair<Clock::time_point, std::string>> seen_;
    std::size_t taken_ = 0;
    std::thread worker_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::string(argv[2]) != "bin" && std::string(argv[2]) != "permanent")) {
        std::fprintf(stderr, "usage: search_window_bench FOLDER bin|permanent\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto& services = platform::win32::instance();
    const std::string program = store::DataFolder::folder_of(services.system.executable_path());
    const store::DataFolder data(services.fs, program);
    static_cast<void>(services.fs.create_folder(program + "Data"));  // it may be there already
    data.rewrite("tf_mask.txt", {"tmp"});
    data.rewrite("tf_dirs.txt", {folder});
    for (const char* name : {"tf_drives.txt", "tf_dirs_ex.txt", "tf_files_ex.txt", "tf_date.txt"})
        if (data.exists(name)) data.rewrite(name, {});

    // The engine alone, to tell the search from the filling of the list.
    struct : search::WalkProgress {
        void walk_started(std::size_t, const std::string&) override {}
        void walking(std::size_t, const std::string&) override {}
    } quiet;
    platform::win32::UiToolkit toolkit;
    platform::StopRequest stop;
    auto start = Clock::now();
    const auto found = junk::run_temp_search(junk::TempSearchSettings::load(data, services.registry, {}), services,
                                             toolkit.pump(), stop, quiet)
                           .rows.size();
    const double engine = seconds(start, Clock::now());

    ui::Form main(toolkit, "Form1");
    search::DriveSelection drives;
    junk::TempSearchWindow window(toolkit, services, data, drives, main);
    BoxAnswerer boxes(GetCurrentThreadId());

    start = Clock::now();
    window.show();  // activation runs the search, which ends with a message box
    const auto [searched, search_text] = boxes.next(toolkit);
    toolkit.flush();
    const int rows = window.results().count();

    for (int row = 0; row < rows; row += 10) window.results().set_checked(row, true);
    const int checked = window.results().checked_count();
    window.to_recycle_bin().set_checked(std::string(argv[2]) == "bin");
    const auto deleting = Clock::now();
    window.delete_checked_button().click();
    const auto [deleted, delete_text] = boxes.next(toolkit);
    toolkit.flush();
    const int left = window.results().count();

    std::printf("search window under Wine, %s:\n", argv[2]);
    std::printf("  engine alone:           %.3f s, %zu files\n", engine, found);
    std::printf("  window search and fill: %.3f s, %d rows (the fill: about %.3f s)\n", seconds(start, searched), rows,
                seconds(start, searched) - engine);
    std::printf("  delete %d checked:   %.3f s, %d rows left\n", checked, seconds(deleting, deleted), left);
    std::printf("  messages: \"%s\" / \"%s\"\n", search_text.c_str(), delete_text.c_str());
    window.close();
    return 0;
}
