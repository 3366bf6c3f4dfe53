// The posix stand-in's own promises, beyond the contract suites: its
// configuration, the registry model's .reg text, the fault decorators, and
// Windows rules that Wine running as root does not show.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/cp1251.h"
#include "posix/faults.h"
#include "posix/posix_platform.h"

using namespace platform;
using namespace platform::posix;

namespace {

class PosixPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vpt-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ + "/c");
        std::filesystem::create_directories(root_ + "/d");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    PosixConfig config() {
        PosixConfig c;
        c.drives = {{'D', root_ + "/d", DriveType::removable}, {'c', root_ + "/c", DriveType::fixed}};
        c.trash_folder = root_ + "/trash";
        c.utc_offset_minutes = 180;
        return c;
    }
    void host_file(const std::string& relative, const std::string& bytes) {
        std::ofstream(root_ + "/" + relative, std::ios::binary) << bytes;
    }
    std::string root_;
};

}  // namespace

TEST_F(PosixPlatformTest, DrivesClockAndSystemComeFromTheConfiguration) {
    auto c = config();
    c.environment = {{"TEMP", "C:\\Temp"}, {"=C:", "C:\\"}};
    c.executable_path = "C:\\Program Files\\VSC\\vsc.exe";
    c.decimal_separator = '.';
    c.short_date_format = "M/d/yyyy";
    // 2024-02-29 22:30 UTC, that is 2024-03-01 01:30 at UTC+3.
    c.clock = [] { return FileTime{(1709245800LL + 11644473600LL) * 10000000LL}; };
    c.real_sleep = false;
    PosixPlatform host(c);
    auto& p = host.platform();

    const auto drives = p.fs.logical_drives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].root, "C:\\");
    EXPECT_EQ(drives[1].root, "D:\\");
    EXPECT_EQ(p.fs.drive_type("d:\\"), DriveType::removable);
    EXPECT_EQ(p.fs.drive_type("E:\\"), DriveType::no_root);
    EXPECT_EQ(host.fs().windows_path(root_ + "/d/x/y.txt"), "D:\\x\\y.txt");
    EXPECT_FALSE(host.fs().windows_path("/elsewhere"));

    EXPECT_EQ(p.system.environment(), c.environment);
    EXPECT_EQ(p.system.executable_path(), "C:\\Program Files\\VSC\\vsc.exe");
    EXPECT_EQ(p.system.decimal_separator(), '.');
    EXPECT_EQ(p.system.short_date_format(), "M/d/yyyy");
    const auto now = p.system.now();
    EXPECT_EQ(std::vector<int>({now.year, now.month, now.day, now.hour, now.minute}),
              std::vector<int>({2024, 3, 1, 1, 30}));
    EXPECT_EQ(*p.fs.local_date(c.clock()), (CalendarDate{2024, 3, 1}));
    EXPECT_FALSE(p.fs.local_date((315532800LL + 11644473600LL - 86400 * 2) * 10000000LL));  // 1979
    p.system.sleep_ms(1000);
    EXPECT_EQ(host.system().slept_ms(), 1000);
}

TEST_F(PosixPlatformTest, WindowsRulesThatHoldEvenForRoot) {
    PosixPlatform host(config());
    auto& fs = host.platform().fs;
    host_file("c/ro.txt", "x");
    ASSERT_TRUE(fs.set_attributes("C:\\ro.txt", attr::read_only | attr::hidden));
    EXPECT_FALSE(fs.open("C:\\ro.txt", Access::write, Share::read_write));
    EXPECT_FALSE(fs.create("C:\\ro.txt"));
    EXPECT_TRUE(fs.open("C:\\ro.txt", Access::read, Share::read_write));
    // Attributes stay with the file while it is written to, and leave with it.
    ASSERT_TRUE(fs.set_attributes("C:\\ro.txt", attr::hidden));
    ASSERT_TRUE(write_whole_file(fs, "C:\\RO.TXT", "more"));
    EXPECT_EQ(*fs.attributes("C:\\ro.txt") & (attr::hidden | attr::read_only), attr::hidden);
    ASSERT_TRUE(fs.delete_file("C:\\ro.txt"));
    host_file("c/ro.txt", "y");
    EXPECT_FALSE(*fs.attributes("C:\\ro.txt") & attr::hidden);
    // Dot files show as hidden, as Wine shows them; dangling links are not listed.
    host_file("c/.profile", "");
    ASSERT_EQ(symlink("/nowhere/at/all", (root_ + "/c/dangling").c_str()), 0);
    std::vector<std::string> names;
    EXPECT_TRUE(fs.enumerate("C:\\", [&](const DirEntry& e) {
        names.push_back(e.name);
        if (e.name == ".profile") {
            EXPECT_TRUE(e.attributes & attr::hidden);
        }
        return true;
    }));
    EXPECT_EQ(names, (std::vector<std::string>{".profile", "ro.txt"}));
    // "..", "." and trailing dots resolve as on Windows.
    EXPECT_TRUE(fs.is_existing_file("C:\\x\\..\\.\\RO.TXT."));
    EXPECT_TRUE(fs.is_existing_folder("c:/"));
    EXPECT_FALSE(fs.remove_folder("C:\\"));
}

TEST_F(PosixPlatformTest, RegistryModelImportsAndExportsRegText) {
    auto c = config();
    c.registry =
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
        "@=\"default\"\r\n"
        "\"Zeta\"=\"C:\\\\Program Files\\\\z.exe \\\"quoted\\\"\"\r\n"
        "\"Alpha\"=dword:0000002a\r\n"
        "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,\\\r\n"
        "  00\r\n"
        "\"Bin\"=hex:01,02,ff\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Gone]\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n";
    PosixPlatform host(c);
    auto& reg = host.registry();
    auto run = reg.open(Root::local_machine, "SOFTWARE\\microsoft\\Windows\\CurrentVersion\\Run", KeyAccess::read);
    ASSERT_TRUE(run);
    EXPECT_EQ((*run)->value_names(), (std::vector<std::string>{"", "Zeta", "Alpha", "Path", "Bin"}));
    EXPECT_EQ((*run)->read_string("zeta"), "C:\\Program Files\\z.exe \"quoted\"");
    EXPECT_EQ((*run)->read_dword("Alpha"), 42u);
    EXPECT_EQ((*run)->value_type("Path"), ValueType::expand_string);
    EXPECT_EQ((*run)->read_string("Path"), "%SystemRoot%");
    EXPECT_EQ((*run)->value_type("Bin"), ValueType::binary);
    EXPECT_FALSE(reg.key_exists(Root::current_user, "Software\\Gone"));

    // Export, then import into a fresh model: the same tree.
    const auto text = reg.export_reg(Root::local_machine, "Software\\Microsoft");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->rfind("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft]\r\n", 0), 0u) << *text;
    PosixRegistry copy;
    ASSERT_TRUE(copy.import_reg(*text));
    EXPECT_EQ(*copy.export_reg(Root::local_machine, "Software\\Microsoft"), *text);
    EXPECT_FALSE(reg.export_reg(Root::current_user, "Software\\Missing"));

    // The shell's export writes the same text; a key opened before its
    // deletion stops working.
    ASSERT_TRUE(host.shell().export_registry_key("HKLM\\Software\\Microsoft", "C:\\backup.reg"));
    EXPECT_EQ(*read_whole_file(host.fs(), "C:\\backup.reg"), *text);
    auto writable = reg.open(Root::local_machine, "Software\\Microsoft\\Windows", KeyAccess::write);
    ASSERT_TRUE(reg.delete_tree(Root::local_machine, "Software\\Microsoft"));
    EXPECT_FALSE((*writable)->write_string("x", "y"));
    EXPECT_FALSE(copy.import_reg("not a registry file"));
    EXPECT_FALSE(copy.import_reg("REGEDIT4\r\n\"value before any key\"=\"x\"\r\n"));
}

TEST_F(PosixPlatformTest, DecoratorsInjectLockedDeniedVanishingFilesAndUnreadableKeys) {
    PosixPlatform host(config());
    host_file("c/locked.txt", "l");
    host_file("c/vanishing.txt", "v");
    std::filesystem::create_directories(root_ + "/c/secret");
    host_file("c/secret/inside.txt", "s");
    FaultyFileSystem fs(host.fs());
    fs.lock("C:\\LOCKED.txt");
    fs.deny("C:\\Secret");
    fs.vanish("C:\\vanishing.txt");

    std::vector<std::string> names;
    ASSERT_TRUE(fs.enumerate("C:\\", [&](const DirEntry& e) {
        names.push_back(e.name);
        return true;
    }));
    EXPECT_EQ(names, (std::vector<std::string>{"locked.txt", "secret", "vanishing.txt"}));
    EXPECT_FALSE(fs.attributes("C:\\vanishing.txt"));
    EXPECT_FALSE(fs.delete_file("C:\\vanishing.txt"));
    EXPECT_FALSE(fs.open("C:\\locked.txt", Access::read_write, Share::none));
    EXPECT_FALSE(fs.delete_file("C:\\locked.txt"));
    EXPECT_TRUE(fs.is_existing_file("C:\\locked.txt"));
    EXPECT_FALSE(fs.enumerate("C:\\secret", [](const DirEntry&) { return true; }));
    EXPECT_FALSE(fs.open("C:\\secret\\inside.txt", Access::read, Share::read_write));
    fs.clear();
    EXPECT_TRUE(fs.delete_file("C:\\vanishing.txt"));

    ASSERT_TRUE(host.registry().create(Root::current_user, "Software\\Locked\\Below"));
    FaultyRegistry reg(host.registry());
    reg.make_unreadable(Root::current_user, "Software\\Locked");
    EXPECT_FALSE(reg.open(Root::current_user, "Software\\locked", KeyAccess::read));
    EXPECT_FALSE(reg.open(Root::current_user, "Software\\Locked\\Below", KeyAccess::read));
    EXPECT_FALSE(reg.delete_tree(Root::current_user, "Software\\Locked"));
    EXPECT_TRUE(reg.open(Root::current_user, "Software", KeyAccess::read));
}

TEST_F(PosixPlatformTest, RecycleBinAndCommandLinesWorkOnTheHost) {
    auto c = config();
    PosixPlatform host(c);
    host_file("c/a.txt", std::string(100, 'a'));
    std::filesystem::create_directories(root_ + "/c/dir");
    host_file("c/dir/b.txt", std::string(50, 'b'));
    host_file("d/a.txt", std::string(7, 'a'));  // same name from another drive
    auto& shell = host.platform().shell;
    ASSERT_TRUE(shell.delete_to_recycle_bin("C:\\a.txt"));
    ASSERT_TRUE(shell.delete_to_recycle_bin("C:\\dir"));
    ASSERT_TRUE(shell.delete_to_recycle_bin("D:\\A.TXT"));
    auto info = shell.query_recycle_bin();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->items, 3u);
    EXPECT_EQ(info->bytes, 157u);
    auto held = host.fs().open("C:\\held.txt", Access::read, Share::read_write);
    EXPECT_FALSE(held);
    host_file("c/held.txt", "h");
    held = host.fs().open("C:\\held.txt", Access::read, Share::read_write);
    ASSERT_TRUE(held);
    EXPECT_FALSE(shell.delete_to_recycle_bin("C:\\held.txt"));
    ASSERT_TRUE(shell.empty_recycle_bin());
    EXPECT_EQ(shell.query_recycle_bin()->items, 0u);

    // Command lines are recorded, and started when the program exists.
    EXPECT_FALSE(shell.run_command_line("C:\\missing.exe /S"));
    EXPECT_TRUE(shell.open("open", "http://example.invalid/projects/QMT/Vorlinde_sc.exe", ""));
    EXPECT_EQ(host.shell().started(), (std::vector<std::string>{"C:\\missing.exe /S"}));
    EXPECT_EQ(host.shell().opened().back(), "open|http://example.invalid/projects/QMT/Vorlinde_sc.exe|");
}
