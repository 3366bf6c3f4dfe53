// The build's own promises: cp1251 literals and a working libjpeg on both sides.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "ui/jpeg.h"

TEST(Charset, RussianLiteralIsCp1251Bytes) {
    const std::string text = "Очистить";
    const std::string expected = "\xCE\xF7\xE8\xF1\xF2\xE8\xF2\xFC";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(std::string("ё Ё №"), std::string("\xB8 \xA8 \xB9"));
}

TEST(Jpeg, DecodesOurProbePicture) {
    std::ifstream in(VORLINDE_TEST_DATA "/probe.jpg", std::ios::binary);
    ASSERT_TRUE(in) << VORLINDE_TEST_DATA "/probe.jpg";
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto pixels = ui::decode_jpeg(bytes);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->width, 16);
    EXPECT_EQ(pixels->height, 16);
    // Left half blue (0, 102, 204), right half white; JPEG may shift a channel a little.
    const auto near = [](std::uint32_t got, std::uint32_t want) {
        for (int shift : {16, 8, 0}) {
            const int a = (got >> shift) & 0xFF, b = (want >> shift) & 0xFF;
            if (a - b > 6 || b - a > 6) return false;
        }
        return true;
    };
    EXPECT_PRED2(near, pixels->at(2, 3), 0x0066CCu);
    EXPECT_PRED2(near, pixels->at(13, 12), 0xFFFFFFu);
}

TEST(Jpeg, RejectsWhatIsNotAPicture) {
    EXPECT_FALSE(ui::decode_jpeg(""));
    EXPECT_FALSE(ui::decode_jpeg("not a jpeg at all"));
    EXPECT_FALSE(ui::decode_jpeg(std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)));
}

TEST(Harness, DISABLED_FailsOnPurpose) {
    FAIL() << "this failure proves that a failing test fails the run";
}

TEST(Cp1251, RoundTripsAndMarksWhatHasNoFormWithoutALookAlike) {
    const std::string russian = "Папка Ёлки №5";
    const std::string utf8 = platform::cp1251_to_utf8(russian);
    EXPECT_EQ(utf8, "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 \xD0\x81\xD0\xBB\xD0\xBA\xD0\xB8 \xE2\x84\x96" "5");
    bool lossy = true;
    EXPECT_EQ(platform::utf8_to_cp1251(utf8, &lossy), russian);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(platform::utf16_to_cp1251(platform::cp1251_to_utf16(russian), &lossy), russian);
    EXPECT_FALSE(lossy);

    // e acute has a look-alike "e"; a CJK character, a character beyond the
    // BMP, a lone surrogate, a sequence cut short and a stray byte have none.
    // Each is one '?', so the text never names another file.
    const std::pair<std::string, std::string> utf8_cases[] = {
        {"caf\xC3\xA9", "caf?"}, {"\xE6\x97\xA5.txt", "?.txt"}, {"a\xF0\x9F\x98\x80", "a?"},
        {"\xD0", "?"},           {"\xA9x", "?x"}};
    for (const auto& [from, to] : utf8_cases) {
        EXPECT_EQ(platform::utf8_to_cp1251(from, &lossy), to);
        EXPECT_TRUE(lossy) << to;
    }
    EXPECT_EQ(platform::utf16_to_cp1251(u"caf\u00E9 \U0001F600 \xD800", &lossy), "caf? ? ?");
    EXPECT_TRUE(lossy);
}

// The full form every guard judges: what the file layer will really use.
TEST(FullPath, FoldsWhatWindowsFoldsAndRefusesWhatIsNotAbsolute) {
    using platform::full_path;
    for (const char* root : {"C:\\", "C:\\\\", "C:/", "c:\\x\\..\\", "C:\\x/..", "C:\\.", "C:\\ ", "C:\\...",
                             "\\\\?\\C:\\", "C:\\a\\..\\..\\.."})
        EXPECT_EQ(full_path(root).value_or("?"), std::string(1, root[0] == 'c' ? 'c' : 'C') + ":\\") << root;
    EXPECT_EQ(full_path("C:\\a//b\\.\\c\\..\\d. \\"), "C:\\a\\b\\d");
    EXPECT_EQ(full_path("C:\\a. \\b"), "C:\\a. \\b");  // only the last name loses its dots
    EXPECT_EQ(full_path("\\\\srv\\share\\\\"), "\\\\srv\\share");
    EXPECT_EQ(full_path("\\\\srv\\share\\..\\.."), "\\\\srv\\share");
    EXPECT_EQ(full_path("//srv/share/x/"), "\\\\srv\\share\\x");
    EXPECT_EQ(full_path("\\\\?\\UNC\\srv\\share\\x"), "\\\\srv\\share\\x");
    for (const char* bad : {"", "C:", "C:x", "x\\y", "\\x", "\\\\srv", "\\\\srv\\", "\\\\.\\C:\\x"})
        EXPECT_FALSE(full_path(bad)) << bad;
}
