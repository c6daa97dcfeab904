#pragma once

#include <set>

#include "foundation/Types.h"

namespace Zarn {

// The status values (active effect IDs) of a unit, ordered, repeats allowed.
// The rat trap's catch puts 10 in it; the timed slow removes its value again.
class StatusSet {
public:
    void insert(u32 value) { values_.insert(value); }
    // Erases every entry equal to value.
    void eraseAll(u32 value) { values_.erase(value); }
    void clear() { values_.clear(); }
    bool contains(u32 value) const { return values_.count(value) != 0; }
    bool containsTen() const { return contains(10); }
    bool empty() const { return values_.empty(); }
    std::size_t size() const { return values_.size(); }
    // Replaces the whole set.
    void assign(const std::multiset<u32>& values) { values_ = values; }
    const std::multiset<u32>& values() const { return values_; }

private:
    std::multiset<u32> values_;
};

}  // namespace Zarn
