#include "app/online/OnlineSession.h"

#include <exception>

#include "app/online/CocosClientGameLoader.h"
#include "app/online/MultiplayerInGameScene.h"
#include "engine/Director.h"
#include "engine/Scheduler.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"

namespace {

namespace sev = Convinience::severity;

constexpr const char* kGameNotLoadedNotice = "The online game could not be loaded.";

// Runs `work` on the main thread at its next frame. Any thread.
void onMainThread(std::function<void()> work) {
    cocos2d::Director::getInstance()->getScheduler()->performFunctionInCocosThread(std::move(work));
}

// The game's loader; entering its game connects the client and runs the
// scene in place of the lobby's, without a transition.
OnlineGameLoader makeGameLoader() {
    auto loader = std::make_unique<CocosClientGameLoader>();
    CocosClientGameLoader* game = loader.get();
    return OnlineGameLoader{std::move(loader), [game](u32 clientID) {
                                game->connect(clientID);
                                MultiplayerInGameScene* scene = game->scene();
                                if (scene == nullptr) throw Convinience::Error(kGameNotLoadedNotice);
                                cocos2d::Director::getInstance()->replaceScene(scene);
                                game->releaseScene();
                            }};
}

}  // namespace

OnlineSession& OnlineSession::instance() {
    static OnlineSession session;
    return session;
}

OnlineSession::OnlineSession() {
    reset();
}

OnlineSession::~OnlineSession() {
    dropLobbyClient();
}

void OnlineSession::reset() {
    dropLobbyClient();
    loader_ = OnlineGameLoader{};
    notices_.clear();
    ticket_ = 0;
    gameEntered_ = false;
    loaderFactory = makeGameLoader;
    lobbyAddress = ZarnLobby::lobbyAddressFromEnvironment;
    connectTimeout = Ferro::TCPConnector::kDefaultConnectTimeout;
    clock = &Convinience::TickClock::steady();
    awaitingAnswer_ = false;
    quiet_ = false;
    lossNotice_.clear();
}

u64 OnlineSession::nowMs() const {
    return (clock != nullptr ? clock : &Convinience::TickClock::steady())->nowTicks() / 10000;
}

void OnlineSession::dropLobbyClient() {
    lobbyClient_.reset();
    connection_ = LobbyConnection::None;
    awaitingAnswer_ = false;
}

void OnlineSession::loseLobby(const char* notice) {
    Convinience::Logger().log(sev::warn, notice);
    lobbyClient_->closeConnection();
    dropLobbyClient();
    connection_ = LobbyConnection::Lost;
    lossNotice_ = notice;
    addNotice(notice);
}

u64 OnlineSession::connectToLobby(bool quiet) {
    dropLobbyClient();
    quiet_ = quiet;
    if (!quiet) lossNotice_.clear();
    loader_ = OnlineGameLoader{};
    loader_ = loaderFactory ? loaderFactory() : OnlineGameLoader{};
    const u64 ticket = ++lastTicket_;
    ticket_ = ticket;
    gameEntered_ = false;
    try {
        lobbyClient_ = std::make_unique<ZarnLobby::NetworkedZarnLobbyClient>(loader_.loader.get(), 0);
    } catch (const std::exception& e) {
        Convinience::Logger().log(sev::error, std::string("Cannot make the lobby client: ") + e.what());
        onConnectFailed(ticket);
        return ticket;
    }
    lobbyClient_->lobby().reset();
    lobbyClient_->connectTimeout = connectTimeout;
    lobbyClient_->setCallbacks(
        [ticket] { onMainThread([ticket] { OnlineSession::instance().onConnectFailed(ticket); }); },
        [ticket] { onMainThread([ticket] { OnlineSession::instance().onConnected(ticket); }); });
    connection_ = LobbyConnection::Connecting;
    const ZarnLobby::LobbyAddress address = lobbyAddress ? lobbyAddress() : ZarnLobby::LobbyAddress{};
    lobbyClient_->setLobbyEndpoint(address.host, address.port);
    return ticket;
}

void OnlineSession::onConnected(u64 ticket) {
    if (!owns(ticket) || !lobbyClient_ || connection_ != LobbyConnection::Connecting) return;
    try {
        lobbyClient_->start();
    } catch (const std::exception& e) {
        Convinience::Logger().log(sev::error, std::string("Cannot start the lobby client: ") + e.what());
        onConnectFailed(ticket);
        return;
    }
    connection_ = LobbyConnection::Connected;
    if (!quiet_) addNotice(kConnectedNotice);
}

void OnlineSession::onConnectFailed(u64 ticket) {
    if (!owns(ticket) || connection_ == LobbyConnection::Failed) return;
    connection_ = LobbyConnection::Failed;
    // A connection made again after a loss fails with the loss still said.
    if (quiet_ && !lossNotice_.empty()) addNotice(lossNotice_);
    addNotice(kConnectFailedNotice);
}

void OnlineSession::updateLobby() {
    if (!lobbyClient_) return;
    lobbyClient_->update();
    for (std::string& line : lobbyClient_->lobby().takeNotices()) addNotice(std::move(line));
    const u8 state = lobbyClient_->status().state;
    if (state == ZarnLobby::GAME_LOADED || state == ZarnLobby::SIMULATING) {
        awaitingAnswer_ = false;
        return;
    }
    if (awaitingAnswer_ && state != ZarnLobby::WAITING_QUICK_JOIN) awaitingAnswer_ = false;
    if (lobbyClient_->connectionLost()) {
        loseLobby(kLobbyLostNotice);
    } else if (awaitingAnswer_ && nowMs() - requestSentMs_ >= kAnswerTimeoutMs) {
        loseLobby(kNoAnswerNotice);
    }
}

bool OnlineSession::issue(u32 localCommandID, const std::vector<u8>& data) {
    if (!lobbyClient_ || !lobbyClient_->lobby().issue(localCommandID, data)) return false;
    awaitingAnswer_ = true;
    requestSentMs_ = nowMs();
    return true;
}

void OnlineSession::enterLoadedGame() {
    if (gameEntered_ || !lobbyClient_) return;
    gameEntered_ = true;
    if (!loader_.enterGame) {
        Convinience::Logger().log(sev::error, "The loaded game cannot be entered");
        return;
    }
    try {
        loader_.enterGame(lobbyClient_->status().clientID);
    } catch (const std::exception& e) {
        Convinience::Logger().log(sev::error, std::string("Cannot enter the online game: ") + e.what());
        addNotice(e.what());
    }
}

void OnlineSession::leaveLobby(u64 ticket) {
    if (!owns(ticket)) return;
    ticket_ = 0;
    if (!lobbyClient_) return;
    const u8 state = lobbyClient_->status().state;
    if (state == ZarnLobby::GAME_LOADED || state == ZarnLobby::SIMULATING) return;
    lobbyClient_->closeConnection();
    dropLobbyClient();
}

void OnlineSession::closeLobbyConnection() {
    if (lobbyClient_) lobbyClient_->closeConnection();
}

std::vector<std::string> OnlineSession::takeNotices() {
    std::vector<std::string> lines(std::make_move_iterator(notices_.begin()),
                                   std::make_move_iterator(notices_.end()));
    notices_.clear();
    return lines;
}

void closeLobbyConnection() {
    OnlineSession::instance().closeLobbyConnection();
}
