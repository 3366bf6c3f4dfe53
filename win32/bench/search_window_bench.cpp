// Benchmark of the result windows under Windows or Wine (not a test): a real
// window searches a folder holding 100,000 findings and fills its result
// list; every tenth row is checked and deleted as its delete button does, to
// the recycle bin or for good. The floor is the same files deleted one by
// one by the same platform call, in the window's order, in the same run,
// twice before and twice after the window (the files are made again for
// each run). A thread answers the window's message boxes and notes when
// each one appeared.
//
//   search_window_bench temp|links|empty-dirs FOLDER bin|permanent
//   search_window_bench link FILE
//
// FOLDER is a Windows path (under Wine, Z:\... reaches the host's files)
// holding the findings, or a missing folder in which the bench makes them
// (slowly under Wine: scripts/bench.sh makes them on the host, copying the
// shortcut that "link" writes):
//   temp        100 folders of 1,000 empty *.tmp files
//   links       100 folders of 1,000 shortcuts to a missing program
//   empty-dirs  100 folders of 1,000 empty folders (removed for good only)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "emptydirs/empty_dirs_window.h"
#include "junk/temp_search_window.h"
#include "platform/shell_link_format.h"
#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"
#include "search/drives.h"
#include "shortcuts/links_search_window.h"
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

// One kind of finding: how one is made, which list files lead the search to
// the folder, and how the floor removes one.
struct Kind {
    std::function<void(platform::Platform&, const std::string& path)> make;
    std::string name_pattern;  // "file%04d.tmp"
    std::function<void(const store::DataFolder&, const std::string& folder)> settings;
    std::function<bool(platform::Platform&, const std::string& path, bool to_bin)> floor;
};

void write_file(platform::Platform& services, const std::string& path, const std::string& bytes) {
    if (auto file = services.fs.create(path)) static_cast<void>((*file)->write(bytes.data(), bytes.size()));
}

bool delete_file(platform::Platform& services, const std::string& path, bool to_bin) {
    if (to_bin) return services.shell.delete_to_recycle_bin(path).ok();
    static_cast<void>(services.fs.set_attributes(path, 0));
    return services.fs.delete_file(path).ok();
}

void clear_lists(const store::DataFolder& data, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (data.exists(name)) data.rewrite(name, {});
}

Kind kind_named(const std::string& name) {
    if (name == "temp")
        return {[](platform::Platform& s, const std::string& path) { write_file(s, path, ""); }, "file%04d.tmp",
                [](const store::DataFolder& data, const std::string& folder) {
                    data.rewrite("tf_mask.txt", {"tmp"});
                    data.rewrite("tf_dirs.txt", {folder});
                    clear_lists(data, {"tf_drives.txt", "tf_dirs_ex.txt", "tf_files_ex.txt", "tf_date.txt"});
                },
                delete_file};
    if (name == "links") {
        const std::string link = platform::encode_shell_link({"C:\\Removed Program\\program.exe", "", "", "", false});
        return {[link](platform::Platform& s, const std::string& path) { write_file(s, path, link); },
                "link%04d.lnk",
                [](const store::DataFolder& data, const std::string& folder) {
                    if (data.exists("bl_optimal.txt")) data.remove("bl_optimal.txt");
                    data.rewrite("bl_dirs.txt", {folder});
                    clear_lists(data, {"bl_drives.txt", "bl_dirs_ex.txt", "bl_shortdirs_ex.txt"});
                },
                delete_file};
    }
    return {[](platform::Platform& s, const std::string& path) { static_cast<void>(s.fs.create_folder(path)); },
            "folder%04d",
            [](const store::DataFolder& data, const std::string& folder) {
                data.rewrite("ed_empty.txt", {});
                data.rewrite("ed_dirs.txt", {folder});
                clear_lists(data, {"ed_drives.txt", "ed_dirs_ex.txt", "ed_shortdirs_ex.txt"});
            },
            [](platform::Platform& s, const std::string& path, bool) { return s.fs.remove_folder(path).ok(); }};
}

struct Figures {
    double search = 0, floor = 0, deletion = 0;
    std::vector<double> floor_runs;
    int rows = 0, checked = 0, left = 0, floor_failed = 0;
    std::string search_text, delete_text;
};

// Searches with the window, deletes every tenth row's file by the platform
// call (the floor), makes those files again, then deletes them with the
// window.
template <class Window>
Figures measure(Window& window, ui::ListView& results, ui::Button& delete_button, ui::CheckBox* to_bin_box,
                bool to_bin, platform::win32::UiToolkit& toolkit, platform::Platform& services, const Kind& kind) {
    Figures f;
    BoxAnswerer boxes(GetCurrentThreadId());
    auto start = Clock::now();
    window.show();  // activation runs the search, which ends with a message box
    auto [searched, search_text] = boxes.next(toolkit);
    toolkit.flush();
    f.search = seconds(start, searched);
    f.search_text = search_text;
    f.rows = results.count();

    // The rows the window deletes, in the order it deletes them.
    std::vector<std::string> doomed;
    for (int row = f.rows - 1 - (f.rows - 1) % 10; row >= 0; row -= 10) doomed.push_back(results.text(row));
    // The floor and the window delete files made alike, by the platform
    // (under Wine, files made by the host went to the bin about three times
    // faster than the same files made again by the program).
    const auto make_anew = [&] {
        for (const auto& path : doomed) {
            static_cast<void>(services.fs.set_attributes(path, 0));
            static_cast<void>(services.fs.delete_file(path));
            static_cast<void>(services.fs.remove_folder(path));
            kind.make(services, path);
        }
        // Each meets an empty bin (the bin's work for a name grows with the
        // files of that name it already holds).
        if (to_bin) static_cast<void>(services.shell.empty_recycle_bin());
    };
    // The floor runs twice before the window and twice after it; its figure
    // is the median of the four (the mean of the middle two), so that a
    // change of the machine's load meanwhile hits both sides and one run
    // that the file system held up does not count.
    const auto floor = [&] {
        for (int run = 0; run < 2; ++run) {
            make_anew();
            const auto from = Clock::now();
            for (const auto& path : doomed) f.floor_failed += !kind.floor(services, path, to_bin);
            f.floor_runs.push_back(seconds(from, Clock::now()));
        }
    };
    floor();
    make_anew();

    for (int row = 0; row < f.rows; row += 10) results.set_checked(row, true);
    f.checked = results.checked_count();
    if (to_bin_box) to_bin_box->set_checked(to_bin);
    start = Clock::now();
    delete_button.click();
    auto [deleted, delete_text] = boxes.next(toolkit);
    toolkit.flush();
    f.deletion = seconds(start, deleted);
    f.delete_text = delete_text;
    f.left = results.count();
    window.close();
    floor();
    std::vector<double> sorted = f.floor_runs;
    std::sort(sorted.begin(), sorted.end());
    f.floor = (sorted[1] + sorted[2]) / 2;
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "link") {
        kind_named("links").make(platform::win32::instance(), argv[2]);
        return 0;
    }
    const std::string which = argc == 4 ? argv[1] : "";
    const std::string mode = argc == 4 ? argv[3] : "";
    if ((which != "temp" && which != "links" && which != "empty-dirs") || (mode != "bin" && mode != "permanent") ||
        (which == "empty-dirs" && mode == "bin")) {
        std::fprintf(stderr, "usage: search_window_bench temp|links|empty-dirs FOLDER bin|permanent\n"
                             "       (empty folders are removed for good only)\n"
                             "       search_window_bench link FILE\n");
        return 2;
    }
    const std::string folder = argv[2];
    const bool to_bin = mode == "bin";
    auto& services = platform::win32::instance();
    const std::string program = store::DataFolder::folder_of(services.system.executable_path());
    const store::DataFolder data(services.fs, program);
    static_cast<void>(services.fs.create_folder(program + "Data"));  // it may be there already
    const Kind kind = kind_named(which);
    kind.settings(data, folder);
    if (to_bin) static_cast<void>(services.shell.empty_recycle_bin());

    auto start = Clock::now();
    char name[32];
    const bool make = services.fs.create_folder(folder).ok();  // else the findings are there
    for (int d = 0; make && d < 100; ++d) {
        std::snprintf(name, sizeof name, "\\folder%03d", d);
        const std::string sub = folder + name;
        static_cast<void>(services.fs.create_folder(sub));
        for (int i = 0; i < 1000; ++i) {
            std::snprintf(name, sizeof name, kind.name_pattern.c_str(), i);
            kind.make(services, sub + "\\" + name);
        }
    }
    const double making = seconds(start, Clock::now());

    platform::win32::UiToolkit toolkit;
    ui::Form main(toolkit, "Form1");
    search::DriveSelection drives;
    Figures f;
    if (which == "temp") {
        junk::TempSearchWindow window(toolkit, services, data, drives, main);
        f = measure(window, window.results(), window.delete_checked_button(), &window.to_recycle_bin(), to_bin,
                    toolkit, services, kind);
    } else if (which == "links") {
        shortcuts::LinksSearchWindow window(toolkit, services, data, drives, main);
        f = measure(window, window.results(), window.delete_button(), &window.to_recycle_bin(), to_bin, toolkit,
                    services, kind);
    } else {
        emptydirs::EmptyDirsWindow window(toolkit, services, data, drives, main);
        f = measure(window, window.results(), window.delete_button(), nullptr, false, toolkit, services, kind);
    }

    std::printf("%s window under Wine, %s%s:\n", which.c_str(), mode.c_str(),
                make ? (" (" + std::to_string(static_cast<int>(making)) + " s to make the findings)").c_str() : "");
    std::printf("  search and fill:   %.3f s, %d rows\n", f.search, f.rows);
    std::printf("  floor, %d one by one (median of two runs before and two after): %.3f s (", f.checked, f.floor);
    for (std::size_t i = 0; i < f.floor_runs.size(); ++i) std::printf("%s%.3f", i ? ", " : "", f.floor_runs[i]);
    std::printf(")%s\n", f.floor_failed ? (", " + std::to_string(f.floor_failed) + " failed").c_str() : "");
    std::printf("  window, %d checked:  %.3f s, %d rows left\n", f.checked, f.deletion, f.left);
    std::printf("  ratio window/floor: %.2f\n", f.floor > 0 ? f.deletion / f.floor : 0.0);
    std::printf("  messages: \"%s\" / \"%s\"\n", f.search_text.c_str(), f.delete_text.c_str());
    return 0;
}
