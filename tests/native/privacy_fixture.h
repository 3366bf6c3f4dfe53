// A machine with the current user's shell folders set, on which Opera and
// Firefox can be installed the way they register themselves.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "posix/headless_ui.h"
#include "sandbox.h"

namespace testing_support {

inline const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const char kOpera[] = "C:\\Opera";
inline const char kProfile[] = "C:\\User\\AppData\\Mozilla\\Firefox\\Profiles\\abcd.default";
inline const char kFirefoxCache[] = "C:\\User\\Local\\Mozilla\\Firefox\\Profiles\\abcd.default\\Cache";

class BrowserMachine {
public:
    BrowserMachine() {
        for (const char* name : {"Cache", "History", "Cookies", "AppData", "Local AppData", "Recent"})
            set_folder(name, std::string("C:\\User\\") + (std::string(name) == "Local AppData" ? "Local" : name));
    }

    void set_value(const std::string& key, const std::string& name, const std::string& value) {
        auto opened = box.platform().registry.create(platform::Root::current_user, key);
        ASSERT_TRUE(opened);
        ASSERT_TRUE((*opened)->write_string(name, value));
    }
    void set_folder(const std::string& name, const std::string& value) { set_value(kShellFolders, name, value); }
    void drop_folder(const std::string& name) {
        auto opened = box.platform().registry.open(platform::Root::current_user, kShellFolders, platform::KeyAccess::write);
        ASSERT_TRUE(opened);
        ASSERT_TRUE((*opened)->delete_value(name));
    }

    // Opera in C:\Opera; no english.lng when `language` is empty.
    void install_opera(const std::string& language = "Charset\r\nVe\r\nVersionInfo 9.27\r\nVersionInfo 2\r\n") {
        set_value("Software\\Opera Software", "Last Directory3", kOpera);
        box.write(std::string(kOpera) + "\\Opera.exe");
        if (!language.empty()) box.write(std::string(kOpera) + "\\english.lng", language);
    }
    // Firefox with one profile, "abcd.default".
    void install_firefox(const std::string& version = "3.0.1 (ru)") {
        set_value("Software\\Mozilla\\Mozilla Firefox", "CurrentVersion", version);
        set_value("Software\\Mozilla\\Mozilla Firefox\\" + version + "\\Main", "PathToExe",
                  "C:\\Program Files\\Mozilla Firefox\\firefox.exe");
        box.write("C:\\Program Files\\Mozilla Firefox\\firefox.exe");
        box.write("C:\\User\\AppData\\Mozilla\\Firefox\\profiles.ini",
                  "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                  "Path=Profiles/abcd.default\r\n");
    }

    Sandbox box;
    headless::Pump pump;
};

}  // namespace testing_support
