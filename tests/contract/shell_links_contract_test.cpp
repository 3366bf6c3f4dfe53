// Shortcuts: what the platform writes it reads, and the program's own codec
// and the platform (IShellLink under Wine) read each other's files.
#include <gtest/gtest.h>

#include "contract/contract_helpers.h"
#include "platform/shell_link_format.h"

using namespace contract;

TEST(ShellLinksContract, ShortcutKeepsItsCyrillicTargetAndOtherFilesHaveNone) {
    auto& links = services().links;
    const std::string t = make_temp_folder();
    ASSERT_TRUE(services().fs.create_folder(t + "\\Программы"));
    const std::string target = t + "\\Программы\\Очистка.exe";
    ASSERT_TRUE(write_file(target, "MZ"));
    ASSERT_TRUE(links.write(t + "\\Ярлык.lnk", target, "Описание", "-tray"));
    EXPECT_EQ(links.read_target(t + "\\Ярлык.lnk"), target);
    // A target that does not exist is kept as well.
    ASSERT_TRUE(links.write(t + "\\gone.lnk", t + "\\Нет\\gone.exe", "", ""));
    EXPECT_EQ(links.read_target(t + "\\gone.lnk"), t + "\\Нет\\gone.exe");

    // The name does not matter, the content does: a shortcut by any name is
    // read, and a file cut short after a shortcut's header is none.
    ASSERT_TRUE(links.write(t + "\\gone.dat", t + "\\Нет\\gone.exe", "", ""));
    EXPECT_EQ(links.read_target(t + "\\gone.dat"), t + "\\Нет\\gone.exe");
    auto bytes = platform::read_whole_file(services().fs, t + "\\gone.lnk");
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(write_file(t + "\\cut.lnk", bytes->substr(0, platform::kShellLinkHeaderSignature)));
    EXPECT_EQ(links.read_target(t + "\\cut.lnk"), "");
    ASSERT_TRUE(write_file(t + "\\text.lnk", "not a shortcut at all"));
    EXPECT_EQ(links.read_target(t + "\\text.lnk"), "");
    EXPECT_EQ(links.read_target(t + "\\missing.lnk"), "");
    EXPECT_EQ(links.read_target(t + "\\Программы"), "");
}

TEST(ShellLinksContract, CodecAndPlatformReadEachOthersShortcuts) {
    auto& links = services().links;
    const std::string t = make_temp_folder();
    ASSERT_TRUE(services().fs.create_folder(t + "\\Папка"));
    const std::string target = t + "\\Папка\\app.exe";
    ASSERT_TRUE(write_file(target, "MZ"));

    // Written by the codec, read by the platform.
    platform::ShellLinkData data;
    data.target = target;
    data.description = "Описание";
    data.arguments = "/a \"b c\"";
    ASSERT_TRUE(write_file(t + "\\codec.lnk", platform::encode_shell_link(data)));
    EXPECT_EQ(links.read_target(t + "\\codec.lnk"), target);
    data.target = "C:\\Windows\\notepad.exe";
    ASSERT_TRUE(write_file(t + "\\ascii.lnk", platform::encode_shell_link(data)));
    EXPECT_EQ(links.read_target(t + "\\ascii.lnk"), "C:\\Windows\\notepad.exe");

    // Written by the platform, read by the codec.
    ASSERT_TRUE(links.write(t + "\\platform.lnk", target, "Описание ярлыка", "-x"));
    const auto decoded = platform::decode_shell_link(read_file(t + "\\platform.lnk"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->target, target);
    EXPECT_EQ(decoded->description, "Описание ярлыка");
    EXPECT_EQ(decoded->arguments, "-x");
}
