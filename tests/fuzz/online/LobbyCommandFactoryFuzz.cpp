// fuzz-links: online
// Feeds arbitrary messages to the lobby client's command factory. The first
// byte sets the client's lobby state, the rest is the message (header and
// payload). Creating a command either succeeds, answers null or throws
// InvalidCommandDataException; a created command is run through the lobby
// state's update like any received one, and must not crash.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/Error.h"
#include "online/lobby/ClientLobbyState.h"

namespace {

struct NullLoader : ZarnLobby::ClientGameLoader {
    void load(const Zarn::GameInstance&, u32) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Corvel::MessageQueue outgoing(257);
    Corvel::MessageQueue incoming(257);
    Corvel::ClientCommandState commands;
    NullLoader loader;
    ZarnLobby::ClientLobbyState lobby(outgoing, incoming, commands, &loader);
    lobby.status = ZarnLobby::ClientStatus(10, static_cast<u8>(data[0] % 10), 9);
    if (data[0] & 0x80) lobby.room = std::make_unique<ZarnLobby::GameRoom>(9);

    Corvel::QueuedMessage message;
    message.fromClientId = 1;
    message.toClientId = 10;
    message.bytes.assign(data + 1, data + size);
    incoming.push(std::move(message));
    lobby.update();
    Corvel::QueuedMessage out;
    while (outgoing.pop(out)) {
    }
    return 0;
}
