#include "online/lobby/LobbyCommands.h"

#include "foundation/Buffer.h"

namespace ZarnLobby {

namespace sev = Convinience::severity;
namespace id = lobby_command;

Corvel::CommandHeader LocalLobbyCommand::header(u32 commandID) const {
    return Corvel::CommandHeader(context_.status->clientID, commandID, 0, true);
}

bool LocalLobbyCommand::requireState(u8 state, const char* error) const {
    if (context_.status->state == state) return true;
    logger_.log(sev::error, error);
    return false;
}

void LocalLobbyCommand::execute() {
    ClientStatus& status = *context_.status;
    switch (localID_) {
        case id::createRoom: {
            status.state = ENTERING_ROOM;
            Corvel::CommandHeader h = header(id::createRoom);
            context_.pusher->push(h);
            break;
        }
        case id::joinRoom: {
            if (!requireState(LOITERING, "Client cannot join a room if not LOITERING")) return;
            status.state = ENTERING_ROOM;
            Convinience::Buffer buffer(64);
            JoinRoomHeader(status.roomID).serialize(buffer);
            Corvel::CommandHeader h = header(id::joinRoom);
            context_.pusher->pushWithData(h, buffer.bytes());
            break;
        }
        case id::ready: {
            if (!requireState(MAP_VERIFIED, "Client player cannot be ready if map is not verified")) return;
            Corvel::CommandHeader h = header(id::ready);
            context_.pusher->push(h);
            break;
        }
        case id::localStartGame: {
            if (!requireState(READY, "Client cannot start game when not state is not READY")) return;
            Corvel::CommandHeader h = header(id::startGame);
            context_.pusher->push(h);
            break;
        }
        case id::quickJoin:
        case id::joinInstance: {
            if (!requireState(LOITERING, "Client cannot join a game if not LOITERING")) return;
            status.state = WAITING_QUICK_JOIN;
            Corvel::CommandHeader h = header(localID_);
            if (localID_ == id::joinInstance) h.fromClientId = status.clientID;
            context_.pusher->pushWithData(h, data_);
            break;
        }
        default:
            break;
    }
}

ReceivedLobbyCommand::ReceivedLobbyCommand(const LobbyContext& context, const Corvel::CommandHeader& header,
                                           Convinience::ByteReader& payload)
    : Corvel::IncomingCommand(header), context_(context) {
    switch (header.commandId) {
        case id::roomEntered:
            if (context_.status->state == LOITERING || context_.status->state == ENTERING_ROOM) {
                *context_.roomSlot = GameRoom::read(payload);
            }
            break;
        case id::roomSync:
            room_ = GameRoom::read(payload);
            break;
        case id::verifyMap:
            metadata_ = VerifyMapHeader(payload).metadata;
            break;
        case id::loadGame:
            quickJoin_.instance = Zarn::GameInstance(payload);
            break;
        case id::readyConfirmed:
            readyClientID_ = PlayerReadyHeader(payload).value;
            break;
        case id::quickLoad:
            quickJoin_ = QuickJoinHeader(payload);
            break;
        default:
            break;
    }
}

void ReceivedLobbyCommand::reply(u32 commandID, bool expectsConfirmation, u32 sender, u32 route1,
                                 u32 route2) {
    Corvel::CommandHeader h(sender, commandID, header.commandNumber, expectsConfirmation);
    h.fromClientId = route1;
    h.toClientId = route2;
    context_.pusher->push(h);
}

void ReceivedLobbyCommand::execute() {
    switch (header.commandId) {
        case id::roomEntered:
            enterRoom();
            break;
        case id::verifyMap:
            verifyMap();
            break;
        case id::loadGame:
            loadGame();
            break;
        case id::readyConfirmed:
            readyConfirmed();
            break;
        case id::startSimulation:
            startSimulation();
            break;
        case id::roomSync:
            syncRoom();
            break;
        case id::quickLoad:
            quickLoad();
            break;
        case id::instanceNotFound:
            context_.status->state = LOITERING;
            if (context_.notices) context_.notices->push_back(kNoSuchInstanceNotice);
            break;
        default:
            break;
    }
}

void ReceivedLobbyCommand::enterRoom() {
    GameRoom* room = context_.roomSlot->get();
    if (room == nullptr) {
        logger_.log(sev::warn, "Client cannot enter a room that does not exist");
        return;
    }
    ClientStatus& status = *context_.status;
    status.state = IN_ROOM;
    status.roomID = room->roomID;
    if (room->memberCount() == 0) room->add(status);
    Convinience::Buffer buffer(64);
    RoomEnteredHeader(status.roomID).serialize(buffer);
    Corvel::CommandHeader h(header.clientId, id::roomEnteredReply, header.commandNumber, true);
    context_.pusher->pushWithData(h, buffer.bytes());
}

void ReceivedLobbyCommand::verifyMap() {
    if (context_.status->state != IN_ROOM) {
        logger_.log(sev::error, "Client cannot verify map if not in a room");
        return;
    }
    Zarn::MultiplayerMapList maps;
    bool known = true;
    try {
        maps.findByHash(metadata_.mapHash);
    } catch (const Zarn::MapHashNotFoundException&) {
        known = false;
    }
    if (known && maps.verify(metadata_)) {
        context_.status->state = MAP_VERIFIED;
        reply(id::mapVerified, false, header.clientId);
    } else {
        reply(id::mapNotVerified, true, header.clientId);
    }
}

bool ReceivedLobbyCommand::knowsMap(u32 mapHash) {
    try {
        Zarn::MultiplayerMapList().findByHash(mapHash);
        return true;
    } catch (const Zarn::MapHashNotFoundException&) {
        logger_.log(sev::error, "Lobby asked to load unknown map hash " + std::to_string(mapHash));
        context_.status->state = LOITERING;
        if (context_.notices) context_.notices->push_back(kUnknownMapNotice);
        return false;
    }
}

void ReceivedLobbyCommand::loadGame() {
    ClientStatus& status = *context_.status;
    if (status.state != READY) {
        logger_.log(sev::error, "Client cannot load game if not READY");
        return;
    }
    if (!knowsMap(quickJoin_.instance.mapHash)) return;
    if (context_.loader) context_.loader->load(quickJoin_.instance, status.clientID);
    status.state = GAME_LOADED;
    reply(id::gameLoaded, true, header.clientId);
}

void ReceivedLobbyCommand::readyConfirmed() {
    ClientStatus& status = *context_.status;
    if (status.state != MAP_VERIFIED) {
        logger_.log(sev::error, "Client cannot confirm ready if map is not verified");
        return;
    }
    GameRoom* room = context_.roomSlot->get();
    ClientStatus* member = room ? room->find(readyClientID_) : nullptr;
    if (member == nullptr) return;
    member->state = READY;
    if (readyClientID_ == status.clientID) status.state = READY;
}

void ReceivedLobbyCommand::startSimulation() {
    ClientStatus& status = *context_.status;
    if (status.state != GAME_LOADED) {
        logger_.log(sev::error, "Client cannot start simulation if game is not loaded");
        return;
    }
    status.state = SIMULATING;
    reply(id::simulationStarted, false, status.clientID, status.clientID, header.fromClientId);
}

void ReceivedLobbyCommand::syncRoom() {
    const u8 state = context_.status->state;
    if (!room_) return;  // already taken by an earlier run
    if (state == LOITERING || state == ENTERING_ROOM || !*context_.roomSlot) {
        logger_.log(sev::warn, "Cannot sync room state if not already in room");
        return;
    }
    *context_.roomSlot = std::move(room_);
}

void ReceivedLobbyCommand::quickLoad() {
    ClientStatus& status = *context_.status;
    if (status.state != WAITING_QUICK_JOIN) {
        logger_.log(sev::error, "client cannot load quick game if lobby state is not WAITING_QUICK_JOIN");
        return;
    }
    if (!knowsMap(quickJoin_.instance.mapHash)) return;
    const Zarn::PlayerInfo& player = quickJoin_.player;
    status.clientID = player.clientID;
    if (context_.playerInfo) {
        context_.playerInfo->clientID = player.clientID;
        context_.playerInfo->number = player.number;
        context_.playerInfo->name = player.name;
    }
    if (context_.loader) context_.loader->load(quickJoin_.instance, status.clientID);
    status.state = GAME_LOADED;
    reply(id::quickLoaded, true, status.clientID, status.clientID, header.fromClientId);
}

}  // namespace ZarnLobby
