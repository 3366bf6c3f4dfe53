// The empty folder search: what each mode reports, what it never enters, and
// the removal of what it found.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "emptydirs/empty_dirs_page.h"
#include "emptydirs/empty_dirs_removal.h"
#include "emptydirs/empty_dirs_search.h"
#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "search/folders.h"
#include "sandbox.h"

using emptydirs::SearchMode;
using testing_support::Sandbox;
using Rows = std::vector<std::string>;

namespace {

struct Recorder : search::WalkProgress {
    std::vector<std::string> walked;
    std::size_t count = 0;
    void walk_started(std::size_t n, const std::string&) override { count = n; }
    void walking(std::size_t, const std::string& folder) override { walked.push_back(folder); }
};

struct Search {
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string&) {
        config.registry =
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
            "\"SystemRoot\"=\"C:\\\\WINDOWS\"\r\n";
    }};
    platform::posix::FaultyFileSystem faulty{box.platform().fs};
    headless::Pump pump;
    platform::StopRequest stop;
    Recorder progress;
    emptydirs::EmptyDirsResult result;

    explicit Search(SearchMode mode) {
        emptydirs::EmptyDirsSettings::store_mode(box.data(), mode);
        // The sandbox's program folder holds files; it stays out of the way.
        box.data().rewrite("ed_dirs_ex.txt", {"C:\\Program"});
    }

    Rows run(std::vector<char> drives = {'C'}) {
        const auto settings = emptydirs::EmptyDirsSettings::load(box.data(), box.platform().registry, drives);
        auto& base = box.platform();
        platform::Platform with_faults{faulty, base.registry, base.shell, base.links,
                                       base.internet, base.sound, base.system};
        result = emptydirs::run_empty_dirs_search(settings, with_faults, pump, stop, progress);
        Rows paths;
        for (const auto& row : result.rows) paths.push_back(row.path);
        return paths;
    }
    void link(const std::string& windows_path, const std::string& host_target) {
        std::filesystem::create_directories(std::filesystem::path(box.host_path(windows_path)).parent_path());
        ASSERT_EQ(symlink(host_target.c_str(), box.host_path(windows_path).c_str()), 0);
    }
};

}  // namespace

TEST(EmptyFolderMode, ReportsFoldersWithoutAnyEntry) {
    Search s(SearchMode::empty_folders);
    s.box.make_folder("C:\\A\\B");                 // A holds only B
    s.box.write("C:\\H\\S\\hidden.sys");           // a hidden or system file is an entry like any other
    s.box.make_folder("C:\\H\\S\\T\\U\\Deep");
    s.box.make_folder("C:\\Top");                  // a first-level folder is tested itself
    // The walk folders themselves come first: A, H, Top, A\B, H\S.
    EXPECT_EQ(s.run(), (Rows{"C:\\Top", "C:\\A\\B", "C:\\H\\S\\T\\U\\Deep"}));
    EXPECT_EQ(s.progress.count, 5u);
}

TEST(EmptyFolderMode, MissingAreaFolderIsReportedAndDuplicatesOnce) {
    Search s(SearchMode::empty_folders);
    s.box.make_folder("C:\\A\\B\\C");
    s.box.data().rewrite("ed_dirs.txt", {"C:\\Gone", "C:\\A\\B", "C:\\A\\B\\"});
    const Rows rows = s.run();
    EXPECT_EQ(rows, (Rows{"C:\\Gone", "C:\\A\\B\\C"}));
}

TEST(EmptyFolderMode, UnreadableFolderIsNeverEmpty) {
    Search s(SearchMode::empty_folders);
    s.box.make_folder("C:\\A\\B\\Locked");
    s.box.make_folder("C:\\A\\B\\Open");
    s.faulty.deny("C:\\A\\B\\Locked");
    EXPECT_EQ(s.run(), (Rows{"C:\\A\\B\\Open"}));
    // Nor is it removed.
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\B\\Locked",
                                                emptydirs::RemovalKind::folder_alone));
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\B", emptydirs::RemovalKind::tree));
    EXPECT_TRUE(s.box.exists("C:\\A\\B\\Locked"));
    EXPECT_FALSE(s.box.exists("C:\\A\\B\\Open"));  // the readable part of the tree went
}

TEST(EmptyFolderMode, StopEndsTheTestingWithTheRowsFoundSoFar) {
    Search s(SearchMode::empty_folders);
    s.box.make_folder("C:\\A\\B\\E1");
    s.box.make_folder("C:\\Z\\Y\\E2");
    s.pump.on_serve = [&] {
        if (!s.progress.walked.empty() && s.progress.walked.back() == "C:\\Z") s.stop.request();
    };
    EXPECT_EQ(s.run(), (Rows{"C:\\A\\B\\E1"}));
    EXPECT_TRUE(s.result.stopped);
}

TEST(EmptyTreeMode, ReportsTopmostTreesBelowEachWalkFolder) {
    Search s(SearchMode::empty_trees);
    s.box.make_folder("C:\\First");                // a first-level folder is never reported
    s.box.write("C:\\A\\B\\file.txt");
    s.box.make_folder("C:\\A\\B\\C\\D");           // C and D hold no file: C is topmost
    s.box.make_folder("C:\\P\\Q\\R");              // Q, second level, holds only the empty R
    s.box.write("C:\\P\\Q2\\S\\.hidden");          // a hidden file keeps its folders
    s.box.make_folder("C:\\P\\Q2\\Cookies");       // never reported, not even as part of nothing
    EXPECT_EQ(s.run(), (Rows{"C:\\A\\B\\C", "C:\\P\\Q", "C:\\P\\Q\\R"}));
}

TEST(EmptyTreeMode, ExclusionsDoNotApplyInsideATree) {
    Search s(SearchMode::empty_trees);
    s.box.make_folder("C:\\A\\Only\\Temp");       // an empty Temp inside counts as part of the tree
    s.box.write("C:\\A\\Kept\\Temp\\x.tmp");      // a file inside an excluded folder counts too
    s.box.make_folder("C:\\A\\Kept\\Temp\\Empty");
    s.box.make_folder("C:\\A\\Kept\\Microsoft\\Empty");
    EXPECT_EQ(s.run(), (Rows{"C:\\A\\Only"}));
}

TEST(EmptyTreeMode, LinksAndUnreadableFoldersHoldSomething) {
    Search s(SearchMode::empty_trees);
    s.box.make_folder("C:\\Target\\Inside\\Empty");
    s.link("C:\\A\\WithLink\\Link", s.box.host_path("C:\\Target"));
    s.box.make_folder("C:\\A\\Locked\\Sub");
    s.faulty.deny("C:\\A\\Locked");
    s.box.data().rewrite("ed_dirs_ex.txt", {"C:\\Program", "C:\\Target"});
    EXPECT_EQ(s.run(), Rows{});
    // The link's own folder is never removed through it either.
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\WithLink", emptydirs::RemovalKind::tree));
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\WithLink\\Link",
                                                emptydirs::RemovalKind::tree));
    EXPECT_TRUE(s.box.exists("C:\\Target\\Inside\\Empty"));
}

TEST(BothModes, BuiltInExclusionsAndTheRecycleBin) {
    for (SearchMode mode : {SearchMode::empty_folders, SearchMode::empty_trees}) {
        Search s(mode);
        for (const char* folder :
             // The Windows folder is excluded with all below it; C:\\WINDOWS2 is another folder.
             {"C:\\WINDOWS\\A\\Empty", "C:\\WINDOWS2\\A\\Empty", "C:\\RECYCLER\\A\\Empty", "C:\\$Recycle.Bin\\A\\Empty",
              "C:\\U\\System Volume Information\\Empty", "C:\\U\\V\\TEMP\\Empty", "C:\\U\\V\\Temporary Internet Files", "C:\\U\\V\\MSOCache",
              "C:\\U\\V\\Microsoft\\Empty", "C:\\U\\V\\Recent", "C:\\U\\V\\Cookies"})
            s.box.make_folder(folder);
        s.box.write("C:\\U\\V\\keep.txt");
        s.box.make_folder("C:\\U\\V\\Temp1\\E");
        s.box.make_folder("C:\\recycler\\A\\Empty");
        s.box.make_folder("C:\\U\\RECYCLER\\Empty");
        s.box.make_folder("C:\\Area\\Temp\\Empty");  // an area folder is walked whatever its name
        s.box.data().rewrite("ed_dirs.txt", {"C:\\Area\\Temp"});
        const Rows expected = mode == SearchMode::empty_folders
                                  ? Rows{"C:\\Area\\Temp\\Empty", "C:\\U\\V\\Temp1\\E", "C:\\U\\RECYCLER\\Empty",
                                         "C:\\recycler\\A\\Empty", "C:\\WINDOWS2\\A\\Empty"}
                                  // A second-level tree's own subfolders are reported from it too.
                                  : Rows{"C:\\Area\\Temp\\Empty", "C:\\U\\V\\Temp1", "C:\\U\\RECYCLER",
                                         "C:\\U\\RECYCLER\\Empty", "C:\\recycler\\A", "C:\\recycler\\A\\Empty",
                                         "C:\\WINDOWS2\\A", "C:\\WINDOWS2\\A\\Empty"};
        Rows rows = s.run();
        EXPECT_EQ(std::multiset<std::string>(rows.begin(), rows.end()),
                  std::multiset<std::string>(expected.begin(), expected.end()))
            << static_cast<int>(mode);
    }
}

TEST(BothModes, NoWalkFolderMeansAnEmptyReport) {
    Search s(SearchMode::empty_folders);
    EXPECT_EQ(s.run({}), Rows{});
    EXPECT_EQ(s.progress.count, 0u);
    EXPECT_FALSE(s.result.stopped);
}

TEST(EmptyFolderRemoval, TreeTakesEveryEmptyFolderBelowAndNeverAFile) {
    Search s(SearchMode::empty_trees);
    s.box.make_folder("C:\\A\\B\\C\\D");
    s.box.make_folder("C:\\A\\B\\.hidden");
    ASSERT_TRUE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\B", emptydirs::RemovalKind::tree));
    EXPECT_FALSE(s.box.exists("C:\\A\\B"));
    EXPECT_FALSE(s.box.exists("C:\\A\\B\\C"));
    EXPECT_TRUE(s.box.exists("C:\\A"));

    // A tree that received a file loses its empty parts and fails.
    s.box.make_folder("C:\\A\\T\\Empty");
    s.box.write("C:\\A\\T\\Full\\new.txt");
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\T", emptydirs::RemovalKind::tree));
    EXPECT_FALSE(s.box.exists("C:\\A\\T\\Empty"));
    EXPECT_EQ(s.box.read("C:\\A\\T\\Full\\new.txt"), "x");
}

TEST(EmptyFolderRemoval, FolderAloneKeepsAFolderThatReceivedAFile) {
    Search s(SearchMode::empty_folders);
    s.box.make_folder("C:\\A\\Empty");
    s.box.write("C:\\A\\Filled\\new.txt");
    s.box.make_folder("C:\\A\\Parent\\Child");
    using emptydirs::RemovalKind;
    EXPECT_EQ(emptydirs::removal_kind(emptydirs::EmptyDirsSettings::stored_mode(s.box.data())),
              RemovalKind::folder_alone);
    EXPECT_TRUE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\Empty", RemovalKind::folder_alone));
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\Filled", RemovalKind::folder_alone));
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\Parent", RemovalKind::folder_alone));
    EXPECT_TRUE(s.box.exists("C:\\A\\Filled\\new.txt"));
    EXPECT_TRUE(s.box.exists("C:\\A\\Parent\\Child"));
}

TEST(EmptyFolderRemoval, RefusesRootsAndRelativePaths) {
    Search s(SearchMode::empty_trees);
    s.box.make_folder("C:\\A");
    for (const char* path : {"", "A", "C:", "C:\\", "C:\\\\", "C:/", "C:\\A\\..", "C:\\A\\.\\..\\", "C:\\. .",
                             "\\\\server\\share\\"})
        EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, path, emptydirs::RemovalKind::tree)) << path;
    EXPECT_TRUE(s.box.exists("C:\\A"));
}

// A folder whose name has no cp1251 spelling cannot be listed: it holds
// something, in both modes, and so do the folders around it; a tree holding
// one is not removed, and its row is not taken for gone.
TEST(BothModes, AFolderNamedOutsideCp1251HoldsSomething) {
    for (const SearchMode mode : {SearchMode::empty_folders, SearchMode::empty_trees}) {
        Search s(mode);
        const std::string host = s.box.host_path("C:\\U\\V\\W");
        std::filesystem::create_directories(host + "/caf\xC3\xA9");
        std::ofstream(host + "/caf\xC3\xA9/held.txt") << "x";
        std::filesystem::create_directories(s.box.host_path("C:\\U\\V\\E") + "/\xC3\xB8");
        s.box.make_folder("C:\\U\\Empty");
        EXPECT_EQ(s.run(), Rows{"C:\\U\\Empty"}) << static_cast<int>(mode);
    }
    Search s(SearchMode::empty_trees);
    std::filesystem::create_directories(s.box.host_path("C:\\A\\B") + "/\xC3\xB8");
    EXPECT_FALSE(emptydirs::remove_found_folder(s.faulty, s.pump, "C:\\A\\B", emptydirs::RemovalKind::tree));
    EXPECT_TRUE(std::filesystem::exists(s.box.host_path("C:\\A\\B") + "/\xC3\xB8"));
    // A folder that cannot be read is not gone; a missing one is.
    s.faulty.deny("C:\\A");
    const auto listed = search::listed_attributes(s.faulty, {"C:\\A\\B", "C:\\Gone\\B"});
    EXPECT_TRUE(listed[0].has_value());
    EXPECT_FALSE(listed[1].has_value());
}

TEST(EmptyDirsPage, ModeButtonsWriteTheModeAtOnce) {
    Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"}, area{toolkit, "Area"}, exclusions{toolkit, "Exclusions"};
    ui::PageSet pages{form, "Pages"};
    ui::Page page{pages, "Page"};
    emptydirs::EmptyDirsPage empty_dirs(page, area, exclusions, box.data());
    const std::string marker = "C:\\Program\\Data\\ed_empty.txt";

    // Opening the page with the file present sets its button, which writes it anew.
    box.write(marker, "left over");
    empty_dirs.opened();
    EXPECT_TRUE(empty_dirs.folders_button().checked());
    EXPECT_EQ(box.read(marker), "");
    empty_dirs.trees_button().click();
    EXPECT_FALSE(box.exists(marker));
    EXPECT_EQ(emptydirs::EmptyDirsSettings::stored_mode(box.data()), SearchMode::empty_trees);
    empty_dirs.folders_button().click();
    EXPECT_TRUE(box.exists(marker));
    EXPECT_FALSE(empty_dirs.trees_button().checked());
    // Both settings buttons stay usable in both modes.
    EXPECT_TRUE(empty_dirs.area_button().enabled() && empty_dirs.exclusions_button().enabled());
}
