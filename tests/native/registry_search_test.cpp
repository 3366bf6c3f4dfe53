// The registry reference search: which string values count as broken
// references, what is never searched, the key selection and the stop.
#include <gtest/gtest.h>

#include <filesystem>

#include "posix/headless_ui.h"
#include "registry/reference_search.h"
#include "sandbox.h"

using testing_support::Sandbox;

namespace {

// A .reg string literal of a text.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// "C:\\gone\\f.txt" as a REG_EXPAND_SZ value in .reg form.
constexpr char kExpandableMissingPath[] = "hex(2):43,3a,5c,67,6f,6e,65,5c,66,2e,74,78,74,00";

struct Recorder : registry::ReferenceProgress {
    std::vector<platform::Root> roots;
    std::vector<std::size_t> counts;
    void root_started(platform::Root root) override { roots.push_back(root); }
    void walk_started(std::size_t count, const std::string&) override { counts.push_back(count); }
    void walking(std::size_t, const std::string&) override {}
};

struct ReferenceSearch {
    // Drive C: holds C:\Present\app.exe; D: exists; Q: is chosen but missing.
    Sandbox box{[](platform::posix::PosixConfig& config, const std::string& root) {
        std::filesystem::create_directories(root + "/d");
        config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
    }};
    headless::Pump pump;
    platform::StopRequest stop;
    Recorder progress;
    registry::ReferenceSearchResult result;

    ReferenceSearch() { box.write("C:\\Present\\app.exe"); }

    // Adds "name"=data lines under a key of a root ("HKEY_CURRENT_USER").
    void add(const std::string& root, const std::string& key,
             const std::vector<std::pair<std::string, std::string>>& values) {
        std::string text = "REGEDIT4\r\n\r\n[" + root + "\\" + key + "]\r\n";
        for (const auto& [name, data] : values) text += (name.empty() ? "@" : quoted(name)) + "=" + data + "\r\n";
        const auto imported = box.host().registry().import_reg(text);
        ASSERT_TRUE(imported) << imported.message();
    }

    // Runs a search with rg_keys.txt holding `keys` ("" for no file).
    std::vector<std::string> run(const std::string& keys = "11", std::vector<char> drives = {'C', 'D', 'Q'}) {
        if (keys.empty())
            box.data().remove(registry::kKeysFile);
        else
            box.data().rewrite(registry::kKeysFile, {keys});
        const auto settings = registry::ReferenceSearchSettings::load(box.data(), box.platform().registry, drives);
        result = registry::run_reference_search(settings, box.platform(), pump, stop, progress);
        std::vector<std::string> rows;
        for (const auto& row : result.rows) rows.push_back(row.key + "|" + row.value + "|" + row.data);
        return rows;
    }
};

}  // namespace

TEST(ReferenceSearch, OnlyPlainPathsToMissingPlacesOnChosenPresentDrivesAreReported) {
    ReferenceSearch f;
    f.add("HKEY_CURRENT_USER", "Software\\Test",
          {{"gone", quoted("C:\\Program Files\\Gone App\\app.exe")},
           {"gone too", quoted("C:\\Program Files\\Gone App\\readme.txt")},
           {"back out of a missing folder", quoted("C:\\Program Files\\..\\Present\\app.exe")},
           {"with argument", quoted("C:\\Program Files\\Gone App\\app.exe -min")},
           {"in quotes", quoted("\"C:\\Program Files\\Gone App\\app.exe\"")},
           {"short name", quoted("C:\\PROGRA~1\\x.exe")},
           {"variable", quoted("%SystemRoot%\\x.exe")},
           {"small letter", quoted("d:\\old\\file.txt")},
           {"four characters", quoted("C:\\a")},
           {"five characters", quoted("C:\\ab")},
           {"unchosen drive", quoted("E:\\gone\\file.txt")},
           {"missing drive", quoted("Q:\\gone\\file.txt")},
           {"existing file", quoted("c:\\present\\APP.EXE")},
           {"existing folder", quoted("C:\\Present")},
           {"list", quoted("C:\\gone;D:\\gone")},
           {"expandable", kExpandableMissingPath},
           {"number", "dword:00000005"}});
    EXPECT_EQ(f.run(), (std::vector<std::string>{"HKCU\\Software\\Test|gone|C:\\Program Files\\Gone App\\app.exe",
                                                 "HKCU\\Software\\Test|gone too|C:\\Program Files\\Gone App\\readme.txt",
                                                 "HKCU\\Software\\Test|small letter|d:\\old\\file.txt",
                                                 "HKCU\\Software\\Test|five characters|C:\\ab"}));
    EXPECT_TRUE(f.run("11", {'C'}).size() == 3u);  // d:\ no longer counts
}

TEST(ReferenceSearch, ClassesAndTheSkipListAreNeverReportedWhileTheDefaultValueIs) {
    ReferenceSearch f;
    const std::string paths = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\";
    const std::string gone = quoted("C:\\gone\\cache");
    f.add("HKEY_CURRENT_USER", paths + "path1", {{"CachePath", gone}});
    f.add("HKEY_CURRENT_USER", paths + "path5", {{"CachePath", gone}});
    f.add("HKEY_CURRENT_USER", "Software\\Classes\\Old", {{"", gone}});
    f.add("HKEY_CURRENT_USER", "Software\\Classy", {{"", gone}});
    f.add("HKEY_LOCAL_MACHINE", "SOFTWARE\\Classes\\Old", {{"", gone}});
    f.add("HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Advanced INF Setup\\IEHomePageInfo", {{"BackupPath", gone}});
    EXPECT_EQ(f.run(), (std::vector<std::string>{"HKCU\\Software\\Classy||C:\\gone\\cache",
                                                 "HKCU\\" + paths + "path5|CachePath|C:\\gone\\cache"}));
}

TEST(ReferenceSearch, TheKeySelectionChoosesTheRootsEachSearchedDepthFirstWithOwnValuesLast) {
    ReferenceSearch f;
    f.add("HKEY_LOCAL_MACHINE", "SOFTWARE\\Vendor", {{"m", quoted("C:\\gone\\m")}});
    f.add("HKEY_CURRENT_USER", "Software\\Vendor", {{"top", quoted("C:\\gone\\top")}});
    f.add("HKEY_CURRENT_USER", "Software\\Vendor\\Sub", {{"sub", quoted("C:\\gone\\sub")}});
    EXPECT_EQ(f.run(), (std::vector<std::string>{"HKCU\\Software\\Vendor\\Sub|sub|C:\\gone\\sub",
                                                 "HKCU\\Software\\Vendor|top|C:\\gone\\top",
                                                 "HKLM\\Software\\Vendor|m|C:\\gone\\m"}));
    EXPECT_EQ(f.run("01"), (std::vector<std::string>{"HKLM\\Software\\Vendor|m|C:\\gone\\m"}));
    EXPECT_EQ(f.result.keys, (registry::KeySelection{false, true}));
    EXPECT_EQ(f.run("1").size(), 2u);
    EXPECT_TRUE(f.run("00").empty());
    // Without the file nothing is chosen: the window keeps its last selection.
    EXPECT_TRUE(f.run("").empty());
    EXPECT_FALSE(registry::read_key_selection(f.box.data()));
    EXPECT_EQ(f.progress.roots.size(), 4u);
}

TEST(ReferenceSearch, AStopWhileTheCurrentUserIsSearchedSkipsTheMachine) {
    ReferenceSearch f;
    f.add("HKEY_CURRENT_USER", "Software\\Vendor", {{"u1", quoted("C:\\gone\\1")}, {"u2", quoted("C:\\gone\\2")}});
    f.add("HKEY_LOCAL_MACHINE", "SOFTWARE\\Vendor", {{"m", quoted("C:\\gone\\m")}});
    // "Прекратить" pressed as the values of HKEY_CURRENT_USER are tested.
    f.pump.on_serve = [&] {
        if (f.progress.counts.size() == 1) f.stop.request();
    };
    EXPECT_TRUE(f.run().empty());
    EXPECT_TRUE(f.result.stopped);
    EXPECT_EQ(f.progress.roots, (std::vector<platform::Root>{platform::Root::current_user}));  // HKLM skipped
}

TEST(ReferenceSearch, A32BitProgramsSystemPathCountsWhereSuchAProgramFindsIt) {
    ReferenceSearch f;
    f.add("HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", {{"SystemRoot", quoted("C:\\WINDOWS")}});
    f.box.write("C:\\Windows\\SysWOW64\\only32.dll");
    f.box.write("C:\\Windows\\System32\\only64.dll");
    const std::vector<std::pair<std::string, std::string>> values{
        {"a", quoted("C:\\Windows\\system32\\only32.dll")},
        {"b", quoted("C:\\Windows\\System32\\only64.dll")},
        {"c", quoted("C:\\Windows\\System32\\neither.dll")}};
    f.add("HKEY_LOCAL_MACHINE", "Software\\WOW6432Node\\Tool", values);
    f.add("HKEY_LOCAL_MACHINE", "Software\\Tool", values);
    EXPECT_EQ(f.run("01"), (std::vector<std::string>{
                               "HKLM\\Software\\Tool|a|C:\\Windows\\system32\\only32.dll",
                               "HKLM\\Software\\Tool|c|C:\\Windows\\System32\\neither.dll",
                               "HKLM\\Software\\WOW6432Node\\Tool|c|C:\\Windows\\System32\\neither.dll"}));
}
