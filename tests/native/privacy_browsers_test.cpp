// Where the browsers keep their traces, and the cleaning of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "privacy/browser_cleaning.h"
#include "privacy/browsers.h"
#include "privacy_fixture.h"

using privacy::Browser;
using privacy::Store;
using testing_support::BrowserMachine;

namespace {

// A location's full form, or "Error" for none (what the page sizes as 0 KB).
std::string where(platform::Platform& p, Browser browser, Store store) {
    const auto built = privacy::location(p, browser, store);
    return built ? built->path() : "Error";
}

}  // namespace

TEST(BrowserSlots, OperaFirstFirefoxAfterIt) {
    {
        BrowserMachine m;
        EXPECT_EQ(privacy::fill_slots(m.box.platform()).filled(), 0);
        m.install_firefox();
        const auto slots = privacy::fill_slots(m.box.platform());
        EXPECT_EQ(slots.first, "Firefox 3.0.1 (ru)");
        EXPECT_FALSE(slots.second);
        EXPECT_EQ(privacy::browser_of_row(1, *slots.first), Browser::firefox);
    }
    {
        BrowserMachine m;
        m.install_firefox();
        m.install_opera();  // the short lines before the first "Ver" line are passed over
        const auto slots = privacy::fill_slots(m.box.platform());
        EXPECT_EQ(slots.first, "Opera 9.27");
        EXPECT_EQ(slots.second, "Firefox 3.0.1 (ru)");
        EXPECT_EQ(privacy::browser_of_row(1, *slots.first), Browser::opera);
        EXPECT_EQ(privacy::browser_of_row(2, "Opera"), Browser::firefox);
    }
    {
        BrowserMachine m;
        m.install_firefox();
        m.install_opera("");  // without english.lng Opera is not offered
        const auto slots = privacy::fill_slots(m.box.platform());
        EXPECT_EQ(slots.first, "Firefox 3.0.1 (ru)");
        EXPECT_FALSE(slots.second);
    }
    {
        BrowserMachine m;
        m.install_opera("x\r\nno version here\r\n");
        EXPECT_EQ(privacy::fill_slots(m.box.platform()).first, "Opera ");
        m.install_firefox();
        ASSERT_TRUE(m.box.platform().registry.delete_tree(platform::Root::current_user,
                                                          "Software\\Mozilla\\Mozilla Firefox\\3.0.1 (ru)\\Main"));
        EXPECT_FALSE(privacy::firefox_version(m.box.platform()));
    }
}

TEST(BrowserLocations, FirstPatLineOfProfilesIniNamesTheProfile) {
    BrowserMachine m;
    m.install_firefox();
    auto& p = m.box.platform();
    m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini",
                "[Profile1]\r\nPa\r\n\r\nPath=Profiles/zz.second\r\n[Profile0]\r\nPath=Profiles/abcd.default\r\n");
    EXPECT_EQ(privacy::firefox_profile(p), "zz.second");
    m.box.make_folder("C:\\User\\AppData\\Mozilla\\Firefox\\Profiles\\zz.second");
    EXPECT_EQ(where(p, Browser::firefox, Store::cookies),
              "C:\\User\\AppData\\Mozilla\\Firefox\\Profiles\\zz.second\\cookies.txt");
    EXPECT_EQ(where(p, Browser::firefox, Store::cache), "Error");  // no Cache folder

    m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini", "[General]\r\nName=x\r\n");
    EXPECT_FALSE(privacy::firefox_profile(p));
    EXPECT_EQ(where(p, Browser::firefox, Store::history), "Error");
    EXPECT_EQ(where(p, Browser::firefox, Store::cache), "Error");

    m.install_opera();
    EXPECT_EQ(where(p, Browser::opera, Store::cache), "Error");
    m.box.write("C:\\Opera\\profile\\cache4\\a.tmp", "12345");
    EXPECT_EQ(where(p, Browser::opera, Store::cache), "C:\\Opera\\profile\\cache4");
    EXPECT_EQ(where(p, Browser::opera, Store::history), "C:\\Opera\\profile\\global.dat");
    m.box.make_folder("C:\\User\\History");
    EXPECT_EQ(where(p, Browser::internet_explorer, Store::history), "C:\\User\\History");
}

// Hand-edited settings that once reached folders far from the browsers: a
// profile name climbing out of Profiles, an Opera folder at a drive root, a
// base written with a trailing backslash.
TEST(BrowserGuards, LocationsAreBuiltOnlyFromCheckedParts) {
    {
        BrowserMachine m;
        m.install_firefox();
        auto& p = m.box.platform();
        m.box.write("C:\\Victim\\Cache\\precious.doc");
        m.box.write("C:\\Victim\\history.dat");
        m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini",
                    "[Profile0]\r\nPath=Profiles/../../../../../../../Victim\r\n");
        m.set_folder("Local AppData", "C:\\User\\AppData");
        privacy::BrowserTraces traces(p, m.pump);
        EXPECT_FALSE(privacy::firefox_profile(p));
        EXPECT_EQ(traces.cache_bytes(Browser::firefox), 0u);
        for (const Store s : {Store::cache, Store::history, Store::cookies}) traces.clean(Browser::firefox, s);
        EXPECT_TRUE(m.box.exists("C:\\Victim\\Cache\\precious.doc"));
        EXPECT_TRUE(m.box.exists("C:\\Victim\\history.dat"));
        for (const char* name : {"..", ".", "a\\b", "C:x", "abcd.default.", "abcd ", ""}) {
            m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini",
                        std::string("Path=Profiles/") + name + "\r\n");
            EXPECT_FALSE(privacy::firefox_profile(p)) << name;
        }
    }
    {
        BrowserMachine m;
        m.set_value("Software\\Opera Software", "Last Directory3", "C:\\");
        m.box.write("C:\\Opera.exe");
        m.box.write("C:\\english.lng", "VersionInfo 9.50\r\n");
        m.box.write("C:\\profile\\cache4\\mine.txt", "12345");
        m.box.write("C:\\profile\\global.dat");
        auto& p = m.box.platform();
        privacy::BrowserTraces traces(p, m.pump);
        EXPECT_EQ(privacy::fill_slots(p).first, "Opera 9.50");  // offered, but its stores are refused
        EXPECT_EQ(traces.cache_bytes(Browser::opera), 0u);
        EXPECT_NE(traces.refusal(Browser::opera, Store::cache).find("корень диска"), std::string::npos);
        for (const Store s : {Store::cache, Store::history, Store::cookies}) traces.clean(Browser::opera, s);
        EXPECT_TRUE(m.box.exists("C:\\profile\\cache4\\mine.txt"));
        EXPECT_TRUE(m.box.exists("C:\\profile\\global.dat"));
    }
    {
        BrowserMachine m;
        m.install_opera();
        m.set_value("Software\\Opera Software", "Last Directory3", "C:\\Opera\\");
        m.box.write("C:\\Opera\\profile\\cache4\\a.tmp", "12345");
        m.box.write("C:\\Opera\\profile\\global.dat");
        m.box.write("C:\\Opera\\profile\\cookies4.dat");
        auto& p = m.box.platform();
        privacy::BrowserTraces traces(p, m.pump);
        EXPECT_EQ(where(p, Browser::opera, Store::history), "C:\\Opera\\profile\\global.dat");
        for (const Store s : {Store::cache, Store::history, Store::cookies}) traces.clean(Browser::opera, s);
        for (const char* gone : {"C:\\Opera\\profile\\cache4\\a.tmp", "C:\\Opera\\profile\\global.dat",
                                 "C:\\Opera\\profile\\cookies4.dat"})
            EXPECT_FALSE(m.box.exists(gone)) << gone;
    }
}

TEST(BrowserCleaning, IndexDatFilesAreNeitherCountedNorCleanedFromCaches) {
    BrowserMachine m;
    auto& p = m.box.platform();
    privacy::BrowserTraces traces(p, m.pump);
    m.box.write("C:\\User\\Cache\\index.dat", std::string(4000, 'i'));
    m.box.write("C:\\User\\Cache\\Content.IE5\\index.dat", "i");
    EXPECT_EQ(traces.cache_bytes(Browser::internet_explorer), 0u);
    EXPECT_FALSE(traces.cache_holds_files(Browser::internet_explorer));
    traces.clean(Browser::internet_explorer, Store::cache);
    EXPECT_TRUE(m.box.exists("C:\\User\\Cache\\index.dat"));
    EXPECT_TRUE(m.box.exists("C:\\User\\Cache\\Content.IE5\\index.dat"));

    // A subfolder still holding index.dat stays, and so do the folders above it.
    m.box.write("C:\\User\\Cache\\Content.IE5\\AB12\\page[1].htm", "123");
    m.box.write("C:\\User\\Cache\\Other\\Deep\\pic.gif", "1234567");
    ASSERT_TRUE(p.fs.set_attributes("C:\\User\\Cache\\Other\\Deep\\pic.gif", platform::attr::read_only));
    EXPECT_EQ(traces.cache_bytes(Browser::internet_explorer), 10u);
    EXPECT_TRUE(traces.cache_holds_files(Browser::internet_explorer));
    traces.clean(Browser::internet_explorer, Store::cache);
    EXPECT_FALSE(m.box.exists("C:\\User\\Cache\\Content.IE5\\AB12"));
    EXPECT_TRUE(m.box.exists("C:\\User\\Cache\\Content.IE5\\index.dat"));
    EXPECT_FALSE(m.box.exists("C:\\User\\Cache\\Other"));
    EXPECT_TRUE(m.box.exists("C:\\User\\Cache"));

    // The history goes whole, index.dat too, but its folders stay.
    m.box.write("C:\\User\\History\\index.dat");
    m.box.write("C:\\User\\History\\History.IE5\\MSHist01\\index.dat");
    traces.clean(Browser::internet_explorer, Store::history);
    EXPECT_FALSE(m.box.exists("C:\\User\\History\\index.dat"));
    EXPECT_FALSE(m.box.exists("C:\\User\\History\\History.IE5\\MSHist01\\index.dat"));
    EXPECT_TRUE(m.box.exists("C:\\User\\History\\History.IE5\\MSHist01"));
}

TEST(BrowserGuards, EmptyLocationsCleanNothing) {
    BrowserMachine m;
    auto& p = m.box.platform();
    privacy::BrowserTraces traces(p, m.pump);
    // What a missing value would reach: the root of the current drive.
    m.box.write("C:\\boot.ini", "boot");
    m.box.write("C:\\Documents\\letter.doc", "doc");
    m.drop_folder("Cache");
    m.set_folder("History", "C:\\");
    m.set_folder("Cookies", "");
    EXPECT_EQ(traces.cache_bytes(Browser::internet_explorer), 0u);
    for (const Store s : {Store::cache, Store::history, Store::cookies}) traces.clean(Browser::internet_explorer, s);

    // An Opera key with an empty folder, a Firefox without Local AppData.
    m.set_value("Software\\Opera Software", "Last Directory3", "");
    m.box.write("C:\\profile\\cache4\\x.tmp");
    m.box.write("C:\\profile\\global.dat");
    m.install_firefox();
    m.drop_folder("Local AppData");
    m.box.write("C:\\Mozilla\\Firefox\\Profiles\\abcd.default\\Cache\\y.tmp");
    for (const Browser b : {Browser::opera, Browser::firefox}) {
        EXPECT_EQ(traces.cache_bytes(b), 0u);
        traces.clean(b, Store::cache);
        traces.clean(b, Store::history);
    }
    for (const char* kept : {"C:\\boot.ini", "C:\\Documents\\letter.doc", "C:\\profile\\cache4\\x.tmp",
                             "C:\\profile\\global.dat", "C:\\Mozilla\\Firefox\\Profiles\\abcd.default\\Cache\\y.tmp"})
        EXPECT_TRUE(m.box.exists(kept)) << kept;
}

TEST(BrowserGuards, SingleFilesOnlyInsideTheBrowserFolderAndNeverThroughLinks) {
    BrowserMachine m;
    m.install_firefox();
    auto& p = m.box.platform();
    m.box.write("C:\\User\\AppData\\cookies.txt", "someone else's");
    m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini", "Path=Profiles/..\\..\\..\r\n");
    privacy::BrowserTraces traces(p, m.pump);
    traces.clean(Browser::firefox, Store::cookies);
    EXPECT_TRUE(m.box.exists("C:\\User\\AppData\\cookies.txt"));

    // A profile folder reached through a link names no history file.
    m.box.write("C:\\Elsewhere\\history.dat");
    m.box.make_folder("C:\\User\\AppData\\Mozilla\\Firefox\\Profiles");
    std::filesystem::create_directory_symlink(m.box.host_path("C:\\Elsewhere"), m.box.host_path(testing_support::kProfile));
    m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini", "Path=Profiles/abcd.default\r\n");
    EXPECT_EQ(where(p, Browser::firefox, Store::history), "Error");
    traces.clean(Browser::firefox, Store::history);
    EXPECT_TRUE(m.box.exists("C:\\Elsewhere\\history.dat"));
    std::filesystem::remove(m.box.host_path(testing_support::kProfile));
    const std::string folder = testing_support::kProfile;
    m.box.write(folder + "\\history.dat");
    traces.clean(Browser::firefox, Store::history);
    EXPECT_FALSE(m.box.exists(folder + "\\history.dat"));

    // A link inside a cache is neither entered nor removed.
    m.box.write(std::string(testing_support::kFirefoxCache) + "\\a.tmp");
    std::filesystem::create_directory_symlink(
        m.box.host_path("C:\\Elsewhere"), m.box.host_path(std::string(testing_support::kFirefoxCache) + "\\inside"));
    traces.clean(Browser::firefox, Store::cache);
    EXPECT_FALSE(m.box.exists(std::string(testing_support::kFirefoxCache) + "\\a.tmp"));
    EXPECT_TRUE(m.box.exists("C:\\Elsewhere\\history.dat"));
}
