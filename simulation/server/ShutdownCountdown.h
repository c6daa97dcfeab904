#pragma once

#include "foundation/Logger.h"
#include "foundation/Types.h"

namespace Convinience {
class Stopwatch;
}
namespace Corvel {
class MessageQueue;
}

namespace Zarn {

class GameInstance;

// Ends an abandoned game: once the game instance has no players, the game is
// closed to commands after half the delay (one command 25 is queued on the
// outgoing ring) and finished after the whole delay; a player that appears
// before then cancels the countdown and reopens the game. Times are the
// stopwatch's elapsed milliseconds.
//
// The instance, the stopwatch and the ring belong to the server and outlive
// the countdown. Used on the server thread only.
class ShutdownCountdown {
public:
    ShutdownCountdown(const GameInstance& instance, const Convinience::Stopwatch& stopwatch,
                      Corvel::MessageQueue& outgoing)
        : instance_(instance), stopwatch_(stopwatch), outgoing_(outgoing) {}

    // Once per idle pass of the server loop.
    void update();

    bool isOpen() const { return open_ != 0; }
    bool isCounting() const { return counting_ != 0; }
    bool isFinished() const { return finished_ != 0; }
    void setDelay(u32 milliseconds) { delay_ = milliseconds; }
    u32 delay() const { return delay_; }

private:
    // Whether the game has players; cancels a running countdown when it has.
    bool checkPlayers();
    void start();
    void closeGame();

    const GameInstance& instance_;
    const Convinience::Stopwatch& stopwatch_;
    Corvel::MessageQueue& outgoing_;
    u8 open_ = 1;
    u32 delay_ = 5000;
    u64 start_ = 0;
    u8 counting_ = 0;
    u8 finished_ = 0;
    Convinience::Logger logger_;
};

}  // namespace Zarn
