#include "online/game/ClientGate.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "net/Endpoint.h"
#include "net/Packet.h"
#include "net/TcpAcceptor.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/AddPlayerHeaders.h"

namespace Zarn {

namespace severity = Convinience::severity;
namespace link = ZarnOnline::link;
using ZarnOnline::LinkMessage;

namespace {

// A packet whose header and command header parse and whose payload is whole.
struct Parsed {
    Ferro::Packet1337Header packet;
    Corvel::CommandHeader command;
};

std::optional<Parsed> parse(const u8* bytes, std::size_t size) {
    try {
        Convinience::ByteReader reader(bytes, size);
        Parsed parsed{Ferro::Packet1337Header(reader), {}};
        if (parsed.packet.payloadLength > reader.remaining()) return std::nullopt;
        Convinience::ByteReader payload = reader.sub(parsed.packet.payloadLength);
        parsed.command = Corvel::CommandHeader(payload);
        return parsed;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool clientMaySend(u32 commandID) {
    return commandID == ServerCommandId::stateUpdate || commandID == ServerCommandId::input ||
           commandID == ServerCommandId::exitGame || commandID == ServerCommandId::gameInstanceUpdate;
}

// The first rule of the client's rules that the packet breaks, or nothing.
std::optional<std::string> brokenRule(const Parsed& parsed) {
    const Ferro::Packet1337Header& header = parsed.packet;
    if (header.applicationId != Ferro::kApplicationId) return "a wrong application ID";
    if (header.isReliable() && header.acknowledgedSequenceNumber != 0)
        return "an acknowledgement on a reliable packet";
    if (parsed.command.clientId != header.senderClientId) return "a command of another client";
    if (!clientMaySend(parsed.command.commandId))
        return "command " + std::to_string(parsed.command.commandId);
    return std::nullopt;
}

// The command number: after the 33-byte packet header, the command's client
// and command IDs.
u32 commandNumberOf(const u8* bytes) {
    Convinience::ByteReader reader(bytes + Ferro::Packet1337Header::kSize + 8, 4);
    return reader.readU32();
}

std::vector<u8> headerBytes(const Corvel::CommandHeader& header) {
    Convinience::Buffer buffer(64);
    header.serialize(buffer);
    return buffer.takeBytes();
}

}  // namespace

void ClientRoutes::set(u32 clientID, const std::string& reliable) {
    const auto endpoint = Ferro::parseEndpoint(reliable);
    std::lock_guard lock(mutex_);
    routes_[clientID] = Route{reliable, endpoint.value_or(boost::asio::ip::udp::endpoint())};
}

void ClientRoutes::setUnreliable(u32 clientID, const boost::asio::ip::udp::endpoint& unreliable) {
    std::lock_guard lock(mutex_);
    const auto it = routes_.find(clientID);
    if (it != routes_.end()) it->second.unreliable = unreliable;
}

void ClientRoutes::remove(u32 clientID) {
    std::lock_guard lock(mutex_);
    routes_.erase(clientID);
}

bool ClientRoutes::find(u32 clientID, Route& out) const {
    std::lock_guard lock(mutex_);
    const auto it = routes_.find(clientID);
    if (it == routes_.end()) return false;
    out = it->second;
    return true;
}

std::size_t ClientRoutes::size() const {
    std::lock_guard lock(mutex_);
    return routes_.size();
}

ClientGate::ClientGate(Host& host, ClientRoutes& routes, std::vector<std::string> lobbyAddresses,
                       Timeouts timeouts)
    : host_(host), routes_(routes), lobbyAddresses_(std::move(lobbyAddresses)), timeouts_(timeouts) {}

std::size_t ClientGate::games() const {
    std::size_t count = 0;
    for (const auto& [key, instance] : instances_) count += (instance.game ? 1 : 0) + instance.closing.size();
    return count;
}

void ClientGate::opened(const std::string& endpoint, u64 nowMs) {
    Peer& peer = peers_[endpoint];
    peer = Peer();
    peer.openedAtMs = peer.lastHeardMs = nowMs;
}

void ClientGate::receive(const u8* bytes, std::size_t size, const std::string& endpoint, u64 nowMs) {
    const auto it = peers_.find(endpoint);
    if (it == peers_.end()) return;
    Peer& peer = it->second;
    peer.lastHeardMs = nowMs;
    switch (peer.role) {
        case Role::unknown:
            receiveFirst(peer, bytes, size, endpoint, nowMs);
            break;
        case Role::lobby:
            receiveFromLobby(bytes, size, endpoint);
            break;
        case Role::client:
            receiveFromClient(peer, bytes, size, endpoint);
            break;
    }
}

void ClientGate::receiveFirst(Peer& peer, const u8* bytes, std::size_t size, const std::string& endpoint,
                              u64 nowMs) {
    const auto parsed = parse(bytes, size);
    if (!parsed) return reject(endpoint, endpoint + " disconnected: it sent a packet that does not parse");
    if (parsed->command.commandId == link::hello) {
        const std::string address = Ferro::TcpAcceptor::addressOf(endpoint);
        if (std::find(lobbyAddresses_.begin(), lobbyAddresses_.end(), address) == lobbyAddresses_.end())
            return reject(endpoint,
                          "Refused a lobby's hello from " + endpoint + ": not an address of the lobby");
        LinkMessage hello;
        try {
            hello = ZarnOnline::decodeLinkMessage(bytes, size);
        } catch (const std::exception& e) {
            return reject(endpoint, endpoint + " disconnected: it sent a hello that does not parse");
        }
        if (hello.version != link::kVersion)
            return reject(endpoint, "Refused the lobby at " + endpoint + ": link version " +
                                        std::to_string(hello.version));
        if (!link_.empty()) {
            logger_.log(severity::warn, "The lobby at " + endpoint + " replaces the link from " + link_);
            const std::string old = link_;
            host_.closeConnection(old);
            peers_.erase(old);
        }
        peer.role = Role::lobby;
        link_ = endpoint;
        ++epoch_;
        LinkMessage welcome;
        welcome.kind = link::welcome;
        welcome.version = link::kVersion;
        welcome.players = static_cast<u32>(grants_.size());
        host_.sendTo(link_, ZarnOnline::encodeLinkMessage(kGameServerID, ++linkNumber_, welcome));
        logger_.log(severity::info, "The lobby's link is up from " + endpoint);
        return;
    }
    if (const auto broken = brokenRule(*parsed))
        return reject(endpoint, endpoint + " disconnected: it sent " + *broken);
    admit(peer, parsed->packet.senderClientId, bytes, size, endpoint, nowMs);
}

void ClientGate::admit(Peer& peer, u32 id, const u8* bytes, std::size_t size, const std::string& endpoint,
                       u64 nowMs) {
    const std::string refused = "Refused client ID " + std::to_string(id) + " from " + endpoint + ": ";
    peer.id = id;  // the refusal's log line is kept apart per client ID
    const auto it = grants_.find(id);
    if (it == grants_.end()) return reject(endpoint, refused + "the lobby announced no such player");
    Grant& grant = it->second;
    if (grant.address != Ferro::TcpAcceptor::addressOf(endpoint))
        return reject(endpoint, refused + "the lobby announced it from " + grant.address);
    if (!grant.endpoint.empty()) return reject(endpoint, refused + "it plays from " + grant.endpoint);
    grant.endpoint = endpoint;
    peer.role = Role::client;
    peer.id = id;
    peer.lastHeardMs = nowMs;
    peer.replay.emplace_back(bytes, bytes + size);
    routes_.set(id, endpoint);
    if (!seatInGame(peer, endpoint)) reject(endpoint, refused + "its game cannot be opened");
}

bool ClientGate::seatInGame(Peer& peer, const std::string& endpoint) {
    const Grant& grant = grants_.at(peer.id);
    Instance& instance = instances_.at(grant.instance);
    if (!instance.game) {
        instance.game = host_.openGame(instance.terms);
        if (!instance.game) return false;
        logger_.log(severity::info,
                    "A game of instance " + std::to_string(instance.terms.instanceID) + " starts");
    }
    peer.game = instance.game.get();
    peer.takenIn = false;
    peer.seated = false;
    peer.lastNumber = 0;
    peer.held = peer.replay;
    announce(*instance.game, grant.player);
    logger_.log(severity::info, "Client " + std::to_string(peer.id) + " from " + endpoint +
                                    " joins instance " + std::to_string(instance.terms.instanceID) +
                                    " as player " + std::to_string(grant.player.number) + " \"" +
                                    grant.player.name + "\"");
    return true;
}

void ClientGate::announce(HostedGame& game, const PlayerInfo& player) {
    // The game adds the player, then tells the gate (tookIn) that the held
    // packets may follow.
    Corvel::CommandHeader join(0, ServerCommandId::addPlayer, 0, true);
    join.commandNumber = ++hostNumber_;
    Convinience::Buffer buffer(64);
    join.serialize(buffer);
    AddPlayerHeader(AddPlayerHeader::kNearPlayer, GeometryLib::Point(), player).serialize(buffer);
    inject(game, Corvel::QueuedMessage{0, kGameServerID, 1, buffer.takeBytes()});
}

void ClientGate::receiveFromClient(Peer& peer, const u8* bytes, std::size_t size,
                                   const std::string& endpoint) {
    const auto parsed = parse(bytes, size);
    const std::string who =
        "Client " + std::to_string(peer.id) + " at " + endpoint + " disconnected: it sent ";
    if (!parsed) return reject(endpoint, who + "a packet that does not parse");
    if (const auto broken = brokenRule(*parsed)) return reject(endpoint, who + *broken);
    if (parsed->packet.senderClientId != peer.id) return reject(endpoint, who + "another client's ID");
    if (!peer.seated && peer.replay.size() < kHeldLimit) peer.replay.emplace_back(bytes, bytes + size);
    if (!peer.takenIn) {
        if (peer.held.size() < kHeldLimit) peer.held.emplace_back(bytes, bytes + size);
        return;
    }
    forward(peer, bytes, size, parsed->packet.isReliable());
}

void ClientGate::receiveDatagram(const u8* bytes, std::size_t size, const std::string& source, u64 nowMs) {
    const auto bad = [&](const std::string& reason) {
        ++badDatagrams_;
        limited_.log(severity::warn, "bad datagrams from " + source,
                     "Dropped a datagram from " + source + ": " + reason);
    };
    const auto parsed = parse(bytes, size);
    if (!parsed) return bad("it does not parse");
    if (const auto broken = brokenRule(*parsed)) return bad("it holds " + *broken);
    if (parsed->packet.isReliable()) return bad("it claims to be reliable");
    const u32 command = parsed->command.commandId;
    if (command != ServerCommandId::stateUpdate && command != ServerCommandId::input)
        return bad("command " + std::to_string(command) + " does not come by datagram");
    const u32 id = parsed->packet.senderClientId;
    const auto grant = grants_.find(id);
    if (grant == grants_.end() || grant->second.endpoint.empty())
        return bad("client ID " + std::to_string(id) + " is not playing");
    if (Ferro::TcpAcceptor::addressOf(source) != grant->second.address)
        return bad("client " + std::to_string(id) + " plays from another address");
    const auto it = peers_.find(grant->second.endpoint);
    if (it == peers_.end()) return bad("client " + std::to_string(id) + " has no connection");
    Peer& peer = it->second;
    peer.lastHeardMs = nowMs;
    if (!peer.takenIn) return;  // its join has not run yet
    const u32 number = parsed->command.commandNumber;
    if (number > peer.lastNumber && number - peer.lastNumber >= kNumberWindow)
        return bad("command number " + std::to_string(number) + " is far past the client's");
    if (peer.datagramsFrom != source) {
        const auto from = Ferro::parseEndpoint(source);
        if (!from) return bad("its source cannot be answered");
        peer.datagramsFrom = source;
        routes_.setUnreliable(id, *from);
    }
    if (!peer.seated && peer.replay.size() < kHeldLimit) peer.replay.emplace_back(bytes, bytes + size);
    forward(peer, bytes, size, false);
}

void ClientGate::forward(Peer& peer, const u8* bytes, std::size_t size, bool reliable) {
    const u32 number = commandNumberOf(bytes);
    if (number != 0) {
        if (number <= peer.lastNumber) return;  // a repeat (a resend or a late datagram)
        peer.lastNumber = number;
    }
    Convinience::ByteReader reader(bytes, size);
    const Ferro::Packet1337Header header(reader);
    Corvel::QueuedMessage record{peer.id, header.destinationClientId, static_cast<u8>(reliable ? 1 : 0),
                                 reader.readBytes(header.payloadLength)};
    pushOrWait(*peer.game, std::move(record), reliable, grants_.at(peer.id).endpoint);
}

void ClientGate::inject(HostedGame& game, Corvel::QueuedMessage&& record) {
    pushOrWait(game, std::move(record), true, std::string());
}

void ClientGate::pushOrWait(HostedGame& game, Corvel::QueuedMessage&& record, bool mustArrive,
                            const std::string& from) {
    auto waiting = waiting_.find(&game);
    if (waiting == waiting_.end() || waiting->second.records.empty()) {
        if (game.push(std::move(record))) {
            host_.wakeGame(game);
            return;
        }
        waiting = waiting_.try_emplace(&game).first;
    }
    auto& records = waiting->second.records;
    if (records.size() >= kWaitingLimit && !from.empty()) {
        // A client's own flood: its unreliable records go, and a client whose
        // reliable ones do not fit goes.
        if (mustArrive)
            reject(from, "Client " + std::to_string(record.fromClientId) + " at " + from +
                             " disconnected: it sent more than its game takes");
        return;
    }
    records.push_back(std::move(record));
    host_.wakeGame(game);
}

void ClientGate::flushWaiting() {
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        HostedGame& game = *const_cast<HostedGame*>(it->first);
        auto& records = it->second.records;
        while (!records.empty() && game.push(std::move(records.front()))) records.pop_front();
        host_.wakeGame(game);
        it = records.empty() ? waiting_.erase(it) : std::next(it);
    }
}

void ClientGate::reject(const std::string& endpoint, const std::string& reason) {
    const auto peer = peers_.find(endpoint);
    const u32 id = peer == peers_.end() ? 0 : peer->second.id;
    limited_.log(severity::warn,
                 "clients refused or disconnected from " + Ferro::TcpAcceptor::addressOf(endpoint) +
                     (id != 0 ? " as " + std::to_string(id) : std::string()),
                 reason);
    ++rejected_;
    host_.closeConnection(endpoint);
    leave(endpoint);
}

void ClientGate::ended(const std::string& endpoint) {
    leave(endpoint);
}

void ClientGate::leave(const std::string& endpoint) {
    const auto it = peers_.find(endpoint);
    if (it == peers_.end()) return;
    Peer peer = std::move(it->second);
    peers_.erase(it);
    if (peer.role == Role::lobby) {
        if (link_ == endpoint) link_.clear();
        logger_.log(severity::warn, "The lobby's link from " + endpoint + " ended");
        return;
    }
    if (peer.role != Role::client) return;
    // A player the game took in leaves it; one whose join is still on its
    // way is taken out when the game tells of it (tookIn).
    if (peer.game != nullptr && peer.takenIn) {
        Corvel::CommandHeader exit(peer.id, ServerCommandId::exitGame, 0, true);
        inject(*peer.game, Corvel::QueuedMessage{peer.id, kGameServerID, 1, headerBytes(exit)});
    }
    routes_.remove(peer.id);
    logger_.log(severity::info, "Client " + std::to_string(peer.id) + " left the game");
    dropGrant(peer.id);
}

void ClientGate::tookIn(HostedGame& game, u32 clientID) {
    const auto grant = grants_.find(clientID);
    const auto it = grant == grants_.end() ? peers_.end() : peers_.find(grant->second.endpoint);
    if (it == peers_.end() || it->second.game != &game) {
        // The client left (or moved to another game) while its join was on
        // its way: its unit goes again.
        Corvel::CommandHeader exit(clientID, ServerCommandId::exitGame, 0, true);
        inject(game, Corvel::QueuedMessage{clientID, kGameServerID, 1, headerBytes(exit)});
        return;
    }
    const std::string endpoint = it->first;
    it->second.takenIn = true;
    std::vector<std::vector<u8>> held = std::move(it->second.held);
    it->second.held.clear();
    for (const auto& packet : held) {
        // A held packet may have been the client's last (a rejection).
        const auto again = peers_.find(endpoint);
        if (again == peers_.end()) return;
        const auto parsed = parse(packet.data(), packet.size());
        forward(again->second, packet.data(), packet.size(), parsed && parsed->packet.isReliable());
    }
}

void ClientGate::seated(HostedGame& game, u32 clientID) {
    const auto grant = grants_.find(clientID);
    if (grant == grants_.end()) return;
    const auto it = peers_.find(grant->second.endpoint);
    if (it == peers_.end() || it->second.game != &game) return;
    it->second.seated = true;
    std::vector<std::vector<u8>>().swap(it->second.replay);
}

ClientGate::Instance* ClientGate::instanceOf(const HostedGame& game, InstanceKey* key) {
    for (auto& [at, instance] : instances_) {
        const bool holds = instance.game.get() == &game ||
                           std::any_of(instance.closing.begin(), instance.closing.end(),
                                       [&](const auto& closing) { return closing.get() == &game; });
        if (!holds) continue;
        if (key) *key = at;
        return &instance;
    }
    return nullptr;
}

void ClientGate::finished(HostedGame& game) {
    InstanceKey key;
    Instance* instance = instanceOf(game, &key);
    if (instance == nullptr) return;
    logger_.log(severity::info,
                "The room of instance " + std::to_string(instance->terms.instanceID) + " is over");
    LinkMessage ended;
    ended.kind = link::gameEnded;
    ended.instance.instanceID = key.instanceID;
    tellLobby(key, ended);
    retire(game, "its room is over");
}

void ClientGate::closed(HostedGame& game) {
    retire(game, "it is empty and closes");
}

void ClientGate::retire(HostedGame& game, const std::string& why) {
    InstanceKey key;
    Instance* instance = instanceOf(game, &key);
    if (instance == nullptr || instance->game.get() != &game) return;
    instance->closing.push_back(std::move(instance->game));
    logger_.log(severity::info, "The game of instance " + std::to_string(instance->terms.instanceID) +
                                    " takes no new players: " + why);
    // Whoever was on the way into it goes into a fresh game.
    std::vector<std::string> moving;
    for (const auto& [endpoint, peer] : peers_)
        if (peer.game == &game && !peer.seated) moving.push_back(endpoint);
    for (const std::string& endpoint : moving) {
        auto it = peers_.find(endpoint);
        if (it != peers_.end() && !seatInGame(it->second, endpoint))
            reject(endpoint, "Client " + std::to_string(it->second.id) + " at " + endpoint +
                                 " disconnected: its game cannot be opened");
    }
}

void ClientGate::kicked(HostedGame& game, const std::vector<u32>& clientIDs) {
    for (u32 id : clientIDs) {
        const auto grant = grants_.find(id);
        if (grant == grants_.end()) continue;
        const auto it = peers_.find(grant->second.endpoint);
        if (it == peers_.end() || it->second.game != &game) continue;
        const std::string endpoint = it->first;
        reject(endpoint,
               "Client " + std::to_string(id) + " at " + endpoint + " disconnected: too slow for the game");
    }
}

void ClientGate::ended(HostedGame& game) {
    InstanceKey key;
    Instance* instance = instanceOf(game, &key);
    if (instance == nullptr) return;
    std::shared_ptr<HostedGame> gone;
    if (instance->game.get() == &game) {
        gone = std::move(instance->game);
    } else {
        const auto at = std::find_if(instance->closing.begin(), instance->closing.end(),
                                     [&](const auto& closing) { return closing.get() == &game; });
        gone = std::move(*at);
        instance->closing.erase(at);
    }
    waiting_.erase(&game);
    std::vector<std::string> affected;
    for (const auto& [endpoint, peer] : peers_)
        if (peer.game == &game) affected.push_back(endpoint);
    for (const std::string& endpoint : affected) {
        auto it = peers_.find(endpoint);
        if (it == peers_.end()) continue;
        Peer& peer = it->second;
        if (!peer.seated && seatInGame(peer, endpoint)) continue;
        // A player whose game has gone is let go: the client sees its
        // connection end.
        peer.game = nullptr;
        reject(endpoint,
               "Client " + std::to_string(peer.id) + " at " + endpoint + " disconnected: its game ended");
    }
    host_.retireGame(std::move(gone));
    settle(key);
}

void ClientGate::receiveFromLobby(const u8* bytes, std::size_t size, const std::string& endpoint) {
    LinkMessage message;
    try {
        message = ZarnOnline::decodeLinkMessage(bytes, size);
    } catch (const std::exception& e) {
        return reject(endpoint, "The lobby at " + endpoint + " disconnected: it sent " + e.what());
    }
    switch (message.kind) {
        case link::grant:
            grant(message, peers_.at(endpoint).lastHeardMs);
            break;
        case link::revoke:
            revoke(message.instance.instanceID, message.player.clientID);
            break;
        default:
            reject(endpoint, "The lobby at " + endpoint + " disconnected: it sent link message " +
                                 std::to_string(message.kind));
            break;
    }
}

void ClientGate::grant(const LinkMessage& message, u64 nowMs) {
    const InstanceKey key{epoch_, message.instance.instanceID};
    const u32 id = message.player.clientID;
    const auto refuse = [&](const std::string& why) {
        logger_.log(severity::warn, "Refused the lobby's place for client " + std::to_string(id) +
                                        " in instance " + std::to_string(key.instanceID) + ": " + why);
        LinkMessage left;
        left.kind = link::playerLeft;
        left.instance.instanceID = key.instanceID;
        left.player.clientID = id;
        tellLobby(key, left);
    };
    if (id < kFirstClientID) return refuse("client IDs start at " + std::to_string(kFirstClientID));
    const auto held = grants_.find(id);
    if (held != grants_.end()) {
        if (held->second.instance == key) return;  // the same place again (already answered)
        return refuse("the client ID is in play");
    }
    auto instance = instances_.find(key);
    if (instance == instances_.end()) {
        if (!host_.servesMap(message.instance.mapHash))
            return refuse("no map of hash " + std::to_string(message.instance.mapHash) + " is served here");
        instance = instances_.emplace(key, Instance{message.instance, nullptr, {}, 0}).first;
    }
    if (instance->second.grants >= instance->second.terms.capacity) {
        refuse("the instance is full");
        return settle(key);
    }
    ++instance->second.grants;
    grants_[id] = Grant{key, message.player, message.address, nowMs, std::string()};
    LinkMessage placed;
    placed.kind = link::placed;
    placed.instance.instanceID = key.instanceID;
    placed.player.clientID = id;
    tellLobby(key, placed);
    logger_.log(severity::info, "The lobby gives client " + std::to_string(id) + " from " + message.address +
                                    " a place in instance " + std::to_string(key.instanceID) + " as player " +
                                    std::to_string(message.player.number) + " \"" + message.player.name +
                                    "\"");
}

void ClientGate::revoke(u32 instanceID, u32 clientID) {
    const auto it = grants_.find(clientID);
    if (it == grants_.end() || it->second.instance != InstanceKey{epoch_, instanceID}) return;
    // A player already in play keeps its place.
    if (!it->second.endpoint.empty()) return;
    dropGrant(clientID);
}

void ClientGate::dropGrant(u32 clientID) {
    const auto it = grants_.find(clientID);
    if (it == grants_.end()) return;
    const InstanceKey key = it->second.instance;
    grants_.erase(it);
    const auto instance = instances_.find(key);
    if (instance != instances_.end() && instance->second.grants > 0) --instance->second.grants;
    LinkMessage left;
    left.kind = link::playerLeft;
    left.instance.instanceID = key.instanceID;
    left.player.clientID = clientID;
    tellLobby(key, left);
    settle(key);
}

void ClientGate::tellLobby(const InstanceKey& key, LinkMessage message) {
    if (key.epoch != epoch_ || link_.empty()) return;
    host_.sendTo(link_, ZarnOnline::encodeLinkMessage(kGameServerID, ++linkNumber_, message));
}

void ClientGate::settle(const InstanceKey& key) {
    const auto it = instances_.find(key);
    if (it == instances_.end()) return;
    const Instance& instance = it->second;
    if (instance.grants != 0 || instance.game || !instance.closing.empty()) return;
    instances_.erase(it);
    LinkMessage ended;
    ended.kind = link::gameEnded;
    ended.instance.instanceID = key.instanceID;
    tellLobby(key, ended);
    logger_.log(severity::info, "Instance " + std::to_string(key.instanceID) + " has ended");
}

void ClientGate::housekeeping(u64 nowMs) {
    std::vector<std::string> quiet;
    std::vector<std::string> silent;
    for (const auto& [endpoint, peer] : peers_) {
        if (peer.role == Role::unknown && nowMs - peer.openedAtMs >= timeouts_.identifyMs)
            quiet.push_back(endpoint);
        if (peer.role == Role::client && nowMs - peer.lastHeardMs >= timeouts_.silenceMs)
            silent.push_back(endpoint);
    }
    for (const std::string& endpoint : quiet) {
        limited_.log(severity::info, "quiet connections closed",
                     "Closed the connection from " + endpoint + ": it said nothing for " +
                         std::to_string(timeouts_.identifyMs / 1000) + " s");
        host_.closeConnection(endpoint);
        peers_.erase(endpoint);
    }
    for (const std::string& endpoint : silent) {
        const auto it = peers_.find(endpoint);
        if (it == peers_.end()) continue;
        reject(endpoint, "Client " + std::to_string(it->second.id) + " at " + endpoint +
                             " disconnected: silent for " + std::to_string(timeouts_.silenceMs / 1000) +
                             " s");
    }
    std::vector<u32> lapsed;
    for (const auto& [id, grant] : grants_)
        if (grant.endpoint.empty() && nowMs - grant.grantedAtMs >= timeouts_.grantMs) lapsed.push_back(id);
    for (u32 id : lapsed) {
        logger_.log(severity::info, "The place of client " + std::to_string(id) + " lapsed unused");
        dropGrant(id);
    }
    flushWaiting();
    limited_.flush();
}

}  // namespace Zarn
