#include "foundation/Stopwatch.h"

#include <chrono>

namespace Convinience {
namespace {

class SteadyTickClock : public TickClock {
public:
    u64 nowTicks() const override {
        using Ticks = std::chrono::duration<u64, std::ratio<1, 10000000>>;
        return std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
};

}  // namespace

const TickClock& TickClock::steady() {
    static const SteadyTickClock clock;
    return clock;
}

}  // namespace Convinience
