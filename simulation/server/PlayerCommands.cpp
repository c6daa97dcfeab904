#include "simulation/server/PlayerCommands.h"

#include <string>
#include <vector>

#include "foundation/Buffer.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/server/ClientManager.h"
#include "simulation/server/EndpointRegistrar.h"
#include "simulation/server/GameInstance.h"
#include "simulation/sync/GSCommandPusher.h"
#include "world/elements/SpawnPoints.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

namespace {

constexpr u32 kInfo = 1;
constexpr u32 kWarn = 2;
constexpr float kDefaultSpawnX = 96.0f;
constexpr float kDefaultSpawnY = 224.0f;

Corvel::CommandHeader outgoing(u32 sender, u32 commandId, u32 replyTo, u32 routeFrom, u32 routeTo) {
    Corvel::CommandHeader header(sender, commandId, replyTo, true);
    header.fromClientId = routeFrom;
    header.toClientId = routeTo;
    return header;
}

std::vector<u8> bytesOf(const Convinience::Serializable& record) {
    Convinience::Buffer buffer(64);
    record.serialize(buffer);
    return buffer.takeBytes();
}

std::vector<u8> u32Bytes(u32 value) {
    Convinience::Buffer buffer(4);
    buffer.appendU32(value);
    return buffer.takeBytes();
}

}  // namespace

void AddPlayerCommand::execute() {
    const u32 id = data.player.clientID;
    if (parts_.units.hasClient(id)) {
        logger_.log(kWarn, "Attemping to add client " + std::to_string(id) + " that already exists");
        return;
    }
    if (parts_.registrar) parts_.registrar->registerEndpoint(id, std::string());
    switch (data.spawnMode) {
        case AddPlayerHeader::kNearPlayer:
            spawnNearPlayer(id);
            break;
        case AddPlayerHeader::kAtPoint:
            spawnAt(id, GeometryLib::FPoint(data.point));
            break;
        case AddPlayerHeader::kNoSpawn:
            break;
        default:
            spawnDefault(id);
            break;
    }
    announceNewPlayer(id);
    logger_.log(kInfo, "New player added with clientID " + std::to_string(id));
}

void AddPlayerCommand::spawnAt(u32 id, const GeometryLib::FPoint& position) {
    parts_.clients.addClient(id);
    // Kept for the players who join after this one (command 11).
    parts_.infos.getInfo(id) = data.player;
    parts_.units.getUnit(id).body().position = position;
}

void AddPlayerCommand::spawnDefault(u32 id) {
    spawnAt(id, GeometryLib::FPoint(kDefaultSpawnX, kDefaultSpawnY));
}

void AddPlayerCommand::spawnNearPlayer(u32 id) {
    u32 firstId = 0;
    bool found = false;
    parts_.units.forEachUnit([&](u32 clientId, SteerableUnit&) {
        if (!found) firstId = clientId;
        found = true;
    });
    if (!found) {
        spawnDefault(id);
        logger_.log(kWarn, "Cannot spawn player near another player when room is empty");
        return;
    }
    const SteerableUnit& first = parts_.units.getUnit(firstId);
    const GeometryLib::FPoint position = first.body().position;
    const GeometryLib::Point spawn = parts_.spawns.spawnPointFor(first.handle());
    spawnAt(id, position);
    parts_.spawns.setSpawnPoint(parts_.units.getUnit(id).handle(), spawn);
}

void AddPlayerCommand::announceNewPlayer(u32 id) {
    if (parts_.instance.players.empty()) return;
    const GeometryLib::Point position(parts_.units.getUnit(id).body().position);
    const std::vector<u8> bytes = bytesOf(ClientAddPlayerHeader(data.player, position));
    for (u32 player : parts_.instance.players) {
        Corvel::CommandHeader joined =
            outgoing(player, ClientCommandId::addPlayer, 0, parts_.instance.fromID, player);
        parts_.pushers.pusherFor(player).pushRawWithData(joined, bytes);
    }
}

void PlayerExitCommand::execute() {
    const u32 leaving = header.clientId;
    instance_.players.erase(leaving);
    clients_.removeClient(leaving);
    if (registrar_) registrar_->removeEndpoint(leaving);
    // Client 0 (the host side) always has a pusher, also after it left itself.
    pushers_.addClient(0);
    const u32 fromId = instance_.fromID;
    GSCommandPusher& host = pushers_.pusherFor(0);
    Corvel::CommandHeader confirm = outgoing(leaving, ClientCommandId::exitGameConfirm, 0, fromId, leaving);
    host.pushRaw(confirm);
    for (u32 player : instance_.players) {
        Corvel::CommandHeader left = outgoing(player, ClientCommandId::playerExit, 0, fromId, player);
        pushers_.pusherFor(player).pushRawWithData(left, u32Bytes(leaving));
    }
    Corvel::CommandHeader report = outgoing(fromId, HostCommandId::playerLeft, 0, fromId, 0);
    host.pushRawWithData(report, bytesOf(instance_));
    logger_.log(kInfo, "Player clientID " + std::to_string(leaving) + " has left the game");
}

void SetGameFromIDCommand::execute() {
    instance_.fromID = fromId_;
    logger_.log(kInfo, "Game fromID set to " + std::to_string(fromId_));
    Corvel::CommandHeader confirm =
        outgoing(0, HostCommandId::fromIdConfirmed, header.commandNumber, fromId_, routeFrom_);
    pusher_.pushRaw(confirm);
}

void GameInstanceUpdateCommand::execute() {
    const u32 joining = header.clientId;
    GSCommandPusher& pusher = parts_.pushers.pusherFor(joining);
    const u32 fromId = parts_.instance.fromID;
    if (parts_.instance.players.insert(joining).second) {
        parts_.units.forEachUnit([&](u32 other, SteerableUnit& unit) {
            if (other == joining) return;
            const PlayerInfo info = parts_.infos.hasInfo(other) ? parts_.infos.getInfo(other)
                                                                : PlayerInfo(other, 0, std::string());
            const GeometryLib::Point position(unit.body().position);
            Corvel::CommandHeader met = outgoing(joining, ClientCommandId::addPlayer, 0, fromId, joining);
            pusher.pushRawWithData(met, bytesOf(ClientAddPlayerHeader(info, position)));
        });
    }
    Corvel::CommandHeader reply =
        outgoing(routeFrom_, ClientCommandId::gameInstanceConfirm, 0, fromId, routeFrom_);
    pusher.pushRawWithData(reply, bytesOf(parts_.instance));
    logger_.log(kInfo, "Updated client " + std::to_string(routeFrom_) + " game instance data");
}

}  // namespace Zarn
