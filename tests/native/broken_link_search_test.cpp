// The broken shortcut search: which targets are broken, what each mode walks
// and skips, and what the removal and repair of a shortcut leave on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "posix/headless_ui.h"
#include "sandbox.h"
#include "search/exclusions.h"
#include "shortcuts/broken_link_removal.h"
#include "shortcuts/broken_link_search.h"

using testing_support::Sandbox;

namespace {

struct Recorder : search::WalkProgress {
    std::size_t count = 0;
    std::string first;
    std::vector<std::string> walked;
    void walk_started(std::size_t n, const std::string& f) override {
        count = n;
        first = f;
    }
    void walking(std::size_t, const std::string& item) override { walked.push_back(item); }
};

struct Search {
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string& root) {
        std::filesystem::create_directories(root + "/d");
        config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
        config.registry =
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
            "\"SystemRoot\"=\"C:\\\\WINDOWS\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
            "\"SendTo\"=\"C:\\\\User\\\\SendTo\"\r\n\"Recent\"=\"\"\r\n\"Programs\"=\"relative\\\\Programs\"\r\n"
            "\"Desktop\"=\"C:\\\\User\\\\Desktop\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
            "\"Common Desktop\"=\"D:\\\\All\\\\Desktop\"\r\n";
    }};
    headless::Pump pump;
    platform::StopRequest stop;
    Recorder progress;
    shortcuts::BrokenLinkResult result;

    // A shortcut at `path` pointing to `target`.
    void link(const std::string& path, const std::string& target) {
        if (path.rfind('\\') > 2) box.make_folder(path.substr(0, path.rfind('\\')));
        ASSERT_TRUE(box.platform().links.write(path, target, "", ""));
    }
    void broken(const std::string& path) { link(path, "C:\\Gone\\app.exe"); }

    std::vector<std::string> run(std::vector<char> drives = {'C'}) {
        const auto settings =
            shortcuts::BrokenLinkSettings::load(box.data(), box.platform().registry, std::move(drives));
        result = shortcuts::run_broken_link_search(settings, box.platform(), pump, stop, progress);
        std::vector<std::string> paths;
        for (const auto& row : result.rows) paths.push_back(row.path);
        return paths;
    }
};

using Paths = std::vector<std::string>;

}  // namespace

TEST(BrokenLinkTarget, OnlyMissingLocalPathsAreBrokenAfterQuotesAndSwitchesAreCut) {
    Sandbox box;
    box.write("C:\\Tools\\run.exe");
    const auto broken = [&](const char* target) { return shortcuts::target_is_broken(target, box.platform().fs); };
    EXPECT_TRUE(broken("C:\\Old\\app.exe"));
    EXPECT_TRUE(broken("B:\\setup.exe"));
    EXPECT_FALSE(broken("C:\\Tools"));
    EXPECT_FALSE(broken("c:\\tools\\RUN.EXE"));
    for (const char* never : {"A:\\setup.exe", "a:\\setup.exe", "\\\\server\\share\\file.exe", "app.exe", "", "\"\"",
                              "C:/Old/app.exe"})
        EXPECT_FALSE(broken(never)) << never;
    // From the last quote and from the first "/" 25 characters go, not the rest.
    EXPECT_FALSE(broken("\"C:\\Tools\\run.exe\"123456789012345678901234"));
    EXPECT_TRUE(broken("\"C:\\Tools\\run.exe\"1234567890123456789012345"));
    EXPECT_FALSE(broken("C:\\Tools\\run.exe/s"));
    EXPECT_TRUE(broken("C:\\Tools\\run.exe/123456789012345678901234567"));
}

TEST(BrokenLinkSearch, OwnSettingsFindBrokenShortcutsOfAnyNameAtEveryLevel) {
    Search s;
    s.box.make_folder("C:\\Kept");
    s.broken("C:\\root.lnk");
    s.link("C:\\ok.lnk", "C:\\Kept");
    s.link("C:\\floppy.lnk", "a:\\setup.exe");
    s.link("C:\\net.lnk", "\\\\server\\share\\file.exe");
    s.link("C:\\shell.lnk", "");
    s.box.write("C:\\readme.txt", "not a shortcut");
    s.broken("C:\\First\\one.dat");
    s.broken("C:\\First\\Second\\Third\\deep.lnk");
    s.broken("D:\\Other\\skipped.lnk");
    EXPECT_EQ(s.run(), (Paths{"C:\\root.lnk", "C:\\First\\one.dat", "C:\\First\\Second\\Third\\deep.lnk"}));
    EXPECT_EQ(s.result.rows.front().target, "C:\\Gone\\app.exe");
    EXPECT_EQ(s.progress.walked, (Paths{"C:\\First\\Second", "C:\\Program\\Data"}));
}

TEST(BrokenLinkSearch, OwnSettingsSkipBinsQuickLaunchSystemFoldersAndLinks) {
    Search s;
    s.broken("C:\\RECYCLER\\a.lnk");
    s.broken("C:\\$recycle.bin\\a.lnk");
    s.broken("C:\\recycler\\entered.lnk");
    s.broken("C:\\Top\\RECYCLER\\entered.lnk");
    s.broken("C:\\Quick Launch\\a.lnk");
    s.broken("C:\\Top\\QUICK LAUNCH\\a.lnk");
    s.broken("C:\\Top\\Deep\\quick launch\\a.lnk");
    s.broken("C:\\Area\\Quick Launch\\walked.lnk");
    s.broken("C:\\WINDOWS\\system32\\config\\a.lnk");
    s.broken("C:\\WINDOWS\\system32\\drivers\\entered.lnk");
    s.broken("C:\\Real\\Inside\\a.lnk");
    std::filesystem::create_directory_symlink(s.box.host_path("C:\\Real"), s.box.host_path("C:\\Top\\Junction"));
    s.box.data().rewrite("bl_dirs.txt", {"C:\\Area\\Quick Launch"});
    const Paths found = s.run();
    EXPECT_EQ(found, (Paths{"C:\\recycler\\entered.lnk", "C:\\Real\\Inside\\a.lnk", "C:\\Top\\RECYCLER\\entered.lnk",
                            "C:\\WINDOWS\\system32\\drivers\\entered.lnk", "C:\\Area\\Quick Launch\\walked.lnk"}));
}

TEST(BrokenLinkSearch, FullExclusionsArePrefixesReachingFiftyCharacters) {
    Search s;
    const std::string long_name(51, 'x');
    s.broken("C:\\Data\\a.lnk");
    s.broken("C:\\Database\\a.lnk");
    s.broken("C:\\Base\\Data\\X\\a.lnk");
    s.broken("C:\\Base\\Data\\" + long_name + "\\a.lnk");
    s.broken("C:\\Base\\Names\\Skip\\a.lnk");
    s.box.data().rewrite("bl_dirs_ex.txt", {"C:\\data", "C:\\Base\\Data"});
    s.box.data().rewrite("bl_shortdirs_ex.txt", {"SKIP"});
    s.box.data().rewrite("bl_dirs.txt", {"C:\\Base\\Data"});
    // "C:\\data" holds what is below it, never the sibling "C:\\Database".
    EXPECT_EQ(s.run(), (Paths{"C:\\Database\\a.lnk", "C:\\Base\\Data\\" + long_name + "\\a.lnk"}));
}

TEST(BrokenLinkSearch, AShortcutReachedTwiceIsListedOnce) {
    Search s;
    s.broken("C:\\Top\\a.lnk");
    s.broken("C:\\Top\\Sub\\b.lnk");
    s.box.data().rewrite("bl_dirs.txt", {"C:\\Top", "C:\\Top\\Sub\\"});
    EXPECT_EQ(s.run(), (Paths{"C:\\Top\\a.lnk", "C:\\Top\\Sub\\b.lnk"}));
}

TEST(BrokenLinkSearch, StopDuringTheDeepWalkKeepsWhatWasFound) {
    Search s;
    for (const char* folder : {"A", "B", "C"})
        for (int i = 0; i < 5; ++i) s.broken(std::string("C:\\Top\\") + folder + "\\" + std::to_string(i) + ".lnk");
    s.pump.on_serve = [&] {
        if (s.progress.walked.size() == 3) s.stop.request();  // C:\Program\Data, C:\Top\A, C:\Top\B
    };
    const Paths found = s.run();
    EXPECT_TRUE(s.result.stopped);
    EXPECT_EQ(found, (Paths{"C:\\Top\\A\\0.lnk", "C:\\Top\\A\\1.lnk", "C:\\Top\\A\\2.lnk", "C:\\Top\\A\\3.lnk",
                            "C:\\Top\\A\\4.lnk"}));
    EXPECT_EQ(s.progress.walked.size(), 3u);
}

TEST(BrokenLinkSearch, NothingToWalkReportsAnEmptyList) {
    Search s;
    s.broken("C:\\root.lnk");
    EXPECT_TRUE(s.run({}).empty());
    EXPECT_EQ(s.progress.first, "");
}

TEST(BrokenLinkSearch, OptimalModeChecksTheShellFoldersOnly) {
    Search s;
    s.box.data().rewrite("bl_optimal.txt", {});
    s.box.data().rewrite("bl_dirs.txt", {"C:\\Area"});
    s.box.data().rewrite("bl_shortdirs_ex.txt", {"Sub"});
    s.broken("C:\\Area\\a.lnk");
    s.broken("C:\\root.lnk");
    s.broken("C:\\User\\SendTo\\send.lnk");
    s.box.write("C:\\User\\SendTo\\notes.txt");
    s.broken("C:\\User\\Desktop\\Quick Launch\\Sub\\q.lnk");
    s.broken("D:\\All\\Desktop\\common.lnk");
    s.broken("C:\\Real\\a.lnk");
    std::filesystem::create_directory_symlink(s.box.host_path("C:\\Real"), s.box.host_path("C:\\User\\Desktop\\Link"));
    EXPECT_EQ(s.run({'C'}), (Paths{"C:\\User\\SendTo\\send.lnk", "C:\\User\\Desktop\\Quick Launch\\Sub\\q.lnk",
                                   "D:\\All\\Desktop\\common.lnk"}));
    EXPECT_EQ(s.progress.count, 4u);  // every file is counted, shortcut or not
    EXPECT_EQ(s.progress.first, "C:\\User\\SendTo\\notes.txt");
}

TEST(BrokenLinkSearch, PathsLongerThanMaxPathAreFoundAndDeleted) {
    Search s;
    std::string folder = "C:\\Top";
    while (folder.size() < 300) folder += "\\" + std::string(40, 'f');
    s.broken(folder + "\\deep.lnk");
    ASSERT_EQ(s.run(), (Paths{folder + "\\deep.lnk"}));
    EXPECT_TRUE(shortcuts::delete_link(s.box.platform(), folder + "\\deep.lnk", false));
    EXPECT_FALSE(s.box.exists(folder + "\\deep.lnk"));
}

TEST(BrokenLinkRemoval, DeletesToTheBinOrForGoodAndRefusesWhatIsNotAShortcutFile) {
    Search s;
    auto& p = s.box.platform();
    s.broken("C:\\Links\\bin.lnk");
    s.broken("C:\\Links\\locked.lnk");
    ASSERT_TRUE(p.fs.set_attributes("C:\\Links\\locked.lnk", platform::attr::read_only));
    EXPECT_TRUE(shortcuts::delete_link(p, "C:\\Links\\bin.lnk", true));
    EXPECT_EQ(p.shell.query_recycle_bin()->items, 1u);
    EXPECT_TRUE(shortcuts::delete_link(p, "C:\\Links\\locked.lnk", false));
    EXPECT_FALSE(s.box.exists("C:\\Links\\locked.lnk"));

    s.box.write("C:\\Links\\keep.lnk");
    for (const char* path : {"", "Links\\keep.lnk", "C:\\", "C:\\Links", "C:\\Links\\..\\Links\\keep.lnk",
                             "C:\\Links\\missing.lnk"}) {
        EXPECT_FALSE(shortcuts::delete_link(p, path, false)) << path;
        EXPECT_FALSE(shortcuts::delete_link(p, path, true)) << path;
    }
    EXPECT_TRUE(s.box.exists("C:\\Links\\keep.lnk"));
    EXPECT_EQ(p.shell.query_recycle_bin()->items, 1u);
}

TEST(BrokenLinkRemoval, RepairWritesOverTheShortcutAndKeepsItWhenWritingFails) {
    Search s;
    auto& p = s.box.platform();
    s.box.make_folder("C:\\New");
    s.broken("C:\\Links\\a.lnk");
    ASSERT_TRUE(shortcuts::repair_link(p, "C:\\Links\\a.lnk", "C:\\New"));
    EXPECT_EQ(p.links.read_target("C:\\Links\\a.lnk"), "C:\\New");

    s.broken("C:\\Links\\read-only.lnk");
    ASSERT_TRUE(p.fs.set_attributes("C:\\Links\\read-only.lnk", platform::attr::read_only));
    const auto failed = shortcuts::repair_link(p, "C:\\Links\\read-only.lnk", "C:\\New");
    EXPECT_FALSE(failed.ok() || failed.message().empty());
    EXPECT_EQ(p.links.read_target("C:\\Links\\read-only.lnk"), "C:\\Gone\\app.exe");
    EXPECT_FALSE(shortcuts::repair_link(p, "C:\\Links\\missing.lnk", "C:\\New"));
    EXPECT_FALSE(s.box.exists("C:\\Links\\missing.lnk"));
    EXPECT_FALSE(shortcuts::repair_link(p, "C:\\Links\\a.lnk", ""));
}
