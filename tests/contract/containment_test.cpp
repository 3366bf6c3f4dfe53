// Every file-deleting action of the program, run under every setting a user
// or a hand-edited file can get wrong, over the real file layer of each side:
// nothing outside what the action is meant to clean is deleted, changed or
// moved, and what it is meant to clean goes. The registry and the
// environment the actions read are the test's own (a registry in memory and
// an environment block), so that no other test of the prefix sees them.
//
// The suite prints its table (action by setting, files and folders outside
// touched), the one in docs/safety.md.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>
#include <sstream>

#include "contract/contract_helpers.h"
#include "duplicates/duplicate_removal.h"
#include "emptydirs/empty_dirs_removal.h"
#include "junk/temp_folders.h"
#include "junk/temp_search.h"
#include "platform/paths.h"
#include "privacy/browser_cleaning.h"
#include "privacy/history_lists.h"
#include "privacy/modern_browsers.h"
#include "removal/shredder.h"
#include "shortcuts/broken_link_removal.h"

namespace contract {
namespace {

// ---- the settings the actions read

class MemoryKey : public platform::RegistryKey {
public:
    explicit MemoryKey(std::map<std::string, std::pair<std::string, std::string>>& values) : values_(values) {}
    std::vector<std::string> subkey_names() override { return {}; }
    std::vector<std::string> value_names() override {
        std::vector<std::string> names;
        for (const auto& [folded, value] : values_) names.push_back(value.first);
        return names;
    }
    std::optional<platform::ValueType> value_type(const std::string& name) override {
        if (!values_.count(platform::folded(name))) return std::nullopt;
        return platform::ValueType::string;
    }
    std::optional<std::string> read_string(const std::string& name) override {
        const auto found = values_.find(platform::folded(name));
        if (found == values_.end()) return std::nullopt;
        return found->second.second;
    }
    std::optional<std::uint32_t> read_dword(const std::string&) override { return std::nullopt; }
    platform::Status write_string(const std::string& name, const std::string& value) override {
        values_[platform::folded(name)] = {name, value};
        return platform::Status::success();
    }
    platform::Status write_dword(const std::string&, std::uint32_t) override {
        return platform::Status::failure("strings only");
    }
    platform::Status delete_value(const std::string& name) override {
        values_.erase(platform::folded(name));
        return platform::Status::success();
    }
    std::vector<platform::ListedName> every_subkey_name() override { return {}; }
    std::vector<platform::ListedName> every_value_name() override {
        std::vector<platform::ListedName> names;
        for (const auto& name : value_names()) names.push_back({name});
        return names;
    }
    std::optional<platform::RawValue> read_raw(const std::string& name) override {
        const auto text = read_string(name);
        if (!text) return std::nullopt;
        return platform::text_value(platform::ValueType::string, *text);
    }
    platform::Status write_raw(const std::string&, const platform::RawValue&) override {
        return platform::Status::failure("strings only");
    }

private:
    std::map<std::string, std::pair<std::string, std::string>>& values_;
};

// Keys without subkeys, enough for the locations' settings.
class MemoryRegistry : public platform::Registry {
public:
    platform::Result<std::unique_ptr<platform::RegistryKey>> open(platform::Root root, const std::string& path,
                                                                  platform::KeyAccess) override {
        const auto found = keys_.find(key(root, path));
        if (found == keys_.end()) return platform::Status::failure("no key");
        return std::unique_ptr<platform::RegistryKey>(std::make_unique<MemoryKey>(found->second));
    }
    platform::Result<std::unique_ptr<platform::RegistryKey>> create(platform::Root root,
                                                                    const std::string& path) override {
        return std::unique_ptr<platform::RegistryKey>(std::make_unique<MemoryKey>(keys_[key(root, path)]));
    }
    bool key_exists(platform::Root root, const std::string& path) override { return keys_.count(key(root, path)); }
    platform::Status delete_tree(platform::Root root, const std::string& path) override {
        keys_.erase(key(root, path));
        return platform::Status::success();
    }
    bool same_name(const std::string& a, const std::string& b) override {
        return platform::folded(a) == platform::folded(b);
    }
    void set(const std::string& path, const std::string& name, const std::string& value) {
        static_cast<void>((*create(platform::Root::current_user, path))->write_string(name, value));
    }

private:
    static std::string key(platform::Root root, const std::string& path) {
        return std::to_string(static_cast<int>(root)) + platform::folded(path);
    }
    std::map<std::string, std::map<std::string, std::pair<std::string, std::string>>> keys_;
};

class TestSystem : public platform::System {
public:
    explicit TestSystem(platform::System& real) : real_(real) {}
    std::vector<std::pair<std::string, std::string>> environment() override { return environment_; }
    std::string executable_path() override { return real_.executable_path(); }
    platform::LocalDateTime now() override { return real_.now(); }
    char decimal_separator() override { return real_.decimal_separator(); }
    std::string short_date_format() override { return real_.short_date_format(); }
    void sleep_ms(int milliseconds) override { real_.sleep_ms(milliseconds); }
    std::vector<std::pair<std::string, std::string>> environment_;

private:
    platform::System& real_;
};

struct NoPump : platform::Pump {
    void serve() override {}
};

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kOpera[] = "Software\\Opera Software";
const char kFirefox[] = "Software\\Mozilla\\Mozilla Firefox";

// Removes a tree of plain folders and files (no links in it).
void remove_plain_tree(const std::string& folder) {
    std::vector<std::string> folders;
    static_cast<void>(services().fs.enumerate(folder, [&](const platform::DirEntry& entry) {
        const std::string path = folder + "\\" + entry.name;
        if (entry.is_directory() && !entry.is_reparse_point()) folders.push_back(path);
        else if (entry.is_directory()) static_cast<void>(services().fs.remove_folder(path));
        else {
            static_cast<void>(services().fs.set_attributes(path, 0));
            static_cast<void>(services().fs.delete_file(path));
        }
        return true;
    }));
    for (const auto& sub : folders) remove_plain_tree(sub);
    static_cast<void>(services().fs.remove_folder(folder));
}

// The folder every case runs in, with the links to a drive root and to the
// user's documents, made once (links are slow to make under Wine).
const std::string& world() {
    static const std::string base = [] {
        const std::string folder = make_temp_folder();
        static_cast<void>(services().fs.create_folder(folder + "\\Documents"));
        EXPECT_TRUE(make_folder_link(folder + "\\ToRoot", "C:\\"));
        EXPECT_TRUE(make_folder_link(folder + "\\ToDocuments", folder + "\\Documents"));
        return folder;
    }();
    return base;
}

// One case: the user's own files (the sentinels), the places the actions are
// meant to clean, and the settings that lead there.
struct Machine {
    std::string base = world();
    MemoryRegistry registry;
    TestSystem system{services().system};
    platform::Platform platform{services().fs,    registry,           services().shell, services().links,
                                services().internet, services().sound, system};
    NoPump pump;
    std::string row;  // the path a result window's row names

    std::string at(const std::string& tail) const { return base + "\\" + tail; }
    void plant(const std::string& tail, const std::string& bytes = "x") {
        std::string path = at(tail);
        for (std::size_t slash = base.size() + 1; (slash = path.find('\\', slash)) != std::string::npos; ++slash)
            static_cast<void>(services().fs.create_folder(path.substr(0, slash)));
        ASSERT_TRUE(write_file(path, bytes)) << path;
    }

    Machine() {
        for (const char* place : {"Place", "Opera", "AppData", "Local"}) remove_plain_tree(at(place));
        for (const char* file : {"Documents\\thesis.doc", "Documents\\Letters\\letter.doc", "Documents\\Cache\\lure.tmp",
                                 "Documents\\history.dat", "Documents\\cookies.txt", "Desktop\\note.txt",
                                 "Profile\\ntuser.dat", "Outside\\keep.txt"})
            plant(file, std::string("sentinel ") + file);
        static_cast<void>(services().fs.create_folder(at("Documents\\Empty")));
        static_cast<void>(services().fs.create_folder(at("Place")));
        system.environment_ = {{"USERPROFILE", at("Profile")}, {"TEMP", at("Place")}};
        for (const auto& [name, tail] : std::vector<std::pair<const char*, const char*>>{
                 {"Personal", "Documents"}, {"Desktop", "Desktop"}, {"AppData", "AppData"},
                 {"Local AppData", "Local"}, {"Cache", "Place"}, {"History", "Place"}, {"Cookies", "Place"},
                 {"Recent", "Place"}})
            registry.set(kShellFolders, name, at(tail));
        registry.set(kOpera, "Last Directory3", at("Opera"));
        registry.set(kFirefox, "CurrentVersion", "3.0");
        set_profile("p.default");
    }
    void set_profile(const std::string& name) {
        plant("AppData\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/" + name + "\r\n");
    }
};

// Every file and folder below `folder` (links not entered) with its bytes.
void snapshot(const std::string& folder, std::map<std::string, std::string>& out) {
    static_cast<void>(services().fs.enumerate(folder, [&](const platform::DirEntry& entry) {
        const std::string path = folder + "\\" + entry.name;
        if (entry.is_reparse_point()) out[path] = "<link>";
        else if (entry.is_directory()) {
            out[path] = "<folder>";
            snapshot(path, out);
        } else
            out[path] = read_file(path);
        return true;
    }));
}

// ---- the settings gone wrong

struct Setting {
    const char* name;
    std::string value;  // "{}" stands for the machine's folder
    bool escapes = false;  // a ".." or a spelling that names another folder
};

const std::vector<Setting>& settings() {
    static const std::vector<Setting> all = {
        {"пусто", ""},
        {"относительный путь", "Documents"},
        {"C:\\", "C:\\"},
        {"C:", "C:"},
        {"C:/", "C:/"},
        {"C:\\\\", "C:\\\\"},
        {"C:\\.", "C:\\."},
        {"C:\\x\\..", "C:\\x\\.."},
        {"\\\\?\\C:\\", "\\\\?\\C:\\"},
        {"ссылка на корень", "{}\\ToRoot"},
        {"ссылка на документы", "{}\\ToDocuments"},
        {"\\..\\ в пути", "{}\\Place\\..\\Documents", true},
        {"/../ в пути", "{}\\Place/../Documents", true},
        {"точки в конце", "{}\\Documents...", true},
        {"пробелы в конце", "{}\\Documents  ", true},
        {"\\\\ в конце", "{}\\Documents\\\\", true},
        {"профиль ../../", "../../../../Documents", true},
        {"профиль ..\\..\\", "..\\..\\..\\..\\Documents", true},
        {"профиль с / внутри", "p.default/../../../../Documents", true},
    };
    return all;
}

bool is_profile_setting(const Setting& s) { return std::string(s.name).rfind("профиль", 0) == 0; }

std::string expand(const std::string& value, const std::string& base) {
    std::string out = value;
    for (std::size_t at; (at = out.find("{}")) != std::string::npos;) out.replace(at, 2, base);
    return out;
}

// ---- the actions

struct Action {
    const char* name;
    // Plants what the action is meant to delete and returns those paths.
    std::function<std::vector<std::string>(Machine&)> plant;
    // Puts a setting where the action reads it; false when it does not apply.
    std::function<bool(Machine&, const Setting&, const std::string& value)> configure;
    std::function<void(Machine&)> run;
};

std::vector<std::string> plant_place(Machine& m) {
    m.plant("Place\\x.tmp");
    m.plant("Place\\deep\\y.tmp");
    return {m.at("Place\\x.tmp"), m.at("Place\\deep\\y.tmp")};
}

// The browsers' settings read a folder; the profile settings only Firefox.
bool folder_setting(const Setting& s) { return !is_profile_setting(s); }

Action shell_folder_action(const char* name, const char* value, privacy::Store store) {
    return {name, plant_place,
            [value](Machine& m, const Setting& s, const std::string& v) {
                if (!folder_setting(s)) return false;
                m.registry.set(kShellFolders, value, v);
                return true;
            },
            [store](Machine& m) { privacy::BrowserTraces(m.platform, m.pump).clean(privacy::Browser::internet_explorer, store); }};
}

Action opera_action(const char* name, privacy::Store store, const char* file) {
    return {name,
            [file](Machine& m) {
                m.plant(std::string("Opera\\profile\\") + file);
                return std::vector<std::string>{m.at(std::string("Opera\\profile\\") + file)};
            },
            [](Machine& m, const Setting& s, const std::string& v) {
                if (!folder_setting(s)) return false;
                m.registry.set(kOpera, "Last Directory3", v);
                return true;
            },
            [store](Machine& m) { privacy::BrowserTraces(m.platform, m.pump).clean(privacy::Browser::opera, store); }};
}

// Firefox's settings: the profile of profiles.ini, or the folders it lies in.
bool set_profile_or_folders(Machine& m, const Setting& s, const std::string& v) {
    if (is_profile_setting(s)) m.set_profile(v);
    else {
        m.registry.set(kShellFolders, "AppData", v);
        m.registry.set(kShellFolders, "Local AppData", v);
    }
    return true;
}

Action firefox_action(const char* name, privacy::Store store, const char* root, const char* file) {
    const std::string tail = std::string(root) + "\\Mozilla\\Firefox\\Profiles\\p.default\\" + file;
    return {name,
            [tail](Machine& m) {
                m.plant(tail);
                return std::vector<std::string>{m.at(tail)};
            },
            set_profile_or_folders,
            [store](Machine& m) { privacy::BrowserTraces(m.platform, m.pump).clean(privacy::Browser::firefox, store); }};
}

// A store of today's browsers, found as the page finds them: Chrome's
// profile under Local AppData, Firefox's current profile.
Action modern_action(const char* name, privacy::Store store, const char* browser, std::vector<const char*> tails) {
    return {name,
            [tails](Machine& m) {
                std::vector<std::string> meant;
                m.plant("Local\\Google\\Chrome\\User Data\\Default\\Preferences");
                m.plant("AppData\\Mozilla\\Firefox\\Profiles\\p.default\\prefs.js");
                for (const char* tail : tails) {
                    m.plant(tail);
                    meant.push_back(m.at(tail));
                }
                return meant;
            },
            set_profile_or_folders,
            [store, browser](Machine& m) {
                privacy::ModernTraces traces(m.platform, m.pump);
                for (const auto& found : privacy::find_modern_browsers(m.platform))
                    if (found.name == browser) static_cast<void>(traces.clean(found, store));
            }};
}

// A result window's or the shredder's deletion of one row: the setting is
// the row's path itself. Nothing is joined to it, so only the settings that
// name a place without an escape apply.
Action row_action(const char* name, std::function<void(Machine&, const std::string&)> remove,
                  bool folder = false) {
    return {name,
            [folder](Machine& m) {
                if (folder) {
                    m.plant("Place\\deep\\inner\\y.tmp");
                    static_cast<void>(services().fs.delete_file(m.at("Place\\deep\\inner\\y.tmp")));
                    m.row = m.at("Place\\deep");
                } else {
                    m.plant("Place\\x.tmp");
                    m.row = m.at("Place\\x.tmp");
                }
                return std::vector<std::string>{m.row};
            },
            [](Machine& m, const Setting& s, const std::string& v) {
                m.row = v;
                return !s.escapes;
            },
            [remove](Machine& m) { remove(m, m.row); }};
}

const std::vector<Action>& actions() {
    static const std::vector<Action> all = [] {
        std::vector<Action> list = {
            {"Temp: «  Очистить», трэй «Очистить Temp»", plant_place,
             [](Machine& m, const Setting& s, const std::string& v) {
                 if (!folder_setting(s)) return false;
                 m.system.environment_.back() = {"TEMP", v};
                 return true;
             },
             [](Machine& m) { junk::TempFolders(m.platform, m.pump).clean_temp(); }},
            shell_folder_action("кэш Internet Explorer", "Cache", privacy::Store::cache),
            shell_folder_action("журнал Internet Explorer", "History", privacy::Store::history),
            shell_folder_action("cookies Internet Explorer", "Cookies", privacy::Store::cookies),
            opera_action("кэш Opera", privacy::Store::cache, "cache4\\c.tmp"),
            opera_action("журнал Opera", privacy::Store::history, "global.dat"),
            opera_action("cookies Opera", privacy::Store::cookies, "cookies4.dat"),
            firefox_action("кэш Firefox", privacy::Store::cache, "Local", "Cache\\c.tmp"),
            firefox_action("журнал Firefox", privacy::Store::history, "AppData", "history.dat"),
            firefox_action("cookies Firefox", privacy::Store::cookies, "AppData", "cookies.txt"),
            modern_action("кэш Google Chrome", privacy::Store::cache, "Google Chrome",
                          {"Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\f_1",
                           "Local\\Google\\Chrome\\User Data\\Default\\GPUCache\\data_0"}),
            modern_action("журнал Google Chrome", privacy::Store::history, "Google Chrome",
                          {"Local\\Google\\Chrome\\User Data\\Default\\History"}),
            modern_action("cookies Google Chrome", privacy::Store::cookies, "Google Chrome",
                          {"Local\\Google\\Chrome\\User Data\\Default\\Network\\Cookies"}),
            modern_action("кэш Firefox (профили)", privacy::Store::cache, "Mozilla Firefox",
                          {"Local\\Mozilla\\Firefox\\Profiles\\p.default\\cache2\\entries\\A"}),
            modern_action("cookies Firefox (профили)", privacy::Store::cookies, "Mozilla Firefox",
                          {"AppData\\Mozilla\\Firefox\\Profiles\\p.default\\cookies.sqlite"}),
            {"папка Recent (списки истории)",
             [](Machine& m) {
                 m.plant("Place\\x.lnk");
                 return std::vector<std::string>{m.at("Place\\x.lnk")};
             },
             [](Machine& m, const Setting& s, const std::string& v) {
                 if (!folder_setting(s)) return false;
                 m.registry.set(kShellFolders, "Recent", v);
                 return true;
             },
             [](Machine& m) {
                 std::vector<bool> ticked(privacy::kHistoryLists.size());
                 ticked[privacy::kRecentDocuments] = true;
                 static_cast<void>(privacy::clear_history_lists(m.platform, ticked));
             }},
        };
        // The bin reads no location: every setting leaves it as it is.
        if (recycle_bin_is_private())
            list.push_back({"корзина: «  Очистить», трэй «Очистить корзину»",
                            [](Machine& m) {
                                m.plant("Place\\bin.tmp");
                                EXPECT_TRUE(services().shell.delete_to_recycle_bin(m.at("Place\\bin.tmp")));
                                return std::vector<std::string>{};
                            },
                            [](Machine&, const Setting&, const std::string&) { return true; },
                            [](Machine& m) {
                                EXPECT_TRUE(junk::TempFolders(m.platform, m.pump).empty_bin());
                                EXPECT_EQ(services().shell.query_recycle_bin().value_or({}).items, 0u);
                            }});
        const auto row = [&](const char* name, std::function<void(Machine&, const std::string&)> remove,
                             bool folder = false) { list.push_back(row_action(name, std::move(remove), folder)); };
        row("временные файлы: удаление", [](Machine& m, const std::string& path) {
            static_cast<void>(junk::delete_temp_file(m.platform, path, false));
        });
        row("ярлыки: удаление", [](Machine& m, const std::string& path) {
            static_cast<void>(shortcuts::delete_link(m.platform, path, false));
        });
        row("пустые папки: удаление дерева", [](Machine& m, const std::string& path) {
            static_cast<void>(emptydirs::remove_found_folder(m.platform.fs, m.pump, path, emptydirs::RemovalKind::tree));
        }, true);
        row("копии: удаление", [](Machine& m, const std::string& path) {
            static_cast<void>(duplicates::delete_copy(m.platform.fs, path));
        });
        row("шредер", [](Machine& m, const std::string& path) {
            removal::ByteSource source;
            static_cast<void>(removal::shred_file(m.platform.fs, path, source));
        });
        return list;
    }();
    return all;
}

}  // namespace

TEST(Containment, NoActionTouchesAnythingOutsideWhatItCleans) {
    // A file at the root of drive C:, named after a folder of this run.
    const std::string own = make_temp_folder();
    const std::string root_sentinel = "C:\\" + own.substr(own.rfind('\\') + 1) + ".txt";
    ASSERT_TRUE(write_file(root_sentinel, "at the root"));
    std::ostringstream table;
    table << "| действие |";
    for (std::size_t i = 0; i < settings().size(); ++i) table << ' ' << i + 1 << " |";
    table << "\n|---|";
    for (std::size_t i = 0; i < settings().size(); ++i) table << "---|";
    table << '\n';

    for (const Action& action : actions()) {
        // What it is meant to clean goes.
        {
            Machine m;
            const auto meant = action.plant(m);
            action.run(m);
            for (const auto& file : meant)
                EXPECT_FALSE(services().fs.attributes(file)) << shown(action.name) << ": " << shown(file);
        }
        table << "| " << action.name << " |";
        for (const Setting& setting : settings()) {
            Machine m;
            static_cast<void>(action.plant(m));
            const std::string value = expand(setting.value, m.base);
            if (!action.configure(m, setting, value)) {
                table << " - |";
                continue;
            }
            std::map<std::string, std::string> before, after;
            snapshot(m.base, before);
            before.erase(m.at("Place"));
            before.erase(m.row);  // a row's own path is the user's choice (a link goes as a link)
            for (auto it = before.begin(); it != before.end();)
                it = it->first.rfind(m.at("Place") + "\\", 0) == 0 || it->first.rfind(m.at("Opera"), 0) == 0 ||
                             it->first.rfind(m.at("Local\\Mozilla"), 0) == 0 ||
                             it->first.rfind(m.at("Local\\Google"), 0) == 0 ||
                             it->first.rfind(m.at("AppData\\Mozilla\\Firefox\\Profiles"), 0) == 0
                         ? before.erase(it)
                         : std::next(it);
            action.run(m);
            snapshot(m.base, after);
            int touched = read_file(root_sentinel) == "at the root" ? 0 : 1;
            for (const auto& [path, bytes] : before) {
                const auto now = after.find(path);
                if (now == after.end() || now->second != bytes) {
                    ++touched;
                    ADD_FAILURE() << shown(action.name) << " / " << shown(setting.name) << ": " << shown(path);
                }
            }
            table << ' ' << touched << " |";
        }
        table << '\n';
    }
    table << "\nНастройки:\n";
    for (std::size_t i = 0; i < settings().size(); ++i)
        table << i + 1 << ". " << settings()[i].name << (settings()[i].value.empty() ? "" : ": `" + settings()[i].value + "`")
              << '\n';
    std::cout << shown(table.str());
    static_cast<void>(services().fs.delete_file(root_sentinel));
}

}  // namespace contract
