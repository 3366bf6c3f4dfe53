// What the registry reference window changes: emptied values and the backup.
#include <gtest/gtest.h>

#include "posix/faults.h"
#include "registry/reference_removal.h"
#include "sandbox.h"

using platform::Root;

namespace {

std::optional<std::string> read(platform::Registry& registry, Root root, const std::string& value) {
    auto open = registry.open(root, "Software\\Vendor", platform::KeyAccess::read);
    return open ? (*open)->read_string(value) : std::nullopt;
}

testing_support::Sandbox machine() {
    return testing_support::Sandbox([&](platform::posix::PosixConfig& config, const std::string&) {
        config.short_date_format = "M/d/yyyy";
        config.clock = [] { return platform::FileTime(134096688000000000); };  // 2025-12-08 12:00 UTC
        config.registry = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vendor]\r\n\"Path\"=\"C:\\\\gone\\\\u\"\r\n"
                          "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"Path\"=\"C:\\\\gone\\\\m\"\r\n";
    });
}

}  // namespace

TEST(ReferenceRemoval, EmptiesTheValueUnderTheRootOfItsRowOrNamesKeyAndValueInTheFailure) {
    auto box = machine();
    auto& registry = box.platform().registry;
    ASSERT_TRUE(registry::clear_reference(registry, "HKLM\\Software\\Vendor", "Path"));
    EXPECT_EQ(read(registry, Root::local_machine, "Path"), "");
    EXPECT_EQ(read(registry, Root::current_user, "Path"), "C:\\gone\\u");
    ASSERT_TRUE(registry::clear_reference(registry, "HKCU\\Software\\Vendor", "Gone"));
    EXPECT_FALSE(read(registry, Root::current_user, "Gone"));  // not made again

    platform::posix::FaultyRegistry faulty(registry);
    faulty.make_unreadable(Root::current_user, "Software\\Vendor");
    for (const std::string key : {"HKCU\\Software\\Vendor", "HKCU\\Software\\Missing", "HKCR\\Software\\Vendor"}) {
        const auto cleared = registry::clear_reference(faulty, key, "Path");
        ASSERT_FALSE(cleared) << key;
        EXPECT_NE(cleared.message().find(key + ": "), std::string::npos) << cleared.message();
        EXPECT_NE(cleared.message().find("\"Path\""), std::string::npos) << cleared.message();
    }
    EXPECT_EQ(read(registry, Root::current_user, "Path"), "C:\\gone\\u");
}

TEST(ReferenceBackup, ExportsTheSelectedKeysUnderTheDateAndCountsOnlyWrittenFiles) {
    auto box = machine();
    box.make_folder("C:\\Backup");
    ASSERT_TRUE(registry::make_backup(box.platform(), "C:\\Backup\\", {true, false}));
    EXPECT_NE(box.read("C:\\Backup\\HKCU(12.8.2025).reg").find("[HKEY_CURRENT_USER\\Software\\Vendor]"),
              std::string::npos);
    EXPECT_FALSE(box.exists("C:\\Backup\\HKLM(12.8.2025).reg"));
    ASSERT_TRUE(registry::make_backup(box.platform(), "C:\\Backup", {true, true}));
    EXPECT_TRUE(box.exists("C:\\Backup\\HKLM(12.8.2025).reg"));
    EXPECT_EQ(registry::backup_date({2026, 3, 7, 12, 0, 0}, "yyyy-MM-dd' г.'"), "2026-03-07 г.");
    EXPECT_EQ(registry::backup_date({2026, 3, 7, 12, 0, 0}, "d:M\\yy"), "7.3.26");

    for (const char* folder : {"C:\\Missing", "Backup", ""})
        EXPECT_FALSE(registry::make_backup(box.platform(), folder, {true, true})) << folder;
    EXPECT_FALSE(registry::make_backup(box.platform(), "C:\\Backup", {false, false}));
    ASSERT_TRUE(box.platform().registry.delete_tree(Root::local_machine, "Software"));
    const auto failed = registry::make_backup(box.platform(), "C:\\Backup", {true, true});
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.message().find("HKEY_LOCAL_MACHINE\\Software"), std::string::npos) << failed.message();
}
