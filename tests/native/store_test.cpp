// List-file text and the size text.
#include <gtest/gtest.h>

#include "store/data_folder.h"
#include "store/size_text.h"
#include "sandbox.h"

using store::SizeToText;

TEST(SizeToText, CutsToTwoDecimalsAndPicksTheUnit) {
    EXPECT_EQ(SizeToText(0, ','), "0 KB");
    EXPECT_EQ(SizeToText(100, ','), "0,09 KB");
    EXPECT_EQ(SizeToText(2, ','), "0 KB");  // 0,00195... is cut to 0,00
    EXPECT_EQ(SizeToText(1536, ','), "1,5 KB");
    EXPECT_EQ(SizeToText(2046.976, ','), "1,99 KB");  // 1,999 is cut, not rounded
    EXPECT_EQ(SizeToText(1048575, ','), "1023,99 KB");
    EXPECT_EQ(SizeToText(1048576, ','), "1 MB");
    EXPECT_EQ(SizeToText(3.5 * 1048576, ','), "3,5 MB");
    EXPECT_EQ(SizeToText(5.0 * 1024 * 1024 * 1024 * 1024, ','), "5242880 MB");
}

TEST(SizeToText, UsesTheLocaleSeparator) {
    EXPECT_EQ(SizeToText(1536, '.'), "1.5 KB");
    EXPECT_EQ(SizeToText(2, '.'), "0 KB");
    EXPECT_EQ(SizeToText(1048575, '.'), "1023.99 KB");
}

TEST(ListFileText, EveryLineEndCountsAndTheLastLineNeedsNone) {
    using V = std::vector<std::string>;
    EXPECT_EQ(store::split_lines(""), V{});
    EXPECT_EQ(store::split_lines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(store::split_lines("a\nb\rc"), (V{"a", "b", "c"}));
    EXPECT_EQ(store::split_lines("a\r\n\r\n b \r\n"), (V{"a", "", " b "}));
    EXPECT_EQ(store::split_lines("\r\r\n"), (V{"", ""}));
}

TEST(ListFileText, FlagsCheckOnlyRowsWithALineOfOne) {
    using B = std::vector<bool>;
    EXPECT_EQ(store::flags_for_rows({"1", "0", "1", "1", "1"}, 3), (B{true, false, true}));
    EXPECT_EQ(store::flags_for_rows({"1"}, 3), (B{true, false, false}));
    EXPECT_EQ(store::flags_for_rows({"yes", "1 ", "", "01", "1"}, 5), (B{false, false, false, false, true}));
    EXPECT_EQ(store::flag_lines({true, false}), (std::vector<std::string>{"1", "0"}));
}

TEST(ListFileText, HashMarksADisabledEntry) {
    const auto off = store::PrefixedEntry::parse("#tmp");
    EXPECT_FALSE(off.enabled);
    EXPECT_EQ(off.text, "tmp");
    EXPECT_EQ(off.line(), "#tmp");
    const auto on = store::PrefixedEntry::parse("bak#");
    EXPECT_TRUE(on.enabled);
    EXPECT_EQ(on.line(), "bak#");
    EXPECT_EQ(store::PrefixedEntry::parse("##x").line(), "##x");
}

TEST(DataFolderPath, SitsBesideTheExecutable) {
    EXPECT_EQ(store::DataFolder::folder_of("C:\\Cleaner\\Vorlinde System Cleaner.exe"), "C:\\Cleaner\\");
    EXPECT_EQ(store::DataFolder::folder_of("D:\\prog.exe"), "D:\\");
}

TEST(DataFolder, AnAppendedLineStartsALineOfItsOwnAfterHandEditing) {
    testing_support::Sandbox box;
    box.write("C:\\Program\\Data\\tf_dirs_ex.txt", "C:\\One\r\nC:\\Two");
    box.data().append_line("tf_dirs_ex.txt", "C:\\Three");
    EXPECT_EQ(box.data().read_lines("tf_dirs_ex.txt"), (std::vector<std::string>{"C:\\One", "C:\\Two", "C:\\Three"}));
    box.write("C:\\Program\\Data\\empty.txt", "");
    box.data().append_line("empty.txt", "x");
    EXPECT_EQ(box.read("C:\\Program\\Data\\empty.txt"), "x\r\n");
}
