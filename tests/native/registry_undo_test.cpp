// The undo file of a registry change: read back through the stand-in's
// importer it puts back exactly what was there, every value type kept, and
// removes what did not exist; only the newest files are kept; when it cannot
// be written the caller is told why.
#include <gtest/gtest.h>

#include "posix/faults.h"
#include "sandbox.h"
#include "search/registry_undo.h"

using platform::RawValue;
using platform::Root;
using platform::ValueType;
using testing_support::Sandbox;

namespace {

const std::string kKey = "Software\\Vendor";

std::vector<std::pair<std::string, RawValue>> planted() {
    return {{"Путь", platform::text_value(ValueType::string, "C:\\Папка\\\"кавычки\".exe")},
            {"", platform::text_value(ValueType::string, "по умолчанию")},
            {"Expand", platform::text_value(ValueType::expand_string, "%TEMP%\\x")},
            {"Multi", platform::text_value(ValueType::multi_string, std::string("один\0два", 8))},
            {"Number", {ValueType::dword, std::string("\x2a\0\0\x80", 4)}},
            {"Big", {ValueType::qword, std::string("\1\2\3\4\5\6\7\x08", 8)}},
            {"Bytes", {ValueType::binary, std::string("\0\xff\x10", 3)}},
            {"Lines", platform::text_value(ValueType::string, "a\r\nb")}};
}

std::optional<RawValue> raw(platform::Registry& registry, const std::string& key, const std::string& name) {
    auto open = registry.open(Root::current_user, key, platform::KeyAccess::read);
    return open ? (*open)->read_raw(name) : std::nullopt;
}

}  // namespace

TEST(RegistryUndo, TheFilePutsBackEveryTypeAndRemovesWhatWasNotThere) {
    Sandbox box;
    auto& registry = box.platform().registry;
    {
        auto key = registry.create(Root::current_user, kKey);
        for (const auto& [name, value] : planted()) ASSERT_TRUE((*key)->write_raw(name, value));
        ASSERT_TRUE((*registry.create(Root::current_user, kKey + "\\Sub\\Deep"))->write_string("x", "y"));
    }
    std::vector<search::UndoItem> items;
    for (const auto& [name, value] : planted()) items.push_back({Root::current_user, kKey, name});
    items.push_back({Root::current_user, kKey, "New"});
    items.push_back({Root::current_user, kKey + "\\Sub", std::nullopt});
    const auto saved = search::save_undo_file(box.platform(), box.data(), "test", items);
    ASSERT_TRUE(saved) << saved.message();
    const std::string bytes = box.read("C:\\Program\\Data\\Backups\\" + box.undo_files().back());
    const std::string header = platform::cp1251_to_utf8("Windows Registry Editor Version 5.00\r\n");
    ASSERT_GE(bytes.size(), 2 + 2 * header.size());
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));
    EXPECT_TRUE(box.undo_files().back().ends_with(" test.reg"));

    // The change: every value rewritten or gone, one made, the tree deleted.
    {
        auto key = registry.open(Root::current_user, kKey, platform::KeyAccess::write);
        for (const auto& [name, value] : planted()) ASSERT_TRUE((*key)->write_string(name, ""));
        ASSERT_TRUE((*key)->delete_value("Bytes"));
        ASSERT_TRUE((*key)->write_string("New", "made"));
        ASSERT_TRUE(registry.delete_tree(Root::current_user, kKey + "\\Sub"));
    }
    ASSERT_TRUE(box.undo_last());
    for (const auto& [name, value] : planted()) EXPECT_EQ(raw(registry, kKey, name), value) << name;
    EXPECT_FALSE(raw(registry, kKey, "New"));
    EXPECT_EQ(raw(registry, kKey + "\\Sub\\Deep", "x"), platform::text_value(ValueType::string, "y"));
}

TEST(RegistryUndo, KeepsTheNewestHundredAndRefusesWhenItCannotWrite) {
    Sandbox box;
    ASSERT_TRUE(box.platform().registry.create(Root::current_user, kKey));
    box.write("C:\\Program\\Data\\Backups\\HKCU(01.01.2026).reg");  // the user's own file stays
    for (int i = 0; i < 103; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "C:\\Program\\Data\\Backups\\2000-01-01 00.%02d.%02d old.reg", i / 60, i % 60);
        box.write(name);
    }
    ASSERT_TRUE(search::save_undo_file(box.platform(), box.data(), "a", {{Root::current_user, kKey, "v"}}));
    ASSERT_TRUE(search::save_undo_file(box.platform(), box.data(), "b", {{Root::current_user, kKey, "v"}}));
    const auto names = box.undo_files();
    ASSERT_EQ(names.size(), 101u);
    EXPECT_EQ(names.front(), "2000-01-01 00.00.05 old.reg");
    EXPECT_TRUE(names.back() == "HKCU(01.01.2026).reg");
    EXPECT_TRUE(names[names.size() - 2].ends_with(" b.reg") && names[names.size() - 3].ends_with(" a.reg"));

    platform::posix::FaultyFileSystem fs{box.platform().fs};
    fs.deny("C:\\Program\\Data\\Backups");
    platform::Platform services{fs, box.platform().registry, box.platform().shell, box.platform().links,
                                box.platform().internet, box.platform().sound, box.platform().system};
    const auto refused = search::save_undo_file(services, box.data(), "c", {{Root::current_user, kKey, "v"}});
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find("Реестр не изменен."), std::string::npos);
}
