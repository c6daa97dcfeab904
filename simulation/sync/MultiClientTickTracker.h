#pragma once

#include <map>
#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/Stopwatch.h"

namespace Zarn {

// Which clients have confirmed the server's current tick, and whether the
// next step may run: at once when every client that has confirmed since it
// joined has confirmed again; after kOverdueMs when at most laggardAllowance
// clients are unconfirmed (1 for up to 5 clients, 2 for 6 to 9, and so on).
// Lag is counted in strikes. Times are milliseconds of the server's
// stopwatch. Used on the server thread only.
class MultiClientTickTracker : public Convinience::MultiClientCreator {
public:
    static constexpr u64 kOverdueMs = 300;
    static constexpr u32 kStrikeLimit = 30;

    struct Entry {
        bool confirmed = false;
        u64 lastConfirmMs = 0;
        u32 strikes = 0;
        // Set by the first confirmation after the client (re)joined; until
        // then the client is not waited for.
        bool confirmedSinceJoin = false;
    };

    // stopwatch: the server's, observed; null admits every step.
    explicit MultiClientTickTracker(const Convinience::Stopwatch* stopwatch = nullptr)
        : stopwatch_(stopwatch) {}

    // Stamps the client's last confirmation and join time with now and makes
    // it a newcomer again (not waited for until it confirms); an existing
    // entry keeps its confirmed flag and strikes.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override;
    // Creates a missing entry; sets the confirmed flag and stamps now.
    void confirm(u32 clientId);
    // Called by each step: the simulator's tick, every flag cleared, the
    // last-step time set to now.
    void onStep(u32 tick);

    bool mayStep();
    // Clients with more than kStrikeLimit strikes, in client ID order.
    std::vector<u32> collectLaggards() const;

    const std::map<u32, Entry>& clients() const { return clients_; }
    u32 laggardAllowance() const { return allowance_; }
    u32 currentTick() const { return tick_; }

private:
    u64 now() const { return stopwatch_ ? stopwatch_->elapsedMilliseconds() : 0; }
    bool allConfirmed() const;
    bool admitOverdue();
    void recomputeAllowance();

    const Convinience::Stopwatch* stopwatch_;
    std::map<u32, Entry> clients_;
    std::map<u32, u64> joined_;
    u32 tick_ = 0;
    u64 lastStepMs_ = 0;
    u32 allowance_ = 1;
};

// Hands the laggards to whatever a hosting server does with them (remove them
// from the game); single play installs none.
class LagKicker {
public:
    virtual ~LagKicker() = default;
    virtual void kick(const std::vector<u32>& clientIds) = 0;
};

// The first action of every server step: answers whether the step runs.
// Without mayStep's yes, laggards above the strike limit are kicked (and the
// step runs) when a kicker is installed, else reported at WARN (and it does
// not).
bool checkLaggards(MultiClientTickTracker& tracker, LagKicker* kicker, const Convinience::Logger& logger);

}  // namespace Zarn
