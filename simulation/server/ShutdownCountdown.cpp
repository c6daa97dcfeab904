#include "simulation/server/ShutdownCountdown.h"

#include <string>

#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/GameInstance.h"
#include "simulation/server/HostRecord.h"

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
    outgoing_.push(makeHostRecord(instance_.fromID, HostCommandId::gameClosed));
    logger_.log(kInfo, "Game is now closed no further commands allowed");
}

}  // namespace Zarn
