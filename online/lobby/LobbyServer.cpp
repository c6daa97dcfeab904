#include "online/lobby/LobbyServer.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <exception>

#include "foundation/ByteReader.h"
#include "net/Endpoint.h"
#include "net/Packet.h"
#include "online/lobby/LobbyCommands.h"

namespace ZarnLobby {

using boost::asio::ip::tcp;
namespace sev = Convinience::severity;
namespace cmd = lobby_command;

LobbyServer::LobbyServer(Options options) : options_(std::move(options)) {
    acceptor_ = std::make_unique<tcp::acceptor>(
        strand_, tcp::endpoint(boost::asio::ip::make_address(options_.address), options_.port));
    port_ = acceptor_->local_endpoint().port();
    // The lobby's packets go over TCP only: nothing is resent.
    delivery_.resendThresholdMs = 10000000;
    tcpReader_.setDisconnectHandler(this);
}

LobbyServer::~LobbyServer() {
    stop();
    tcpReader_.setDisconnectHandler(nullptr);
}

void LobbyServer::start() {
    if (running_.exchange(true)) return;
    clock_.start();
    boost::asio::post(strand_, [this] { accept(); });
    ioThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        Ferro::runEventLoop(io_);
    });
    sendThread_ = std::thread([this] { sender_.run(); });
    logicThread_ = std::thread([this] { runLogic(); });
    logger_.log(sev::info, "Lobby server listening on port " + std::to_string(port_));
}

void LobbyServer::stop() {
    running_ = false;
    if (logicThread_.joinable()) logicThread_.join();
    io_.stop();
    sender_.stop();
    if (ioThread_.joinable()) ioThread_.join();
    if (sendThread_.joinable()) sendThread_.join();
}

void LobbyServer::accept() {
    acceptor_->async_accept(
        boost::asio::bind_executor(strand_, [this](const boost::system::error_code& error, tcp::socket peer) {
            if (error) {
                if (error != boost::asio::error::operation_aborted) {
                    logger_.log(sev::error, "Lobby accept failed: " + Ferro::errorCodeText(error));
                    accept();
                }
                return;
            }
            if (auto connection = Ferro::takeAcceptedConnection(std::move(peer))) {
                const std::string& name = connection->name;
                const u32 id = nextClientID_++;
                idByEndpoint_[name] = id;
                endpoints_.assign(id, name);
                tcpSender_.addConnection(name, connection->socket);
                tcpReader_.addConnection(name, connection->socket);
                logger_.log(sev::info, "Lobby client " + std::to_string(id) + " connected from " + name);
            }
            accept();
        }));
}

void LobbyServer::receive(const u8* bytes, std::size_t size, const std::string& endpoint) {
    const auto it = idByEndpoint_.find(endpoint);
    if (it == idByEndpoint_.end()) return;
    try {
        Convinience::ByteReader reader(bytes, size);
        Ferro::Packet1337 packet(reader);
        // A client speaks as 0 until it has been given its ID, then as that ID.
        if (packet.header.applicationId != Ferro::kApplicationId ||
            (packet.header.senderClientId != 0 && packet.header.senderClientId != it->second)) {
            logger_.log(sev::warn, "Lobby dropped a packet with a wrong sender from " + endpoint);
            return;
        }
        Corvel::QueuedMessage message{it->second, kLobbyServerID, packet.header.reliable,
                                      std::move(packet.payload)};
        if (!incoming_.push(std::move(message))) logger_.log(sev::warn, "Lobby incoming queue full");
    } catch (const std::exception& e) {
        logger_.log(sev::warn, "Lobby dropped a bad packet from " + endpoint + ": " + e.what());
    }
}

void LobbyServer::onDisconnect(const std::string& endpoint) {
    const auto it = idByEndpoint_.find(endpoint);
    if (it == idByEndpoint_.end()) return;
    // An empty message tells the logic thread that the client has gone.
    incoming_.push(Corvel::QueuedMessage{it->second, kLobbyServerID, 1, {}});
    endpoints_.remove(it->second);
    idByEndpoint_.erase(it);
}

void LobbyServer::runLogic() {
    while (running_.load()) {
        Corvel::QueuedMessage message;
        bool any = false;
        while (incoming_.pop(message)) {
            any = true;
            try {
                handle(message);
            } catch (const std::exception& e) {
                logger_.log(sev::warn, "Lobby dropped a command from client " +
                                           std::to_string(message.fromClientId) + ": " + e.what());
            }
        }
        if (any) {
            sender_.wake();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

void LobbyServer::handle(const Corvel::QueuedMessage& message) {
    const u32 clientID = message.fromClientId;
    if (message.bytes.empty()) {
        dropClient(clientID);
        return;
    }
    Convinience::ByteReader reader(message.bytes);
    const Corvel::CommandHeader header(reader);
    Client& client = clients_[clientID];
    client.status.clientID = clientID;
    switch (header.commandId) {
        case cmd::quickJoin: {
            const ClientQuickJoinHeader request(reader);
            join(clientID, 0, request.name, header.commandNumber);
            break;
        }
        case cmd::joinInstance: {
            const JoinInstanceHeader request(reader);
            join(clientID, request.instanceNumber, request.name, header.commandNumber);
            break;
        }
        case cmd::quickLoaded:
            client.status.state = GAME_LOADED;
            break;
        default:
            logger_.log(sev::warn, "Lobby does not serve command " + std::to_string(header.commandId) +
                                       " from client " + std::to_string(clientID));
            break;
    }
}

Zarn::GameInstance& LobbyServer::openInstance() {
    for (auto& [id, instance] : instances_) {
        if (instance.players.size() < options_.capacity) return instance;
    }
    Zarn::GameInstance& instance = instances_[nextInstanceID_];
    instance.instanceID = nextInstanceID_++;
    instance.fromID = options_.gameServerID;
    instance.mapHash = options_.mapHash;
    instance.instanceFlag = 1;
    instance.endpoint = options_.gameEndpoint;
    return instance;
}

void LobbyServer::join(u32 clientID, u32 instanceNumber, const std::string& name, u32 replyTo) {
    Client& client = clients_[clientID];
    if (client.instanceID != 0) {
        logger_.log(sev::warn, "Lobby client " + std::to_string(clientID) + " is already in a game");
        return;
    }
    Zarn::GameInstance* instance = nullptr;
    if (instanceNumber == 0) {
        instance = &openInstance();
    } else {
        const auto it = instances_.find(instanceNumber);
        if (it != instances_.end() && it->second.players.size() < options_.capacity) instance = &it->second;
    }
    if (instance == nullptr) {
        Corvel::CommandHeader h(kLobbyServerID, cmd::instanceNotFound, replyTo, false);
        h.toClientId = clientID;
        pusher_.push(h);
        return;
    }
    std::vector<u8> taken;
    for (const Zarn::PlayerInfo& player : instance->playerInfos) taken.push_back(player.number);
    const u8 number = Zarn::lowestFreePlayerNumber(taken);
    client.instanceID = instance->instanceID;
    client.name = name.substr(0, Zarn::PlayerInfo::kMaxNameBytes);
    client.status.state = WAITING_QUICK_JOIN;
    instance->players.insert(clientID);
    instance->playerInfos.emplace_back(clientID, number, client.name);

    QuickJoinHeader answer;
    answer.player = Zarn::PlayerInfo(clientID, number, client.name);
    answer.instance = *instance;
    Corvel::CommandHeader h(kLobbyServerID, cmd::quickLoad, 0, true);
    h.toClientId = clientID;
    pusher_.pushWithData(h, answer.toBytes());
    logger_.log(sev::info, "Lobby client " + std::to_string(clientID) + " joins instance " +
                               std::to_string(instance->instanceID));
}

void LobbyServer::dropClient(u32 clientID) {
    const auto it = clients_.find(clientID);
    if (it != clients_.end() && it->second.instanceID != 0) {
        const auto game = instances_.find(it->second.instanceID);
        if (game != instances_.end()) {
            game->second.players.erase(clientID);
            std::erase_if(game->second.playerInfos,
                          [&](const Zarn::PlayerInfo& p) { return p.clientID == clientID; });
            if (game->second.players.empty()) instances_.erase(game);
        }
    }
    if (it != clients_.end()) clients_.erase(it);
    logger_.log(sev::info, "Lobby client " + std::to_string(clientID) + " left");
}

}  // namespace ZarnLobby
