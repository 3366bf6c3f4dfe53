// Today's browsers: their profiles found, each store cleaned and nothing
// else of a profile touched, a running browser left alone, and Firefox's
// history cleared inside its database.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "privacy/browser_cleaning.h"
#include "privacy/modern_browsers.h"
#include "privacy_fixture.h"

using privacy::ModernBrowser;
using privacy::ModernTraces;
using privacy::Store;
using testing_support::BrowserMachine;

namespace {

const std::string kLocal = "C:\\User\\Local\\";
const std::string kRoaming = "C:\\User\\AppData\\";
const std::string kFirefox = kRoaming + "Mozilla\\Firefox\\";

// A Chromium profile with every store and what the user keeps beside them.
void plant_chromium(BrowserMachine& m, const std::string& data, const std::string& local) {
    for (const char* kept : {"Preferences", "Bookmarks", "Login Data", "Extensions\\abc\\manifest.json"})
        m.box.write(data + "\\" + kept, "kept");
    for (const char* store : {"History", "History-journal", "Visited Links", "Top Sites", "Network\\Cookies",
                              "Network\\Cookies-journal", "Cookies"})
        m.box.write(data + "\\" + store, "trace");
    for (const char* cache : {"Cache\\Cache_Data\\f_000001", "Code Cache\\js\\index", "GPUCache\\data_0"})
        m.box.write(local + "\\" + cache, "12345");
}

// Runs SQL on a database file of the sandbox.
void run_sql(BrowserMachine& m, const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m.box.host_path(file).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string query(BrowserMachine& m, const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(m.box.host_path(file).c_str(), &db);
    std::string out;
    sqlite3_exec(
        db, sql.c_str(),
        [](void* text, int columns, char** values, char**) {
            for (int i = 0; i < columns; ++i)
                *static_cast<std::string*>(text) += std::string(values[i] ? values[i] : "NULL") + (i + 1 < columns ? "," : ";");
            return 0;
        },
        &out, nullptr);
    sqlite3_close(db);
    return out;
}

// A places.sqlite as Firefox keeps it: two visited pages, one of them
// bookmarked and with a favicon, typed input and the sites.
void plant_places(BrowserMachine& m, const std::string& file) {
    m.box.make_folder(file.substr(0, file.rfind('\\')));
    run_sql(m, file,
            "CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT, host TEXT);"
            "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT, title TEXT, visit_count INTEGER,"
            " last_visit_date INTEGER, favicon_id INTEGER, origin_id INTEGER);"
            "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, place_id INTEGER, visit_date INTEGER);"
            "CREATE TABLE moz_inputhistory (place_id INTEGER, input TEXT);"
            "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER, title TEXT);"
            "CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url TEXT, data BLOB);"
            "CREATE INDEX visits_place ON moz_historyvisits (place_id);"
            "INSERT INTO moz_origins VALUES (1, 'https://', 'kept.example'), (2, 'https://', 'visited.example');"
            "INSERT INTO moz_places VALUES (1, 'https://kept.example/', 'Kept', 3, 100, 1, 1),"
            " (2, 'https://visited.example/secret', 'Secret', 5, 200, NULL, 2);"
            "INSERT INTO moz_historyvisits VALUES (1, 1, 100), (2, 2, 200), (3, 2, 201);"
            "INSERT INTO moz_inputhistory VALUES (2, 'secr');"
            "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 'root'), (2, 1, 1, 1, 'My bookmark');"
            "INSERT INTO moz_favicons VALUES (1, 'https://kept.example/favicon.ico', x'89504E47');");
}

// Firefox's one profile, "x.default", with its places.sqlite; its path.
std::string plant_profile_with_places(BrowserMachine& m) {
    m.box.write(kFirefox + "profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x.default\r\n");
    const std::string places = kFirefox + "Profiles\\x.default\\places.sqlite";
    plant_places(m, places);
    return places;
}

std::vector<std::string> names(const std::vector<ModernBrowser>& browsers) {
    std::vector<std::string> out;
    for (const auto& b : browsers) out.push_back(b.name);
    return out;
}

}  // namespace

TEST(ModernBrowsers, EveryBrowserFoundAndEachStoreCleanedAlone) {
    BrowserMachine m;
    auto& p = m.box.platform();
    const std::string chrome = kLocal + "Google\\Chrome\\User Data\\";
    plant_chromium(m, chrome + "Default", chrome + "Default");
    plant_chromium(m, chrome + "Profile 2", chrome + "Profile 2");
    m.box.write(chrome + "Profile 3\\History", "no Preferences: no profile");
    m.box.write(chrome + "System Profile\\Preferences", "not a user's profile");
    m.box.write(chrome + "System Profile\\History", "not a user's profile");
    for (const char* folder : {"Microsoft\\Edge", "Yandex\\YandexBrowser", "BraveSoftware\\Brave-Browser", "Vivaldi",
                               "Chromium"})
        plant_chromium(m, kLocal + folder + "\\User Data\\Default", kLocal + folder + "\\User Data\\Default");
    plant_chromium(m, kRoaming + "Opera Software\\Opera Stable", kLocal + "Opera Software\\Opera Stable");
    // Firefox: two relative profiles, an absolute one, and sections that name none.
    m.box.write(kFirefox + "profiles.ini",
                "[Install308046B0AF4A39CB]\r\nDefault=Profiles/x.default-release\r\n\r\n"
                "[Profile1]\r\nName=second\r\nIsRelative=1\r\nPath=Profiles/y.second\r\n\r\n"
                "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/x.default-release\r\nDefault=1\r\n\r\n"
                "[Profile2]\r\nName=moved\r\nIsRelative=0\r\nPath=C:\\Elsewhere\\ff\r\n\r\n"
                "[Profile3]\r\nName=no flag\r\nPath=Profiles/z.none\r\n\r\n"
                "[Profile4]\r\nName=gone\r\nIsRelative=1\r\nPath=Profiles/missing\r\n");
    const std::vector<std::pair<std::string, std::string>> firefox_profiles = {
        {kFirefox + "Profiles\\y.second", kLocal + "Mozilla\\Firefox\\Profiles\\y.second"},
        {kFirefox + "Profiles\\x.default-release", kLocal + "Mozilla\\Firefox\\Profiles\\x.default-release"},
        {"C:\\Elsewhere\\ff", "C:\\Elsewhere\\ff"}};
    for (const auto& [data, local] : firefox_profiles) {
        for (const char* kept : {"key4.db", "logins.json", "prefs.js", "bookmarkbackups\\b.jsonlz4", "favicons.sqlite"})
            m.box.write(data + "\\" + kept, "kept");
        for (const char* cookie : {"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-shm"})
            m.box.write(data + "\\" + cookie, "trace");
        m.box.write(local + "\\cache2\\entries\\ABCDEF", "1234567");
    }
    m.box.write(kFirefox + "Profiles\\z.none\\cookies.sqlite", "not a listed profile");

    const auto found = privacy::find_modern_browsers(p);
    EXPECT_EQ(names(found), (std::vector<std::string>{"Google Chrome", "Microsoft Edge", "Яндекс.Браузер", "Opera", "Brave",
                                                      "Vivaldi", "Chromium", "Mozilla Firefox"}));
    ASSERT_EQ(found.size(), 8u);
    EXPECT_EQ(found[0].profiles.size(), 2u);
    EXPECT_EQ(found[7].profiles.size(), 3u);

    ModernTraces traces(p, m.pump);
    EXPECT_EQ(traces.cache_bytes(found[0]), 30u);
    EXPECT_EQ(traces.cache_bytes(found[3]), 15u);  // Opera's cache is under Local AppData
    EXPECT_EQ(traces.cache_bytes(found[7]), 21u);
    for (const auto& browser : found) {
        EXPECT_EQ(traces.refusal(browser, Store::cache), "");
        EXPECT_EQ(traces.clean(browser, Store::cache), "");
        EXPECT_EQ(traces.cache_bytes(browser), 0u) << browser.name;
        EXPECT_FALSE(traces.cache_holds_files(browser));
    }
    EXPECT_TRUE(m.box.exists(chrome + "Default\\Code Cache"));  // the folders stay
    EXPECT_TRUE(m.box.exists(chrome + "Default\\History"));     // the other stores too
    EXPECT_TRUE(m.box.exists("C:\\Elsewhere\\ff\\cache2"));
    EXPECT_FALSE(m.box.exists("C:\\Elsewhere\\ff\\cache2\\entries\\ABCDEF"));

    for (const auto& browser : found) {
        EXPECT_EQ(traces.clean(browser, Store::history), "");
        EXPECT_EQ(traces.clean(browser, Store::cookies), "");
    }
    for (const std::string& profile : {chrome + "Default", chrome + "Profile 2", kLocal + "Vivaldi\\User Data\\Default",
                                       kRoaming + "Opera Software\\Opera Stable"}) {
        for (const char* gone : {"History", "History-journal", "Visited Links", "Top Sites", "Network\\Cookies",
                                 "Network\\Cookies-journal", "Cookies"})
            EXPECT_FALSE(m.box.exists(profile + "\\" + gone)) << profile << gone;
        for (const char* kept : {"Preferences", "Bookmarks", "Login Data", "Extensions\\abc\\manifest.json"})
            EXPECT_EQ(m.box.read(profile + "\\" + kept), "kept") << profile << kept;
    }
    EXPECT_TRUE(m.box.exists(chrome + "Profile 3\\History"));
    EXPECT_TRUE(m.box.exists(chrome + "System Profile\\History"));
    for (const auto& [data, local] : firefox_profiles) {
        EXPECT_FALSE(m.box.exists(data + "\\cookies.sqlite-wal")) << data;
        for (const char* kept : {"key4.db", "logins.json", "prefs.js", "bookmarkbackups\\b.jsonlz4", "favicons.sqlite"})
            EXPECT_EQ(m.box.read(data + "\\" + kept), "kept") << data << kept;
    }
    EXPECT_TRUE(m.box.exists(kFirefox + "Profiles\\z.none\\cookies.sqlite"));
}

TEST(ModernBrowsers, FirefoxOfASlotIsOneRowCleaningBothLayouts) {
    BrowserMachine m;
    auto& p = m.box.platform();
    m.install_firefox();  // profiles.ini: Profiles/abcd.default, relative
    m.box.write(std::string(testing_support::kFirefoxCache) + "\\old.tmp", "123");
    m.box.write(kLocal + "Mozilla\\Firefox\\Profiles\\abcd.default\\cache2\\entries\\A", "4567");
    m.box.write(std::string(testing_support::kProfile) + "\\cookies.sqlite", "trace");
    m.box.write(std::string(testing_support::kProfile) + "\\cookies.txt", "trace");
    plant_chromium(m, kLocal + "Chromium\\User Data\\Default", kLocal + "Chromium\\User Data\\Default");

    const auto slots = privacy::fill_slots(p);
    EXPECT_EQ(names(privacy::browsers_of_rows(p, slots)), std::vector<std::string>{"Chromium"});
    EXPECT_EQ(names(privacy::browsers_of_rows(p, {})), (std::vector<std::string>{"Chromium", "Mozilla Firefox"}));
    privacy::BrowserTraces traces(p, m.pump);
    EXPECT_EQ(traces.cache_bytes(privacy::Browser::firefox), 7u);
    EXPECT_EQ(traces.clean(privacy::Browser::firefox, Store::cache), "");
    EXPECT_EQ(traces.clean(privacy::Browser::firefox, Store::cookies), "");
    EXPECT_EQ(traces.cache_bytes(privacy::Browser::firefox), 0u);
    EXPECT_FALSE(m.box.exists(std::string(testing_support::kProfile) + "\\cookies.sqlite"));
    EXPECT_FALSE(m.box.exists(std::string(testing_support::kProfile) + "\\cookies.txt"));
}

TEST(ModernBrowsers, RunningBrowserIsNotTouched) {
    BrowserMachine m;
    auto& p = m.box.platform();
    const std::string chrome = kLocal + "Google\\Chrome\\User Data\\";
    plant_chromium(m, chrome + "Default", chrome + "Default");
    m.box.write(chrome + "lockfile", "");
    const std::string profile = kFirefox + "Profiles\\x.default";
    m.box.write(kFirefox + "profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x.default\r\n");
    m.box.write(profile + "\\cookies.sqlite", "trace");
    m.box.write(profile + "\\parent.lock", "");

    auto found = privacy::find_modern_browsers(p);
    ASSERT_EQ(found.size(), 2u);
    ModernTraces traces(p, m.pump);
    // A lock file left behind by a browser that ended holds nothing back.
    EXPECT_FALSE(traces.running(found[0]));
    EXPECT_FALSE(traces.running(found[1]));
    {
        auto chrome_lock = p.fs.open(chrome + "lockfile", platform::Access::write, platform::Share::read_write);
        auto firefox_lock = p.fs.open(profile + "\\parent.lock", platform::Access::write, platform::Share::none);
        ASSERT_TRUE(chrome_lock && firefox_lock);
        for (const auto& browser : found)
            for (const Store store : {Store::cache, Store::history, Store::cookies}) {
                const std::string why = "Закройте " + browser.name + ": пока он запущен, его файлы не очищаются.";
                EXPECT_EQ(traces.refusal(browser, store), why);
                EXPECT_EQ(traces.clean(browser, store), why);
            }
        EXPECT_EQ(m.box.read(chrome + "Default\\History"), "trace");
        EXPECT_TRUE(m.box.exists(chrome + "Default\\Cache\\Cache_Data\\f_000001"));
        EXPECT_EQ(m.box.read(profile + "\\cookies.sqlite"), "trace");
    }
    EXPECT_EQ(traces.clean(found[1], Store::cookies), "");
    EXPECT_FALSE(m.box.exists(profile + "\\cookies.sqlite"));
}

TEST(FirefoxHistory, VisitsGoBookmarksTheirPagesAndFaviconsStay) {
    BrowserMachine m;
    auto& p = m.box.platform();
    const std::string places = plant_profile_with_places(m);
    const auto firefox = privacy::modern_firefox(p);
    ASSERT_TRUE(firefox);
    ModernTraces traces(p, m.pump);
    EXPECT_EQ(traces.clean(*firefox, Store::history), "");

    EXPECT_EQ(query(m, places, "SELECT id, url, visit_count, last_visit_date FROM moz_places"),
              "1,https://kept.example/,0,NULL;");
    EXPECT_EQ(query(m, places, "SELECT count(*) FROM moz_historyvisits"), "0;");
    EXPECT_EQ(query(m, places, "SELECT count(*) FROM moz_inputhistory"), "0;");
    EXPECT_EQ(query(m, places, "SELECT title, fk FROM moz_bookmarks WHERE fk IS NOT NULL"), "My bookmark,1;");
    EXPECT_EQ(query(m, places, "SELECT url FROM moz_favicons"), "https://kept.example/favicon.ico;");
    EXPECT_EQ(query(m, places, "SELECT host FROM moz_origins"), "kept.example;");
    EXPECT_EQ(query(m, places, "PRAGMA integrity_check"), "ok;");
    // Nothing of the history can be read from the file's free pages.
    EXPECT_EQ(m.box.read(places).find("visited.example/secret"), std::string::npos);
}

TEST(FirefoxHistory, UnsoundDatabaseIsAnErrorWithNothingDeleted) {
    BrowserMachine m;
    auto& p = m.box.platform();
    const std::string places = plant_profile_with_places(m);
    run_sql(m, places, "PRAGMA journal_mode = DELETE; PRAGMA page_size = 1024; VACUUM;"
                       "INSERT INTO moz_favicons VALUES (2, 'big', zeroblob(20000));");
    const std::string whole = m.box.read(places);
    ModernTraces traces(p, m.pump);
    const auto firefox = privacy::modern_firefox(p);
    ASSERT_TRUE(firefox);

    std::string garbled = whole;
    for (std::size_t i = 2048; i < 4096; ++i) garbled[i] = static_cast<char>(i * 7);
    for (const std::string& bytes : {whole.substr(0, whole.size() / 2), garbled, std::string("not a database at all")}) {
        m.box.write(places, bytes);
        const std::string why = traces.clean(*firefox, Store::history);
        EXPECT_NE(why.find("не очищен"), std::string::npos) << why;
        EXPECT_EQ(m.box.read(places), bytes);
    }
    // A sound database without Firefox's tables is no history either.
    std::filesystem::remove(m.box.host_path(places));
    run_sql(m, places, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY);");
    EXPECT_NE(traces.clean(*firefox, Store::history).find("нет журнала Firefox"), std::string::npos);
}
