// The duplicate search engine: which files are copies, how groups are formed
// and ordered, what is never collected, and a comparison with the plain
// pairwise loops on random trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>
#include <random>

#include "duplicates/duplicate_removal.h"
#include "duplicates/duplicate_search.h"
#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "sandbox.h"
#include "search/area_walk.h"

using testing_support::Sandbox;
namespace fs = std::filesystem;

namespace {

struct Recorder : duplicates::DuplicateProgress {
    std::vector<std::string> steps;
    std::vector<std::string> walked;
    void step_started(const std::string& caption) override { steps.push_back(caption); }
    void walk_started(std::size_t, const std::string&) override {}
    void walking(std::size_t, const std::string& item) override { walked.push_back(item); }
};

// Groups as text: "found: copy, copy | found: copy".
std::string render(const std::vector<duplicates::CopyGroup>& groups) {
    std::string out;
    for (const auto& g : groups) {
        if (!out.empty()) out += " | ";
        out += g.found + ":";
        for (std::size_t i = 0; i < g.copies.size(); ++i) out += (i ? ", " : " ") + g.copies[i];
    }
    return out;
}

struct Search {
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string& root) {
        fs::create_directories(root + "/d");
        config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
    }};
    platform::posix::FaultyFileSystem faulty{box.host().fs()};
    platform::Platform platform{faulty,           box.host().registry(), box.host().shell(), box.host().links(),
                                box.host().internet(), box.host().sound(),    box.host().system()};
    headless::Pump pump;
    platform::StopRequest stop;
    Recorder progress;

    explicit Search(bool whole_area = true) {
        if (whole_area) box.data().rewrite("cf_all.txt", {});
    }
    std::string run(std::vector<char> drives = {'D'}) {
        const auto settings = duplicates::DuplicateSettings::load(box.data(), platform.registry, std::move(drives));
        result = duplicates::run_duplicate_search(settings, platform, pump, stop, progress);
        return render(result.groups);
    }
    void read_only(const std::string& path) { fs::permissions(box.host_path(path), fs::perms(0444)); }
    duplicates::DuplicateResult result;
};

// The search as plain loops: every source against every remaining target,
// the last target first, each pair compared in blocks of 1024 bytes.
struct Reference {
    platform::FileSystem& fs;

    bool identical(const std::string& a, const std::string& b) {
        auto fa = fs.open(a, platform::Access::read_write, platform::Share::read_write);
        auto fb = fs.open(b, platform::Access::read_write, platform::Share::read_write);
        if (!fa || !fb || (*fa)->size() != (*fb)->size()) return false;
        char x[1024], y[1024];
        for (;;) {
            auto na = (*fa)->read(x, sizeof x);
            auto nb = (*fb)->read(y, sizeof y);
            if (!na || !nb || *na != *nb || std::memcmp(x, y, *na)) return false;
            if (*na == 0) return true;
        }
    }
    bool same_file(const std::string& a, const std::string& b) {
        auto ia = fs.identity(a), ib = fs.identity(b);
        return a == b || (ia && ib && *ia == *ib);
    }
    std::vector<std::string> walk(const duplicates::DuplicateSettings& s, platform::Pump& pump,
                                  platform::StopRequest& stop) {
        search::WalkRules rules;
        rules.folder_passes = [&](const std::string& path, const platform::DirEntry& e, bool root) {
            if (root && (search::is_recycle_bin_folder(e.name) || e.name == "System Volume Information")) return false;
            return !s.exclusions.folder_excluded(path, e.name);
        };
        rules.file_passes = [&](const std::string& path, const platform::DirEntry& e) {
            return duplicates::opens_exclusively(fs, path) && !s.exclusions.file_excluded(path, e.name) &&
                   (!s.filter_types || duplicates::type_passes(path, s.types));
        };
        search::AreaWalk walker(fs, pump, stop, rules);
        std::vector<search::Found> found;
        std::vector<std::string> folders;
        for (char d : s.drives) walker.drive_pass(d, found, folders);
        folders.insert(folders.end(), s.area_folders.begin(), s.area_folders.end());
        for (const auto& f : folders) walker.walk(f, found);
        std::vector<std::string> paths;
        for (auto& f : found) paths.push_back(f.path);
        return paths;
    }
    std::vector<duplicates::CopyGroup> run(const duplicates::DuplicateSettings& s) {
        headless::Pump pump;
        platform::StopRequest stop;
        auto targets = walk(s, pump, stop);
        const auto sources = s.whole_area ? targets : s.chosen_files;
        std::vector<duplicates::CopyGroup> groups;
        for (const auto& src : sources) {
            bool first_copy = true;
            for (std::size_t j = targets.size(); j-- > 0;) {
                if (!identical(src, targets[j])) continue;
                bool copy = !same_file(src, targets[j]);
                if (copy && !first_copy)
                    for (const auto& c : groups.back().copies) copy = copy && !same_file(c, targets[j]);
                if (copy) {
                    if (groups.empty() || groups.back().found != src) groups.push_back({src, {}, 0});
                    groups.back().copies.push_back(targets[j]);
                    first_copy = false;
                }
                targets.erase(targets.begin() + static_cast<std::ptrdiff_t>(j));
            }
        }
        return groups;
    }
};

}  // namespace

TEST(DuplicateTypes, ExtensionIsTheTextAfterTheLastDotOfThePath) {
    using duplicates::type_passes;
    const std::vector<std::string> txt{"txt"};
    EXPECT_TRUE(type_passes("C:\\a\\b.TXT", txt));
    EXPECT_FALSE(type_passes("C:\\a\\b.txt", {"TXT"}));  // stored capitals never match
    EXPECT_TRUE(type_passes("C:\\a\\b.~tx", txt));
    EXPECT_FALSE(type_passes("C:\\a.b\\readme", txt));
    EXPECT_FALSE(type_passes("C:\\a\\b.txt.bak", txt));
}

TEST(DuplicateSearch, FoundFileIsTheFirstWithCopiesListedLastFirst) {
    Search s;
    s.box.write("D:\\A.dat", "same");
    s.box.write("D:\\B.dat", "same");
    s.box.write("D:\\C.dat", "same");
    s.box.write("D:\\e1", "");
    s.box.write("D:\\e2", "");
    s.box.write("D:\\z\\small1", "tiny");
    EXPECT_EQ(s.run(), "D:\\A.dat: D:\\C.dat, D:\\B.dat | D:\\e1: D:\\e2");
    EXPECT_EQ(s.progress.steps.front(), "Шаг 1/2 - формирование списка файлов, копии которых надо искать...");
    EXPECT_EQ(s.progress.steps.back(), "Шаг 2/2 - сравнение файлов по заданным параметрам...");
}

TEST(DuplicateSearch, NearMissesAreNotCopies) {
    Search s;
    std::string partial(1500, 'p'), large(300000, 'q');
    s.box.write("D:\\x\\last1", partial);
    partial.back() = 'P';
    s.box.write("D:\\x\\last2", partial);
    s.box.write("D:\\x\\mid1", large);
    s.box.write("D:\\x\\mid3", large);
    large[large.size() / 2] = 'Q';
    s.box.write("D:\\x\\mid2", large);
    large.back() = 'Q';
    s.box.write("D:\\x\\end2", large);
    EXPECT_EQ(s.run(), "D:\\x\\mid1: D:\\x\\mid3");
}

TEST(DuplicateSearch, TwoDrivesListEachTopLevelFileOnce) {
    Search s;
    s.box.write("C:\\one", "copy");
    s.box.write("C:\\dir\\two", "copy");
    s.box.write("D:\\three", "copy");
    EXPECT_EQ(s.run({'C', 'D'}), "C:\\one: D:\\three, C:\\dir\\two");
}

TEST(DuplicateSearch, LockedReadOnlyAndExcludedFilesAreNeverListed) {
    Search s;
    for (const char* name : {"a", "locked", "readonly", "skipped", "b"}) s.box.write(std::string("D:\\f\\") + name, "x");
    s.box.write("D:\\RECYCLER\\c", "x");
    s.box.write("D:\\System Volume Information\\d", "x");
    s.box.write("D:\\Database\\e", "x");  // beside the excluded folder, not in it
    s.box.write("D:\\Data\\i", "x");
    s.box.write("D:\\f\\RECYCLER\\g", "x");
    s.faulty.lock("D:\\f\\locked");
    s.read_only("D:\\f\\readonly");
    s.box.data().rewrite("cf_shortfiles_ex.txt", {"SKIPPED"});
    s.box.data().rewrite("cf_dirs_ex.txt", {"D:\\Data"});
    EXPECT_EQ(s.run(), "D:\\Database\\e: D:\\f\\RECYCLER\\g, D:\\f\\b, D:\\f\\a");
}

TEST(DuplicateSearch, ChosenFilesAreComparedWithTheAreaButNotWithThemselves) {
    Search s(false);
    s.box.write("D:\\in\\alone", "alone");
    s.box.write("D:\\in\\first", "pair");
    s.box.write("D:\\in\\second", "pair");
    s.box.write("C:\\out\\kept", "kept");
    s.box.write("D:\\in\\kept2", "kept");
    s.box.write("C:\\out\\ro", "ro");
    s.box.write("D:\\in\\ro2", "ro");
    s.read_only("C:\\out\\ro");
    s.box.data().rewrite("cf_files.txt",
                         {"D:\\in\\alone", "D:\\in\\first", "D:\\in\\second", "C:\\out\\kept", "C:\\out\\ro"});
    EXPECT_EQ(s.run(), "D:\\in\\first: D:\\in\\second | C:\\out\\kept: D:\\in\\kept2");
    EXPECT_EQ(s.progress.steps.front(), "Шаг 1/2 - формирование списка файлов из области поиска...");

    s.box.data().remove("cf_files.txt");  // a missing list is an empty one
    EXPECT_EQ(s.run(), "");
}

TEST(DuplicateSearch, PathsToOneFileAreOneFile) {
    Search s;
    s.box.write("D:\\a\\file", "linked");
    s.box.write("D:\\c\\copy", "linked");
    s.box.make_folder("D:\\b");
    fs::create_hard_link(s.box.host_path("D:\\a\\file"), s.box.host_path("D:\\b\\hard"));
    fs::create_directory_symlink(s.box.host_path("D:\\a"), s.box.host_path("D:\\c\\through"));
    EXPECT_EQ(s.run(), "D:\\a\\file: D:\\c\\copy");
    EXPECT_EQ(s.result.bytes_read, 2 * std::string("linked").size());  // the second name is never read

    Search chosen(false);
    chosen.box.write("D:\\x\\only", "one");
    fs::create_hard_link(chosen.box.host_path("D:\\x\\only"), chosen.box.host_path("D:\\x\\other"));
    chosen.box.data().rewrite("cf_files.txt", {"D:\\X\\ONLY"});
    EXPECT_EQ(chosen.run(), "");
}

TEST(DuplicateSearch, ManyFilesAgreeingInTheirFirstBlockAreEachReadAFewTimes) {
    // More files of one size and one first block than may be open at once,
    // all different further on: the work grows with their number, not with
    // its square. A second name of one of them is read no further.
    Search s;
    constexpr int kFiles = 600;
    constexpr std::size_t kSize = 3 * 4096;
    auto content = [&](int i) {
        std::string bytes(kSize, 'x');
        bytes.replace(6000, 4, std::to_string(1000 + i));
        return bytes;
    };
    for (int i = 0; i < kFiles; ++i) s.box.write("D:\\m\\f" + std::to_string(i), content(i));
    s.box.write("D:\\m\\copy", content(7));
    fs::create_hard_link(s.box.host_path("D:\\m\\f3"), s.box.host_path("D:\\m\\link"));
    EXPECT_EQ(s.run(), "D:\\m\\copy: D:\\m\\f7");
    const std::size_t files = kFiles + 1;  // the link not counted
    EXPECT_LE(s.faulty.opens(), 3 * files + 1);
    EXPECT_LE(s.result.bytes_read, 2 * files * kSize + 2 * kSize);
}

TEST(DuplicateSearch, StopEndsOnlyTheStepInWhichItIsSeen) {
    Search s;
    for (int i = 0; i < 4; ++i) s.box.write("D:\\w\\f" + std::to_string(i) + "\\a", "same");
    s.pump.on_serve = [&] {
        if (s.progress.walked.size() == 3 && s.progress.steps.size() == 1) s.stop.request();
    };
    EXPECT_EQ(s.run(), "D:\\w\\f0\\a: D:\\w\\f1\\a");
    EXPECT_FALSE(s.stop.requested());
}

TEST(DuplicateSearch, EqualsThePairwiseLoopsOnRandomTrees) {
    std::mt19937 random(16);
    const std::vector<std::string> contents{"", "a", "b", std::string(1024, 'k'), std::string(1025, 'k'),
                                            std::string(5000, 'm'), std::string(4999, 'm') + "M",
                                            std::string(2500, 'm') + "M" + std::string(2499, 'm')};
    const std::vector<std::string> folders{"C:\\", "C:\\a\\", "C:\\a\\b\\", "C:\\a\\b\\c\\", "D:\\", "D:\\x\\y\\"};
    for (int round = 0; round < 40; ++round) {
        Search s(round % 2 == 0);
        std::vector<std::string> paths;
        for (int i = 0; i < 14; ++i) {
            const std::string path = folders[random() % folders.size()] + "f" + std::to_string(i);
            s.box.write(path, contents[random() % contents.size()]);
            paths.push_back(path);
            if (random() % 8 == 0) s.read_only(path);
            if (random() % 10 == 0) s.faulty.lock(path);
            if (random() % 8 == 0)
                fs::create_hard_link(s.box.host_path(path), s.box.host_path(path + "h"));
        }
        std::vector<std::string> chosen;
        for (int i = 0; i < 5; ++i) chosen.push_back(paths[random() % paths.size()]);
        chosen.push_back("C:\\missing");
        s.box.data().rewrite("cf_files.txt", chosen);
        s.box.data().rewrite("cf_dirs.txt", {"C:\\a\\b", "D:\\x"});  // overlapping the drives
        const std::vector<char> drives = round % 3 ? std::vector<char>{'C', 'D'} : std::vector<char>{'D'};
        const std::string fast = s.run(drives);
        const auto settings = duplicates::DuplicateSettings::load(s.box.data(), s.platform.registry, drives);
        EXPECT_EQ(fast, render(Reference{s.faulty}.run(settings))) << "round " << round;
    }
}

TEST(DuplicateRemoval, DeletesOnlyAFileNamedByAFullPath) {
    Search s;
    s.box.write("D:\\d\\copy", "x");
    s.box.write("D:\\d\\held", "x");
    s.box.write("D:\\d\\sub\\target", "x");
    fs::create_directory_symlink(s.box.host_path("D:\\d\\sub"), s.box.host_path("D:\\d\\link"));
    s.faulty.lock("D:\\d\\held");
    auto& fsys = s.platform.fs;
    for (const char* refused : {"", "d\\copy", "D:", "D:\\", "D:\\d\\..\\d\\copy", "D:\\d", "D:\\d\\link",
                                "D:\\d\\held", "D:\\d\\gone"})
        EXPECT_FALSE(duplicates::delete_copy(fsys, refused).ok()) << refused;
    EXPECT_TRUE(s.box.exists("D:\\d\\held"));
    EXPECT_TRUE(s.box.exists("D:\\d\\sub\\target"));
    EXPECT_TRUE(duplicates::delete_copy(fsys, "D:\\d\\copy").ok());
    EXPECT_FALSE(s.box.exists("D:\\d\\copy"));
}
