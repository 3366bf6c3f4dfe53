// Where the browsers keep their traces, and the cleaning of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "privacy/browser_cleaning.h"
#include "privacy/browsers.h"
#include "privacy_fixture.h"

using privacy::Browser;
using privacy::Store;
using testing_support::BrowserMachine;

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
    EXPECT_EQ(privacy::location(p, Browser::firefox, Store::cookies),
              "C:\\User\\AppData\\Mozilla\\Firefox\\Profiles\\zz.second\\cookies.txt");
    EXPECT_EQ(privacy::location(p, Browser::firefox, Store::cache), privacy::kNoCache);  // no Cache folder

    m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini", "[General]\r\nName=x\r\n");
    EXPECT_FALSE(privacy::firefox_profile(p));
    EXPECT_FALSE(privacy::location(p, Browser::firefox, Store::history));
    EXPECT_EQ(privacy::location(p, Browser::firefox, Store::cache), privacy::kNoCache);

    m.install_opera();
    EXPECT_EQ(privacy::location(p, Browser::opera, Store::cache), privacy::kNoCache);
    m.box.write("C:\\Opera\\profile\\cache4\\a.tmp", "12345");
    EXPECT_EQ(privacy::location(p, Browser::opera, Store::cache), "C:\\Opera\\profile\\cache4");
    EXPECT_EQ(privacy::location(p, Browser::opera, Store::history), "C:\\Opera\\profile\\global.dat");
    EXPECT_EQ(privacy::location(p, Browser::internet_explorer, Store::history), "C:\\User\\History");
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

    m.box.write("C:\\Elsewhere\\history.dat");
    m.box.make_folder(testing_support::kProfile);
    std::filesystem::create_directory_symlink(m.box.host_path("C:\\Elsewhere"),
                                              m.box.host_path(std::string(testing_support::kProfile) + "\\link"));
    const std::string folder = testing_support::kProfile;
    EXPECT_FALSE(privacy::remove_browser_file(p.fs, folder + "\\link\\history.dat", folder));
    EXPECT_FALSE(privacy::remove_browser_file(p.fs, "C:\\Elsewhere\\history.dat", folder));
    EXPECT_FALSE(privacy::remove_browser_file(p.fs, "history.dat", folder));
    EXPECT_FALSE(privacy::remove_browser_file(p.fs, "C:\\Elsewhere\\history.dat", ""));
    EXPECT_TRUE(m.box.exists("C:\\Elsewhere\\history.dat"));
    m.box.write(folder + "\\history.dat");
    EXPECT_TRUE(privacy::remove_browser_file(p.fs, folder + "/history.dat", folder));
    EXPECT_FALSE(m.box.exists(folder + "\\history.dat"));

    // A link inside a cache is neither entered nor removed.
    m.box.write(std::string(testing_support::kFirefoxCache) + "\\a.tmp");
    std::filesystem::create_directory_symlink(
        m.box.host_path("C:\\Elsewhere"), m.box.host_path(std::string(testing_support::kFirefoxCache) + "\\inside"));
    m.box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini", "Path=Profiles/abcd.default\r\n");
    traces.clean(Browser::firefox, Store::cache);
    EXPECT_FALSE(m.box.exists(std::string(testing_support::kFirefoxCache) + "\\a.tmp"));
    EXPECT_TRUE(m.box.exists("C:\\Elsewhere\\history.dat"));
}
