// The file system, the same on both sides: names, attributes, deletion,
// handles, long names, links and deep trees.
#include <gtest/gtest.h>

#include "contract/contract_helpers.h"
#include "platform/paths.h"

using namespace contract;
using platform::Access;
using platform::Share;
namespace attr = platform::attr;

TEST(FileSystemContract, ListsEveryKindOfEntryWithCyrillicNamesInWindowsOrder) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder();
    ASSERT_TRUE(write_file(t + "\\Документ.txt", "abc"));
    ASSERT_TRUE(write_file(t + "\\B.txt", ""));
    ASSERT_TRUE(write_file(t + "\\a.txt", ""));
    for (const char* name : {"hidden.txt", "system.txt", "readonly.txt"}) ASSERT_TRUE(write_file(t + "\\" + name, "x"));
    ASSERT_TRUE(fs.set_attributes(t + "\\hidden.txt", attr::hidden));
    ASSERT_TRUE(fs.set_attributes(t + "\\system.txt", attr::system));
    ASSERT_TRUE(fs.set_attributes(t + "\\readonly.txt", attr::read_only));
    ASSERT_TRUE(fs.create_folder(t + "\\Папка"));

    const auto entries = list(t);
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "B.txt", "hidden.txt", "readonly.txt", "system.txt",
                                               "Документ.txt", "Папка"}));
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_TRUE(find_entry(entries, "hidden.txt")->attributes & attr::hidden);
    EXPECT_TRUE(find_entry(entries, "system.txt")->attributes & attr::system);
    EXPECT_TRUE(find_entry(entries, "readonly.txt")->attributes & attr::read_only);
    const auto* folder = find_entry(entries, "Папка");
    EXPECT_TRUE(folder->is_directory());
    EXPECT_FALSE(folder->is_reparse_point());
    const auto* document = find_entry(entries, "Документ.txt");
    EXPECT_FALSE(document->is_directory());
    EXPECT_EQ(document->size, 3u);
    EXPECT_FALSE(document->unrepresentable);

    // One path's entry and dates agree with the listing.
    const auto single = fs.entry(t + "\\документ.TXT");
    ASSERT_TRUE(single);
    EXPECT_EQ(single->name, "Документ.txt");
    EXPECT_EQ(single->size, 3u);
    EXPECT_EQ(single->last_write, document->last_write);
    const auto listed_date = fs.local_date(document->last_write);
    const auto file_date = fs.last_write_date(t + "\\Документ.txt");
    ASSERT_TRUE(listed_date);
    ASSERT_TRUE(file_date);
    EXPECT_EQ(*listed_date, *file_date);
    const auto now = services().system.now();
    EXPECT_LE(*file_date, (platform::CalendarDate{now.year, now.month, now.day + 1}));
    EXPECT_GE(*file_date, (platform::CalendarDate{now.year, now.month, now.day - 1}));
    EXPECT_FALSE(fs.local_date(0));  // 1601: no DOS date

    // Lookups ignore case; the reported name keeps the stored one.
    EXPECT_EQ(fs.reported_name(t + "\\ПАПКА"), "Папка");
    EXPECT_TRUE(fs.is_existing_folder(t + "\\папка\\"));
    EXPECT_TRUE(fs.is_existing_file(t + "\\ДОКУМЕНТ.TXT"));
    EXPECT_FALSE(fs.is_existing_file(t + "\\Документ.txt\\"));
    EXPECT_FALSE(fs.is_existing_folder(t + "\\Документ.txt"));
    EXPECT_FALSE(fs.is_existing_file(t + "\\Папка"));
}

TEST(FileSystemContract, ReadOnlyFileIsDeletedOnlyAfterItsAttributesAreCleared) {
    auto& fs = services().fs;
    const std::string file = make_temp_folder() + "\\защищён.txt";
    ASSERT_TRUE(write_file(file, "data"));
    ASSERT_TRUE(fs.set_attributes(file, attr::read_only | attr::hidden | attr::system));
    EXPECT_EQ(*fs.attributes(file) & (attr::read_only | attr::hidden | attr::system),
              attr::read_only | attr::hidden | attr::system);
    EXPECT_FALSE(fs.delete_file(file));
    EXPECT_TRUE(fs.is_existing_file(file));

    ASSERT_TRUE(fs.set_attributes(file, 0));
    EXPECT_EQ(*fs.attributes(file) & (attr::read_only | attr::hidden | attr::system), 0u);
    EXPECT_TRUE(fs.delete_file(file));
    EXPECT_FALSE(fs.attributes(file));
    EXPECT_FALSE(fs.delete_file(file));
}

TEST(FileSystemContract, ExclusiveOpenFailsWhileAnotherHandleHoldsTheFile) {
    auto& fs = services().fs;
    const std::string file = make_temp_folder() + "\\held.bin";
    ASSERT_TRUE(write_file(file, "0123456789"));

    auto shared = fs.open(file, Access::read_write, Share::read_write);
    ASSERT_TRUE(shared) << shown(shared.message());
    EXPECT_FALSE(fs.open(file, Access::read_write, Share::none));
    EXPECT_TRUE(fs.open(file, Access::read, Share::read_write));
    EXPECT_FALSE(fs.delete_file(file));
    (*shared)->close();

    auto alone = fs.open(file, Access::read_write, Share::none);
    ASSERT_TRUE(alone) << shown(alone.message());
    EXPECT_FALSE(fs.open(file, Access::read, Share::read_write));
    platform::File& f = **alone;
    EXPECT_EQ(f.size(), 10u);
    EXPECT_TRUE(f.write("hello", 5));
    EXPECT_TRUE(f.flush());
    EXPECT_TRUE(f.seek_to_start());
    char buffer[16] = {};
    auto got = f.read(buffer, sizeof buffer);
    ASSERT_TRUE(got);
    EXPECT_EQ(std::string(buffer, *got), "hello56789");
    EXPECT_EQ(*f.read(buffer, sizeof buffer), 0u);
    alone->reset();

    auto append = fs.open_for_append(file);
    ASSERT_TRUE(append);
    EXPECT_TRUE((*append)->write("!", 1));
    append->reset();
    EXPECT_EQ(read_file(file), "hello56789!");
    EXPECT_TRUE(fs.delete_file(file));
}

TEST(FileSystemContract, LongPathNameTurnsAShortPathIntoItsLongForm) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder();
    const std::string folder = t + "\\A Long Folder Name";
    const std::string file = folder + "\\another long file.text";
    ASSERT_TRUE(fs.create_folder(folder));
    ASSERT_TRUE(write_file(file, "x"));
    const std::string short_form = short_path(file);
    ASSERT_FALSE(short_form.empty());
    EXPECT_NE(platform::folded_path(short_form), platform::folded_path(file));
    EXPECT_TRUE(fs.is_existing_file(short_form)) << short_form;
    EXPECT_EQ(platform::long_path_name(fs, short_form), file);
    // A missing component stays as written.
    EXPECT_EQ(platform::long_path_name(fs, short_path(folder) + "\\Нет такого"), folder + "\\Нет такого");
}

TEST(FileSystemContract, LinksAreReparsePointsAndTwoNamesOfOneFileShareAnIdentity) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder();
    ASSERT_TRUE(fs.create_folder(t + "\\real"));
    ASSERT_TRUE(write_file(t + "\\real\\inner.txt", "inner"));
    ASSERT_TRUE(make_folder_link(t + "\\link", t + "\\real"));
    ASSERT_TRUE(make_hard_link(t + "\\hard.txt", t + "\\real\\inner.txt"));
    ASSERT_TRUE(write_file(t + "\\copy.txt", "inner"));

    const auto entries = list(t);
    ASSERT_TRUE(find_entry(entries, "link"));
    EXPECT_EQ(find_entry(entries, "link")->attributes & (attr::directory | attr::reparse_point),
              attr::directory | attr::reparse_point);
    EXPECT_FALSE(find_entry(entries, "real")->is_reparse_point());
    EXPECT_TRUE(*fs.attributes(t + "\\link") & attr::reparse_point);

    const auto original = fs.identity(t + "\\real\\inner.txt");
    ASSERT_TRUE(original);
    EXPECT_EQ(*fs.identity(t + "\\link\\inner.txt"), *original);
    EXPECT_EQ(*fs.identity(t + "\\hard.txt"), *original);
    EXPECT_FALSE(*fs.identity(t + "\\copy.txt") == *original);
    EXPECT_FALSE(fs.identity(t + "\\missing.txt"));
    // An open handle tells the same identity.
    auto hard = fs.open(t + "\\hard.txt", platform::Access::read_write, platform::Share::none);
    ASSERT_TRUE(hard);
    EXPECT_EQ(*(*hard)->identity(), *original);
    (*hard)->close();

    // Removing the link never removes what it points to (Windows removes the
    // link; Wine refuses while the folder it points to is not empty).
    static_cast<void>(fs.remove_folder(t + "\\link"));
    EXPECT_EQ(read_file(t + "\\real\\inner.txt"), "inner");
}

TEST(FileSystemContract, TreeDeeperThan300CharactersIsWalkedAndDeleted) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder();
    std::vector<std::string> folders;
    std::string path = t;
    while (path.size() < 320) {
        path += "\\глубокая папка " + std::to_string(folders.size());
        ASSERT_TRUE(fs.create_folder(path)) << path.size();
        folders.push_back(path);
        ASSERT_TRUE(write_file(path + "\\файл.txt", std::string(folders.size(), 'x')));
    }
    const std::string deepest = path + "\\последний файл.txt";
    ASSERT_TRUE(write_file(deepest, "end"));
    EXPECT_GT(deepest.size(), 300u);
    EXPECT_TRUE(fs.is_existing_file(deepest));
    EXPECT_EQ(read_file(deepest), "end");

    // Walk: every folder lists its file and its subfolder.
    std::uint64_t bytes = 0;
    int files = 0;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
        for (const auto& e : list(folder)) {
            if (e.is_directory()) walk(folder + "\\" + e.name);
            else {
                ++files;
                bytes += e.size;
            }
        }
    };
    walk(t);
    EXPECT_EQ(files, static_cast<int>(folders.size()) + 1);
    EXPECT_EQ(bytes, folders.size() * (folders.size() + 1) / 2 + 3);

    // Delete, deepest first.
    EXPECT_FALSE(fs.remove_folder(folders.back()));  // not empty yet
    EXPECT_TRUE(fs.delete_file(deepest));
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        EXPECT_TRUE(fs.delete_file(*it + "\\файл.txt"));
        EXPECT_TRUE(fs.remove_folder(*it));
    }
    EXPECT_TRUE(list(t).empty());
}

TEST(FileSystemContract, BadPathsAndNamesWithoutACp1251FormFail) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder();
    const auto visit_all = [](const platform::DirEntry&) { return true; };
    for (const std::string& bad : {std::string(), std::string("relative\\file.txt"), std::string("C:"),
                                  std::string("C:file.txt"), t + "\\*.*", t + "\\a?c"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(fs.attributes(bad));
        EXPECT_FALSE(fs.enumerate(bad, visit_all));
        EXPECT_FALSE(fs.delete_file(bad));
        EXPECT_FALSE(fs.remove_folder(bad));
        EXPECT_FALSE(fs.create_folder(bad));
        EXPECT_FALSE(fs.open(bad, Access::read, Share::read_write));
        EXPECT_FALSE(fs.create(bad));
        EXPECT_FALSE(fs.identity(bad));
    }
    EXPECT_FALSE(fs.enumerate(t + "\\missing", visit_all));
    EXPECT_FALSE(fs.open(t + "\\missing.txt", Access::read, Share::read_write));
    EXPECT_FALSE(fs.create(t + "\\missing\\new.txt"));
    EXPECT_FALSE(fs.create_folder(t + "\\missing\\new"));
    EXPECT_FALSE(fs.create_folder(t));
    ASSERT_TRUE(fs.create_folder(t + "\\full"));
    ASSERT_TRUE(write_file(t + "\\full\\f.txt", ""));
    EXPECT_FALSE(fs.remove_folder(t + "\\full"));
    EXPECT_FALSE(fs.delete_file(t + "\\full"));
    EXPECT_FALSE(fs.remove_folder(t + "\\full\\f.txt"));

    // A name without a cp1251 form is listed marked, and no path reaches it.
    ASSERT_TRUE(make_file_without_cp1251_name(t));
    const auto entries = list(t);
    const auto* foreign = find_entry(entries, "??.txt");
    ASSERT_TRUE(foreign);
    EXPECT_TRUE(foreign->unrepresentable);
    EXPECT_FALSE(fs.attributes(t + "\\??.txt"));
    EXPECT_FALSE(fs.delete_file(t + "\\??.txt"));
    EXPECT_FALSE(find_entry(entries, "full")->unrepresentable);
}

TEST(FileSystemContract, AVisitorThatThrowsLeavesTheFolderFreeToRemove) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder() + "\\walked";
    ASSERT_TRUE(fs.create_folder(t));
    ASSERT_TRUE(write_file(t + "\\a.txt", ""));
    ASSERT_TRUE(write_file(t + "\\b.txt", ""));
    struct Stop {};
    EXPECT_THROW(fs.enumerate(t, [](const platform::DirEntry&) -> bool { throw Stop{}; }), Stop);
    // A listing still open would hold the folder.
    EXPECT_TRUE(fs.delete_file(t + "\\a.txt"));
    EXPECT_TRUE(fs.delete_file(t + "\\b.txt"));
    EXPECT_TRUE(fs.remove_folder(t));
    EXPECT_FALSE(fs.attributes(t));
}

TEST(FileSystemContract, DrivesAreListedWithTheirTypes) {
    auto& fs = services().fs;
    const auto drives = fs.logical_drives();
    const auto c = std::find_if(drives.begin(), drives.end(), [](const auto& d) { return d.root == "C:\\"; });
    ASSERT_NE(c, drives.end());
    EXPECT_EQ(c->type, platform::DriveType::fixed);
    EXPECT_EQ(fs.drive_type("C:\\"), platform::DriveType::fixed);
    EXPECT_EQ(fs.drive_type("c:"), platform::DriveType::fixed);
    char unused = 'Y';
    while (std::any_of(drives.begin(), drives.end(), [&](const auto& d) { return d.root[0] == unused; })) --unused;
    EXPECT_EQ(fs.drive_type(std::string(1, unused) + ":\\"), platform::DriveType::no_root);
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end(), [](const auto& a, const auto& b) { return a.root < b.root; }));
}

// The file layer's own reading of every spelling of a root, and of a link to
// one, is the root that full_path() gives: guards judge what will be used.
TEST(FileSystemContract, EverySpellingOfARootAndALinkToItLeadToTheRoot) {
    auto& fs = services().fs;
    const std::string t = make_temp_folder();
    const std::string drive = t.substr(0, 2), root = drive + "\\";
    for (const std::string& spelling : {root, drive + "\\\\", drive + "/", drive + "\\x\\..\\", drive + "\\x/..",
                                        drive + "\\.", drive + "\\ ", drive + "\\..."}) {
        EXPECT_EQ(platform::full_path(spelling), root) << spelling;
        const auto target = fs.final_path(spelling);
        ASSERT_TRUE(target) << spelling << ": " << target.message();
        EXPECT_EQ(platform::full_path(*target), root) << spelling;
    }
    ASSERT_TRUE(fs.create_folder(t + "\\real"));
    ASSERT_TRUE(make_folder_link(t + "\\to_root", root));
    ASSERT_TRUE(make_folder_link(t + "\\to_real", t + "\\real"));
    EXPECT_EQ(platform::full_path(fs.final_path(t + "\\to_root").value_or("")), root);
    const auto real = fs.final_path(t + "\\to_real");
    ASSERT_TRUE(real);
    EXPECT_TRUE(platform::folded_path(*real).ends_with("\\real")) << *real;
    EXPECT_FALSE(fs.final_path(t + "\\missing"));
}
