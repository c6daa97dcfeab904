#pragma once

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "world/elements/InteractiveMapElementState.h"

namespace Zarn {

// Number -> owned element state, visited in the order the numbers were first
// entered. A map state writes its entries in that order, so bytes that are
// read and written again come out unchanged. Copying clones every state.
class ElementStateTable {
public:
    using Entry = std::pair<u32, std::unique_ptr<InteractiveMapElementState>>;

    ElementStateTable() = default;
    ElementStateTable(const ElementStateTable& other);
    ElementStateTable& operator=(const ElementStateTable& other);
    ElementStateTable(ElementStateTable&&) noexcept = default;
    ElementStateTable& operator=(ElementStateTable&&) noexcept = default;

    // Enters the state under the number, replacing the state of a number that
    // is present in its place.
    void put(u32 number, std::unique_ptr<InteractiveMapElementState> state);
    // Enters the state only when the number is absent; answers whether it was entered.
    bool insert(u32 number, std::unique_ptr<InteractiveMapElementState> state);
    // The state of the number, or null.
    const InteractiveMapElementState* find(u32 number) const;
    bool contains(u32 number) const { return index_.count(number) != 0; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear();

    auto begin() const { return entries_.cbegin(); }
    auto end() const { return entries_.cend(); }

    // Same numbers with equal states, in any order.
    bool operator==(const ElementStateTable& other) const;

private:
    std::vector<Entry> entries_;
    std::unordered_map<u32, std::size_t> index_;
};

}  // namespace Zarn
