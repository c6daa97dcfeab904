#include "online/lobby/ClientLobbyState.h"

namespace ZarnLobby {

ClientLobbyState::ClientLobbyState(Corvel::MessageQueue& outgoing, Corvel::MessageQueue& incoming,
                                   Corvel::ClientCommandState& commands, ClientGameLoader* loader)
    : loader(loader),
      pusher(outgoing, 1),
      commands_(&commands),
      cursor_{&commands, 0},
      scheduler_(incoming, &factory_, commands),
      factory_(context()),
      localFactory_(context()) {
    commands.newestFirst = false;
}

LobbyContext ClientLobbyState::context() {
    return LobbyContext{&status, &room, &pusher, loader, &playerInfo, &notices};
}

void ClientLobbyState::reset() {
    status = ClientStatus();
    room.reset();
    logger.log(Convinience::severity::info, "Zarn lobby client ID set to 0");
}

bool ClientLobbyState::issue(u32 localCommandID, const std::vector<u8>& data) {
    std::unique_ptr<Convinience::Command> command = data.empty()
                                                        ? localFactory_.create(localCommandID)
                                                        : localFactory_.createWithData(localCommandID, data);
    if (!command) return false;
    commands_->immediate.push_back(std::move(command));
    return true;
}

void ClientLobbyState::update() {
    scheduler_.drainIncoming();
    Corvel::CommandScheduler::executeOrdered(cursor_);
    Corvel::CommandScheduler::executeImmediate(*commands_);
    Corvel::CommandScheduler::trimFirstHistory(*commands_);
    Corvel::CommandScheduler::trimHistoryVector(*commands_);
}

std::vector<std::string> ClientLobbyState::takeNotices() {
    std::vector<std::string> out(notices.begin(), notices.end());
    notices.clear();
    return out;
}

}  // namespace ZarnLobby
