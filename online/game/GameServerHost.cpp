#include "online/game/GameServerHost.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <exception>
#include <random>
#include <sstream>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Error.h"
#include "net/Endpoint.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/scores/DeathScoreKeeper.h"
#include "simulation/server/ZarnServer.h"

namespace Zarn {

using boost::asio::ip::tcp;
using boost::asio::ip::udp;
namespace severity = Convinience::severity;

namespace {

constexpr float kTickDelta = 0.03f;
constexpr u32 kResendThresholdMs = 1000;
constexpr int kUdpReceiveBuffer = 4 * 1024 * 1024;

// A fresh seed for each game's trap spawners; never 0 (no shared seed).
u32 freshSpawnSeed() {
    u32 seed = 0;
    while (seed == 0) seed = std::random_device{}();
    return seed;
}

}  // namespace

// Every received packet passes here first (I/O thread).
class GameServerHost::Reader : public Convinience::Reciever {
public:
    explicit Reader(GameServerHost& host) : host_(host) {}
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override {
        host_.screen(bytes, size, endpoint);
    }

private:
    GameServerHost& host_;
};

// Server thread: hands joins and exits to the I/O thread.
class GameServerHost::Registrar : public EndpointRegistrar {
public:
    explicit Registrar(GameServerHost& host) : host_(host) {}
    void registerEndpoint(u32 clientId, const std::string&) override {
        boost::asio::post(host_.strand_, [this, clientId] { host_.gate_->release(clientId); });
    }
    void removeEndpoint(u32) override {}

private:
    GameServerHost& host_;
};

// Server thread: a laggard is disconnected like a client that broke the rules.
class GameServerHost::Kicker : public LagKicker {
public:
    explicit Kicker(GameServerHost& host) : host_(host) {}
    void kick(const std::vector<u32>& clientIds) override {
        boost::asio::post(host_.strand_, [this, clientIds] {
            for (u32 id : clientIds) host_.gate_->rejectClient(id, "too slow for the game");
        });
    }

private:
    GameServerHost& host_;
};

GameServerHost::GameServerHost(Options options) : options_(std::move(options)) {
    {
        // The map must load before anyone is told the port.
        Corvel::MessageQueue in(2), out(2);
        ZarnServer probe(in, out);
        std::istringstream stream(options_.mapBytes);
        probe.loadMap(stream);
    }
    const auto address = boost::asio::ip::make_address(options_.address);
    for (int attempt = 0; attempt < 50 && port_ == 0; ++attempt) {
        auto udpCandidate = std::make_shared<udp::socket>(strand_, udp::endpoint(address, options_.port));
        const u16 candidate = udpCandidate->local_endpoint().port();
        try {
            acceptor_ = std::make_unique<tcp::acceptor>(strand_, tcp::endpoint(address, candidate));
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
    gate_ = std::make_unique<ClientGate>(*this, endpoints_, reciever_, serverIncoming_);
    reader_ = std::make_unique<Reader>(*this);
    udpReader_ = std::make_unique<Ferro::UDPReciever>(strand_, udpSocket_, *reader_);
    tcpReader_ = std::make_unique<Ferro::TCPReciever>(strand_, *reader_);
    tcpReader_->setDisconnectHandler(this);
    channels_ = std::make_unique<Ferro::TCPUDPSender>(strand_, udpSocket_);
    sender_ = std::make_unique<Ferro::ReliableSenderProcessor>(*channels_, endpoints_, stamp_, delivery_,
                                                               sendRing_);
    delivery_.resendThresholdMs = kResendThresholdMs;
    registrar_ = std::make_unique<Registrar>(*this);
    kicker_ = std::make_unique<Kicker>(*this);
}

GameServerHost::~GameServerHost() {
    stop();
    tcpReader_->setDisconnectHandler(nullptr);
    sender_.reset();
    tcpReader_.reset();
    udpReader_.reset();
}

void GameServerHost::start() {
    if (started_) return;
    started_ = true;
    clock_.start();
    udpReader_->startReceiving();
    boost::asio::post(strand_, [this] { accept(); });
    ioThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        Ferro::runEventLoop(io_);
    });
    sendThread_ = std::thread([this] { sender_->run(); });
    pumpRunning_ = true;
    pumpThread_ = std::thread([this] { runPump(); });
    gameThread_ = std::thread([this] { runGames(); });
    logger_.log(severity::info, "Game server listening on port " + std::to_string(port_));
}

void GameServerHost::stop() {
    if (stopped_) return;
    stopped_ = true;
    {
        std::lock_guard lock(gameMutex_);
        stopping_ = true;
        if (game_) game_->stop();
    }
    gameWanted_.notify_all();
    if (gameThread_.joinable()) gameThread_.join();
    pumpRunning_ = false;
    wake();
    if (pumpThread_.joinable()) pumpThread_.join();
    io_.stop();
    sender_->stop();
    if (ioThread_.joinable()) ioThread_.join();
    if (sendThread_.joinable()) sendThread_.join();
    if (started_) logger_.log(severity::info, "Game server stopped");
}

void GameServerHost::accept() {
    acceptor_->async_accept(
        boost::asio::bind_executor(strand_, [this](const boost::system::error_code& error, tcp::socket peer) {
            if (error == boost::asio::error::operation_aborted) return;
            if (!error) {
                if (auto connection = Ferro::takeAcceptedConnection(std::move(peer))) {
                    const std::string& name = connection->name;
                    connections_[name] = connection->socket;
                    channels_->tcp().addConnection(name, connection->socket);
                    tcpReader_->addConnection(name, connection->socket);
                    logger_.log(severity::info, "Connection from " + name);
                }
            } else {
                logger_.log(severity::error, "Accepting a connection failed: " + error.message());
            }
            accept();
        }));
}

void GameServerHost::screen(const u8* bytes, std::size_t size, const std::string& endpoint) {
    if (!connections_.count(endpoint)) {
        logger_.log(severity::debug, "Dropped a packet from " + endpoint + ", which has no connection");
        return;
    }
    gate_->receive(bytes, size, endpoint);
}

void GameServerHost::closeConnection(const std::string& endpoint) {
    auto connection = connections_.find(endpoint);
    if (connection == connections_.end()) return;
    boost::system::error_code ignored;
    connection->second->shutdown(tcp::socket::shutdown_both, ignored);
    connection->second->close(ignored);
    connections_.erase(connection);
}

void GameServerHost::onDisconnect(const std::string& endpoint) {
    connections_.erase(endpoint);
    gate_->leave(endpoint);
}

void GameServerHost::closeAll() {
    std::vector<std::string> open;
    for (const auto& [endpoint, socket] : connections_) open.push_back(endpoint);
    for (const auto& endpoint : open) {
        closeConnection(endpoint);
        gate_->leave(endpoint);
    }
}

void GameServerHost::joinWaiting() {
    {
        std::lock_guard lock(gameMutex_);
        joinWaiting_ = true;
    }
    gameWanted_.notify_all();
}

void GameServerHost::wakeGame() {
    std::lock_guard lock(gameMutex_);
    if (game_) game_->wake();
}

void GameServerHost::runGames() {
    for (;;) {
        {
            std::unique_lock lock(gameMutex_);
            gameWanted_.wait(lock, [this] { return stopping_ || joinWaiting_; });
            if (stopping_) return;
            joinWaiting_ = false;
        }
        try {
            ZarnServer server(serverIncoming_, serverOutgoing_);
            server.setTickDelta(kTickDelta);
            // The game's replies carry this ID from the first one on; the
            // server's own request for it only confirms it.
            server.gameInstance().fromID = kServerId;
            std::istringstream stream(options_.mapBytes);
            server.loadMap(stream);
            // The online display shows every player's deaths.
            server.addScoreKeeper(std::make_unique<DeathScoreKeeper>(server.world().units));
            server.setSpawnSeed(freshSpawnSeed());
            server.setWakeTarget(this);
            server.setEndpointRegistrar(registrar_.get());
            server.setLagKicker(kicker_.get());
            {
                std::lock_guard lock(gameMutex_);
                if (stopping_) return;
                game_ = &server;
            }
            logger_.log(severity::info, "Game started");
            server.run();
            {
                std::lock_guard lock(gameMutex_);
                game_ = nullptr;
                if (stopping_) return;
            }
            ++finishedGames_;
            logger_.log(severity::info, "Game ended; the next client starts a new one");
        } catch (const std::exception& e) {
            std::lock_guard lock(gameMutex_);
            game_ = nullptr;
            logger_.log(severity::critical, std::string("Critical error: the game failed: ") + e.what());
        }
        // Whoever is still connected belonged to the game that ended.
        boost::asio::post(strand_, [this] { closeAll(); });
    }
}

void GameServerHost::wake() {
    {
        std::lock_guard lock(pumpMutex_);
        pumpWoken_ = true;
    }
    pumpWake_.notify_one();
}

void GameServerHost::runPump() {
    while (pumpRunning_.load()) {
        {
            std::unique_lock lock(pumpMutex_);
            pumpWake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return pumpWoken_; });
            pumpWoken_ = false;
        }
        try {
            if (pumpOnce()) sender_->wake();
        } catch (const std::exception& e) {
            logger_.log(severity::error, std::string("Forwarding the game's records failed: ") + e.what());
        }
    }
}

bool GameServerHost::pumpOnce() {
    bool moved = false;
    while (!serverOutgoing_.empty()) {
        Corvel::QueuedMessage& record = serverOutgoing_.front();
        if (record.toClientId == 0) {
            answerHost(record);
        } else {
            if (!sendRing_.push(std::move(record))) break;
            moved = true;
        }
        serverOutgoing_.pop();
    }
    return moved;
}

void GameServerHost::answerHost(const Corvel::QueuedMessage& record) {
    Convinience::ByteReader reader(record.bytes);
    const Corvel::CommandHeader header(reader);
    if (header.commandId == HostCommandId::requestFromId) {
        boost::asio::post(strand_, [this] {
            Corvel::CommandHeader answer(0, ServerCommandId::setGameFromId, 0, true);
            answer.commandNumber = gate_->nextHostNumber();
            Convinience::Buffer buffer(64);
            answer.serialize(buffer);
            buffer.appendU32(kServerId);
            gate_->injectHostCommand(buffer.takeBytes());
        });
    } else if (header.commandId == HostCommandId::playerLeft) {
        logger_.log(severity::info, "The game reports a player left");
    } else if (header.commandId == HostCommandId::gameClosed) {
        logger_.log(severity::info, "The game is empty and closes");
    }
}

}  // namespace Zarn
