// The uninstall list and the file shredder, headless.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/paths.h"
#include "posix/faults.h"
#include "posix/headless_ui.h"
#include "removal/shredder_page.h"
#include "removal/uninstall_page.h"
#include "sandbox.h"

using platform::Root;

namespace {

const std::string kUninstall = removal::kUninstallKey;

// HKEY_LOCAL_MACHINE as a user without administrator rights sees it: keys
// cannot be deleted.
struct UserRegistry : platform::posix::FaultyRegistry {
    using FaultyRegistry::FaultyRegistry;
    using FaultyRegistry::delete_tree;
    bool administrator = true;
    platform::Status delete_tree(Root root, const std::string& path, platform::View view) override {
        if (root == Root::local_machine && !administrator) return platform::Status::failure("Отказано.");
        return FaultyRegistry::delete_tree(root, path, view);
    }
};

// Records each file's writes and flushes; `undeletable` files are not deleted.
struct Recorder : platform::posix::FaultyFileSystem {
    using FaultyFileSystem::FaultyFileSystem;
    struct Log {
        std::vector<std::string> writes;
        int flushes = 0;
    };
    std::map<std::string, Log> logs;
    std::string undeletable;
    std::string sizeless;  // its open file cannot tell its size

    struct RecordingFile : platform::File {
        std::unique_ptr<platform::File> inner;
        Log* log = nullptr;
        bool sizeless = false;
        platform::Result<std::uint64_t> length() override {
            if (sizeless) return platform::Status::failure("Неверный дескриптор.");
            return inner->length();
        }
        platform::Result<platform::FileIdentity> identity() override { return inner->identity(); }
        platform::Result<std::size_t> read(void* to, std::size_t count) override { return inner->read(to, count); }
        platform::Status write(const void* data, std::size_t count) override {
            log->writes.emplace_back(static_cast<const char*>(data), count);
            return inner->write(data, count);
        }
        platform::Status seek_to_start() override { return inner->seek_to_start(); }
        platform::Status flush() override { return ++log->flushes, inner->flush(); }
        void close() override { inner->close(); }
    };
    platform::Result<std::unique_ptr<platform::File>> open(const std::string& path, platform::Access access,
                                                           platform::Share share) override {
        auto opened = FaultyFileSystem::open(path, access, share);
        if (!opened) return opened;
        auto file = std::make_unique<RecordingFile>();
        file->inner = std::move(*opened);
        file->log = &logs[path];
        file->sizeless = path == sizeless;
        return std::unique_ptr<platform::File>(std::move(file));
    }
    platform::Status delete_file(const std::string& path) override {
        return path == undeletable ? platform::Status::failure("Отказано.") : FaultyFileSystem::delete_file(path);
    }
};

struct Pages {
    testing_support::Sandbox box;
    UserRegistry registry{box.platform().registry};
    Recorder fs{box.platform().fs};
    platform::Platform platform{fs, registry, box.platform().shell, box.platform().links,
                                box.platform().internet, box.platform().sound, box.platform().system};
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "PageControl"};
    ui::Page uninstall_page{pages, "Uninstall"}, shredder_page{pages, "FullDelete"};
    removal::UninstallPage uninstall{uninstall_page, platform, box.data(), toolkit.pump()};
    removal::ShredderPage shredder{shredder_page, platform, toolkit.pump()};

    // An entry of HKLM's 64-bit view, or of the key at `under` ("Software\WOW6432Node"
    // for the 32-bit view, or HKCU's "SOFTWARE").
    void program(const std::string& subkey, const char* name, const char* command, Root root = Root::local_machine,
                 const std::string& under = "SOFTWARE") {
        auto key = registry.create(root, under + kUninstall.substr(8) + "\\" + subkey);
        ASSERT_TRUE(key);
        EXPECT_TRUE(!name || (*key)->write_string("DisplayName", name).ok());
        EXPECT_TRUE(!command || (*key)->write_string("UninstallString", command).ok());
    }
    bool registered(const std::string& subkey) { return registry.key_exists(Root::local_machine, kUninstall + "\\" + subkey); }
    static std::vector<std::string> rows(const ui::ListControl& list) {
        std::vector<std::string> out;
        for (int row = 0; row < list.count(); ++row) out.push_back(list.text(row));
        return out;
    }
    void list_files(std::initializer_list<const char*> files) {
        for (const char* file : files) {
            toolkit.dialogs().files.push_back({file});
            shredder.add_button().click();
        }
    }
    const std::vector<headless::Message>& messages() { return toolkit.dialogs().messages; }
};

}  // namespace

TEST(UninstallPage, ListsEntriesWithBothValuesInTwoLetterOrder) {
    Pages f;
    f.uninstall.refresh();
    EXPECT_EQ(f.uninstall.title().text(), "Установленные программы (0)");  // no Uninstall key at all

    f.program("01", "Opera 9", "C:\\Opera\\uninst.exe");
    f.program("02", "OPERA Mail", "C:\\Mail\\uninst.exe");
    f.program("03", "adobe", "");
    f.program("04", "", "C:\\nameless.exe");
    f.program("05", "Бета", "C:\\beta.exe");
    f.program("06", "No command", nullptr);
    f.program("07", nullptr, "C:\\no-name.exe");
    f.uninstall.refresh();
    // Names equal in their first two letters end where the swaps leave them.
    EXPECT_EQ(Pages::rows(f.uninstall.list()),
              (std::vector<std::string>{"", "adobe", "OPERA Mail", "Opera 9", "Бета"}));
    EXPECT_EQ(f.uninstall.title().text(), "Установленные программы (5)");
    f.uninstall.list().click(3);
    EXPECT_EQ(f.uninstall.command().tooltip(), "C:\\Opera\\uninst.exe");
    f.uninstall.list().click(1);
    EXPECT_EQ(f.uninstall.command().text(), "");
}

// The refresh button is a glyph without a caption: a picture with some pixels
// of another colour than its clear bottom-left corner.
TEST(UninstallPage, RefreshesFromAPictureOnlyButton) {
    Pages f;
    const ui::Button& refresh = f.uninstall.refresh_button();
    EXPECT_EQ(refresh.text(), "");
    const ui::Pixels& glyph = refresh.picture();
    ASSERT_EQ(glyph.rgb.size(), static_cast<std::size_t>(glyph.width) * glyph.height * 3);
    ASSERT_GT(glyph.width, 0);
    int drawn = 0;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x) drawn += glyph.at(x, y) != glyph.at(0, glyph.height - 1);
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, glyph.width * glyph.height);
}

TEST(UninstallPage, RowsOfOneNameActOnTheFirstEntry) {
    Pages f;
    f.box.write("C:\\a\\uninst.exe");
    f.program("A", "Tool", "C:\\a\\uninst.exe");
    f.program("B", "Tool", "C:\\b\\uninst.exe");
    f.uninstall.refresh();
    f.uninstall.list().click(1);
    f.uninstall.list().double_click(1);
    EXPECT_EQ(f.box.host().shell().started(), (std::vector<std::string>{"C:\\a\\uninst.exe"}));

    // The count stays that of the last refresh; the other row still names
    // the first entry, which is gone already.
    f.uninstall.remove_button().click();
    EXPECT_FALSE(f.registered("A"));
    ASSERT_TRUE(f.box.undo_last());  // the removal's undo file puts the entry back
    EXPECT_EQ((*f.registry.open(Root::local_machine, kUninstall + "\\A", platform::KeyAccess::read))->read_string("DisplayName"),
              "Tool");
    ASSERT_TRUE(f.box.platform().registry.delete_tree(Root::local_machine, kUninstall + "\\A"));
    EXPECT_EQ(f.uninstall.title().text(), "Установленные программы (2)");
    f.uninstall.list().click(0);
    f.uninstall.remove_button().click();
    EXPECT_TRUE(f.uninstall.list().empty());
    EXPECT_TRUE(f.registered("B"));
    EXPECT_TRUE(f.messages().empty());
}

TEST(UninstallPage, ListsBothViewsAndTheUsersProgramsEachActingOnItsOwnKey) {
    Pages f;
    const std::string wow = "SOFTWARE\\WOW6432Node";
    f.program("Same", "Twin", "C:\\twin.exe");
    f.program("Same", "Twin", "C:\\twin.exe", Root::local_machine, wow);  // one key seen twice
    f.program("Z64", "Zip x64", "C:\\z64.exe");
    f.program("Z32", "Zip x86", "C:\\z32.exe", Root::local_machine, wow);
    f.program("Mine", "My tool", "C:\\mine.exe", Root::current_user);
    f.program("Moved", "Twin", "C:\\moved.exe", Root::local_machine, wow);
    f.uninstall.refresh();
    EXPECT_EQ(Pages::rows(f.uninstall.list()),
              (std::vector<std::string>{"My tool", "Twin", "Twin", "Zip x86", "Zip x64"}));
    const auto& entries = f.uninstall.entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[2].view, platform::View::bit32);
    EXPECT_EQ(entries[4].root, Root::current_user);

    f.box.write("C:\\z32.exe");
    f.uninstall.list().click(3);
    f.uninstall.uninstall_button().click();
    f.uninstall.list().click(0);
    f.uninstall.remove_button().click();
    EXPECT_FALSE(f.registry.key_exists(Root::current_user, kUninstall + "\\Mine"));
    f.uninstall.list().click(2);  // "Zip x86" now
    f.uninstall.remove_button().click();
    EXPECT_FALSE(f.registry.key_exists(Root::local_machine, wow + kUninstall.substr(8) + "\\Z32"));
    EXPECT_TRUE(f.registered("Z64"));
    EXPECT_EQ(f.box.host().shell().started(), (std::vector<std::string>{"C:\\z32.exe"}));
    EXPECT_TRUE(f.messages().empty());
}

TEST(UninstallPage, AnUninstallerThatCannotStartOffersToRemoveTheEntry) {
    Pages f;
    f.program("Empty", "Empty command", "");
    f.program("Gone", "Gone program", "C:\\gone\\uninst.exe");
    f.uninstall.refresh();
    f.uninstall.uninstall_button().click();  // no row chosen: nothing to ask about
    EXPECT_TRUE(f.messages().empty());

    f.uninstall.list().click(0);
    f.uninstall.uninstall_button().click();  // answered No
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Невозможно запустить программу удаления. Удалить запись из реестра?");
    EXPECT_TRUE(f.registered("Empty"));

    f.uninstall.list().click(1);
    f.toolkit.dialogs().answers.push_back(ui::Answer::yes);
    f.uninstall.uninstall_button().click();
    EXPECT_FALSE(f.registered("Gone"));
    EXPECT_EQ(Pages::rows(f.uninstall.list()), std::vector<std::string>{"Empty command"});

    // Without administrator rights the entry stays, and the user is told.
    f.registry.administrator = false;
    f.uninstall.list().click(0);
    f.uninstall.remove_button().click();
    EXPECT_EQ(f.messages().back().caption, "Ошибка");
    EXPECT_EQ(f.messages().back().icon, ui::Icon::error);
    EXPECT_EQ(f.uninstall.list().count(), 1);
}

TEST(Shredder, EveryPassWritesOneBlockOverTheWholeLengthAndFlushes) {
    Pages f;
    f.box.write("C:\\empty.txt", "");
    f.box.write("C:\\big.bin", std::string(4097, 'b'));
    f.shredder.refresh();
    EXPECT_FALSE(f.shredder.destroy_button().enabled());
    f.list_files({"C:\\empty.txt", "C:\\big.bin", "C:\\big.bin"});
    ASSERT_TRUE(f.shredder.destroy_button().enabled());
    f.shredder.destroy_button().release(ui::MouseButton::left);

    EXPECT_FALSE(f.box.exists("C:\\empty.txt"));
    EXPECT_FALSE(f.box.exists("C:\\big.bin"));
    EXPECT_TRUE(f.shredder.list().empty());
    EXPECT_FALSE(f.shredder.destroy_button().enabled());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_TRUE(f.fs.logs["C:\\empty.txt"].writes.empty());
    EXPECT_EQ(f.fs.logs["C:\\empty.txt"].flushes, 3);

    // Listed twice, shredded once; the last row goes first, so it has the
    // source's first bytes.
    const auto& big = f.fs.logs["C:\\big.bin"];
    EXPECT_EQ(big.flushes, 3);
    ASSERT_EQ(big.writes.size(), 6u);
    EXPECT_EQ(big.writes[0].substr(0, 6), std::string("\x00\x08\xDC\x33\x45\xAB", 6));
    for (std::size_t pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(big.writes[2 * pass].size(), 4096u);
        EXPECT_EQ(big.writes[2 * pass + 1], big.writes[2 * pass].substr(0, 1));
    }
    EXPECT_NE(big.writes[0], big.writes[2]);
}

TEST(Shredder, AFileThatCannotBeOpenedEndsTheRun) {
    Pages f;
    for (const char* name : {"C:\\first.txt", "C:\\ro.txt", "C:\\last.txt"}) f.box.write(name, "data");
    ASSERT_TRUE(f.box.platform().fs.set_attributes("C:\\ro.txt", platform::attr::read_only));
    f.list_files({"C:\\first.txt", "C:\\ro.txt", "C:\\last.txt"});
    f.shredder.destroy();
    EXPECT_FALSE(f.box.exists("C:\\last.txt"));
    EXPECT_EQ(f.box.read("C:\\ro.txt"), "data");
    EXPECT_EQ(f.box.read("C:\\first.txt"), "data");
    EXPECT_EQ(Pages::rows(f.shredder.list()), (std::vector<std::string>{"C:\\first.txt", "C:\\ro.txt"}));
    ASSERT_EQ(f.messages().size(), 1u);  // no question after it
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
    EXPECT_EQ(f.messages()[0].text, "Невозможно открыть файл \"C:\\ro.txt\". Отказано в доступе.");
}

TEST(Shredder, FilesNotDeletedAreOfferedForRemovalFromTheList) {
    Pages f;
    f.box.write("C:\\kept.txt", "data");
    f.fs.undeletable = "C:\\kept.txt";
    f.list_files({"C:\\vanished.txt", "C:\\kept.txt"});
    f.shredder.destroy();  // answered No
    EXPECT_EQ(Pages::rows(f.shredder.list()), std::vector<std::string>{"C:\\kept.txt"});
    EXPECT_EQ(f.fs.logs["C:\\kept.txt"].flushes, 3);
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Оставшиеся в списке файлы удалить не удалось. Удалить их из списка?");
    EXPECT_TRUE(f.shredder.destroy_button().enabled());

    f.toolkit.dialogs().answers.push_back(ui::Answer::yes);
    f.shredder.destroy();
    EXPECT_TRUE(f.shredder.list().empty());
    EXPECT_FALSE(f.shredder.destroy_button().enabled());
}

// A link names another file: it is refused by name, and neither it nor its
// target is touched; a size that cannot be read leaves the file as it was.
TEST(Shredder, ALinkOrAnUnreadableSizeIsRefusedAndSaidSo) {
    Pages f;
    f.box.write("C:\\Docs\\Sub\\report.doc", "report");
    std::filesystem::create_symlink(f.box.host_path("C:\\Docs\\Sub\\report.doc"), f.box.host_path("C:\\report.lnk"));
    std::filesystem::create_directory_symlink(f.box.host_path("C:\\Docs\\Sub"), f.box.host_path("C:\\Junction"));
    f.box.write("C:\\sizeless.txt", "data");
    f.fs.sizeless = "C:\\sizeless.txt";
    for (const char* path : {"C:\\Junction", "C:\\report.lnk", "C:\\sizeless.txt"}) {
        f.list_files({path});
        f.shredder.destroy();
        EXPECT_EQ(Pages::rows(f.shredder.list()), std::vector<std::string>{path});
        EXPECT_EQ(f.messages().back().icon, ui::Icon::error);
        EXPECT_NE(f.messages().back().text.find(std::string("\"") + path + "\""), std::string::npos);
        EXPECT_TRUE(f.box.exists(path)) << path;
        f.toolkit.dialogs().answers.push_back(ui::Answer::yes);
        f.shredder.list().clear();
    }
    EXPECT_EQ(f.messages()[1].text,
              "Файл \"C:\\report.lnk\" является ссылкой и не уничтожен. То, на что он указывает, не тронуто.");
    EXPECT_EQ(f.box.read("C:\\Docs\\Sub\\report.doc"), "report");
    EXPECT_EQ(f.box.read("C:\\sizeless.txt"), "data");
    EXPECT_TRUE(f.fs.logs["C:\\sizeless.txt"].writes.empty());
    removal::ByteSource source;
    for (const char* refused : {"", "report.doc", "C:\\", "C:\\Docs\\.."})
        EXPECT_FALSE(removal::shred_file(f.fs, refused, source)) << refused;
}

// While the files are shredded, "  Добавить" and "Уничтожить" are ignored:
// no second run starts inside the first, and every row goes with its file.
TEST(Shredder, CommandsDuringAShreddingAreIgnored) {
    Pages f;
    for (const char* name : {"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"}) f.box.write(name, "data");
    f.list_files({"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"});
    bool sent = false;
    f.toolkit.pump().on_serve = [&] {
        if (sent) return;
        sent = true;
        f.toolkit.dialogs().files.push_back({"C:\\a.txt"});
        f.shredder.add_button().click();
        f.shredder.destroy_button().release(ui::MouseButton::left);
    };
    f.shredder.destroy_button().release(ui::MouseButton::left);
    ASSERT_TRUE(sent);
    EXPECT_TRUE(f.shredder.list().empty());
    EXPECT_EQ(f.fs.logs["C:\\c.txt"].flushes, 3);
    EXPECT_TRUE(f.messages().empty());
}
