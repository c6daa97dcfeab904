#pragma once

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/Geometry.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

// Cell -> values, several per cell. The values of one cell are visited in the
// order in which they were added. Values are not owned.
template <class Value>
class PointMultimap {
public:
    using Values = std::vector<Value>;

    // Places the value after those the cell already holds.
    void add(const GeometryLib::Point& cell, Value value) {
        cells_[cell].push_back(value);
        ++size_;
    }
    // Erases every pair of the cell whose value is `value`.
    void erase(const GeometryLib::Point& cell, Value value) {
        auto it = cells_.find(cell);
        if (it == cells_.end()) return;
        Values& values = it->second;
        const auto end = std::remove(values.begin(), values.end(), value);
        size_ -= static_cast<std::size_t>(values.end() - end);
        values.erase(end, values.end());
        if (values.empty()) cells_.erase(it);
    }
    // Erases the pair at `index` of the cell's values.
    void eraseAt(const GeometryLib::Point& cell, std::size_t index) {
        auto it = cells_.find(cell);
        if (it == cells_.end() || index >= it->second.size()) return;
        it->second.erase(it->second.begin() + static_cast<std::ptrdiff_t>(index));
        --size_;
        if (it->second.empty()) cells_.erase(it);
    }
    // The values of the cell, or null when it holds none.
    const Values* find(const GeometryLib::Point& cell) const {
        auto it = cells_.find(cell);
        return it == cells_.end() ? nullptr : &it->second;
    }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    // Calls fn(cell, value) for every pair; the cells come in no fixed order.
    template <class Fn>
    void forEach(Fn&& fn) const {
        for (const auto& [cell, values] : cells_) {
            for (const Value& value : values) fn(cell, value);
        }
    }

private:
    std::unordered_map<GeometryLib::Point, Values, GeometryLib::PointHash> cells_;
    std::size_t size_ = 0;
};

// The last cell at which a trigger saw each unit. Entries are made on first
// sight and overwritten on change. A unit is known by its address and its life
// token: a unit made later at the address of a destroyed one is seen for the
// first time.
class LastCellTable {
public:
    void store(const SteerableUnit& unit, const GeometryLib::Point& cell);
    // False for a unit never seen (or seen only in an earlier life of its address).
    bool isStored(const SteerableUnit& unit, const GeometryLib::Point& cell) const;

private:
    struct Entry {
        GeometryLib::Point cell;
        // Expired once the unit seen at this address is destroyed.
        std::weak_ptr<const int> life;
    };
    std::unordered_map<const SteerableUnit*, Entry> entries_;
};

// Something that reacts when a unit stands on one of its cells. Once per tick
// the trigger group hands every unit's cell to every registered trigger. Used
// by the thread that owns the world.
class PositionTrigger {
public:
    virtual ~PositionTrigger() = default;
    // cell: in cell coordinates. The unit is the player's unit of clientId.
    virtual void onUnitOnCell(const GeometryLib::Point& cell, u32 clientId, SteerableUnit& unit) = 0;
    // True when the trigger's cell table holds nothing.
    virtual bool isEmpty() const = 0;

protected:
    void storePosition(const SteerableUnit& unit, const GeometryLib::Point& cell) {
        lastCells_.store(unit, cell);
    }
    bool isStoredPosition(const SteerableUnit& unit, const GeometryLib::Point& cell) const {
        return lastCells_.isStored(unit, cell);
    }

private:
    LastCellTable lastCells_;
};

}  // namespace Zarn
