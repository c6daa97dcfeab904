#include "online/lobby/LobbyServer.h"

#include <algorithm>
#include <boost/asio/bind_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <exception>
#include <future>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Stopwatch.h"
#include "net/Endpoint.h"
#include "net/Packet.h"
#include "online/lobby/LobbyCommands.h"
#include "online/lobby/LobbyHeaders.h"

namespace ZarnLobby {

using boost::asio::ip::tcp;
namespace sev = Convinience::severity;
namespace cmd = lobby_command;
namespace link = ZarnOnline::link;

namespace {

constexpr std::chrono::milliseconds kHousekeepingPeriod{1000};

}  // namespace

LobbyServer::LobbyServer(Options options)
    : options_(std::move(options)), tcpSender_(strand_, kMaxQueuedBytes, [this](const std::string& endpoint) {
          drop(endpoint, "it takes no more answers");
      }) {
    acceptor_ = std::make_unique<Ferro::TcpAcceptor>(
        strand_, tcp::endpoint(boost::asio::ip::make_address(options_.address), options_.port),
        options_.limits);
    port_ = acceptor_->port();
    tcpReader_.setDisconnectHandler(this);
    links_ = std::make_unique<GameServerLinks>(strand_, tcpReader_, tcpSender_, options_.games, *this);
}

LobbyServer::~LobbyServer() {
    stop();
    tcpReader_.setDisconnectHandler(nullptr);
}

u64 LobbyServer::nowMs() const {
    return Convinience::TickClock::steady().nowTicks() / 10000;
}

void LobbyServer::start() {
    if (started_) return;
    started_ = true;
    acceptor_->start([this](Ferro::AcceptedConnection connection) { accept(std::move(connection)); });
    boost::asio::post(strand_, [this] {
        links_->start();
        housekeep();
    });
    ioThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        Ferro::runEventLoop(io_);
    });
    logger_.log(sev::info, "Lobby server listening on port " + std::to_string(port_));
}

void LobbyServer::stop() {
    if (stopped_) return;
    stopped_ = true;
    io_.stop();
    if (ioThread_.joinable()) ioThread_.join();
}

LobbyServer::Stats LobbyServer::stats() {
    std::promise<Stats> promise;
    auto future = promise.get_future();
    boost::asio::post(strand_, [this, &promise] {
        Stats stats;
        stats.clients = clients_.size();
        stats.instances = instances_.size();
        for (const auto& [id, instance] : instances_) stats.members += instance.members.size();
        for (std::size_t server = 0; server < links_->count(); ++server)
            stats.liveServers += links_->live(server);
        stats.refusedConnections = acceptor_->refused();
        stats.acceptFailures = acceptor_->failures();
        stats.droppedClients = droppedClients_;
        promise.set_value(stats);
    });
    return future.get();
}

void LobbyServer::accept(Ferro::AcceptedConnection connection) {
    const std::string& name = connection.name;
    const u32 id = nextClientID_++;
    Client& client = clients_[name];
    client.id = id;
    client.endpoint = name;
    client.status.clientID = id;
    client.connectedAtMs = nowMs();
    endpointOf_[id] = name;
    sockets_[name] = connection.socket;
    tcpSender_.addConnection(name, connection.socket);
    tcpReader_.addConnection(name, connection.socket);
    limited_.log(sev::info, "clients connected",
                 "Lobby client " + std::to_string(id) + " connected from " + name);
}

void LobbyServer::receive(const u8* bytes, std::size_t size, const std::string& endpoint) {
    if (links_->receive(bytes, size, endpoint)) return;
    const auto it = clients_.find(endpoint);
    if (it == clients_.end()) return;
    Client& client = it->second;
    Ferro::Packet1337 packet;
    try {
        Convinience::ByteReader reader(bytes, size);
        packet = Ferro::Packet1337(reader);
        if (packet.payload.size() < Corvel::CommandHeader::kSize)
            throw Convinience::ReadPastEndError("no command");
    } catch (const std::exception&) {
        return drop(endpoint, "it sent a packet that does not parse");
    }
    // A client speaks as 0 until it has been given its ID, then as that ID.
    if (packet.header.applicationId != Ferro::kApplicationId ||
        (packet.header.senderClientId != 0 && packet.header.senderClientId != client.id)) {
        limited_.log(sev::warn, "wrong packets from " + endpoint,
                     "Lobby dropped a packet with a wrong sender from " + endpoint);
        return;
    }
    client.spoke = true;
    if (client.waiting.size() >= kMaxWaitingCommands)
        return drop(endpoint, "it sent more commands than the lobby takes at once");
    client.waiting.push_back(std::move(packet.payload));
    if (!client.queued) {
        client.queued = true;
        ready_.push_back(client.id);
        postTurn();
    }
}

void LobbyServer::postTurn() {
    if (turnPosted_) return;
    turnPosted_ = true;
    boost::asio::post(strand_, [this] { turn(); });
}

void LobbyServer::turn() {
    turnPosted_ = false;
    // One round: every client waiting now gets its few commands; reads that
    // come meanwhile wait for the next round.
    for (std::size_t round = ready_.size(); round > 0 && !ready_.empty(); --round) {
        const u32 id = ready_.front();
        ready_.pop_front();
        const auto at = endpointOf_.find(id);
        if (at == endpointOf_.end()) continue;
        const std::string endpoint = at->second;
        for (std::size_t n = 0; n < kCommandsPerTurn; ++n) {
            const auto it = clients_.find(endpoint);
            if (it == clients_.end() || it->second.waiting.empty()) break;
            const std::vector<u8> bytes = std::move(it->second.waiting.front());
            it->second.waiting.pop_front();
            try {
                handle(it->second, bytes);
            } catch (const std::exception& e) {
                drop(endpoint, std::string("it sent a command that does not parse (") + e.what() + ")");
            }
        }
        const auto it = clients_.find(endpoint);
        if (it == clients_.end()) continue;
        if (it->second.waiting.empty()) {
            it->second.queued = false;
        } else {
            ready_.push_back(id);
        }
    }
    if (!ready_.empty()) postTurn();
}

void LobbyServer::handle(Client& client, const std::vector<u8>& bytes) {
    Convinience::ByteReader reader(bytes);
    const Corvel::CommandHeader header(reader);
    switch (header.commandId) {
        case cmd::quickJoin: {
            const ClientQuickJoinHeader request(reader);
            join(client, 0, request.name, header.commandNumber);
            break;
        }
        case cmd::joinInstance: {
            const JoinInstanceHeader request(reader);
            join(client, request.instanceNumber, request.name, header.commandNumber);
            break;
        }
        case cmd::quickLoaded:
            if (client.instanceID != 0) client.status.state = GAME_LOADED;
            break;
        default:
            limited_.log(sev::warn, "unserved commands",
                         "Lobby does not serve command " + std::to_string(header.commandId) +
                             " from client " + std::to_string(client.id));
            break;
    }
}

LobbyServer::Instance* LobbyServer::placeQuickJoin() {
    for (auto& [id, instance] : instances_) {
        if (!instance.over && instance.members.size() < options_.capacity && links_->live(instance.server))
            return &instance;
    }
    std::vector<std::size_t> players(links_->count(), 0);
    for (const auto& [id, instance] : instances_) players[instance.server] += instance.members.size();
    std::size_t best = links_->count();
    for (std::size_t server = 0; server < links_->count(); ++server) {
        if (links_->live(server) && (best == links_->count() || players[server] < players[best]))
            best = server;
    }
    if (best == links_->count()) return nullptr;
    Instance& instance = instances_[nextInstanceID_];
    instance.id = nextInstanceID_++;
    instance.server = best;
    instance.mapHash = options_.maps.empty() ? 0 : options_.maps[nextMap_++ % options_.maps.size()];
    logger_.log(sev::info, "Lobby opens instance " + std::to_string(instance.id) + " of map " +
                               std::to_string(instance.mapHash) + " on the game server at " +
                               links_->endpoint(best));
    return &instance;
}

void LobbyServer::join(Client& client, u32 instanceNumber, const std::string& name, u32 replyTo) {
    if (client.instanceID != 0) {
        limited_.log(sev::warn, "joins from players in a game",
                     "Lobby client " + std::to_string(client.id) + " is already in a game");
        return;
    }
    Instance* instance = nullptr;
    if (instanceNumber == 0) {
        instance = placeQuickJoin();
        if (instance == nullptr) limited_.log(sev::error, "no game server", "Lobby has no live game server");
    } else {
        const auto it = instances_.find(instanceNumber);
        if (it != instances_.end() && !it->second.over && it->second.members.size() < options_.capacity &&
            links_->live(it->second.server))
            instance = &it->second;
    }
    if (instance == nullptr) return sendNotFound(client, replyTo);
    std::vector<u8> taken;
    for (const Member& member : instance->members) taken.push_back(member.player.number);
    Member member;
    member.player = Zarn::PlayerInfo(client.id, Zarn::lowestFreePlayerNumber(taken),
                                     name.substr(0, Zarn::PlayerInfo::kMaxNameBytes));
    instance->members.push_back(member);
    client.instanceID = instance->id;
    client.status.state = WAITING_QUICK_JOIN;

    ZarnOnline::LinkMessage grant;
    grant.kind = link::grant;
    grant.instance.instanceID = instance->id;
    grant.instance.mapHash = instance->mapHash;
    grant.instance.capacity = options_.capacity;
    grant.instance.instanceFlag = 1;
    grant.instance.endpoint = links_->endpoint(instance->server);
    grant.player = member.player;
    grant.address = Ferro::TcpAcceptor::addressOf(client.endpoint);
    links_->send(instance->server, grant);
}

void LobbyServer::sendGame(Client& client, const Instance& instance) {
    QuickJoinHeader answer;
    answer.instance.instanceID = instance.id;
    answer.instance.fromID = link::kGameServerId;
    answer.instance.mapHash = instance.mapHash;
    answer.instance.instanceFlag = 1;
    answer.instance.endpoint = links_->endpoint(instance.server);
    for (const Member& member : instance.members) {
        if (member.gone || (!member.placed && member.player.clientID != client.id)) continue;
        answer.instance.players.insert(member.player.clientID);
        answer.instance.playerInfos.push_back(member.player);
        if (member.player.clientID == client.id) answer.player = member.player;
    }
    Corvel::CommandHeader header(kLobbyServerID, cmd::quickLoad, 0, true);
    push(client, header, answer.toBytes());
    logger_.log(sev::info, "Lobby client " + std::to_string(client.id) + " joins instance " +
                               std::to_string(instance.id) + " as player " +
                               std::to_string(answer.player.number));
}

void LobbyServer::sendNotFound(Client& client, u32 replyTo) {
    client.status.state = LOITERING;
    client.instanceID = 0;
    push(client, Corvel::CommandHeader(kLobbyServerID, cmd::instanceNotFound, replyTo, false));
}

void LobbyServer::push(Client& client, Corvel::CommandHeader header, const std::vector<u8>& data) {
    header.commandNumber = client.nextNumber++;
    Convinience::Buffer payload(64);
    header.serialize(payload);
    if (!data.empty()) payload.append(data.data(), static_cast<u32>(data.size()));
    Ferro::Packet1337 packet;
    packet.header.applicationId = Ferro::kApplicationId;
    packet.header.senderClientId = kLobbyServerID;
    packet.header.destinationClientId = client.id;
    packet.header.reliable = header.expectsConfirmation ? 1 : 0;
    packet.payload = payload.takeBytes();
    packet.header.payloadLength = static_cast<u32>(packet.payload.size());
    tcpSender_.send(packet.bytes(), client.endpoint);
}

LobbyServer::Member* LobbyServer::memberOf(Instance& instance, u32 clientID) {
    for (Member& member : instance.members)
        if (member.player.clientID == clientID) return &member;
    return nullptr;
}

void LobbyServer::removeMember(Instance& instance, u32 clientID) {
    std::erase_if(instance.members, [&](const Member& m) { return m.player.clientID == clientID; });
}

void LobbyServer::linkUp(std::size_t server, u32 otherPlayers) {
    if (otherPlayers != 0)
        logger_.log(sev::info, "The game server at " + links_->endpoint(server) + " still holds " +
                                   std::to_string(otherPlayers) + " players of an earlier lobby");
}

void LobbyServer::linkDown(std::size_t server) {
    for (auto it = instances_.begin(); it != instances_.end();) {
        if (it->second.server != server) {
            ++it;
            continue;
        }
        for (const Member& member : it->second.members) {
            const auto at = endpointOf_.find(member.player.clientID);
            if (at == endpointOf_.end()) continue;
            Client& client = clients_.at(at->second);
            if (!member.placed) {
                sendNotFound(client, 0);
            } else {
                client.instanceID = 0;
            }
        }
        logger_.log(sev::warn,
                    "Lobby closes instance " + std::to_string(it->first) + ": its game server is gone");
        it = instances_.erase(it);
    }
}

void LobbyServer::linkMessage(std::size_t server, const ZarnOnline::LinkMessage& message) {
    const auto it = instances_.find(message.instance.instanceID);
    if (it == instances_.end() || it->second.server != server) return;
    Instance& instance = it->second;
    const u32 id = message.player.clientID;
    const auto at = endpointOf_.find(id);
    Client* client = at == endpointOf_.end() ? nullptr : &clients_.at(at->second);
    switch (message.kind) {
        case link::placed: {
            Member* member = memberOf(instance, id);
            if (member == nullptr || member->placed) return;
            member->placed = true;
            if (member->gone || client == nullptr) {
                ZarnOnline::LinkMessage revoke;
                revoke.kind = link::revoke;
                revoke.instance.instanceID = instance.id;
                revoke.player.clientID = id;
                links_->send(server, revoke);
                return;
            }
            sendGame(*client, instance);
            break;
        }
        case link::playerLeft: {
            Member* member = memberOf(instance, id);
            if (member == nullptr) return;
            const bool refused = !member->placed;
            removeMember(instance, id);
            if (client != nullptr && client->instanceID == instance.id) {
                if (refused) {
                    sendNotFound(*client, 0);
                } else {
                    client->instanceID = 0;
                }
            }
            if (instance.over && instance.members.empty()) {
                logger_.log(sev::info, "Lobby instance " + std::to_string(instance.id) + " ended");
                instances_.erase(it);
            }
            break;
        }
        case link::gameEnded:
            if (instance.members.empty()) {
                instances_.erase(it);
                logger_.log(sev::info,
                            "Lobby instance " + std::to_string(message.instance.instanceID) + " ended");
            } else {
                // Its room is over: nobody new goes in.
                instance.over = true;
            }
            break;
        default:
            limited_.log(sev::warn, "unknown link messages",
                         "Lobby ignores link message " + std::to_string(message.kind) + " from " +
                             links_->endpoint(server));
            break;
    }
}

void LobbyServer::onDisconnect(const std::string& endpoint) {
    if (links_->ended(endpoint)) return;
    forget(endpoint);
}

void LobbyServer::drop(const std::string& endpoint, const std::string& why) {
    const auto it = clients_.find(endpoint);
    if (it == clients_.end()) return;
    ++droppedClients_;
    limited_.log(sev::warn, "dropped clients",
                 "Lobby dropped client " + std::to_string(it->second.id) + " at " + endpoint + ": " + why);
    tcpReader_.removeConnection(endpoint);
    const auto socket = sockets_.find(endpoint);
    if (socket != sockets_.end()) {
        boost::system::error_code ignored;
        socket->second->shutdown(tcp::socket::shutdown_both, ignored);
        socket->second->close(ignored);
    }
    forget(endpoint);
}

void LobbyServer::forget(const std::string& endpoint) {
    const auto it = clients_.find(endpoint);
    if (it == clients_.end()) return;
    const Client client = std::move(it->second);
    clients_.erase(it);
    endpointOf_.erase(client.id);
    sockets_.erase(endpoint);
    tcpSender_.removeConnection(endpoint);
    acceptor_->release(endpoint);
    if (client.instanceID != 0) {
        const auto instance = instances_.find(client.instanceID);
        if (instance != instances_.end()) {
            if (Member* member = memberOf(instance->second, client.id)) {
                // The place stays taken until the game server says it is free.
                member->gone = true;
                if (member->placed) {
                    ZarnOnline::LinkMessage revoke;
                    revoke.kind = link::revoke;
                    revoke.instance.instanceID = instance->first;
                    revoke.player.clientID = client.id;
                    links_->send(instance->second.server, revoke);
                }
            }
        }
    }
    limited_.log(sev::info, "clients left", "Lobby client " + std::to_string(client.id) + " left");
}

void LobbyServer::housekeep() {
    const u64 now = nowMs();
    std::vector<std::string> quiet;
    for (const auto& [endpoint, client] : clients_)
        if (!client.spoke && now - client.connectedAtMs >= options_.identifyTimeoutMs)
            quiet.push_back(endpoint);
    for (const std::string& endpoint : quiet) drop(endpoint, "it sent no command in time");
    acceptor_->flushLog();
    links_->flushLog();
    limited_.flush();
    housekeeping_.expires_after(kHousekeepingPeriod);
    housekeeping_.async_wait(
        boost::asio::bind_executor(strand_, [this](const boost::system::error_code& error) {
            if (!error) housekeep();
        }));
}

}  // namespace ZarnLobby
