// fuzz-links: simulation zarn_map_test_support
// Feeds arbitrary message records to both command factories: the client's
// (state synchronisations, players joining, leaving, kicked, the game
// instance, the exit confirmation) and the server's (state updates, inputs,
// joins with their spawn modes, exits, fromID, game-instance updates). The
// first byte picks the side, the second the record's route 1; the rest are
// the record's bytes. Creating a command either succeeds or throws one of the
// factories' documented exceptions; a created command is executed, and what
// it may throw is the game's own failure types, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "../../simulation/support/RoomFixtures.h"
#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/core/ChatLineQueue.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"
#include "simulation/server/ZarnServer.h"

namespace {

// Remade every so often so that joined players do not pile up.
struct Sides {
    Sides() {
        client.setInputManager(&inputs);
        client.setLocalClientID(1);
        std::istringstream in = zarn_test::fixtureRoom().stream();
        server.loadMap(in);
        server.addClient(0);
        server.gameInstance().players.insert(0);
    }

    Corvel::MessageQueue clientIn{4};
    Corvel::MessageQueue clientOut{4};
    Zarn::InputManager inputs;
    Zarn::ClientGameCore client{clientIn, clientOut};
    Corvel::MessageQueue serverIn{4};
    Corvel::MessageQueue serverOut{4096};
    Convinience::ManualTickClock clock;
    Zarn::ZarnServer server{serverIn, serverOut, clock};
};

void runCommand(std::unique_ptr<Convinience::Command> command) {
    if (!command) return;
    try {
        command->execute();
    } catch (const std::exception&) {
        // The game's failure types (no such player info, unknown clients,
        // state buffer errors); the callers log them and go on.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static std::unique_ptr<Sides> sides;
    static unsigned runs = 0;
    if (!sides || ++runs % 512 == 0) sides = std::make_unique<Sides>();
    Zarn::chatLineQueue().clear();

    Corvel::QueuedMessage message;
    message.fromClientId = data[1];
    message.bytes.assign(data + 2, data + size);
    std::unique_ptr<Convinience::Command> command;
    try {
        if (data[0] % 2 == 0) {
            command = sides->client.incomingCommands().create(message);
        } else {
            command = sides->server.commandFactory().create(message);
        }
    } catch (const Convinience::InvalidCommandDataException&) {
    } catch (const Convinience::ClientIDNotFoundException&) {
    } catch (const Convinience::Error&) {
        // "no such scorekeeper" of a score block.
    }
    runCommand(std::move(command));
    // The server's own immediate list (exits) and queued replies.
    sides->server.runCommandBatch();
    Corvel::QueuedMessage drop;
    while (sides->serverOut.pop(drop)) {
    }
    return 0;
}
