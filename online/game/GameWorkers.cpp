#include "online/game/GameWorkers.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace Zarn {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

struct GameWorkers::Worker {
    struct Entry {
        std::shared_ptr<HostedGame> game;
        Clock::time_point due;
    };

    std::mutex mutex;
    std::condition_variable wakeUp;
    bool pending = false;                               // guarded by mutex: a game was woken
    bool stopping = false;                              // guarded by mutex
    std::vector<std::shared_ptr<HostedGame>> arrivals;  // guarded by mutex
    std::atomic<std::size_t> load{0};
    std::vector<Entry> games;  // the worker's thread only
    std::thread thread;
};

std::size_t GameWorkers::availableCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(1, CPU_COUNT(&set));
}

GameWorkers::GameWorkers(std::size_t threads) {
    for (std::size_t i = 0; i < std::max<std::size_t>(threads, 1); ++i)
        workers_.push_back(std::make_unique<Worker>());
}

GameWorkers::~GameWorkers() {
    stop();
}

void GameWorkers::start() {
    if (started_) return;
    started_ = true;
    for (auto& worker : workers_) worker->thread = std::thread([this, w = worker.get()] { run(*w); });
}

void GameWorkers::stop() {
    for (auto& worker : workers_) {
        {
            std::lock_guard lock(worker->mutex);
            worker->stopping = true;
        }
        worker->wakeUp.notify_all();
    }
    for (auto& worker : workers_)
        if (worker->thread.joinable()) worker->thread.join();
}

void GameWorkers::add(std::shared_ptr<HostedGame> game) {
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < workers_.size(); ++i)
        if (workers_[i]->load.load() < workers_[chosen]->load.load()) chosen = i;
    Worker& worker = *workers_[chosen];
    ++worker.load;
    game->attach(*this, static_cast<u32>(chosen));
    {
        std::lock_guard lock(worker.mutex);
        worker.arrivals.push_back(std::move(game));
    }
    worker.wakeUp.notify_one();
}

void GameWorkers::wake(HostedGame& game) {
    if (game.wakeRequested.exchange(true)) return;
    Worker& worker = *workers_.at(game.worker());
    {
        std::lock_guard lock(worker.mutex);
        worker.pending = true;
    }
    worker.wakeUp.notify_one();
}

void GameWorkers::run(Worker& worker) {
    for (;;) {
        Clock::time_point due = Clock::now() + std::chrono::milliseconds(kTurnMs);
        for (const auto& entry : worker.games) due = std::min(due, entry.due);
        std::vector<std::shared_ptr<HostedGame>> arrivals;
        {
            std::unique_lock lock(worker.mutex);
            const auto woken = [&] { return worker.stopping || worker.pending || !worker.arrivals.empty(); };
            // A worker without games sleeps until one comes.
            if (worker.games.empty())
                worker.wakeUp.wait(lock, woken);
            else
                worker.wakeUp.wait_until(lock, due, woken);
            if (worker.stopping) return;
            worker.pending = false;
            arrivals.swap(worker.arrivals);
        }
        const Clock::time_point now = Clock::now();
        for (auto& game : arrivals) worker.games.push_back({std::move(game), now});
        for (std::size_t i = 0; i < worker.games.size();) {
            Worker::Entry& entry = worker.games[i];
            const bool woken = entry.game->wakeRequested.exchange(false);
            if (!woken && entry.due > now) {
                ++i;
                continue;
            }
            entry.due = now + std::chrono::milliseconds(kTurnMs);
            if (entry.game->turn()) {
                ++i;
                continue;
            }
            // The game has ended: it goes, its host is told.
            const std::shared_ptr<HostedGame> ended = std::move(entry.game);
            worker.games.erase(worker.games.begin() + static_cast<long>(i));
            --worker.load;
            ended->finish();
        }
    }
}

}  // namespace Zarn
