#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "../support/AppFixture.h"
#include "app/online/OnlineSession.h"
#include "foundation/Error.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"
#include "support/net/RawTcpPeer.h"

using namespace std::chrono_literals;

namespace {

// A loader that remembers, when it goes, whether the session still held a
// lobby client (which points to it).
class WatchedLoader : public ZarnLobby::ClientGameLoader {
public:
    explicit WatchedLoader(std::vector<bool>* clientAliveAtDestruction) : seen_(clientAliveAtDestruction) {}
    ~WatchedLoader() override { seen_->push_back(OnlineSession::instance().lobbyClient() != nullptr); }
    void load(const Zarn::GameInstance&, u32) override {}

private:
    std::vector<bool>* seen_;
};

using OnlineSessionTest = zarn_test::AppFixture;

}  // namespace

TEST_F(OnlineSessionTest, TheLobbyClientGoesBeforeTheLoaderItPointsTo) {
    std::vector<bool> clientAlive;
    OnlineSession& session = OnlineSession::instance();
    session.loaderFactory = [&clientAlive] {
        return OnlineGameLoader{std::make_unique<WatchedLoader>(&clientAlive), nullptr};
    };
    session.connectToLobby();
    session.connectToLobby();  // replaces the first client and loader
    session.reset();
    EXPECT_EQ(clientAlive, (std::vector<bool>{false, false}));
}

TEST_F(OnlineSessionTest, CloseLobbyConnectionEndsAnOpenConnectionAndIsHarmlessWithout) {
    closeLobbyConnection();  // no client: nothing happens
    zarn_test::RawTcpPeer peer;
    OnlineSession& session = OnlineSession::instance();
    session.lobbyAddress = [port = peer.port()] { return ZarnLobby::LobbyAddress{"127.0.0.1", port}; };
    session.connectToLobby();
    peer.accept();
    ASSERT_TRUE(framesUntil([&] { return session.connection() == LobbyConnection::Connected; }));
    EXPECT_EQ(session.takeNotices(), std::vector<std::string>{OnlineSession::kConnectedNotice});
    closeLobbyConnection();
    EXPECT_THROW(peer.read(1), std::exception);  // the stream has ended
    closeLobbyConnection();                      // a second close changes nothing
}

TEST_F(OnlineSessionTest, AGameThatCannotBeEnteredBecomesANoticeAndIsTriedOnce) {
    int tries = 0;
    std::vector<bool> unused;
    OnlineSession& session = OnlineSession::instance();
    session.loaderFactory = [&tries, &unused] {
        return OnlineGameLoader{std::make_unique<WatchedLoader>(&unused), [&tries](u32) {
                                    ++tries;
                                    throw Convinience::Error("could not connect to game server");
                                }};
    };
    session.connectToLobby();
    session.enterLoadedGame();
    session.enterLoadedGame();
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(session.takeNotices(), std::vector<std::string>{"could not connect to game server"});
    session.reset();  // the loader goes while `unused` lives
}
