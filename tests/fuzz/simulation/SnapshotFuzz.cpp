// fuzz-links: simulation
// Parses arbitrary bytes as the snapshot records a peer sends (a game state
// against a room holding every state class, a state synchronisation, a kick
// list, a player info). A parse either succeeds within the input or throws
// InvalidCommandDataException; a game state that parses writes back exactly
// the bytes it consumed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "../../simulation/support/StateWorld.h"
#include "foundation/Logger.h"
#include "simulation/managers/PlayerInfo.h"
#include "simulation/state/GameState.h"

namespace {

struct Room {
    Room() {
        const u32 traps[][2] = {{1, 43}, {2, 49}, {3, 129}, {4, 132}, {5, 133}, {6, 147}};
        for (const auto& t : traps) world.addTrap(t[0], t[1]);
        const u32 elements[][2] = {{10, 35},  {11, 36},  {12, 60},  {13, 140},
                                   {14, 300}, {15, 348}, {16, 379}, {17, 443}};
        for (const auto& e : elements) world.addElement(e[0], e[1]);
    }
    zarn_test::StateWorld world;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static Room room;
    Convinience::ByteReader reader(data + 1, size - 1);
    try {
        switch (data[0] % 4) {
            case 0: {
                const Zarn::GameState state(reader, room.world.factories);
                const std::vector<u8> again = state.toBytes();
                if (again.size() != reader.position() || state.serializedSize() != again.size() ||
                    std::memcmp(again.data(), data + 1, again.size()) != 0) {
                    std::abort();
                }
                break;
            }
            case 1: {
                const Zarn::CommandData command(reader, room.world.factories);
                if (command.serializedSize() != reader.position()) std::abort();
                break;
            }
            case 2: {
                const Zarn::KickPlayersHeader kick(reader);
                if (kick.serializedSize() != reader.position()) std::abort();
                break;
            }
            default: {
                const Zarn::PlayerInfo info(reader);
                (void)info;
                break;
            }
        }
    } catch (const Convinience::InvalidCommandDataException&) {
    }
    if (reader.position() > size - 1) std::abort();
    return 0;
}
