#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/Types.h"
#include "online/game/HostedGame.h"

namespace Zarn {

// The threads that run the game server's games: a few workers (one per CPU
// by default), each running many games in turns, so that a game tick costs
// no thread switch of its own. A game stays on the worker it was given for
// its whole life; that worker is its server thread. A worker turns a game
// when records came for it (wake) and at least every 30 ms; a game whose
// turn says it has ended is let go (HostedGame::finish).
//
// Threads: add and wake from any thread (the I/O thread); start, stop and the
// destructor from the owner's thread.
class GameWorkers : public HostedGame::Runner {
public:
    static constexpr u32 kTurnMs = 30;

    // threads: at least 1.
    explicit GameWorkers(std::size_t threads);
    ~GameWorkers() override;
    GameWorkers(const GameWorkers&) = delete;
    GameWorkers& operator=(const GameWorkers&) = delete;

    void start();
    // Stops and joins the workers; their games stay as they are (not
    // finished). Safe more than once.
    void stop();

    // Gives the game to the worker that runs the fewest.
    void add(std::shared_ptr<HostedGame> game);
    // HostedGame::Runner: the game has records.
    void wake(HostedGame& game) override;

    std::size_t threads() const { return workers_.size(); }
    // The number of CPUs this process may run on (at least 1).
    static std::size_t availableCpus();

private:
    struct Worker;

    void run(Worker& worker);

    std::vector<std::unique_ptr<Worker>> workers_;
    bool started_ = false;
};

}  // namespace Zarn
