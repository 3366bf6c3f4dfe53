// The duplicate search's editors: "Типы файлов" (registered types from the
// registry, read only) and "Список файлов" (the chosen files).
#include <gtest/gtest.h>

#include "duplicates/files_window.h"
#include "duplicates/types_window.h"
#include "editors_fixture.h"

using testing_support::EditorsFixture;

namespace {

// The registry of the machine, refusing every key opened for writing.
struct ReadOnlyRegistry : platform::Registry {
    platform::Registry& inner;
    explicit ReadOnlyRegistry(platform::Registry& r) : inner(r) {}
    platform::Result<std::unique_ptr<platform::RegistryKey>> open(platform::Root root, const std::string& path,
                                                                  platform::KeyAccess access) override {
        if (access != platform::KeyAccess::read) return platform::Status::failure("write access refused");
        return inner.open(root, path, access);
    }
    platform::Result<std::unique_ptr<platform::RegistryKey>> create(platform::Root, const std::string&) override {
        return platform::Status::failure("write access refused");
    }
    bool key_exists(platform::Root root, const std::string& path) override { return inner.key_exists(root, path); }
    platform::Status delete_tree(platform::Root, const std::string&) override {
        return platform::Status::failure("write access refused");
    }
    bool same_name(const std::string& a, const std::string& b) override { return inner.same_name(a, b); }
};

struct TypesFixture : EditorsFixture {
    TypesFixture() {
        auto add = [&](const std::string& key, const std::string& value) {
            auto k = box.platform().registry.create(platform::Root::classes_root, key);
            if (!value.empty()) {
                EXPECT_TRUE((*k)->write_string("", value).ok());
            }
        };
        add(".Doc", "Word.Document");
        add("Word.Document", "Документ");
        add("Word.Document\\shell\\open\\command", "winword.exe");
        add(".txt", "txtfile");
        add("txtfile", "Текст");
        add("txtfile\\shell\\open\\command", "notepad.exe");
        add(".noclass", "");                  // empty default value
        add(".noopen", "NoOpen");             // a class without an open command
        add("NoOpen\\shell\\print\\command", "x");
        add("notatype", "txtfile");
    }
    ReadOnlyRegistry registry{box.platform().registry};
    duplicates::TypesWindow window{toolkit, box.data(), registry};

    std::vector<std::string> rows() {
        std::vector<std::string> out;
        for (int i = 0; i < window.type_list().count(); ++i)
            out.push_back((window.type_list().checked(i) ? "+" : "") + window.type_list().text(i) + " " +
                          window.type_list().text(i, 1));
        return out;
    }
    void apply() { window.apply_button().release(ui::MouseButton::right); }
};

}  // namespace

TEST(TypesWindow, ListsRegisteredTypesWithAnOpenCommandAndTheirStoredChecks) {
    TypesFixture f;
    f.window.show_modal();
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"Doc Документ", "txt Текст"}));
    EXPECT_TRUE(f.window.no_mask().checked());  // no filter file

    f.box.data().rewrite("cf_usetypes.txt", {});
    f.box.data().rewrite("cf_types.txt", {"doc", "txt"});  // compared as spelled
    f.window.close();
    f.window.show_modal();
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"Doc Документ", "+txt Текст"}));

    f.box.data().remove("cf_types.txt");  // a filter without its list: nothing checked
    f.window.close();
    f.window.show_modal();
    EXPECT_EQ(f.window.type_list().checked_count(), 0);
}

TEST(TypesWindow, ApplyStoresTheCheckedTypesOrTurnsTheFilterOff) {
    TypesFixture f;
    f.window.show_modal();
    f.window.select_all().click();
    f.window.type_list().click(0);  // choosing in the list means using the mask
    EXPECT_FALSE(f.window.no_mask().checked());
    f.apply();
    EXPECT_FALSE(f.window.visible());
    EXPECT_TRUE(f.box.data().exists("cf_usetypes.txt"));
    EXPECT_EQ(f.file("cf_types.txt"), "Doc\r\ntxt\r\n");

    f.window.show_modal();
    f.window.no_mask().click();
    f.apply();
    EXPECT_FALSE(f.box.data().exists("cf_usetypes.txt"));
    EXPECT_EQ(f.file("cf_types.txt"), "Doc\r\ntxt\r\n");  // kept as it was

    f.box.data().rewrite("cf_usetypes.txt", {});
    f.window.show_modal();
    f.window.select_all().click();  // unchecks every row
    f.apply();
    EXPECT_FALSE(f.box.data().exists("cf_usetypes.txt"));
}

TEST(FilesWindow, AddsFilesAndFoldersOnceAndSaysWhenSomeWereListed) {
    EditorsFixture f;
    f.box.data().rewrite("cf_files.txt", {"C:\\a\\one", "C:\\a\\ONE"});
    f.box.write("D:\\top1", "x");
    f.box.write("D:\\sub\\inner", "x");
    f.box.write("D:\\sub\\deeper\\deepest", "x");
    duplicates::FilesWindow window(f.toolkit, f.box.data(), f.box.platform().fs);
    window.show_modal();

    f.dialogs().files.push_back({"C:\\a\\one", "C:\\a\\two"});
    window.add_files_button().click();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, "Некоторые из выбранных файлов уже содержатся в списке.");
    EXPECT_EQ(f.messages()[0].caption, "Добавление завершено");

    f.choose("D:\\");
    window.add_folder_button().release(ui::MouseButton::right);
    f.choose("D:\\sub");
    window.subfolders().click();
    window.add_folder_button().click();
    EXPECT_FALSE(window.progress().visible());
    EXPECT_TRUE(window.group().enabled());
    EXPECT_EQ(f.messages().size(), 1u);
    f.choose("D:\\");
    window.add_folder_button().click();  // everything below D:\ is listed already
    EXPECT_EQ(f.messages().size(), 2u);

    window.apply_button().click();
    EXPECT_EQ(f.file("cf_files.txt"),
              "C:\\a\\one\r\nC:\\a\\ONE\r\nC:\\a\\two\r\nD:\\top1\r\nD:\\sub\\deeper\\deepest\r\nD:\\sub\\inner\r\n");
}

// Both editors are white, and their apply button has no blanks before its word.
TEST(DuplicateEditors, AreWhiteWithAPlainApplyButton) {
    TypesFixture f;
    duplicates::FilesWindow files(f.toolkit, f.box.data(), f.box.platform().fs);
    EXPECT_EQ(f.window.color(), ui::colors::white);
    EXPECT_EQ(files.color(), ui::colors::white);
    EXPECT_EQ(f.window.apply_button().text(), "Применить");
    EXPECT_EQ(files.apply_button().text(), "Применить");
}
