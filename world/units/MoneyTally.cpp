#include "world/units/MoneyTally.h"

namespace Zarn {

bool MoneyTally::add(u32 handle, u32 amount) {
    auto it = money_.find(handle);
    if (it == money_.end()) return false;
    it->second += amount;
    return true;
}

u32 MoneyTally::moneyOf(u32 handle) const {
    auto it = money_.find(handle);
    return it == money_.end() ? 0u : it->second;
}

}  // namespace Zarn
