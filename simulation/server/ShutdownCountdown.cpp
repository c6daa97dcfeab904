#include "simulation/server/ShutdownCountdown.h"

#include <string>

#include "foundation/Buffer.h"
#include "foundation/CommandHeader.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/GameInstance.h"

namespace Zarn {

namespace {
constexpr u32 kInfo = 1;
}  // namespace

void ShutdownCountdown::update() {
    if (finished_) return;
    if (checkPlayers()) return;
    start();
    const u64 elapsed = stopwatch_.elapsedMilliseconds() - start_;
    if (elapsed >= delay_ / 2 && open_) closeGame();
    if (elapsed >= delay_) finished_ = 1;
}

bool ShutdownCountdown::checkPlayers() {
    if (instance_.players.empty()) return false;
    if (counting_) {
        counting_ = 0;
        finished_ = 0;
        open_ = 1;
        logger_.log(kInfo, "Player joined shutdown countdown canceled");
    }
    return true;
}

void ShutdownCountdown::start() {
    if (counting_) return;
    start_ = stopwatch_.elapsedMilliseconds();
    counting_ = 1;
    logger_.log(kInfo, "Game is now empty, " + std::to_string(delay_) + " milliseconds until shutdown");
}

void ShutdownCountdown::closeGame() {
    open_ = 0;
    Corvel::CommandHeader header(instance_.fromID, HostCommandId::gameClosed, 0, true);
    header.fromClientId = instance_.fromID;
    header.toClientId = 0;
    Convinience::Buffer buffer(64);
    header.serialize(buffer);
    Corvel::QueuedMessage message;
    message.fromClientId = instance_.fromID;
    message.toClientId = 0;
    message.reliable = 1;
    message.bytes = buffer.takeBytes();
    outgoing_.push(std::move(message));
    logger_.log(kInfo, "Game is now closed no further commands allowed");
}

}  // namespace Zarn
