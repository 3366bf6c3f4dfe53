// The temporary folder and the recycle bin: the folder routines, the cleaning
// and the page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "junk/temp_page.h"
#include "posix/headless_ui.h"
#include "sandbox.h"
#include "search/folders.h"

using testing_support::Sandbox;

namespace {

std::string path_of(const search::BuiltLocation& built) { return built ? built->path() : "none"; }

std::string temp_path(Sandbox& box) {
    return path_of(search::TempFolderPath(box.platform().system, box.platform().fs, {}));
}

Sandbox with_temp(const std::string& temp) {
    return Sandbox([temp](platform::posix::PosixConfig& config, const std::string&) {
        config.environment = {{"TMP", "C:\\Other"}, {"TEMP", temp}};
    });
}

}  // namespace

TEST(TempFolder, IsTheLongFormOfTempAndNothingElse) {
    Sandbox box([](auto& config, const std::string&) {
        config.environment = {{"TEMP", "C:\\Wrong"}, {"temp", "C:\\Lower"}, {"TEMP", "C:\\LOCALS~1\\TEMP"}};
    });
    box.make_folder("C:\\Locals~1\\Temp");
    EXPECT_EQ(temp_path(box), "C:\\Locals~1\\Temp");

    for (const char* bad : {"", "Temp", "C:", "C:\\", "C:\\Missing", "\\\\server\\share"}) {
        Sandbox none = with_temp(bad);
        EXPECT_EQ(temp_path(none), "none") << bad;
    }
    Sandbox unset([](auto& config, const std::string&) { config.environment = {{"TMP", "C:\\Temp"}}; });
    unset.make_folder("C:\\Temp");
    EXPECT_EQ(temp_path(unset), "none");
}

TEST(FolderRoutines, SkipIndexDatButRemoveItsEmptyFolder) {
    Sandbox box = with_temp("C:\\Temp");
    box.write("C:\\Temp\\a.tmp", "12345");
    box.write("C:\\Temp\\index.dat", "0123456789");
    box.write("C:\\Temp\\sub\\index.dat", "0123456789");
    box.write("C:\\Temp\\sub\\b.log", "123");
    box.write("C:\\Temp\\index.dat2\\c.txt", "1");
    box.make_folder("C:\\Temp\\cache\\index.dat");
    auto& fs = box.platform().fs;
    headless::Pump pump;

    EXPECT_EQ(search::FolderSize(fs, pump, "C:\\Temp"), 9u);
    EXPECT_EQ(search::ListFilesInTree(fs, pump, "C:\\Temp", false, false),
              (std::vector<std::string>{"a.tmp", "c.txt", "b.log"}));
    EXPECT_EQ(search::ListFilesInTree(fs, pump, "C:\\Temp\\", true, true),
              (std::vector<std::string>{"C:\\Temp\\a.tmp", "C:\\Temp\\cache", "C:\\Temp\\index.dat2",
                                        "C:\\Temp\\index.dat2\\c.txt", "C:\\Temp\\sub", "C:\\Temp\\sub\\b.log"}));
    EXPECT_EQ(search::ListAllFilesInTree(fs, pump, "C:\\Temp").size(), 5u);
    EXPECT_GE(pump.served, 8);

    junk::TempFolders folders(box.platform(), pump);
    EXPECT_EQ(folders.measure_temp().files, 3u);
    folders.clean_temp();
    EXPECT_TRUE(box.exists("C:\\Temp\\index.dat"));
    EXPECT_TRUE(box.exists("C:\\Temp\\sub\\index.dat"));
    EXPECT_FALSE(box.exists("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(box.exists("C:\\Temp\\index.dat2"));
    EXPECT_FALSE(box.exists("C:\\Temp\\cache"));  // "cache\index.dat" was an empty folder
    EXPECT_TRUE(box.exists("C:\\Temp\\sub"));
    EXPECT_TRUE(box.exists("C:\\Temp"));
}

TEST(FolderRoutines, LongerPathsComeFirstAndSizesAre64Bit) {
    std::vector<std::string> folders{"C:\\a", "C:\\a\\bb\\c", "C:\\a\\bb", "C:\\x\\yy"};
    search::SortByLengthDescending(folders);
    EXPECT_EQ(folders.front(), "C:\\a\\bb\\c");
    EXPECT_EQ(folders.back(), "C:\\a");

    Sandbox box = with_temp("C:\\Temp");
    box.make_folder("C:\\Temp");
    {
        std::ofstream big(box.host_path("C:\\Temp\\big.iso"), std::ios::binary);
    }
    std::filesystem::resize_file(box.host_path("C:\\Temp\\big.iso"), 3ull << 30);  // sparse
    box.write("C:\\Temp\\small.txt", "abc");
    headless::Pump pump;
    auto& fs = box.platform().fs;
    EXPECT_EQ(search::FolderSize(fs, pump, "C:\\Temp"), (3ull << 30) + 3);
    EXPECT_EQ(search::FileSizeOf(fs, "C:\\Temp\\big.iso"), 3ull << 30);
    EXPECT_EQ(search::FileSizeOf(fs, "C:\\Temp\\none.txt"), 0u);
    EXPECT_EQ(search::SumFileSizes(fs, {"C:\\Temp\\big.iso", "C:\\Temp\\small.txt", "C:\\Temp\\gone"}),
              (3ull << 30) + 3);
}

TEST(TempCleaning, RetriesAReadOnlyFileAndKeepsWhatResists) {
    Sandbox box = with_temp("C:\\Temp");
    box.write("C:\\Temp\\ro.tmp");
    box.write("C:\\Temp\\deep\\er\\x.tmp");
    auto& fs = box.platform().fs;
    ASSERT_TRUE(fs.set_attributes("C:\\Temp\\ro.tmp", platform::attr::read_only | platform::attr::hidden));
    ASSERT_FALSE(fs.delete_file("C:\\Temp\\ro.tmp"));
    headless::Pump pump;
    junk::TempFolders folders(box.platform(), pump);
    folders.clean_temp();
    EXPECT_FALSE(box.exists("C:\\Temp\\ro.tmp"));
    EXPECT_FALSE(box.exists("C:\\Temp\\deep"));
    EXPECT_EQ(folders.measure_temp().files, 0u);
}

TEST(TempCleaning, AMissingTempFolderCleansNothing) {
    Sandbox box = with_temp("");
    box.write("C:\\Program\\keep.txt");
    headless::Pump pump;
    junk::TempFolders folders(box.platform(), pump);
    EXPECT_EQ(folders.measure_temp().files, 0u);
    folders.clean_temp();
    EXPECT_TRUE(box.exists("C:\\Program\\keep.txt"));
}

namespace {

struct PageFixture {
    explicit PageFixture(const std::string& temp) : box(with_temp(temp)) {}
    Sandbox box;
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "Pages"};
    ui::Page page{pages, "Page"};
    std::unique_ptr<platform::SoundPlayer> clean = box.platform().sound.make_player();
    junk::TempPage temp{page, box.platform(), toolkit.pump(), clean};
};

}  // namespace

TEST(TempPage, ShowsCountsAndCleansEachPlace) {
    PageFixture f("C:\\Temp");
    f.box.write("C:\\Temp\\a.tmp", std::string(1535, 'a'));
    f.box.write("C:\\Temp\\s\\b.tmp", "b");
    f.box.write("C:\\Doc.txt", "doc");
    ASSERT_TRUE(f.box.platform().shell.delete_to_recycle_bin("C:\\Doc.txt"));
    EXPECT_FALSE(f.temp.temp_count().visible());

    f.temp.refresh();
    EXPECT_EQ(f.temp.temp_count().text(), "2");
    EXPECT_EQ(f.temp.temp_size().text(), "1,5 KB");
    EXPECT_EQ(f.temp.bin_count().text(), "1");
    EXPECT_TRUE(f.temp.temp_count().visible());
    EXPECT_TRUE(f.temp.all_button().enabled());

    f.temp.temp_button().click();
    EXPECT_EQ(f.temp.temp_count().text(), "0");
    EXPECT_EQ(f.temp.temp_size().text(), "0 KB");
    EXPECT_FALSE(f.temp.temp_button().enabled());
    EXPECT_TRUE(f.temp.all_button().enabled());

    f.temp.all_button().click();
    EXPECT_EQ(f.temp.bin_count().text(), "0");
    EXPECT_EQ(f.temp.bin_size().text(), "0 KB");
    EXPECT_FALSE(f.temp.all_button().enabled());
    EXPECT_EQ(f.box.platform().shell.query_recycle_bin()->items, 0u);
}

TEST(TempPage, NothingToCleanLeavesEveryButtonDisabled) {
    for (const char* temp : {"C:\\Temp", ""}) {
        PageFixture f(temp);
        f.box.make_folder("C:\\Temp");
        f.temp.refresh();
        EXPECT_EQ(f.temp.temp_count().text(), "0") << temp;
        EXPECT_EQ(f.temp.temp_size().text(), "0 KB");
        EXPECT_FALSE(f.temp.temp_button().enabled());
        EXPECT_FALSE(f.temp.bin_button().enabled());
        EXPECT_FALSE(f.temp.all_button().enabled());
        f.temp.temp_button().click();  // a disabled button never acts
    }
}

TEST(TempPage, QuickActionsPlayTheCleanSoundAndLeaveThePage) {
    PageFixture f("C:\\Temp");
    f.box.write("C:\\Temp\\a.tmp");
    std::ifstream wav(VORLINDE_TEST_DATA "/../../data/clean.wav", std::ios::binary);
    f.box.write("C:\\Program\\Data\\clean.wav", std::string(std::istreambuf_iterator<char>(wav), {}));
    ASSERT_TRUE(f.clean->load("C:\\Program\\Data\\clean.wav"));
    f.temp.quick_clean_temp();
    f.temp.quick_empty_bin();
    EXPECT_FALSE(f.box.exists("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(f.temp.temp_count().visible());
    EXPECT_EQ(static_cast<platform::posix::PosixSoundPlayer&>(*f.clean).plays(), 2);
}

// TEMP may name the root of a drive in many spellings, or lead there through
// a junction: the page then counts nothing and cleans nothing.
TEST(TempFolder, NoSpellingOfADriveRootIsCleaned) {
    const auto with_d = [](const std::string& temp) {
        return Sandbox([temp](platform::posix::PosixConfig& config, const std::string& root) {
            std::filesystem::create_directories(root + "/d");
            config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
            config.environment = {{"TEMP", temp}};
        });
    };
    for (const char* spelling : {"D:\\", "D:\\\\", "D:/", "D:\\x\\..\\", "D:\\x/..", "D:\\.", "D:\\ ", "D:\\...",
                                 "d:\\\\\\", "\\\\?\\D:\\", "C:\\Junction", "C:\\Junction\\."}) {
        Sandbox box = with_d(spelling);
        for (const char* file : {"D:\\a.txt", "D:\\b.tmp", "D:\\x\\c.log"}) box.write(file);
        ASSERT_EQ(symlink((box.root() + "/d").c_str(), box.host_path("C:\\Junction").c_str()), 0);
        headless::Pump pump;
        junk::TempFolders folders(box.platform(), pump);
        EXPECT_FALSE(folders.folder()) << spelling;
        EXPECT_EQ(folders.measure_temp().files, 0u) << spelling;
        folders.clean_temp();
        for (const char* file : {"D:\\a.txt", "D:\\b.tmp", "D:\\x\\c.log"}) EXPECT_TRUE(box.exists(file)) << spelling;
    }
    // A junction to an ordinary folder is cleaned through its own path.
    Sandbox box = with_d("C:\\Junction");
    box.write("D:\\Temp\\a.tmp");
    ASSERT_EQ(symlink((box.root() + "/d/Temp").c_str(), box.host_path("C:\\Junction").c_str()), 0);
    headless::Pump pump;
    junk::TempFolders folders(box.platform(), pump);
    EXPECT_EQ(path_of(folders.folder()), "C:\\Junction");
    folders.clean_temp();
    EXPECT_FALSE(box.exists("D:\\Temp\\a.tmp"));
}

// TEMP pointed at a folder the user keeps things in: the page counts nothing,
// says why, and its cleaning leaves every file.
TEST(TempPage, ATempThatHoldsTheUsersFoldersIsRefused) {
    const char* const desktop = "C:\\Users\\me\\Desktop";
    const char* const documents = "C:\\Users\\me\\Documents";
    const char* const windows = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows";
    for (const char* temp : {documents, desktop, windows}) {
        PageFixture f(temp);
        auto key = f.box.platform().registry.create(
            platform::Root::current_user, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
        ASSERT_TRUE(key);
        ASSERT_TRUE((*key)->write_string("Desktop", desktop));
        ASSERT_TRUE((*key)->write_string("Personal", documents));
        ASSERT_TRUE((*key)->write_string("SendTo", std::string(windows) + "\\SendTo"));
        ASSERT_TRUE((*key)->write_string("Recent", std::string(windows) + "\\Recent"));
        const std::string planted[] = {std::string(desktop) + "\\note.txt", std::string(documents) + "\\thesis.doc",
                                       std::string(windows) + "\\SendTo\\Mail.lnk",
                                       std::string(windows) + "\\Recent\\thesis.lnk"};
        for (const auto& file : planted) f.box.write(file);

        f.temp.refresh();
        EXPECT_EQ(f.temp.temp_count().text(), "0") << temp;
        EXPECT_FALSE(f.temp.temp_button().enabled());
        EXPECT_TRUE(f.temp.refusal().visible());
        EXPECT_NE(f.temp.refusal().text().find(temp), std::string::npos) << f.temp.refusal().text();
        f.temp.clean_temp();
        f.temp.quick_clean_temp();
        for (const auto& file : planted) EXPECT_TRUE(f.box.exists(file)) << temp << ": " << file;
    }
    PageFixture f("C:\\Temp");
    f.box.make_folder("C:\\Temp");
    f.temp.refresh();
    EXPECT_FALSE(f.temp.refusal().visible());
}
