#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Stopwatch.h"
#include "foundation/Types.h"
#include "online/lobby/ClientGameLoader.h"
#include "online/lobby/LobbyAddress.h"

namespace ZarnLobby {
class NetworkedZarnLobbyClient;
}

// A game loader as the multiplayer panel uses it: the loader that the
// lobby's load commands call, and how to enter the game it has loaded.
struct OnlineGameLoader {
    std::unique_ptr<ZarnLobby::ClientGameLoader> loader;
    // Main thread, once per loaded game: connects the loaded game's client,
    // puts its scene in place of the running one and lets go of the loader's
    // hold on the scene. The argument is the lobby client ID.
    std::function<void(u32 clientID)> enterGame;
};

// How far the current lobby connection has come. Lost: it was up and went
// (closed by the lobby, or a request it never answered); the client is gone.
enum class LobbyConnection { None, Connecting, Connected, Failed, Lost };

// The program's online state: the one lobby client, the game loader that its
// load commands call, and the notice lines that the multiplayer panel shows.
// One per process (instance()); main thread only. The lobby client's
// connection callbacks come on its I/O thread and are handed to the main
// thread through the director's scheduler; each carries the ticket of its
// connection, so one that arrives after its connection was replaced or
// dropped does nothing.
class OnlineSession {
public:
    using LoaderFactory = std::function<OnlineGameLoader()>;

    static constexpr const char* kConnectingText = "Connecting to lobby...";
    static constexpr const char* kConnectedNotice = "Connected to lobby!";
    static constexpr const char* kConnectFailedNotice = "Could not connect to lobby! Try again later.";
    static constexpr const char* kLobbyLostNotice = "The connection to the lobby was lost.";
    static constexpr const char* kNoAnswerNotice = "The lobby did not answer. Try again.";
    // A join the lobby has not answered in this time counts as lost.
    static constexpr u64 kAnswerTimeoutMs = 5000;

    static OnlineSession& instance();
    ~OnlineSession();

    // Drops the lobby client (before its loader), then makes a new loader and
    // a new lobby client and starts connecting to lobbyAddress. Returns the
    // new connection's ticket; the previous ticket no longer owns anything.
    // Returns at once: the connect runs on the client's I/O thread. quiet:
    // a success adds no notice (a connection made again after a loss, whose
    // notice stays on show).
    u64 connectToLobby(bool quiet = false);
    // Whether the ticket names the current connection.
    bool owns(u64 ticket) const { return ticket != 0 && ticket == ticket_; }
    LobbyConnection connection() const { return connection_; }
    // The current lobby client; null when there is none.
    ZarnLobby::NetworkedZarnLobbyClient* lobbyClient() const { return lobbyClient_.get(); }

    // Once a frame while a panel shows the lobby: the lobby client's update,
    // then the lobby's own notices join the queue. A connection the lobby
    // closed, or a join it has not answered within kAnswerTimeoutMs (by
    // `clock`), is lost: its notice joins the queue, the client is dropped
    // and the connection is Lost. Nothing is lost once a game is loaded.
    void updateLobby();
    // Issues the user's command (with data for 20 and 28) on the current
    // lobby client; a join then waits for its answer. False when there is no
    // client or the local factory does not know the ID.
    bool issue(u32 localCommandID, const std::vector<u8>& data);
    // Enters the game that the loader has loaded; only the first call after a
    // load does anything.
    void enterLoadedGame();
    // The owner of `ticket` leaves: unless a game is loaded or running, the
    // lobby connection is closed and the lobby client dropped.
    void leaveLobby(u64 ticket);
    // Closes the lobby client's TCP connection when it is open (the game's
    // exit and end call this).
    void closeLobbyConnection();

    void addNotice(std::string line) { notices_.push_back(std::move(line)); }
    // The notice lines, oldest first; the queue is empty afterwards.
    std::vector<std::string> takeNotices();

    // Drops the lobby client and then the loader, clears the notices and
    // puts every setting back to its default (tests, and the program's end).
    void reset();

    // Makes each connection's game loader; the game's own by default.
    LoaderFactory loaderFactory;
    // The lobby server's address: ZARN_LOBBY or 127.0.0.1:12345 by default.
    std::function<ZarnLobby::LobbyAddress()> lobbyAddress;
    std::chrono::milliseconds connectTimeout;
    // Times the lobby's answers; steady by default, tests put a manual one.
    // Outlives its use.
    const Convinience::TickClock* clock = nullptr;

private:
    OnlineSession();
    void onConnected(u64 ticket);
    void onConnectFailed(u64 ticket);
    void dropLobbyClient();
    void loseLobby(const char* notice);
    u64 nowMs() const;

    // The client is declared after the loader it points to, and dropped
    // before it.
    OnlineGameLoader loader_;
    std::unique_ptr<ZarnLobby::NetworkedZarnLobbyClient> lobbyClient_;
    std::deque<std::string> notices_;
    LobbyConnection connection_ = LobbyConnection::None;
    u64 ticket_ = 0;
    u64 lastTicket_ = 0;
    bool gameEntered_ = false;
    bool quiet_ = false;
    // The notice of the last loss, said again when connecting anew fails.
    std::string lossNotice_;
    // A join under way: when it was sent (ms of `clock`).
    bool awaitingAnswer_ = false;
    u64 requestSentMs_ = 0;
};

// OnlineSession::instance().closeLobbyConnection().
void closeLobbyConnection();
