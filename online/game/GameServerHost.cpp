#include "online/game/GameServerHost.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <exception>
#include <sstream>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Error.h"
#include "net/Endpoint.h"
#include "net/Packet.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/scores/DeathScoreKeeper.h"
#include "simulation/server/AddPlayerHeaders.h"
#include "simulation/server/ZarnServer.h"

namespace Zarn {

using boost::asio::ip::tcp;
using boost::asio::ip::udp;
namespace severity = Convinience::severity;

namespace {

constexpr float kTickDelta = 0.03f;
constexpr u32 kResendThresholdMs = 1000;
constexpr int kUdpReceiveBuffer = 4 * 1024 * 1024;

bool clientMaySend(u32 commandId) {
    return commandId == ServerCommandId::stateUpdate || commandId == ServerCommandId::input ||
           commandId == ServerCommandId::exitGame || commandId == ServerCommandId::gameInstanceUpdate;
}

}  // namespace

// Every received packet passes here first (I/O thread).
class GameServerHost::Gate : public Convinience::Reciever {
public:
    explicit Gate(GameServerHost& host) : host_(host) {}
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
        boost::asio::post(host_.strand_, [this, clientId] { host_.release(clientId); });
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
            for (u32 id : clientIds) {
                auto it = host_.endpointOf_.find(id);
                if (it != host_.endpointOf_.end()) host_.reject(it->second, "too slow for the game");
            }
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
    gate_ = std::make_unique<Gate>(*this);
    udpReader_ = std::make_unique<Ferro::UDPReciever>(strand_, udpSocket_, *gate_);
    tcpReader_ = std::make_unique<Ferro::TCPReciever>(strand_, *gate_);
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
                boost::system::error_code ec;
                const auto remote = peer.remote_endpoint(ec);
                if (!ec) {
                    auto socket = std::make_shared<tcp::socket>(std::move(peer));
                    socket->set_option(tcp::no_delay(true), ec);
                    const std::string name = Ferro::endpointString(remote.address(), remote.port());
                    connections_[name] = socket;
                    channels_->tcp().addConnection(name, socket);
                    tcpReader_->addConnection(name, socket);
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
    Ferro::Packet1337 packet;
    Corvel::CommandHeader command;
    try {
        Convinience::ByteReader reader(bytes, size);
        packet = Ferro::Packet1337(reader);
        Convinience::ByteReader payload(packet.payload);
        command = Corvel::CommandHeader(payload);
    } catch (const std::exception&) {
        reject(endpoint, "a packet that does not parse");
        return;
    }
    const Ferro::Packet1337Header& header = packet.header;
    if (header.applicationId != Ferro::kApplicationId) return reject(endpoint, "a wrong application ID");
    if (header.isReliable() && header.acknowledgedSequenceNumber != 0)
        return reject(endpoint, "an acknowledgement on a reliable packet");
    if (command.clientId != header.senderClientId) return reject(endpoint, "a command of another client");
    if (!clientMaySend(command.commandId))
        return reject(endpoint, "command " + std::to_string(command.commandId));
    auto it = peers_.find(endpoint);
    if (it == peers_.end()) {
        const u32 id = header.senderClientId;
        if (id < kFirstClientId) return reject(endpoint, "client ID " + std::to_string(id) + " below 10");
        if (endpointOf_.count(id)) return reject(endpoint, "client ID " + std::to_string(id) + " taken");
        if (!endpoints_.assign(id, endpoint)) return reject(endpoint, "an endpoint that is taken");
        Peer& peer = peers_[endpoint];
        peer.id = id;
        endpointOf_[id] = endpoint;
        peer.held.emplace_back(bytes, bytes + size);
        // The join the lobby would send: the server adds the player, then
        // its registrar releases the held packets (release).
        Corvel::CommandHeader join(0, ServerCommandId::addPlayer, 0, true);
        join.commandNumber = ++hostNumber_;
        Convinience::Buffer buffer(64);
        join.serialize(buffer);
        AddPlayerHeader(AddPlayerHeader::kNearPlayer, GeometryLib::Point(),
                        PlayerInfo(id, static_cast<u8>(peers_.size()), "Player " + std::to_string(id)))
            .serialize(buffer);
        {
            std::lock_guard lock(gameMutex_);
            joinWaiting_ = true;
        }
        gameWanted_.notify_all();
        inject(0, buffer.takeBytes());
        logger_.log(severity::info, "Client " + std::to_string(id) + " joins from " + endpoint);
        return;
    }
    Peer& peer = it->second;
    if (header.senderClientId != peer.id) return reject(endpoint, "another client's ID");
    if (!peer.joined) {
        if (peer.held.size() < kHeldLimit) peer.held.emplace_back(bytes, bytes + size);
        return;
    }
    forward(peer, std::vector<u8>(bytes, bytes + size), endpoint);
}

void GameServerHost::forward(Peer& peer, const std::vector<u8>& packet, const std::string& endpoint) {
    // Offsets: the command number follows the 33-byte packet header and the
    // command's client and command IDs.
    Convinience::ByteReader reader(packet.data() + Ferro::Packet1337Header::kSize + 8,
                                   packet.size() - Ferro::Packet1337Header::kSize - 8);
    const u32 number = reader.readU32();
    if (number != 0) {
        if (number <= peer.lastNumber) return;  // a repeat (a resend or a late datagram)
        peer.lastNumber = number;
    }
    reciever_.receive(packet.data(), packet.size(), endpoint);
    wakeServer();
}

void GameServerHost::release(u32 clientId) {
    auto at = endpointOf_.find(clientId);
    if (at == endpointOf_.end()) return;
    const std::string endpoint = at->second;
    auto it = peers_.find(endpoint);
    if (it == peers_.end() || it->second.joined) return;
    it->second.joined = true;
    std::vector<std::vector<u8>> held = std::move(it->second.held);
    for (const auto& packet : held) {
        auto again = peers_.find(endpoint);
        if (again == peers_.end()) return;
        forward(again->second, packet, endpoint);
    }
}

void GameServerHost::reject(const std::string& endpoint, const std::string& reason) {
    auto it = peers_.find(endpoint);
    const std::string who =
        it == peers_.end() ? endpoint : "Client " + std::to_string(it->second.id) + " at " + endpoint;
    logger_.log(severity::warn, who + " disconnected: it sent " + reason);
    ++rejected_;
    drop(endpoint, true);
}

void GameServerHost::drop(const std::string& endpoint, bool closeSocket) {
    auto connection = connections_.find(endpoint);
    if (connection != connections_.end()) {
        if (closeSocket) {
            boost::system::error_code ignored;
            connection->second->shutdown(tcp::socket::shutdown_both, ignored);
            connection->second->close(ignored);
        }
        connections_.erase(connection);
    }
    auto it = peers_.find(endpoint);
    if (it == peers_.end()) return;
    const u32 id = it->second.id;
    endpointOf_.erase(id);
    peers_.erase(it);
    Corvel::CommandHeader exit(id, ServerCommandId::exitGame, 0, true);
    Convinience::Buffer buffer(64);
    exit.serialize(buffer);
    inject(id, buffer.takeBytes());
}

void GameServerHost::onDisconnect(const std::string& endpoint) {
    auto it = peers_.find(endpoint);
    if (it != peers_.end())
        logger_.log(severity::info, "Client " + std::to_string(it->second.id) + " disconnected");
    drop(endpoint, false);
}

void GameServerHost::closeAll() {
    std::vector<std::string> open;
    for (const auto& [endpoint, socket] : connections_) open.push_back(endpoint);
    for (const auto& endpoint : open) drop(endpoint, true);
}

void GameServerHost::inject(u32 from, const std::vector<u8>& bytes) {
    Corvel::QueuedMessage record;
    record.fromClientId = from;
    record.toClientId = kServerId;
    record.reliable = 1;
    record.bytes = bytes;
    if (!serverIncoming_.push(std::move(record)))
        logger_.log(severity::error, "The game's incoming ring is full: a host record was dropped");
    wakeServer();
}

void GameServerHost::wakeServer() {
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
            answer.commandNumber = ++hostNumber_;
            Convinience::Buffer buffer(64);
            answer.serialize(buffer);
            buffer.appendU32(kServerId);
            inject(0, buffer.takeBytes());
        });
    } else if (header.commandId == HostCommandId::playerLeft) {
        logger_.log(severity::info, "The game reports a player left");
    } else if (header.commandId == HostCommandId::gameClosed) {
        logger_.log(severity::info, "The game is empty and closes");
    }
}

}  // namespace Zarn
