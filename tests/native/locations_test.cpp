// The one location builder: checked bases and parts, kept folders, and what
// a location holds.
#include <gtest/gtest.h>

#include <filesystem>

#include "sandbox.h"
#include "search/locations.h"

using search::LocationKind;
using testing_support::Sandbox;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

Sandbox with_d() {
    return Sandbox([](platform::posix::PosixConfig& config, const std::string& root) {
        std::filesystem::create_directories(root + "/d");
        config.drives.push_back({'D', root + "/d", platform::DriveType::fixed});
        config.environment = {{"USERPROFILE", "C:\\Users\\me"}, {"SystemRoot", "C:\\Windows"}};
    });
}

std::string path_of(const search::BuiltLocation& built) { return built ? built->path() : "none: " + built.refusal(); }

}  // namespace

TEST(LocationBuilder, JoinsOnlyPlainNamesToAGuardedBase) {
    Sandbox box = with_d();
    auto& fs = box.platform().fs;
    box.make_folder("C:\\Opera\\profile\\cache4");
    box.make_folder("D:\\x");
    ASSERT_EQ(symlink((box.root() + "/d").c_str(), box.host_path("C:\\ToD").c_str()), 0);
    ASSERT_EQ(symlink(box.host_path("D:\\x").c_str(), box.host_path("C:\\Opera\\profile\\link").c_str()), 0);

    for (const char* base : {"C:\\Opera", "C:\\Opera\\", "C:/Opera/", "C:\\Opera.", "C:\\x\\..\\Opera"})
        EXPECT_EQ(path_of(search::build_location(fs, base, {"profile", "cache4"})), "C:\\Opera\\profile\\cache4")
            << base;
    EXPECT_EQ(path_of(search::build_location(fs, "C:\\Opera\\", {"profile", "global.dat"}, LocationKind::file)),
              "C:\\Opera\\profile\\global.dat");

    // Absent places are told to no one; refused ones say why.
    for (const char* base : {"", "C:\\Missing"}) {
        const auto built = search::build_location(fs, base, {"profile"});
        EXPECT_FALSE(built) << base;
        EXPECT_EQ(built.refusal(), "") << base;
    }
    EXPECT_FALSE(search::build_location(fs, "C:\\Opera", {"profile", "missing"}));
    for (const char* base : {"Opera", "C:", "C:\\", "C:/", "D:\\x\\..", "D:\\.", "\\\\?\\D:\\", "C:\\ToD", "C:\\ToD\\."}) {
        const auto built = search::build_location(fs, base, {"profile"});
        EXPECT_FALSE(built) << base;
        EXPECT_NE(built.refusal(), "") << base;
    }
    for (const char* part : {"", ".", "..", "a\\b", "a/b", "C:", "x.", "x ", "*", "link", "CON", "nul.txt", "Com1"}) {
        const auto built = search::build_location(fs, "C:\\Opera\\profile", {part});
        EXPECT_FALSE(built) << part;
        EXPECT_NE(built.refusal(), "") << part;
    }
    EXPECT_FALSE(search::build_location(fs, "C:\\Opera", {"profile"}, LocationKind::file));  // a folder, not a file

    const auto cache = search::build_location(fs, "C:\\Opera", {"profile", "cache4"});
    ASSERT_TRUE(cache);
    EXPECT_TRUE(cache->holds("C:\\Opera\\profile\\cache4\\a\\b.tmp"));
    EXPECT_TRUE(cache->holds("c:/opera/PROFILE/cache4/b.tmp"));
    for (const char* outside : {"C:\\Opera\\profile\\cache4", "C:\\Opera\\profile\\cache4\\", "C:\\Opera\\profile\\cache45",
                                "C:\\Opera\\profile\\cache4\\..\\global.dat", "C:\\Opera\\profile\\cache4\\x\\..\\..", ""})
        EXPECT_FALSE(cache->holds(outside)) << outside;
}

TEST(LocationBuilder, NeverIsNorHoldsAKeptFolder) {
    Sandbox box = with_d();
    auto& p = box.platform();
    {
        auto key = p.registry.create(platform::Root::current_user, kShellFolders);
        ASSERT_TRUE(key);
        ASSERT_TRUE((*key)->write_string("Personal", "C:\\Users\\me\\Documents"));
        ASSERT_TRUE((*key)->write_string("SendTo", "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"));
        ASSERT_TRUE((*key)->write_string("Cache", "C:\\Users\\me\\Cache"));
        auto common = p.registry.create(platform::Root::local_machine, kShellFolders);
        ASSERT_TRUE(common);
        ASSERT_TRUE((*common)->write_string("Common Desktop", "D:\\Public\\Desktop"));
    }
    for (const char* folder : {"C:\\Users\\me\\Documents\\Old", "C:\\Users\\me\\Cache", "C:\\Users\\me\\AppData\\Local\\Temp",
                               "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\SendTo", "D:\\Public\\Desktop",
                               "C:\\Windows\\System32", "D:\\Work"})
        box.make_folder(folder);
    ASSERT_EQ(symlink(box.host_path("D:\\Public").c_str(), box.host_path("C:\\Users\\me\\Cache\\ToPublic").c_str()), 0);
    const auto kept = search::machine_kept_folders(p);

    for (const char* allowed : {"C:\\Users\\me\\Documents\\Old", "C:\\Users\\me\\Cache", "C:\\Users\\me\\AppData\\Local\\Temp",
                                "D:\\Work"})
        EXPECT_TRUE(search::build_location(p.fs, allowed, {}, LocationKind::folder, kept)) << allowed;
    for (const char* refused : {"C:\\Users\\me\\Documents", "C:\\Users\\me", "C:\\Users", "C:\\Users\\me\\AppData\\Roaming",
                                "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows", "C:\\Windows", "C:\\Windows\\System32",
                                "D:\\Public", "C:\\Users\\me\\Cache\\ToPublic"}) {
        const auto built = search::build_location(p.fs, refused, {}, LocationKind::folder, kept);
        EXPECT_FALSE(built) << refused;
        EXPECT_NE(built.refusal().find(refused), std::string::npos) << built.refusal();
    }
    const auto documents = search::build_location(p.fs, "C:\\Users\\me\\Documents", {}, LocationKind::folder, kept);
    EXPECT_NE(documents.refusal().find("это папка «Personal»"), std::string::npos) << documents.refusal();
}
