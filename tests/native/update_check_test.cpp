// The update check against a loopback server, headless.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/update_check.h"
#include "contract/contract_env.h"
#include "posix/headless_ui.h"
#include "sandbox.h"

namespace {

const char kFailed[] = "Не удалось соединиться с сервером обновлений. Проверьте Ваше подключение к интернету.";
const char kLatest[] = "У Вас установлена самая последняя версия!";

struct UpdateFixture {
    // The program's folder, C:\Program, is where an installed copy cannot write.
    explicit UpdateFixture(const std::string& history)
        : server(history), check(toolkit, box.platform(), box.data(), "http://127.0.0.1:" + std::to_string(server.port())) {
        box.write("C:\\Temp\\new.~", "left by an earlier run");
    }
    // The texts of the message boxes shown so far.
    std::vector<std::string> shown() {
        std::vector<std::string> texts;
        for (const auto& m : toolkit.dialogs().messages) texts.push_back(m.text);
        return texts;
    }
    bool copy_left() { return box.exists("C:\\Temp\\new.~"); }

    testing_support::Sandbox box;
    headless::Toolkit toolkit;
    contract::HttpServer server;
    app::UpdateCheck check;
};

}  // namespace

TEST(UpdateCheck, NewerBuildShowsTheWholeHistoryEachTimeAfresh) {
    UpdateFixture f("Версия 1.5.07\r\n- новое\r\n\r\nВерсия 1.5.06\r\n");
    const std::string whole = "Версия 1.5.07\r\n- новое\r\n\r\nВерсия 1.5.06";
    auto& window = f.check.window();
    for (int time = 0; time < 2; ++time) {
        f.check.check_now();
        EXPECT_TRUE(f.shown().empty());
        ASSERT_TRUE(window.visible());
        EXPECT_EQ(window.new_version().text(), "1.5.07");
        EXPECT_EQ(window.own_version().text(), "1.5.06");
        EXPECT_EQ(window.changes().text(), whole);
        EXPECT_FALSE(f.copy_left());
    }
    window.download_button().click();
    ASSERT_EQ(f.box.host().shell().opened().size(), 1u);
    EXPECT_NE(f.box.host().shell().opened()[0].find("/projects/QMT/Vorlinde_sc.exe"), std::string::npos);
}

TEST(UpdateCheck, FirstLineDecidesByHandAndAtStartup) {
    struct Case {
        const char* body;
        const char* by_hand;  // the message, or nothing for the update window
        bool window_at_startup;
    };
    for (const Case& c : {Case{"Версия 1.5.06\r\nx", kLatest, false}, Case{"Версия 2.0.01", kLatest, false},
                          Case{"Версия 1.5.10", nullptr, true}, Case{"version 1.5.07\r\n", kFailed, false},
                          Case{"", kFailed, false}, Case{"Версия 1.5.x7", kFailed, false}, Case{"Версия", kFailed, false}}) {
        UpdateFixture f(c.body);
        f.check.check_at_startup();
        EXPECT_TRUE(f.shown().empty()) << c.body;
        EXPECT_EQ(f.check.window().visible(), c.window_at_startup) << c.body;
        EXPECT_FALSE(f.copy_left()) << c.body;

        f.box.write("C:\\Temp\\new.~");
        f.check.window().hide();
        f.check.check_now();
        EXPECT_EQ(f.shown(), c.by_hand ? std::vector<std::string>{c.by_hand} : std::vector<std::string>{}) << c.body;
        EXPECT_EQ(f.check.window().visible(), !c.by_hand) << c.body;
        if (c.by_hand == kLatest) {
            EXPECT_EQ(f.toolkit.dialogs().messages[0].caption, "Проверка завершена");
        }
        EXPECT_FALSE(f.copy_left()) << c.body;
    }
}

TEST(UpdateCheck, NoConnectionOrServerIsAnErrorByHandAndSilentAtStartup) {
    UpdateFixture f("Версия 1.5.07");
    f.box.data().set_marker("tray.txt", true);
    f.box.host().internet().set_connected(false);
    f.check.check_at_startup();
    EXPECT_TRUE(f.shown().empty());
    EXPECT_FALSE(f.check.window().visible());
    EXPECT_FALSE(f.copy_left());
    EXPECT_TRUE(f.box.data().exists("tray.txt"));
    f.check.check_now();
    EXPECT_EQ(f.shown(), std::vector<std::string>{kFailed});
    EXPECT_EQ(f.toolkit.dialogs().messages[0].caption, "Ошибка");
    EXPECT_EQ(f.toolkit.dialogs().messages[0].icon, ui::Icon::error);

    // Connected, but nobody answers at the server's address.
    f.box.host().internet().set_connected(true);
    app::UpdateCheck unreachable(f.toolkit, f.box.platform(), f.box.data(), "http://127.0.0.1:1");
    unreachable.check_now();
    EXPECT_EQ(f.shown().size(), 2u);
    EXPECT_FALSE(f.copy_left());
}

TEST(UpdateCheck, ACopyThatCannotBeWrittenIsToldAsSuch) {
    UpdateFixture f("Версия 1.5.07");
    std::filesystem::remove(f.box.host_path("C:\\Temp\\new.~"));
    f.box.make_folder("C:\\Temp\\new.~\\in the way");  // no file can be made there
    f.check.check_now();
    ASSERT_EQ(f.shown().size(), 1u);
    EXPECT_EQ(f.shown()[0].rfind("Не удалось записать файл C:\\Temp\\new.~. ", 0), 0u) << f.shown()[0];
    EXPECT_EQ(f.toolkit.dialogs().messages[0].icon, ui::Icon::error);
    f.check.check_at_startup();
    EXPECT_EQ(f.shown().size(), 1u);
}
