// The Internet pages and the history-lists page over real windows under Wine,
// with an Opera and a Firefox laid out the way they register themselves for
// the current user; a picture of each page.
// scripts/docs-shots.sh PrivacyWin32 retakes the pictures in docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/ui_toolkit.h"
#include "win32/win32_platform.h"
#include "privacy/browsers.h"
#include "privacy/cache_page.h"
#include "privacy/history_lists_page.h"
#include "privacy/traces_page.h"
#include "search/folders.h"
#include "store/data_folder.h"
#include "in_process.h"

namespace {

using namespace in_process;
using platform::Root;

const char kOperaKey[] = "Software\\Opera Software";
const char kFirefoxKey[] = "Software\\Mozilla\\Mozilla Firefox";

void remove_tree(platform::FileSystem& fs, const std::string& folder) {
    struct Quiet : platform::Pump {
        void serve() override {}
    } pump;
    for (const auto& file : search::ListAllFilesInTree(fs, pump, folder)) {
        static_cast<void>(fs.set_attributes(file, 0));
        static_cast<void>(fs.delete_file(file));
    }
    auto folders = search::ListSubfoldersInTree(fs, pump, folder, true);
    search::SortByLengthDescending(folders);
    for (const auto& sub : folders) static_cast<void>(fs.remove_folder(sub));
    static_cast<void>(fs.remove_folder(folder));
}

// Opera in a folder of its own, Firefox registered with a profile under the
// user's AppData and Local AppData; all of it removed at the end.
struct Browsers {
    platform::Platform& p = platform::win32::instance();
    std::string root, opera, profile, cache, mozilla_roaming, mozilla_local;
    bool made_roaming = false, made_local = false;

    void write(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(platform::write_whole_file(p.fs, path, bytes)) << path;
    }
    void folders(const std::string& base, const std::string& tail) {
        std::string path = base;
        std::size_t start = 0;
        while (start < tail.size()) {
            const std::size_t end = tail.find('\\', start);
            path += "\\" + tail.substr(start, end == std::string::npos ? std::string::npos : end - start);
            static_cast<void>(p.fs.create_folder(path));
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    void value(const std::string& key, const std::string& name, const std::string& text) {
        auto made = p.registry.create(Root::current_user, key);
        ASSERT_TRUE(made);
        ASSERT_TRUE((*made)->write_string(name, text));
    }

    Browsers() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "vsc-privacy-" + std::to_string(GetCurrentProcessId());
        opera = root + "\\Opera";
        static_cast<void>(p.fs.create_folder(root));
        folders(root, "Opera\\profile\\cache4");
        write(opera + "\\Opera.exe", "MZ");
        write(opera + "\\english.lng", "; Opera language file\r\nVersionInfo 9.27\r\n");
        write(opera + "\\profile\\cache4\\opr0001.tmp", std::string(30000, 'o'));
        write(opera + "\\profile\\cookies4.dat", "cookies");
        write(root + "\\firefox.exe", "MZ");
        value(kOperaKey, "Last Directory3", opera);
        value(kFirefoxKey, "CurrentVersion", "3.0.1 (ru)");
        value(std::string(kFirefoxKey) + "\\3.0.1 (ru)\\Main", "PathToExe", root + "\\firefox.exe");

        const std::string roaming = privacy::shell_folder(p.registry, "AppData");
        const std::string local = privacy::shell_folder(p.registry, "Local AppData");
        mozilla_roaming = roaming + "\\Mozilla";
        mozilla_local = local + "\\Mozilla";
        made_roaming = !p.fs.is_existing_folder(mozilla_roaming);
        made_local = !p.fs.is_existing_folder(mozilla_local);
        folders(roaming, "Mozilla\\Firefox\\Profiles\\abcd.default");
        folders(local, "Mozilla\\Firefox\\Profiles\\abcd.default\\Cache");
        profile = roaming + "\\Mozilla\\Firefox\\Profiles\\abcd.default";
        cache = local + "\\Mozilla\\Firefox\\Profiles\\abcd.default\\Cache";
        write(roaming + "\\Mozilla\\Firefox\\profiles.ini",
              "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
              "Path=Profiles/abcd.default\r\n");
        write(profile + "\\history.dat", "history");
        write(cache + "\\_CACHE_001_", std::string(3 << 20, 'f'));
    }
    ~Browsers() {
        static_cast<void>(p.registry.delete_tree(Root::current_user, kOperaKey));
        static_cast<void>(p.registry.delete_tree(Root::current_user, kFirefoxKey));
        remove_tree(p.fs, root);
        if (made_roaming) remove_tree(p.fs, mozilla_roaming);
        if (made_local) remove_tree(p.fs, mozilla_local);
    }
};

class PrivacyForm : public ui::Form {
public:
    PrivacyForm(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data)
        : ui::Form(toolkit, "Form1"),
          cache(cache_page, platform, pump()),
          history(history_page, platform, pump(), privacy::Store::history),
          cookies(cookies_page, platform, pump(), privacy::Store::cookies),
          lists(lists_page, platform, data) {
        set_caption("Vorlinde System Cleaner 1.5");
        set_color(ui::colors::white);
        set_client_size(456, 337);
        pages.set_bounds(0, 0, 456, 337);
    }

    ui::PageSet pages{*this, "PageControl"};
    ui::Page cache_page{pages, "Cache"}, history_page{pages, "Jurnal"}, cookies_page{pages, "Cookies"},
        lists_page{pages, "History"};
    privacy::CachePage cache;
    privacy::TracesPage history, cookies;
    privacy::HistoryListsPage lists;
};

}  // namespace

TEST(PrivacyWin32, PagesFindBothBrowsersAndCleanTheirTraces) {
    Browsers browsers;
    platform::win32::UiToolkit toolkit;
    store::DataFolder data(browsers.p.fs, browsers.root + "\\");
    static_cast<void>(browsers.p.fs.create_folder(browsers.root + "\\Data"));
    data.rewrite("rg_history.txt", {"1", "0", "1"});
    PrivacyForm form(toolkit, browsers.p, data);

    form.pages.set_active(0);
    form.cache.refresh();
    EXPECT_EQ(form.cache.row(1).name.text(), "Opera 9.27");
    EXPECT_EQ(form.cache.row(1).size.text(), std::string("29") + browsers.p.system.decimal_separator() + "29 KB");
    EXPECT_EQ(form.cache.row(2).name.text(), "Firefox 3.0.1 (ru)");
    EXPECT_EQ(form.cache.row(2).size.text(), "3 MB");
    EXPECT_TRUE(form.cache.all_button().enabled());
    picture(toolkit, form, "page-cache");

    form.cache.row(1).button.release(ui::MouseButton::right);
    EXPECT_FALSE(browsers.p.fs.is_existing_file(browsers.opera + "\\profile\\cache4\\opr0001.tmp"));
    EXPECT_TRUE(browsers.p.fs.is_existing_folder(browsers.opera + "\\profile\\cache4"));
    EXPECT_EQ(form.cache.row(1).size.text(), "0 KB");

    form.pages.set_active(1);
    form.history.refresh();
    picture(toolkit, form, "page-history");
    form.history.button(2).click();
    EXPECT_FALSE(browsers.p.fs.is_existing_file(browsers.profile + "\\history.dat"));

    form.pages.set_active(2);
    form.cookies.refresh();
    picture(toolkit, form, "page-cookies");
    form.cookies.button(1).click();
    EXPECT_FALSE(browsers.p.fs.is_existing_file(browsers.opera + "\\profile\\cookies4.dat"));

    form.pages.set_active(3);
    form.lists.refresh();
    EXPECT_TRUE(form.lists.lists().checked(2));
    picture(toolkit, form, "page-history-lists");
    form.close();
}
