// The temporary-file search engine: what it walks, skips and finds.
#include <gtest/gtest.h>

#include <filesystem>

#include "junk/temp_search.h"
#include "posix/headless_ui.h"
#include "sandbox.h"
#include "search/exclusions.h"
#include "search/folded.h"

using testing_support::Sandbox;

namespace {

struct Recorder : search::WalkProgress {
    std::vector<std::string> walked;
    std::size_t count = 0;
    std::string first;
    void walk_started(std::size_t n, const std::string& f) override {
        count = n;
        first = f;
    }
    void walking(std::size_t, const std::string& folder) override { walked.push_back(folder); }
};

struct Search {
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string& root) {
        std::filesystem::create_directories(root + "/d");
        config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
        config.registry =
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
            "\"SystemRoot\"=\"C:\\\\WINDOWS\"\r\n";
    }};
    headless::Pump pump;
    platform::StopRequest stop;
    Recorder progress;

    Search() { box.data().rewrite("tf_mask.txt", {"tmp", "#bak", "LOG", ""}); }

    std::vector<std::string> run(std::vector<char> drives = {'C'}) {
        const auto settings = junk::TempSearchSettings::load(box.data(), box.platform().registry, std::move(drives));
        result = junk::run_temp_search(settings, box.platform(), pump, stop, progress);
        std::vector<std::string> paths;
        for (const auto& row : result.rows) paths.push_back(row.path);
        return paths;
    }
    junk::TempSearchResult result;
};

}  // namespace

TEST(TempSearchMatch, ExtensionIsTheTextAfterTheLastDot) {
    const std::vector<std::string> masks{"tmp", "log"};
    EXPECT_TRUE(junk::extension_matches("C:\\x\\setup.TMP", masks));
    EXPECT_FALSE(junk::extension_matches("C:\\x\\archive.tmp.bak", masks));
    EXPECT_FALSE(junk::extension_matches("C:\\x.tmp\\readme", masks));
    EXPECT_TRUE(junk::extension_matches("C:\\x\\.Log", masks));
    EXPECT_FALSE(junk::extension_matches("C:\\x\\tmp", masks));
}

TEST(TempSearchMatch, AgeCountsWholeDays) {
    const platform::CalendarDate first{2026, 12, 1};
    EXPECT_TRUE(junk::old_enough(first, {2026, 12, 1}, 0));
    EXPECT_FALSE(junk::old_enough({2026, 12, 2}, {2026, 12, 1}, 0));  // dated in the future
    EXPECT_FALSE(junk::old_enough(first, {2026, 12, 7}, 7));
    EXPECT_TRUE(junk::old_enough(first, {2026, 12, 8}, 7));
    EXPECT_TRUE(junk::old_enough({2026, 2, 22}, {2026, 3, 1}, 7));  // across a month end
}

TEST(TempSearchMatch, FullFolderTestCutsAtMostFiftyCharacters) {
    using search::full_folder_match;
    EXPECT_TRUE(full_folder_match("c:\\win", "c:\\win"));
    EXPECT_FALSE(full_folder_match("c:\\windows", "c:\\win"));  // a sibling, not below
    EXPECT_FALSE(full_folder_match("c:\\database", "c:\\data"));
    EXPECT_TRUE(full_folder_match("c:\\data\\base", "c:\\data"));
    EXPECT_FALSE(full_folder_match("c:\\temp", "c:\\temp\\"));   // only what lies below
    EXPECT_TRUE(full_folder_match("c:\\temp\\a", "c:\\temp\\"));
    const std::string entry = "c:\\e";
    EXPECT_TRUE(full_folder_match(entry + "\\" + std::string(49, 'x'), entry));
    EXPECT_FALSE(full_folder_match(entry + "\\" + std::string(50, 'x'), entry));
}

TEST(TempSearch, FindsMatchingFilesOnDrivesAndInAreaFolders) {
    Search s;
    s.box.write("C:\\root.tmp");
    s.box.write("C:\\one\\first.TMP");
    s.box.write("C:\\one\\two\\three\\deep.tmp");
    s.box.write("C:\\one\\two\\archive.tmp.bak");
    s.box.write("C:\\one\\two\\keep.bak");
    s.box.write("C:\\one\\two\\notes.log");
    s.box.write("C:\\one\\two\\install.log");
    s.box.write("C:\\one\\two\\setupinstall.LOG");
    const auto rows = s.run();
    EXPECT_EQ(rows, (std::vector<std::string>{"C:\\root.tmp", "C:\\one\\first.TMP", "C:\\one\\two\\notes.log",
                                              "C:\\one\\two\\three\\deep.tmp"}));
    EXPECT_EQ(s.progress.first, "C:\\one\\two");
    EXPECT_EQ(s.result.total, 4u);
    EXPECT_GT(s.pump.served, 8);
}

TEST(TempSearch, NeverEntersMicrosoftFoldersAndSkipsOnlyTheRootRecycler) {
    Search s;
    s.box.write("C:\\Microsoft Office\\a.tmp");
    s.box.write("C:\\apps\\microsoft.net\\b.tmp");
    s.box.write("C:\\apps\\x\\MICROSOFTx\\c.tmp");
    s.box.write("C:\\RECYCLER\\S-1\\d.tmp");
    s.box.write("C:\\recycler\\S-1\\e.tmp");
    s.box.write("C:\\apps\\RECYCLER\\f.tmp");
    s.box.write("C:\\area\\Microsoft\\g.tmp");
    // The newer bin is skipped at a root in any case, and only there.
    s.box.write("C:\\$RECYCLE.BIN\\S-1\\$Rabc.tmp");
    s.box.write("C:\\apps\\$Recycle.Bin\\h.tmp");
    s.box.write("C:\\deep\\$Recycle.Bin\\i.tmp");
    s.box.data().rewrite("tf_dirs.txt", {"C:\\area", "C:\\deep\\$Recycle.Bin"});
    const auto rows = s.run();
    EXPECT_EQ(rows, (std::vector<std::string>{"C:\\apps\\$Recycle.Bin\\h.tmp", "C:\\apps\\RECYCLER\\f.tmp",
                                              "C:\\deep\\$Recycle.Bin\\i.tmp", "C:\\recycler\\S-1\\e.tmp"}));
}

TEST(TempSearch, HonoursEveryKindOfExclusionAndTheBuiltInOnes) {
    Search s;
    s.box.write("C:\\WINDOWS\\Debug\\a.log");
    s.box.write("C:\\WINDOWS\\WindowsUpdate.log");
    s.box.write("C:\\WINDOWS\\other.log");
    s.box.write("C:\\data\\Skip\\b.tmp");
    s.box.write("C:\\data\\deeper\\skip\\c.tmp");
    s.box.write("C:\\data\\files\\d.tmp");
    s.box.write("C:\\data\\files\\E.TMP");
    s.box.write("C:\\data\\excluded\\inside\\f.tmp");
    s.box.write("C:\\database\\g.tmp");
    s.box.data().rewrite("tf_shortdirs_ex.txt", {"skip"});
    s.box.data().rewrite("tf_files_ex.txt", {"c:\\data\\files\\d.TMP"});
    s.box.data().rewrite("tf_shortfiles_ex.txt", {"e.tmp"});
    // A folder exclusion holds the folder and what is below it, never a
    // sibling whose name begins with it.
    s.box.data().rewrite("tf_dirs_ex.txt", {"C:\\DATA\\excluded", "C:\\Datab"});
    EXPECT_EQ(s.run(), (std::vector<std::string>{"C:\\database\\g.tmp", "C:\\WINDOWS\\other.log"}));
}

TEST(TempSearch, NestedAreaFoldersGiveEachFileOnce) {
    Search s;
    s.box.write("D:\\a\\b\\x.tmp", "12345");
    s.box.write("C:\\a\\b\\y.tmp", "123");
    s.box.write("C:\\a\\z.tmp", "1");
    s.box.data().rewrite("tf_dirs.txt", {"C:\\a", "C:\\a\\b", "C:\\a\\b\\"});
    EXPECT_EQ(s.run({}), (std::vector<std::string>{"C:\\a\\b\\y.tmp", "C:\\a\\z.tmp"}));
    EXPECT_EQ(s.result.total, 4u);
}

TEST(TempSearch, TheDateLimitKeepsYoungFilesOut) {
    Search s;
    s.box.write("C:\\d\\x\\today.tmp");
    s.box.write("C:\\d\\x\\old.tmp", "x", 10);
    EXPECT_EQ(s.run().size(), 2u);  // no tf_date.txt: no limit
    s.box.data().rewrite("tf_date.txt", {"7"});
    EXPECT_EQ(s.run(), (std::vector<std::string>{"C:\\d\\x\\old.tmp"}));
    s.box.data().rewrite("tf_date.txt", {" 7 дней"});
    EXPECT_EQ(s.run(), (std::vector<std::string>{"C:\\d\\x\\old.tmp"}));
    s.box.data().rewrite("tf_date.txt", {"seven"});
    EXPECT_THROW(s.run(), store::FileError);
}

TEST(TempSearch, StopEndsTheWalkWithTheRowsFoundSoFar) {
    Search s;
    for (int i = 0; i < 5; ++i) s.box.write("D:\\w\\f" + std::to_string(i) + "\\a.tmp");
    s.pump.on_serve = [&] {
        if (s.progress.walked.size() == 2) s.stop.request();
    };
    const auto rows = s.run({'D'});
    EXPECT_EQ(s.progress.count, 5u);
    EXPECT_LE(rows.size(), 2u);
    EXPECT_LT(s.progress.walked.size(), 5u);
}

TEST(TempSearch, AnEmptyWalkListStillSearchesTheRoots) {
    Search s;
    s.box.write("D:\\root.tmp");
    s.box.write("D:\\lonely\\file.tmp");
    EXPECT_EQ(s.run({'D'}), (std::vector<std::string>{"D:\\root.tmp", "D:\\lonely\\file.tmp"}));
    EXPECT_EQ(s.progress.count, 0u);
    EXPECT_EQ(s.progress.first, "");
}

TEST(TempSearchSizeText, KeepsItsOwnFormat) {
    EXPECT_EQ(junk::SearchSizeText(0, ','), "0 KB");
    EXPECT_EQ(junk::SearchSizeText(2, ','), "0,00 KB");
    EXPECT_EQ(junk::SearchSizeText(1536, ','), "1,5 KB");
    EXPECT_EQ(junk::SearchSizeText(1537, '.'), "1.50 KB");
    EXPECT_EQ(junk::SearchSizeText(5ull << 30, ','), "5120 MB");
}
