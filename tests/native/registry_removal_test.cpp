// What the registry reference window changes: emptied values and the backup.
#include <gtest/gtest.h>

#include "platform/posix/faults.h"
#include "registry/reference_removal.h"
#include "sandbox.h"

using testing_support::Sandbox;

namespace {

std::optional<std::string> read(platform::Registry& registry, platform::Root root, const std::string& key,
                                const std::string& value) {
    auto open = registry.open(root, key, platform::KeyAccess::read);
    return open ? (*open)->read_string(value) : std::nullopt;
}

Sandbox with_references(const std::string& short_date = "dd.MM.yyyy") {
    return Sandbox([&](platform::posix::PosixConfig& config, const std::string&) {
        config.short_date_format = short_date;
        config.clock = [] { return platform::FileTime(134096688000000000); };  // 2025-12-08 12:00 UTC
        config.registry =
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vendor]\r\n\"Path\"=\"C:\\\\gone\\\\u\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"Path\"=\"C:\\\\gone\\\\m\"\r\n@=\"C:\\\\gone\\\\d\"\r\n";
    });
}

}  // namespace

TEST(ReferenceRemoval, EmptiesTheValueUnderTheRootOfItsRowAndKeepsIt) {
    auto box = with_references();
    auto& registry = box.platform().registry;
    ASSERT_TRUE(registry::clear_reference(registry, "HKLM\\Software\\Vendor", "Path"));
    ASSERT_TRUE(registry::clear_reference(registry, "HKLM\\Software\\Vendor", ""));
    EXPECT_EQ(read(registry, platform::Root::local_machine, "Software\\Vendor", "Path"), "");
    EXPECT_EQ(read(registry, platform::Root::local_machine, "Software\\Vendor", ""), "");
    EXPECT_EQ(read(registry, platform::Root::current_user, "Software\\Vendor", "Path"), "C:\\gone\\u");

    // A value gone meanwhile is not made again.
    ASSERT_TRUE(registry::clear_reference(registry, "HKCU\\Software\\Vendor", "Gone"));
    EXPECT_FALSE(read(registry, platform::Root::current_user, "Software\\Vendor", "Gone"));
}

TEST(ReferenceRemoval, AFailureNamesTheKeyAndTheValue) {
    auto box = with_references();
    platform::posix::FaultyRegistry faulty(box.platform().registry);
    faulty.make_unreadable(platform::Root::current_user, "Software\\Vendor");
    for (const auto& key : {std::string("HKCU\\Software\\Vendor"), std::string("HKCU\\Software\\Missing"),
                            std::string("HKCR\\Software\\Vendor")}) {
        const auto cleared = registry::clear_reference(faulty, key, "Path");
        ASSERT_FALSE(cleared) << key;
        EXPECT_NE(cleared.message().find(key), std::string::npos) << cleared.message();
        EXPECT_NE(cleared.message().find("\"Path\""), std::string::npos) << cleared.message();
    }
    EXPECT_EQ(read(box.platform().registry, platform::Root::current_user, "Software\\Vendor", "Path"), "C:\\gone\\u");
}

TEST(ReferenceBackup, DateTextsKeepToTheFormatWithFileNameCharactersReplaced) {
    const platform::LocalDateTime date{2026, 3, 7, 12, 0, 0};
    EXPECT_EQ(registry::backup_date(date, "dd.MM.yyyy"), "07.03.2026");
    EXPECT_EQ(registry::backup_date(date, "M/d/yy"), "3.7.26");
    EXPECT_EQ(registry::backup_date(date, "yyyy-MM-dd' г.'"), "2026-03-07 г.");
    EXPECT_EQ(registry::backup_date(date, "d:M\\y"), "7.3.26");
}

TEST(ReferenceBackup, WritesTheSelectedKeysAndCountsOnlyWrittenFiles) {
    auto box = with_references("M/d/yyyy");
    box.make_folder("C:\\Backup");
    ASSERT_TRUE(registry::make_backup(box.platform(), "C:\\Backup\\", {true, false}));
    const std::string written = box.read("C:\\Backup\\HKCU(12.8.2025).reg");
    EXPECT_NE(written.find("[HKEY_CURRENT_USER\\Software\\Vendor]"), std::string::npos);
    EXPECT_FALSE(box.exists("C:\\Backup\\HKLM(12.8.2025).reg"));

    ASSERT_TRUE(registry::make_backup(box.platform(), "C:\\Backup", {true, true}));
    EXPECT_TRUE(box.exists("C:\\Backup\\HKLM(12.8.2025).reg"));

    EXPECT_FALSE(registry::make_backup(box.platform(), "C:\\Missing", {true, true}));
    EXPECT_FALSE(registry::make_backup(box.platform(), "Backup", {true, true}));
    EXPECT_FALSE(registry::make_backup(box.platform(), "C:\\Backup", {false, false}));
    // The editor fails to export a key that cannot be read.
    ASSERT_TRUE(box.platform().registry.delete_tree(platform::Root::local_machine, "Software"));
    const auto failed = registry::make_backup(box.platform(), "C:\\Backup", {true, true});
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.message().find("HKEY_LOCAL_MACHINE\\Software"), std::string::npos) << failed.message();
}
