// The shell, the same on both sides: the recycle bin, command lines and the
// registry editor's export.
#include <gtest/gtest.h>

#include "contract/contract_helpers.h"

using namespace contract;

TEST(ShellContract, DeletedFileGoesToTheBinAndEmptyingClearsIt) {
    if (!recycle_bin_is_private()) GTEST_SKIP() << "the recycle bin is not the test's own";
    auto& shell = services().shell;
    const std::string t = make_temp_folder();
    ASSERT_TRUE(shell.empty_recycle_bin());
    const auto before = shell.query_recycle_bin();
    ASSERT_TRUE(before) << shown(before.message());
    EXPECT_EQ(before->items, 0u);

    const std::string file = t + "\\в корзину.txt";
    ASSERT_TRUE(write_file(file, std::string(1234, 'x')));
    ASSERT_TRUE(shell.delete_to_recycle_bin(file));
    EXPECT_FALSE(services().fs.attributes(file));
    const auto after = shell.query_recycle_bin();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->items, 1u);
    EXPECT_EQ(after->bytes, 1234u);

    EXPECT_TRUE(shell.empty_recycle_bin());
    const auto emptied = shell.query_recycle_bin();
    ASSERT_TRUE(emptied);
    EXPECT_EQ(emptied->items, 0u);
    EXPECT_EQ(emptied->bytes, 0u);

    EXPECT_FALSE(shell.delete_to_recycle_bin(t + "\\missing.txt"));
    EXPECT_FALSE(shell.delete_to_recycle_bin("relative.txt"));
    EXPECT_FALSE(shell.delete_to_recycle_bin(""));
    EXPECT_FALSE(shell.delete_to_recycle_bin("C:\\"));
}

TEST(ShellContract, CommandLineStartsAProgramAndAMissingOneFails) {
    auto& shell = services().shell;
    const std::string marker = make_temp_folder() + "\\marker.txt";
    ASSERT_TRUE(shell.run_command_line(marker_command(marker)));
    bool made = false;
    for (int waited = 0; waited < 10000 && !made; waited += 50) {
        made = services().fs.is_existing_file(marker);
        if (!made) services().system.sleep_ms(50);
    }
    EXPECT_TRUE(made);
    EXPECT_FALSE(shell.run_command_line("\"C:\\no such folder\\program.exe\" /x"));
    EXPECT_FALSE(shell.run_command_line(""));
    EXPECT_FALSE(shell.open("open", make_temp_folder() + "\\missing.txt"));
}

TEST(ShellContract, RegistryExportWritesTheKeyAndWaitsForIt) {
    auto& reg = services().registry;
    const std::string k = make_registry_test_key();
    {
        auto key = reg.create(platform::Root::current_user, k + "\\Inner");
        ASSERT_TRUE(key);
        ASSERT_TRUE((*key)->write_string("Name", "value"));
    }
    const std::string file = make_temp_folder() + "\\HKCU(01.02.2025).reg";
    ASSERT_TRUE(services().shell.export_registry_key("HKEY_CURRENT_USER\\" + k, file));
    std::string text = read_file(file);
    // Version 5 files are UTF-16: keep the ASCII.
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF) {
        std::string ascii;
        for (std::size_t i = 2; i + 1 < text.size(); i += 2) ascii += text[i];
        text = ascii;
    }
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\" + k + "\\Inner]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Name\"=\"value\""), std::string::npos) << text;
}
