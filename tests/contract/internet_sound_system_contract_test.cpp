// The internet client against a loopback server, the sound player and the
// system's facts, the same on both sides.
#include <gtest/gtest.h>

#include <memory>

#include "contract/contract_helpers.h"
#include "platform/paths.h"

using namespace contract;

TEST(InternetContract, ConnectionTestAndDownloadFromALoopbackServer) {
    auto& internet = services().internet;
    EXPECT_TRUE(internet.connected());
    std::string body = "Версия 1.5.07\r\n";
    while (body.size() < 3000) body += "строка истории изменений " + std::to_string(body.size()) + "\r\n";
    HttpServer server(body);
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port());
    const std::string t = make_temp_folder();

    ASSERT_TRUE(write_file(t + "\\new.~", "old content that is longer than nothing"));
    const auto got = internet.download(base + "/projects/QMT/history.txt", t + "\\new.~");
    EXPECT_TRUE(got) << shown(got.message());
    EXPECT_EQ(read_file(t + "\\new.~"), body);

    EXPECT_FALSE(internet.download(base + "/missing", t + "\\missing.~"));
    EXPECT_FALSE(internet.download("not an address", t + "\\bad.~"));
}

TEST(InternetContract, AnAnswerPastTheLimitFailsWithTheLimitWritten) {
    std::string body = "Версия 1.5.07\r\n";
    while (body.size() <= platform::kDownloadLimit) body += std::string(1000, 'x') + "\r\n";
    HttpServer server(body);
    const std::string t = make_temp_folder();
    EXPECT_FALSE(services().internet.download("http://127.0.0.1:" + std::to_string(server.port()) + "/h", t + "\\h.~"));
    EXPECT_EQ(read_file(t + "\\h.~"), body.substr(0, platform::kDownloadLimit));
}

TEST(InternetContract, DownloadFromAClosedPortFails) {
    int port;
    {
        HttpServer server("x");
        port = server.port();
    }
    const std::string t = make_temp_folder();
    EXPECT_FALSE(services().internet.download("http://127.0.0.1:" + std::to_string(port) + "/x", t + "\\x.~"));
}

TEST(SoundContract, LoadsAWaveAndRefusesMissingAndOtherFiles) {
    const std::string t = make_temp_folder();
    // 8 kHz, 8-bit mono, 0.1 s of silence.
    std::string wave = "RIFF";
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) wave += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto put16 = [&](std::uint32_t v) {
        wave += static_cast<char>(v & 0xFF);
        wave += static_cast<char>(v >> 8);
    };
    put32(36 + 800);
    wave += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(8000);
    put16(1);
    put16(8);
    wave += "data";
    put32(800);
    wave += std::string(800, '\x80');
    ASSERT_TRUE(write_file(t + "\\clean.wav", wave));
    ASSERT_TRUE(write_file(t + "\\text.wav", "this is no sound"));

    auto player = services().sound.make_player();
    EXPECT_FALSE(player->loaded());
    player->play();  // nothing loaded: nothing happens
    EXPECT_TRUE(player->load(t + "\\clean.wav"));
    EXPECT_TRUE(player->loaded());
    player->play();
    player->play();
    EXPECT_FALSE(player->load(t + "\\missing.wav"));
    EXPECT_FALSE(player->loaded());
    EXPECT_FALSE(player->load(t + "\\text.wav"));
    EXPECT_FALSE(player->loaded());
}

TEST(SystemContract, EnvironmentOwnPathClockAndLocale) {
    auto& system = services().system;
    const auto environment = system.environment();
    const auto temp = std::find_if(environment.begin(), environment.end(), [](const auto& p) { return p.first == "TEMP"; });
    ASSERT_NE(temp, environment.end());
    EXPECT_TRUE(platform::is_absolute_path(temp->second)) << shown(temp->second);
    for (const auto& [name, value] : environment) EXPECT_EQ(name.find('=', 1), std::string::npos) << shown(name);

    const std::string exe = system.executable_path();
    EXPECT_TRUE(platform::is_absolute_path(exe)) << shown(exe);
    EXPECT_EQ(platform::folded_path(exe.substr(exe.size() - 4)), ".exe");

    const auto now = system.now();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    const char separator = system.decimal_separator();
    EXPECT_TRUE(separator == '.' || separator == ',');
    EXPECT_NE(system.short_date_format().find_first_of("dMy"), std::string::npos);
    system.sleep_ms(1);
}
