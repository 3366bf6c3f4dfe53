// The update check against a loopback server, headless.
#include <gtest/gtest.h>

#include "app/update_check.h"
#include "contract/contract_env.h"
#include "platform/posix/headless_ui.h"
#include "sandbox.h"

namespace {

const char kFailed[] = "Не удалось соединиться с сервером обновлений. Проверьте Ваше подключение к интернету.";

struct UpdateFixture {
    explicit UpdateFixture(const std::string& history)
        : server(history), check(toolkit, box.platform(), box.data(), "http://127.0.0.1:" + std::to_string(server.port())) {
        box.write("C:\\Program\\new.~", "left by an earlier run");
    }
    const std::vector<headless::Message>& messages() { return toolkit.dialogs().messages; }

    testing_support::Sandbox box;
    headless::Toolkit toolkit;
    contract::HttpServer server;
    app::UpdateCheck check;
};

}  // namespace

TEST(UpdateCheck, NewerBuildShowsTheWholeHistory) {
    UpdateFixture f("Версия 1.5.07\r\n- новое\r\n\r\nВерсия 1.5.06\r\n");
    f.check.check_now();
    EXPECT_TRUE(f.messages().empty());
    auto& window = f.check.window();
    ASSERT_TRUE(window.visible());
    EXPECT_EQ(window.new_version().text(), "1.5.07");
    EXPECT_EQ(window.own_version().text(), "1.5.06");
    EXPECT_EQ(window.changes().text(), "Версия 1.5.07\r\n- новое\r\n\r\nВерсия 1.5.06");
    EXPECT_FALSE(f.box.exists("C:\\Program\\new.~"));

    // Shown again, it holds only the new contents.
    f.check.check_now();
    EXPECT_EQ(window.changes().text(), "Версия 1.5.07\r\n- новое\r\n\r\nВерсия 1.5.06");

    window.download_button().click();
    ASSERT_EQ(f.box.host().shell().opened().size(), 1u);
    EXPECT_NE(f.box.host().shell().opened()[0].find("/projects/QMT/Vorlinde_sc.exe"), std::string::npos);
}

TEST(UpdateCheck, OnlyTheLastTwoDigitsCount) {
    for (const char* first_line : {"Версия 1.5.06", "Версия 2.0.01"}) {
        UpdateFixture f(std::string(first_line) + "\r\nбольше ничего");
        f.check.check_now();
        ASSERT_EQ(f.messages().size(), 1u) << first_line;
        EXPECT_EQ(f.messages()[0].text, "У Вас установлена самая последняя версия!");
        EXPECT_EQ(f.messages()[0].caption, "Проверка завершена");
        EXPECT_EQ(f.messages()[0].icon, ui::Icon::information);
        EXPECT_FALSE(f.check.window().visible());
        EXPECT_FALSE(f.box.exists("C:\\Program\\new.~"));
    }
    UpdateFixture f("Версия 1.5.10");
    f.check.check_at_startup();
    EXPECT_TRUE(f.check.window().visible());
    EXPECT_EQ(f.check.window().new_version().text(), "1.5.10");
}

TEST(UpdateCheck, UnsuitableHistoryIsAnErrorByHandAndSilentAtStartup) {
    for (const char* body : {"version 1.5.07\r\n", "", "Версия 1.5.x7\r\n", "Версия"}) {
        UpdateFixture f(body);
        f.check.check_now();
        ASSERT_EQ(f.messages().size(), 1u) << body;
        EXPECT_EQ(f.messages()[0].text, kFailed);
        EXPECT_EQ(f.messages()[0].caption, "Ошибка");
        EXPECT_EQ(f.messages()[0].icon, ui::Icon::error);
        EXPECT_FALSE(f.box.exists("C:\\Program\\new.~"));

        f.box.write("C:\\Program\\new.~");
        f.check.check_at_startup();
        EXPECT_EQ(f.messages().size(), 1u) << body;
        EXPECT_FALSE(f.check.window().visible());
        EXPECT_FALSE(f.box.exists("C:\\Program\\new.~"));
    }
}

TEST(UpdateCheck, NoConnectionOrServerIsAnErrorByHandAndSilentAtStartup) {
    UpdateFixture f("Версия 1.5.07");
    f.box.data().set_marker("tray.txt", true);
    f.box.data().set_marker("update.txt", true);
    f.box.host().internet().set_connected(false);
    f.check.check_at_startup();
    EXPECT_TRUE(f.messages().empty());
    EXPECT_FALSE(f.check.window().visible());
    EXPECT_FALSE(f.box.exists("C:\\Program\\new.~"));
    EXPECT_TRUE(f.box.data().exists("tray.txt"));
    EXPECT_TRUE(f.box.data().exists("update.txt"));
    f.check.check_now();
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, kFailed);

    // Connected, but nobody answers at the server's address.
    f.box.host().internet().set_connected(true);
    app::UpdateCheck unreachable(f.toolkit, f.box.platform(), f.box.data(), "http://127.0.0.1:1");
    unreachable.check_now();
    ASSERT_EQ(f.messages().size(), 2u);
    EXPECT_EQ(f.messages()[1].text, kFailed);
    EXPECT_FALSE(f.box.exists("C:\\Program\\new.~"));
}
