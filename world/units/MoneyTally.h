#pragma once

#include <map>

#include "foundation/Types.h"

namespace Zarn {

// The money of a game's players, by unit handle (a player's client ID). The
// money score keeper opens and closes the rows as clients come and go; coins
// pay into existing rows only. Rows are kept in ascending handle order.
class MoneyTally {
public:
    // Opens a row with money 0; an existing row stays as it is.
    void addRow(u32 handle) { money_.emplace(handle, 0u); }
    void removeRow(u32 handle) { money_.erase(handle); }
    bool hasRow(u32 handle) const { return money_.count(handle) != 0; }
    // Adds to the handle's row; a handle without a row gets nothing. False then.
    bool add(u32 handle, u32 amount);
    // The money of a row; 0 when there is none.
    u32 moneyOf(u32 handle) const;
    const std::map<u32, u32>& rows() const { return money_; }

private:
    std::map<u32, u32> money_;
};

}  // namespace Zarn
