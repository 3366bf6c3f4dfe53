// The uninstall list and the file shredder, headless.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "platform/paths.h"
#include "platform/posix/faults.h"
#include "platform/posix/headless_ui.h"
#include "removal/shredder_page.h"
#include "removal/uninstall_page.h"
#include "sandbox.h"

using platform::Root;
using testing_support::Sandbox;

namespace {

const std::string kUninstall = removal::kUninstallKey;

// A machine whose HKEY_LOCAL_MACHINE keys can be made undeletable, as for a
// user without administrator rights.
struct GuardedMachine : platform::posix::FaultyRegistry {
    using FaultyRegistry::FaultyRegistry;
    bool administrator = true;
    platform::Status delete_tree(Root root, const std::string& path) override {
        if (!administrator) return platform::Status::failure("Отказано в доступе.");
        return FaultyRegistry::delete_tree(root, path);
    }
};

// What the shredder did to each file, by folded path: the size of each
// write, the first write's bytes and the flushes. Files named in
// `undeletable` cannot be deleted.
struct Recorder : platform::posix::FaultyFileSystem {
    using FaultyFileSystem::FaultyFileSystem;
    struct Log {
        std::vector<std::size_t> writes;
        std::vector<std::string> data;  // the bytes of each write
        int flushes = 0;
    };
    std::map<std::string, Log> logs;
    std::set<std::string> undeletable;

    struct RecordingFile : platform::File {
        std::unique_ptr<platform::File> inner;
        Log* log;
        std::uint64_t size() override { return inner->size(); }
        platform::Result<std::size_t> read(void* buffer, std::size_t count) override { return inner->read(buffer, count); }
        platform::Status write(const void* data, std::size_t count) override {
            log->writes.push_back(count);
            log->data.emplace_back(static_cast<const char*>(data), count);
            return inner->write(data, count);
        }
        platform::Status seek_to_start() override { return inner->seek_to_start(); }
        platform::Status flush() override {
            ++log->flushes;
            return inner->flush();
        }
        void close() override { inner->close(); }
    };

    platform::Result<std::unique_ptr<platform::File>> open(const std::string& path, platform::Access access,
                                                           platform::Share share) override {
        auto opened = FaultyFileSystem::open(path, access, share);
        if (!opened) return opened;
        auto file = std::make_unique<RecordingFile>();
        file->inner = std::move(*opened);
        file->log = &logs[platform::folded_path(path)];
        return std::unique_ptr<platform::File>(std::move(file));
    }
    platform::Status delete_file(const std::string& path) override {
        if (undeletable.count(platform::folded_path(path))) return platform::Status::failure("Отказано в доступе.");
        return FaultyFileSystem::delete_file(path);
    }
    Log& log(const std::string& path) { return logs[platform::folded_path(path)]; }
};

struct Pages {
    Sandbox box;
    GuardedMachine registry{box.platform().registry};
    Recorder fs{box.platform().fs};
    platform::Platform platform{fs, registry, box.platform().shell, box.platform().links,
                                box.platform().internet, box.platform().sound, box.platform().system};
    headless::Toolkit toolkit;
    ui::Form form{toolkit, "Form1"};
    ui::PageSet pages{form, "PageControl"};
    ui::Page uninstall_page{pages, "Uninstall"}, shredder_page{pages, "FullDelete"};
    removal::UninstallPage uninstall{uninstall_page, platform, toolkit.pump()};
    removal::ShredderPage shredder{shredder_page, platform, toolkit.pump()};

    void program(const std::string& subkey, const std::optional<std::string>& name,
                 const std::optional<std::string>& command) {
        auto key = registry.create(Root::local_machine, kUninstall + "\\" + subkey);
        ASSERT_TRUE(key);
        if (name) {
            ASSERT_TRUE((*key)->write_string("DisplayName", *name));
        }
        if (command) {
            ASSERT_TRUE((*key)->write_string("UninstallString", *command));
        }
        ASSERT_TRUE((*key)->write_string("Publisher", "x"));
    }
    bool registered(const std::string& subkey) {
        return registry.key_exists(Root::local_machine, kUninstall + "\\" + subkey);
    }
    std::vector<std::string> rows(ui::ListControl& list) {
        std::vector<std::string> out;
        for (int row = 0; row < list.count(); ++row) out.push_back(list.text(row));
        return out;
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
    f.program("06", "No command", std::nullopt);
    f.program("07", std::nullopt, "C:\\no-name.exe");
    f.uninstall.refresh();
    // Equal first two letters keep the order the swaps leave: "OPERA Mail"
    // before "Opera 9".
    EXPECT_EQ(f.rows(f.uninstall.list()),
              (std::vector<std::string>{"", "adobe", "OPERA Mail", "Opera 9", "Бета"}));
    EXPECT_EQ(f.uninstall.title().text(), "Установленные программы (5)");
    EXPECT_EQ(f.uninstall.entry_of(2).key_path, kUninstall + "\\02");

    f.uninstall.list().click(3);
    EXPECT_EQ(f.uninstall.command().text(), "C:\\Opera\\uninst.exe");
    EXPECT_EQ(f.uninstall.command().tooltip(), "C:\\Opera\\uninst.exe");
    f.uninstall.list().click(1);  // an empty command
    EXPECT_EQ(f.uninstall.command().text(), "");

    // Refreshing empties the command and the selection.
    f.uninstall.list().click(3);
    f.uninstall.refresh_button().click();
    EXPECT_EQ(f.uninstall.command().text(), "");
    EXPECT_EQ(f.uninstall.list().selected(), -1);
}

TEST(UninstallPage, RowsOfOneNameActOnTheFirstEntry) {
    Pages f;
    f.box.write("C:\\a\\uninst.exe");
    f.box.write("C:\\b\\uninst.exe");
    f.program("A", "Tool", "C:\\a\\uninst.exe");
    f.program("B", "Tool", "C:\\b\\uninst.exe");
    f.uninstall.refresh();
    f.uninstall.list().click(1);
    f.uninstall.list().double_click(1);
    EXPECT_EQ(f.box.host().shell().started(), (std::vector<std::string>{"C:\\a\\uninst.exe"}));
    EXPECT_TRUE(f.messages().empty());

    // Removing an entry keeps the count of the last refresh; the other row
    // still names the first entry, which is gone already.
    f.uninstall.remove_button().click();
    EXPECT_FALSE(f.registered("A"));
    EXPECT_EQ(f.rows(f.uninstall.list()), std::vector<std::string>{"Tool"});
    EXPECT_EQ(f.uninstall.title().text(), "Установленные программы (2)");
    f.uninstall.list().click(0);
    f.uninstall.remove_button().click();
    EXPECT_TRUE(f.uninstall.list().empty());
    EXPECT_TRUE(f.registered("B"));
    EXPECT_TRUE(f.messages().empty());
}

TEST(UninstallPage, AnUninstallerThatCannotStartOffersToRemoveTheEntry) {
    Pages f;
    f.program("Empty", "Empty command", "");
    f.program("Gone", "Gone program", "C:\\gone\\uninst.exe");
    f.uninstall.refresh();
    f.uninstall.uninstall_button().click();  // nothing chosen: nothing to ask about
    EXPECT_TRUE(f.messages().empty());

    f.uninstall.list().click(0);
    f.uninstall.uninstall_button().click();  // answered No
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Невозможно запустить программу удаления. Удалить запись из реестра?");
    EXPECT_TRUE(f.registered("Empty"));

    f.uninstall.list().click(1);
    f.toolkit.dialogs().answers.push_back(ui::Answer::yes);
    f.uninstall.uninstall_button().click();
    EXPECT_EQ(f.messages().size(), 2u);
    EXPECT_FALSE(f.registered("Gone"));
    EXPECT_EQ(f.rows(f.uninstall.list()), std::vector<std::string>{"Empty command"});
}

TEST(UninstallPage, AnEntryThatCannotBeDeletedStaysListed) {
    Pages f;
    f.program("X", "Locked", "C:\\x.exe");
    f.uninstall.refresh();
    f.registry.administrator = false;
    f.uninstall.list().click(0);
    f.uninstall.remove_button().click();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].caption, "Ошибка");
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
    EXPECT_EQ(f.uninstall.list().count(), 1);
    EXPECT_TRUE(f.registered("X"));
}

TEST(Shredder, EveryPassWritesOneBlockOverTheWholeLengthAndFlushes) {
    Pages f;
    f.box.write("C:\\empty.txt", "");
    f.box.write("C:\\big.bin", std::string(4097, 'b'));
    f.toolkit.dialogs().files = {{"C:\\empty.txt"}, {"C:\\big.bin"}};
    f.shredder.refresh();
    EXPECT_FALSE(f.shredder.destroy_button().enabled());
    f.shredder.add_button().click();
    f.shredder.add_button().click();
    ASSERT_TRUE(f.shredder.destroy_button().enabled());
    f.shredder.destroy_button().release(ui::MouseButton::left);

    EXPECT_FALSE(f.box.exists("C:\\empty.txt"));
    EXPECT_FALSE(f.box.exists("C:\\big.bin"));
    EXPECT_TRUE(f.shredder.list().empty());
    EXPECT_FALSE(f.shredder.destroy_button().enabled());
    EXPECT_TRUE(f.messages().empty());

    const auto& empty = f.fs.log("C:\\empty.txt");
    EXPECT_TRUE(empty.writes.empty());
    EXPECT_EQ(empty.flushes, 3);
    // The last row goes first, so the big file gets the source's first bytes.
    const auto& big = f.fs.log("C:\\big.bin");
    EXPECT_EQ(big.writes, (std::vector<std::size_t>{4096, 1, 4096, 1, 4096, 1}));
    EXPECT_EQ(big.flushes, 3);
    ASSERT_EQ(big.data.size(), 6u);
    EXPECT_EQ(big.data[0].substr(0, 6), std::string("\x00\x08\xDC\x33\x45\xAB", 6));
    for (std::size_t pass = 0; pass < 3; ++pass) EXPECT_EQ(big.data[2 * pass + 1][0], big.data[2 * pass][0]);
    EXPECT_NE(big.data[0], big.data[2]);  // each pass fills the block anew
}

TEST(Shredder, AFileListedTwiceIsShreddedOnce) {
    Pages f;
    f.box.write("C:\\twice.doc", "secret");
    f.toolkit.dialogs().files = {{"C:\\twice.doc"}, {"C:\\twice.doc"}};
    f.shredder.add_file();
    f.shredder.add_file();
    EXPECT_EQ(f.shredder.list().count(), 2);
    f.shredder.destroy();
    EXPECT_FALSE(f.box.exists("C:\\twice.doc"));
    EXPECT_EQ(f.fs.log("C:\\twice.doc").flushes, 3);
    EXPECT_TRUE(f.shredder.list().empty());
    EXPECT_TRUE(f.messages().empty());
}

TEST(Shredder, AFileThatCannotBeOpenedEndsTheRun) {
    Pages f;
    for (const char* name : {"C:\\first.txt", "C:\\ro.txt", "C:\\last.txt"}) {
        f.box.write(name, "data");
        f.toolkit.dialogs().files.push_back({name});
        f.shredder.add_file();
    }
    ASSERT_TRUE(f.box.platform().fs.set_attributes("C:\\ro.txt", platform::attr::read_only));
    f.shredder.destroy();
    EXPECT_FALSE(f.box.exists("C:\\last.txt"));
    EXPECT_EQ(f.box.read("C:\\ro.txt"), "data");
    EXPECT_EQ(f.box.read("C:\\first.txt"), "data");
    EXPECT_EQ(f.rows(f.shredder.list()), (std::vector<std::string>{"C:\\first.txt", "C:\\ro.txt"}));
    ASSERT_EQ(f.messages().size(), 1u);  // no question after it
    EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
    EXPECT_EQ(f.messages()[0].text, "Невозможно открыть файл \"C:\\ro.txt\". Отказано в доступе.");
}

TEST(Shredder, FilesNotDeletedAreOfferedForRemovalFromTheList) {
    Pages f;
    f.box.write("C:\\kept.txt", "data");
    f.fs.undeletable.insert(platform::folded_path("C:\\kept.txt"));
    for (const char* name : {"C:\\vanished.txt", "C:\\kept.txt"}) {
        f.toolkit.dialogs().files.push_back({name});
        f.shredder.add_file();
    }
    f.shredder.destroy();  // answered No
    EXPECT_EQ(f.rows(f.shredder.list()), std::vector<std::string>{"C:\\kept.txt"});
    EXPECT_EQ(f.fs.log("C:\\kept.txt").flushes, 3);
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Оставшиеся в списке файлы удалить не удалось. Удалить их из списка?");
    EXPECT_TRUE(f.shredder.destroy_button().enabled());

    f.toolkit.dialogs().answers.push_back(ui::Answer::yes);
    f.shredder.destroy();
    EXPECT_TRUE(f.shredder.list().empty());
    EXPECT_FALSE(f.shredder.destroy_button().enabled());
}

TEST(Shredder, ALinkIsRemovedAndItsTargetLeftAlone) {
    Pages f;
    f.box.write("C:\\Docs\\report.doc", "report");
    f.box.make_folder("C:\\Docs\\Sub");
    f.box.write("C:\\Docs\\Sub\\inner.doc", "inner");
    std::filesystem::create_symlink(f.box.host_path("C:\\Docs\\report.doc"), f.box.host_path("C:\\report.lnk"));
    std::filesystem::create_directory_symlink(f.box.host_path("C:\\Docs\\Sub"), f.box.host_path("C:\\Junction"));
    removal::ByteSource source;
    for (const char* link : {"C:\\report.lnk", "C:\\Junction"}) {
        auto removed = removal::shred_file(f.fs, link, source);
        ASSERT_TRUE(removed) << link;
        EXPECT_TRUE(*removed) << link;
        EXPECT_FALSE(f.box.exists(link)) << link;
    }
    EXPECT_EQ(f.box.read("C:\\Docs\\report.doc"), "report");
    EXPECT_EQ(f.box.read("C:\\Docs\\Sub\\inner.doc"), "inner");
    EXPECT_TRUE(f.fs.logs.empty());
    for (const char* refused : {"", "report.doc", "C:\\", "C:\\Docs\\.."})
        EXPECT_FALSE(removal::shred_file(f.fs, refused, source)) << refused;
}
