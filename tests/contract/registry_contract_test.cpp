// The registry, the same on both sides, under a private key of
// HKEY_CURRENT_USER\Software\VorlindeTest.
#include <gtest/gtest.h>

#include "contract/contract_helpers.h"

using namespace contract;
using platform::KeyAccess;
using platform::Root;
using platform::ValueType;

namespace {

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(RegistryContract, SubkeysAndValuesEnumerateWithTheirTypes) {
    auto& reg = services().registry;
    const std::string k = make_registry_test_key();
    {
        auto key = reg.create(Root::current_user, k);
        ASSERT_TRUE(key) << shown(key.message());
        EXPECT_TRUE((*key)->write_string("", "по умолчанию"));
        EXPECT_TRUE((*key)->write_string("Путь", "C:\\Папка\\файл.exe"));
        EXPECT_TRUE((*key)->write_dword("Число", 42));
        EXPECT_TRUE((*key)->write_string("Last", "x"));
        for (const char* sub : {"Beta", "alpha", "Гамма"}) ASSERT_TRUE(reg.create(Root::current_user, k + "\\" + sub));
    }
    auto key = reg.open(Root::current_user, k, KeyAccess::read);
    ASSERT_TRUE(key);
    auto& r = **key;
    EXPECT_EQ(r.subkey_names(), (std::vector<std::string>{"alpha", "Beta", "Гамма"}));
    // Windows lists values in the order they were made, Wine sorted by name.
    EXPECT_EQ(sorted(r.value_names()), (std::vector<std::string>{"", "Last", "Путь", "Число"}));
    EXPECT_EQ(r.value_type(""), ValueType::string);
    EXPECT_EQ(r.value_type("путь"), ValueType::string);
    EXPECT_EQ(r.value_type("Число"), ValueType::dword);
    EXPECT_FALSE(r.value_type("Нет"));
    EXPECT_EQ(r.read_string(""), "по умолчанию");
    EXPECT_EQ(r.read_string("Путь"), "C:\\Папка\\файл.exe");
    EXPECT_FALSE(r.read_string("Число"));
    EXPECT_FALSE(r.read_string("Нет"));
    EXPECT_EQ(r.read_dword("Число"), 42u);
    EXPECT_FALSE(r.read_dword("Путь"));
    // A key opened for reading is not written through.
    EXPECT_FALSE(r.write_string("Путь", "другое"));
    EXPECT_EQ(r.read_string("Путь"), "C:\\Папка\\файл.exe");

    auto writable = reg.open(Root::current_user, k, KeyAccess::write);
    ASSERT_TRUE(writable);
    EXPECT_TRUE((*writable)->write_string("Путь", ""));
    EXPECT_EQ((*writable)->read_string("Путь"), "");
    EXPECT_TRUE((*writable)->write_dword("Число", 0xFFFFFFFFu));
    EXPECT_EQ((*writable)->read_dword("Число"), 0xFFFFFFFFu);
    EXPECT_TRUE((*writable)->delete_value("Путь"));
    EXPECT_FALSE((*writable)->delete_value("Путь"));
    EXPECT_EQ(sorted((*writable)->value_names()), (std::vector<std::string>{"", "Last", "Число"}));
}

TEST(RegistryContract, MissingKeysFailWithoutBeingCreatedAndTreesDeleteDepthFirst) {
    auto& reg = services().registry;
    const std::string k = make_registry_test_key();
    EXPECT_FALSE(reg.open(Root::current_user, k, KeyAccess::read));
    EXPECT_FALSE(reg.open(Root::current_user, k, KeyAccess::write));
    EXPECT_FALSE(reg.key_exists(Root::current_user, k));
    EXPECT_FALSE(reg.delete_tree(Root::current_user, k));

    ASSERT_TRUE(reg.create(Root::current_user, k + "\\a\\b\\c"));
    {
        auto c = reg.open(Root::current_user, k + "\\a\\b\\c", KeyAccess::write);
        ASSERT_TRUE(c);
        EXPECT_TRUE((*c)->write_string("v", "1"));
    }
    ASSERT_TRUE(reg.create(Root::current_user, k + "\\a\\d"));
    EXPECT_TRUE(reg.key_exists(Root::current_user, k + "\\A\\B"));
    EXPECT_TRUE(reg.delete_tree(Root::current_user, k + "\\a"));
    EXPECT_FALSE(reg.key_exists(Root::current_user, k + "\\a"));
    EXPECT_FALSE(reg.key_exists(Root::current_user, k + "\\a\\b\\c"));
    EXPECT_TRUE(reg.key_exists(Root::current_user, k));
    EXPECT_FALSE(reg.delete_tree(Root::current_user, ""));
    EXPECT_TRUE(reg.delete_tree(Root::current_user, k));
    EXPECT_FALSE(reg.key_exists(Root::current_user, k));
}

TEST(RegistryContract, LocalMachineReadsWithReadAccess) {
    auto key = services().registry.open(Root::local_machine, "Software\\Microsoft\\Windows\\CurrentVersion", KeyAccess::read);
    ASSERT_TRUE(key) << shown(key.message());
    const auto dir = (*key)->read_string("ProgramFilesDir");
    ASSERT_TRUE(dir);
    EXPECT_EQ(dir->substr(1), ":\\Program Files");
}

// Names are one name as the registry finds them, for every letter; data of
// any type is read and written exactly.
TEST(RegistryContract, NamesCompareAsTheRegistryFindsThemAndRawDataIsExact) {
    auto& reg = services().registry;
    for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
             {"ёлка", "Ёлка"}, {"ї", "Ї"}, {"і", "І"}, {"є", "Є"}, {"ў", "Ў"}, {"Path", "PATH"}})
        EXPECT_TRUE(reg.same_name(a, b)) << shown(a);
    EXPECT_FALSE(reg.same_name("ёлка", "елка"));

    const std::string k = make_registry_test_key();
    auto key = reg.create(Root::current_user, k);
    ASSERT_TRUE(key);
    const std::vector<std::pair<std::string, platform::RawValue>> values{
        {"Text", platform::text_value(ValueType::expand_string, "%TEMP%\\файл")},
        {"Multi", platform::text_value(ValueType::multi_string, std::string("a\0b", 3))},
        {"Q", {ValueType::qword, std::string("\1\0\0\0\0\0\0\x80", 8)}},
        {"Bin", {ValueType::binary, std::string("\0\xff", 2)}},
        {"ёлка", {ValueType::dword, std::string("\x2a\0\0\0", 4)}}};
    for (const auto& [name, value] : values) ASSERT_TRUE((*key)->write_raw(name, value));
    for (const auto& [name, value] : values) EXPECT_EQ((*key)->read_raw(name), value) << shown(name);
    EXPECT_EQ((*key)->read_raw("Ёлка"), values.back().second);
    EXPECT_EQ((*key)->read_string("Text"), "%TEMP%\\файл");
    EXPECT_EQ(platform::shown_text(*(*key)->read_raw("Multi")), "a b");
    EXPECT_EQ(platform::shown_text(*(*key)->read_raw("ёлка")), "42");
    EXPECT_EQ(platform::shown_text(*(*key)->read_raw("Bin")), "00 ff");
    EXPECT_EQ((*key)->every_value_name().size(), values.size());
    EXPECT_FALSE((*key)->read_raw("Нет"));
}

TEST(RegistryContract, TheMachinesSoftwareHasA32BitViewUnderWow6432Node) {
    auto& reg = services().registry;
    const std::string name = make_registry_test_key().substr(std::string("Software\\VorlindeTest\\").size());
    const std::string key = "Software\\VorlindeTest32-" + name;
    const std::string stored = "Software\\WOW6432Node\\VorlindeTest32-" + name;
    ASSERT_TRUE(reg.create(Root::local_machine, stored + "\\sub"));
    EXPECT_TRUE(reg.key_exists(Root::local_machine, key, platform::View::bit32));
    EXPECT_FALSE(reg.key_exists(Root::local_machine, key, platform::View::bit64));
    EXPECT_FALSE(reg.key_exists(Root::local_machine, key));
    {
        auto open = reg.open(Root::local_machine, key, KeyAccess::write, platform::View::bit32);
        ASSERT_TRUE(open) << shown(open.message());
        EXPECT_EQ((*open)->subkey_names(), std::vector<std::string>{"sub"});
        EXPECT_TRUE((*open)->write_string("Путь", "C:\\x86.exe"));
    }
    EXPECT_EQ((*reg.open(Root::local_machine, stored, KeyAccess::read))->read_string("Путь"), "C:\\x86.exe");
    // The current user's Software is one key in both views.
    const std::string mine = make_registry_test_key();
    ASSERT_TRUE(reg.create(Root::current_user, mine));
    EXPECT_TRUE(reg.key_exists(Root::current_user, mine, platform::View::bit32));

    EXPECT_FALSE(reg.delete_tree(Root::local_machine, key, platform::View::bit64));
    EXPECT_TRUE(reg.delete_tree(Root::local_machine, key, platform::View::bit32));
    EXPECT_FALSE(reg.key_exists(Root::local_machine, stored));
}
