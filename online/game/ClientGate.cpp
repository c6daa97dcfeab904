#include "online/game/ClientGate.h"

#include <exception>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "net/Packet.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/AddPlayerHeaders.h"

namespace Zarn {

namespace severity = Convinience::severity;

namespace {

bool clientMaySend(u32 commandId) {
    return commandId == ServerCommandId::stateUpdate || commandId == ServerCommandId::input ||
           commandId == ServerCommandId::exitGame || commandId == ServerCommandId::gameInstanceUpdate;
}

}  // namespace

ClientGate::ClientGate(Host& host, Ferro::ClientEndpointTable& endpoints, Ferro::RecieverProcessor& receiver,
                       Corvel::MessageQueue& gameIncoming)
    : host_(host), endpoints_(endpoints), receiver_(receiver), gameIncoming_(gameIncoming) {}

void ClientGate::receive(const u8* bytes, std::size_t size, const std::string& endpoint) {
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
    if (it == peers_.end()) return admit(header.senderClientId, bytes, size, endpoint);
    Peer& peer = it->second;
    if (header.senderClientId != peer.id) return reject(endpoint, "another client's ID");
    if (!peer.joined) {
        if (peer.held.size() < kHeldLimit) peer.held.emplace_back(bytes, bytes + size);
        return;
    }
    forward(peer, bytes, size, endpoint);
}

void ClientGate::admit(u32 id, const u8* bytes, std::size_t size, const std::string& endpoint) {
    if (id < kFirstClientId) return reject(endpoint, "client ID " + std::to_string(id) + " below 10");
    if (endpointOf_.count(id)) return reject(endpoint, "client ID " + std::to_string(id) + " taken");
    if (!endpoints_.assign(id, endpoint)) return reject(endpoint, "an endpoint that is taken");
    std::vector<u8> taken;
    for (const auto& [at, other] : peers_) taken.push_back(other.number);
    Peer& peer = peers_[endpoint];
    peer.id = id;
    peer.number = lowestFreePlayerNumber(taken);
    endpointOf_[id] = endpoint;
    peer.held.emplace_back(bytes, bytes + size);
    // The join the lobby would send: the game adds the player, then its
    // registrar has the host release the held packets.
    Corvel::CommandHeader join(0, ServerCommandId::addPlayer, 0, true);
    join.commandNumber = nextHostNumber();
    Convinience::Buffer buffer(64);
    join.serialize(buffer);
    AddPlayerHeader(AddPlayerHeader::kNearPlayer, GeometryLib::Point(),
                    PlayerInfo(id, peer.number, "Player " + std::to_string(id)))
        .serialize(buffer);
    host_.joinWaiting();
    inject(0, buffer.takeBytes());
    logger_.log(severity::info, "Client " + std::to_string(id) + " joins from " + endpoint + " as player " +
                                    std::to_string(peer.number));
}

void ClientGate::forward(Peer& peer, const u8* bytes, std::size_t size, const std::string& endpoint) {
    // Every packet here parsed with a whole command header: the command
    // number follows the 33-byte packet header and the command's client and
    // command IDs.
    Convinience::ByteReader reader(bytes + Ferro::Packet1337Header::kSize + 8,
                                   size - Ferro::Packet1337Header::kSize - 8);
    const u32 number = reader.readU32();
    if (number != 0) {
        if (number <= peer.lastNumber) return;  // a repeat (a resend or a late datagram)
        peer.lastNumber = number;
    }
    receiver_.receive(bytes, size, endpoint);
    host_.wakeGame();
}

void ClientGate::release(u32 clientId) {
    auto at = endpointOf_.find(clientId);
    if (at == endpointOf_.end()) return;
    const std::string endpoint = at->second;
    auto it = peers_.find(endpoint);
    if (it == peers_.end() || it->second.joined) return;
    it->second.joined = true;
    std::vector<std::vector<u8>> held = std::move(it->second.held);
    for (const auto& packet : held) {
        // A held packet may have been the client's last (a rejection).
        auto again = peers_.find(endpoint);
        if (again == peers_.end()) return;
        forward(again->second, packet.data(), packet.size(), endpoint);
    }
}

void ClientGate::reject(const std::string& endpoint, const std::string& reason) {
    auto it = peers_.find(endpoint);
    const std::string who =
        it == peers_.end() ? endpoint : "Client " + std::to_string(it->second.id) + " at " + endpoint;
    logger_.log(severity::warn, who + " disconnected: it sent " + reason);
    ++rejected_;
    host_.closeConnection(endpoint);
    leave(endpoint);
}

void ClientGate::rejectClient(u32 clientId, const std::string& reason) {
    auto it = endpointOf_.find(clientId);
    if (it != endpointOf_.end()) reject(std::string(it->second), reason);
}

void ClientGate::leave(const std::string& endpoint) {
    auto it = peers_.find(endpoint);
    if (it == peers_.end()) return;
    const u32 id = it->second.id;
    endpointOf_.erase(id);
    endpoints_.remove(id);
    peers_.erase(it);
    Corvel::CommandHeader exit(id, ServerCommandId::exitGame, 0, true);
    Convinience::Buffer buffer(64);
    exit.serialize(buffer);
    inject(id, buffer.takeBytes());
    logger_.log(severity::info, "Client " + std::to_string(id) + " left the game");
}

void ClientGate::injectHostCommand(std::vector<u8> bytes) {
    inject(0, std::move(bytes));
}

void ClientGate::inject(u32 from, std::vector<u8> bytes) {
    Corvel::QueuedMessage record;
    record.fromClientId = from;
    record.toClientId = kServerId;
    record.reliable = 1;
    record.bytes = std::move(bytes);
    if (!gameIncoming_.push(std::move(record)))
        logger_.log(severity::error, "The game's incoming ring is full: a host record was dropped");
    host_.wakeGame();
}

}  // namespace Zarn
