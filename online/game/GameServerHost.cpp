#include "online/game/GameServerHost.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <exception>
#include <future>
#include <random>
#include <sstream>

#include "foundation/Error.h"
#include "foundation/Stopwatch.h"
#include "simulation/server/ZarnServer.h"

namespace Zarn {

using boost::asio::ip::tcp;
using boost::asio::ip::udp;
namespace severity = Convinience::severity;

namespace {

constexpr int kUdpReceiveBuffer = 4 * 1024 * 1024;
constexpr std::chrono::milliseconds kHousekeepingPeriod{1000};

// A fresh seed for each game's trap spawners; never 0 (no shared seed).
u32 freshSpawnSeed() {
    u32 seed = 0;
    while (seed == 0) seed = std::random_device{}();
    return seed;
}

}  // namespace

// Every TCP packet passes to the gate (I/O thread).
class GameServerHost::Reader : public Convinience::Reciever {
public:
    explicit Reader(GameServerHost& host) : host_(host) {}
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override {
        host_.gate_->receive(bytes, size, endpoint, host_.nowMs());
    }

private:
    GameServerHost& host_;
};

// Every datagram passes to the gate (I/O thread).
class GameServerHost::DatagramReader : public Convinience::Reciever {
public:
    explicit DatagramReader(GameServerHost& host) : host_(host) {}
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override {
        host_.gate_->receiveDatagram(bytes, size, endpoint, host_.nowMs());
    }

private:
    GameServerHost& host_;
};

// The client gate's host and the TCP reader's disconnect handler, on the
// I/O thread: each call goes to the host.
class GameServerHost::IoSide final : public ClientGate::Host, public Ferro::DisconnectHandler {
public:
    explicit IoSide(GameServerHost& host) : host_(host) {}
    void closeConnection(const std::string& endpoint) override { host_.closeConnection(endpoint); }
    void sendTo(const std::string& endpoint, std::vector<u8>&& bytes) override {
        host_.sendTo(endpoint, std::move(bytes));
    }
    bool servesMap(u32 mapHash) const override { return host_.servesMap(mapHash); }
    std::shared_ptr<HostedGame> openGame(const ZarnOnline::InstanceTerms& terms) override {
        return host_.openGame(terms);
    }
    void retireGame(std::shared_ptr<HostedGame> game) override { host_.retireGame(std::move(game)); }
    void wakeGame(HostedGame& game) override { host_.wakeGame(game); }
    void onDisconnect(const std::string& endpoint) override { host_.onDisconnect(endpoint); }

private:
    GameServerHost& host_;
};

// The games' events go to the gate on the I/O thread (posted from the games'
// threads); one that comes after its game was let go is dropped.
class GameServerHost::GameEvents : public HostedGame::Events {
public:
    explicit GameEvents(GameServerHost& host) : host_(host) {}
    void tookIn(HostedGame& game, u32 clientID) override {
        post(game, [clientID](ClientGate& gate, HostedGame& g) { gate.tookIn(g, clientID); });
    }
    void seated(HostedGame& game, u32 clientID) override {
        post(game, [clientID](ClientGate& gate, HostedGame& g) { gate.seated(g, clientID); });
    }
    void closed(HostedGame& game) override {
        post(game, [](ClientGate& gate, HostedGame& g) { gate.closed(g); });
    }
    void finished(HostedGame& game) override {
        post(game, [](ClientGate& gate, HostedGame& g) { gate.finished(g); });
    }
    void kicked(HostedGame& game, const std::vector<u32>& clientIDs) override {
        post(game, [clientIDs](ClientGate& gate, HostedGame& g) { gate.kicked(g, clientIDs); });
    }
    void ended(HostedGame& game) override {
        post(game, [](ClientGate& gate, HostedGame& g) { gate.ended(g); });
    }

private:
    template <class F>
    void post(HostedGame& game, F&& work) {
        boost::asio::post(host_.strand_, [this, weak = game.weak_from_this(), work = std::forward<F>(work)] {
            if (const auto alive = weak.lock()) work(*host_.gate_, *alive);
        });
    }

    GameServerHost& host_;
};

// The games' packets go to the client's connection or datagram endpoint
// (called on the games' threads; the channels post to the I/O thread).
class GameServerHost::GameOutlet : public HostedGame::Outlet {
public:
    explicit GameOutlet(GameServerHost& host) : host_(host) {}
    void sendToClient(u32 clientID, bool reliable, std::vector<u8>&& packet) override {
        ClientRoutes::Route route;
        if (!host_.routes_.find(clientID, route)) return;
        if (reliable) {
            host_.tcpSender_->send(std::move(packet), route.reliable);
        } else {
            host_.udpSender_->sendNow(packet.data(), packet.size(), route.unreliable);
        }
    }

private:
    GameServerHost& host_;
};

GameServerHost::GameServerHost(Options options) : options_(std::move(options)) {
    if (options_.maps.empty()) throw Convinience::Error("no maps to serve");
    for (const auto& [hash, bytes] : options_.maps) {
        // Every map must load before anyone is told the port.
        Corvel::MessageQueue in(2), out(2);
        ZarnServer probe(in, out);
        std::istringstream stream(bytes);
        probe.loadMap(stream);
    }
    const auto address = boost::asio::ip::make_address(options_.address);
    for (int attempt = 0; attempt < 50 && port_ == 0; ++attempt) {
        auto udpCandidate = std::make_shared<udp::socket>(strand_, udp::endpoint(address, options_.port));
        const u16 candidate = udpCandidate->local_endpoint().port();
        try {
            acceptor_ = std::make_unique<Ferro::TcpAcceptor>(strand_, tcp::endpoint(address, candidate),
                                                             options_.limits);
        } catch (const boost::system::system_error&) {
            if (options_.port != 0) throw;
            continue;
        }
        boost::system::error_code ignored;
        udpCandidate->set_option(boost::asio::socket_base::receive_buffer_size(kUdpReceiveBuffer), ignored);
        udpSocket_ = std::move(udpCandidate);
        port_ = candidate;
    }
    if (port_ == 0) throw Convinience::Error("no port for both TCP and UDP");
    workers_ = std::make_unique<GameWorkers>(options_.threads != 0 ? options_.threads
                                                                   : GameWorkers::availableCpus());
    events_ = std::make_unique<GameEvents>(*this);
    outlet_ = std::make_unique<GameOutlet>(*this);
    ioSide_ = std::make_unique<IoSide>(*this);
    gate_ = std::make_unique<ClientGate>(*ioSide_, routes_, options_.lobbyAddresses, options_.timeouts);
    reader_ = std::make_unique<Reader>(*this);
    datagramReader_ = std::make_unique<DatagramReader>(*this);
    udpReader_ = std::make_unique<Ferro::UDPReciever>(strand_, udpSocket_, *datagramReader_);
    udpSender_ = std::make_unique<Ferro::UDPSender>(strand_, udpSocket_);
    tcpReader_ = std::make_unique<Ferro::TCPReciever>(strand_, *reader_);
    tcpReader_->setDisconnectHandler(ioSide_.get());
    tcpSender_ = std::make_unique<Ferro::TCPSender>(
        strand_, kMaxQueuedBytes,
        [this](const std::string& endpoint) { dropConnection(endpoint, "it takes no more data"); });
}

GameServerHost::~GameServerHost() {
    stop();
    tcpReader_->setDisconnectHandler(nullptr);
}

u64 GameServerHost::nowMs() const {
    return Convinience::TickClock::steady().nowTicks() / 10000;
}

void GameServerHost::start() {
    if (started_) return;
    started_ = true;
    workers_->start();
    udpReader_->startReceiving();
    acceptor_->start([this](Ferro::AcceptedConnection connection) { accept(std::move(connection)); });
    boost::asio::post(strand_, [this] { housekeep(); });
    ioThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        Ferro::runEventLoop(io_);
    });
    logger_.log(severity::info, "Game server listening on port " + std::to_string(port_));
}

void GameServerHost::stop() {
    if (stopped_) return;
    stopped_ = true;
    io_.stop();
    if (ioThread_.joinable()) ioThread_.join();
    workers_->stop();
    if (started_) logger_.log(severity::info, "Game server stopped");
}

GameServerHost::Stats GameServerHost::stats() {
    std::promise<Stats> promise;
    auto future = promise.get_future();
    boost::asio::post(strand_, [this, &promise] {
        Stats stats;
        stats.connections = gate_->connections();
        stats.players = gate_->players();
        stats.games = gate_->games();
        stats.linked = gate_->linked();
        stats.rejected = gate_->rejectedClients();
        stats.badDatagrams = gate_->badDatagrams();
        stats.refusedConnections = acceptor_->refused();
        stats.acceptFailures = acceptor_->failures();
        promise.set_value(stats);
    });
    return future.get();
}

void GameServerHost::accept(Ferro::AcceptedConnection connection) {
    const std::string& name = connection.name;
    connections_[name] = connection.socket;
    tcpSender_->addConnection(name, connection.socket);
    tcpReader_->addConnection(name, connection.socket);
    gate_->opened(name, nowMs());
}

void GameServerHost::housekeep() {
    gate_->housekeeping(nowMs());
    acceptor_->flushLog();
    housekeeping_.expires_after(kHousekeepingPeriod);
    housekeeping_.async_wait(
        boost::asio::bind_executor(strand_, [this](const boost::system::error_code& error) {
            if (!error) housekeep();
        }));
}

void GameServerHost::closeConnection(const std::string& endpoint) {
    const auto it = connections_.find(endpoint);
    if (it == connections_.end()) return;
    tcpReader_->removeConnection(endpoint);
    tcpSender_->removeConnection(endpoint);
    boost::system::error_code ignored;
    it->second->shutdown(tcp::socket::shutdown_both, ignored);
    it->second->close(ignored);
    connections_.erase(it);
    acceptor_->release(endpoint);
}

void GameServerHost::onDisconnect(const std::string& endpoint) {
    tcpSender_->removeConnection(endpoint);
    if (connections_.erase(endpoint) != 0) acceptor_->release(endpoint);
    gate_->ended(endpoint);
}

void GameServerHost::dropConnection(const std::string& endpoint, const std::string& why) {
    if (!connections_.count(endpoint)) return;
    logger_.log(severity::warn, "Dropped the connection from " + endpoint + ": " + why);
    closeConnection(endpoint);
    gate_->ended(endpoint);
}

void GameServerHost::sendTo(const std::string& endpoint, std::vector<u8>&& bytes) {
    tcpSender_->send(std::move(bytes), endpoint);
}

bool GameServerHost::servesMap(u32 mapHash) const {
    return options_.maps.count(mapHash) != 0;
}

std::shared_ptr<HostedGame> GameServerHost::openGame(const ZarnOnline::InstanceTerms& terms) {
    const auto map = options_.maps.find(terms.mapHash);
    if (map == options_.maps.end()) {
        logger_.log(severity::error, "No map of hash " + std::to_string(terms.mapHash) + " for instance " +
                                         std::to_string(terms.instanceID));
        return nullptr;
    }
    try {
        auto game = std::make_shared<HostedGame>(++nextGameSerial_, terms, map->second, freshSpawnSeed(),
                                                 *events_, *outlet_);
        workers_->add(game);
        return game;
    } catch (const std::exception& e) {
        logger_.log(severity::critical, std::string("Critical error: a game could not be made: ") + e.what());
        return nullptr;
    }
}

void GameServerHost::wakeGame(HostedGame& game) {
    if (game.wakeQueued) return;
    game.wakeQueued = true;
    if (toWake_.empty()) boost::asio::post(strand_, [this] { wakeGames(); });
    toWake_.push_back(game.weak_from_this());
}

void GameServerHost::wakeGames() {
    std::vector<std::weak_ptr<HostedGame>> games;
    games.swap(toWake_);
    for (const auto& weak : games) {
        if (const auto game = weak.lock()) {
            game->wakeQueued = false;
            game->wakeLoop();
        }
    }
}

void GameServerHost::retireGame(std::shared_ptr<HostedGame>) {
    // Its worker has let it go already; the last owner frees it.
}

}  // namespace Zarn
