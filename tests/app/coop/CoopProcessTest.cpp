#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "foundation/Types.h"

using namespace std::chrono_literals;
using zarn_test::ChildProcess;

namespace {

// zarn-lobby and zarn-server on ports the system picks and players of the
// game (zarn-coop-player), each a process of its own with a writable folder
// of its own, all in one temporary folder.
class CoopProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "zarn-coop-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        players.clear();
        if (server) server->signal(SIGCONT);
        if (lobby) lobby->signal(SIGCONT);
        server.reset();
        lobby.reset();
        std::error_code ignored;
        if (!HasFailure()) std::filesystem::remove_all(dir, ignored);
    }

    // The port a server program prints once it serves.
    static u16 portOf(ChildProcess& program, const std::string& name) {
        const std::optional<std::string> line =
            program.waitForLineStarting(name + " listening on port ", 30s);
        if (!line) return 0;
        return static_cast<u16>(std::stoi(line->substr(line->rfind(' ') + 1)));
    }
    // The game server, then the lobby with its link to it; the lobby opens
    // its instances on the two co-op rooms in turn.
    void startServers() {
        server = std::make_unique<ChildProcess>(
            std::vector<std::string>{ZARN_SERVER_PROGRAM, "--maps", std::string(ZARN_ASSETS_DIR) + "/maps",
                                     "--port", "0", "--address", "127.0.0.1", "--log-dir", dir});
        const u16 gamePort = portOf(*server, "zarn-server");
        ASSERT_NE(gamePort, 0) << server->transcript();
        lobby = std::make_unique<ChildProcess>(
            std::vector<std::string>{ZARN_LOBBY_PROGRAM, "--port", "0", "--address", "127.0.0.1", "--game",
                                     "127.0.0.1:" + std::to_string(gamePort), "--map", "multi_lv1", "--map",
                                     "multi_lv2", "--log-dir", dir});
        lobbyPort = portOf(*lobby, "zarn-lobby");
        ASSERT_NE(lobbyPort, 0) << lobby->transcript();
        ASSERT_TRUE(serverLogs("The lobby's link is up", 30s)) << server->transcript();
    }
    // Waits until the game server's log (its stderr) holds the text.
    bool serverLogs(const std::string& text, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (server->errorText().find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }
    // A player with a writable folder of its own (kept between two players
    // of the same folder name: a restart of the game).
    ChildProcess& player(const std::string& folder, std::vector<std::string> args) {
        const std::string writable = dir + "/" + folder;
        std::filesystem::create_directories(writable);
        std::vector<std::string> argv = {ZARN_PLAYER_PROGRAM, "--lobby",
                                         "127.0.0.1:" + std::to_string(lobbyPort), "--dir", writable};
        argv.insert(argv.end(), args.begin(), args.end());
        players.push_back(std::make_unique<ChildProcess>(std::move(argv)));
        return *players.back();
    }

    std::string dir;
    std::unique_ptr<ChildProcess> server;
    std::unique_ptr<ChildProcess> lobby;
    u16 lobbyPort = 0;
    std::vector<std::unique_ptr<ChildProcess>> players;
};

// Two players quick-join and play the first co-op room by its recorded
// solution, each its own part; both reach the exit and the room ends for
// both at the main menu without a notice, and its game on the server ends.
// Then both quick-join again: the finished instance takes nobody, so the
// lobby opens the next one on the second co-op room, which they finish the
// same way. Each player's badge and name tag show its nickname in every
// frame.
TEST_F(CoopProcessTest, TwoPlayersQuickJoinAndFinishBothCoopRoomsTogether) {
    ASSERT_NO_FATAL_FAILURE(startServers());
    ChildProcess& ann = player(
        "ann", {"--name", "ann", "--others", "bob", "--check-names", "--deadline", "170", "play", "2"});
    ChildProcess& bob = player(
        "bob", {"--name", "bob", "--others", "ann", "--check-names", "--deadline", "170", "play", "2"});
    for (ChildProcess* p : {&ann, &bob}) {
        EXPECT_EQ(p->waitForExit(180s), std::optional<int>(0)) << p->transcript();
        std::vector<std::string> seen;
        for (const std::string& line : p->lines())
            if (line.starts_with("ROOM ") || line.starts_with("FINISHED "))
                seen.push_back(line.substr(0, line.find(".map") + 4));
        EXPECT_EQ(seen, (std::vector<std::string>{"ROOM multi_lv1.map", "FINISHED multi_lv1.map",
                                                  "ROOM multi_lv2.map", "FINISHED multi_lv2.map"}))
            << p->transcript();
    }
    EXPECT_TRUE(serverLogs("Instance 1 has ended", 20s)) << server->transcript();
    EXPECT_TRUE(serverLogs("Instance 2 has ended", 20s)) << server->transcript();
}

// A game server that stops (SIGSTOP: it keeps its connections and says
// nothing) brings both players back to the main menu with the lost-connection
// notice within six seconds.
TEST_F(CoopProcessTest, AStoppedGameServerBringsBothPlayersToTheMenuWithTheNoticeWithinSixSeconds) {
    ASSERT_NO_FATAL_FAILURE(startServers());
    ChildProcess& ann = player("ann", {"--name", "ann", "--others", "bob", "hold"});
    ChildProcess& bob = player("bob", {"--name", "bob", "--others", "ann", "hold"});
    for (ChildProcess* p : {&ann, &bob}) ASSERT_TRUE(p->waitForLineStarting("MET", 60s)) << p->transcript();
    server->signal(SIGSTOP);
    const auto stopped = std::chrono::steady_clock::now();
    const auto limit = stopped + 6s;
    for (ChildProcess* p : {&ann, &bob}) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
        const std::optional<std::string> menu = p->waitForLineStarting("MENU", std::max(left, 0ms));
        ASSERT_TRUE(menu) << "not at the menu 6 s after the stop\n" << p->transcript();
        EXPECT_EQ(*menu, "MENU The connection to the game server was lost.");
    }
    const auto took = std::chrono::steady_clock::now() - stopped;
    EXPECT_LT(took, 6s);
    std::cout << "both players were at the menu "
              << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
              << " ms after the stop\n";
    for (ChildProcess* p : {&ann, &bob})
        EXPECT_EQ(p->waitForExit(10s), std::optional<int>(0)) << p->transcript();
}

// A lobby that stops while a player joins leaves the join unanswered: the
// player is told and has the multiplayer page back.
TEST_F(CoopProcessTest, ALobbyStoppedInTheMiddleOfAJoinGivesThePageBackWithANotice) {
    ASSERT_NO_FATAL_FAILURE(startServers());
    lobby->signal(SIGSTOP);
    ChildProcess& ann = player("ann", {"--name", "ann", "unanswered"});
    const std::optional<std::string> back = ann.waitForLineStarting("PAGE BACK", 40s);
    ASSERT_TRUE(back) << ann.transcript();
    const double seconds = std::stod(back->substr(std::string("PAGE BACK ").size()));
    EXPECT_GE(seconds, 5.0) << "the join was given up early";
    EXPECT_LT(seconds, 8.0);
    EXPECT_EQ(ann.waitForExit(10s), std::optional<int>(0)) << ann.transcript();
}

// The nickname typed on the multiplayer page is written to the settings file
// and is there again in the field when the game starts anew (the same
// writable folder).
TEST_F(CoopProcessTest, TheNicknameSurvivesARestart) {
    // No lobby answers: the page opens all the same.
    {
        boost::asio::io_context io;
        boost::asio::ip::tcp::acceptor probe(io, {boost::asio::ip::address_v4::loopback(), 0});
        lobbyPort = probe.local_endpoint().port();
    }
    ChildProcess& first = player("ann", {"--name", "Rat King", "nickname"});
    EXPECT_EQ(first.waitForLineStarting("NICKNAME", 60s), std::optional<std::string>("NICKNAME "));
    EXPECT_EQ(first.waitForExit(30s), std::optional<int>(0)) << first.transcript();
    std::ifstream settings(dir + "/ann/settings.ini");
    const std::string written{std::istreambuf_iterator<char>(settings), {}};
    EXPECT_NE(written.find("LAST_MULTIPLAYER_NAME=Rat King\n"), std::string::npos) << written;
    ChildProcess& again = player("ann", {"nickname"});
    EXPECT_EQ(again.waitForLineStarting("NICKNAME", 60s), std::optional<std::string>("NICKNAME Rat King"))
        << again.transcript();
    EXPECT_EQ(again.waitForExit(30s), std::optional<int>(0)) << again.transcript();
}

}  // namespace
