#include "simulation/scene/ZOrderCalculator.h"

#include "foundation/Error.h"
#include "grid/CellGrid.h"

namespace Zarn {
namespace {

// Map positions are 16-bit map units; anything outside (or NaN) is brought
// back into that range so that every band stays a plain int computation.
float mapCoordinate(float v) {
    return GeometryLib::clampToPointRange(v);
}

}  // namespace

ZOrderCalculator::ZOrderCalculator(i32 cellSize, i32 rows) : cellSize_(cellSize), rows_(rows) {
    if (cellSize < 1) throw Convinience::Error("invalid cell size");
}

ZOrderCalculator::ZOrderCalculator(const CellGrid& grid)
    : ZOrderCalculator(static_cast<i32>(grid.getCellSize()), static_cast<i32>(grid.getRows())) {}

int ZOrderCalculator::base(int row) const {
    return (rows_ - row - 1) * 500;
}

int ZOrderCalculator::high(int row) const {
    return (rows_ - row + 1999) * 500;
}

int ZOrderCalculator::rowOf(float y) const {
    return static_cast<int>(mapCoordinate(y) / static_cast<float>(cellSize_));
}

float ZOrderCalculator::frac(float y) const {
    const float my = mapCoordinate(y);
    const int iy = static_cast<int>(my);
    return (my - static_cast<float>(iy - iy % cellSize_)) / static_cast<float>(cellSize_);
}

int ZOrderCalculator::spread(float y) const {
    return static_cast<int>(frac(y) * kRowSpread);
}

int ZOrderCalculator::rowMiddle(int row) const {
    return base(row) + 250;
}
int ZOrderCalculator::yMiddle(float y) const {
    return rowMiddle(rowOf(y));
}
int ZOrderCalculator::rowBase(int row) const {
    return base(row);
}
int ZOrderCalculator::yBase(float y) const {
    return rowBase(rowOf(y));
}
int ZOrderCalculator::rowTop(int row) const {
    return base(row) + 499;
}
int ZOrderCalculator::yTop(float y) const {
    return yBase(y) + 499;
}
int ZOrderCalculator::highRowMiddle(int row) const {
    return highRowBase(row) + 250;
}
int ZOrderCalculator::highY(float y) const {
    return highRowMiddle(rowOf(y)) - spread(y);
}
int ZOrderCalculator::highRowBase(int row) const {
    return high(row);
}
int ZOrderCalculator::highYBase(float y) const {
    return highRowBase(rowOf(y));
}
int ZOrderCalculator::highRowTop(int row) const {
    return highRowBase(row) + 499;
}
int ZOrderCalculator::highYTop(float y) const {
    return highYBase(y) + 499;
}

int ZOrderCalculator::playerZOrder(const GeometryLib::FPoint& p) const {
    const int z = highRowMiddle(rowOf(p.y)) + 125 - spread(p.y);
    const i16 px = static_cast<i16>(mapCoordinate(p.x));
    const i16 py = static_cast<i16>(mapCoordinate(p.y));
    const GeometryLib::Point cell(static_cast<i16>(px / cellSize_), static_cast<i16>(py / cellSize_));
    const auto found = modifiers_.find(cell);
    if (found == modifiers_.end()) return z;
    // Descending keys; among equal keys the one filed last comes first.
    for (auto it = found->second.rbegin(); it != found->second.rend(); ++it) {
        const int z2 = it->second->apply(p, z);
        if (z2 != z) return z2;
    }
    return z;
}

void ZOrderCalculator::addModifier(PlayerZOrderModifier* m) {
    for (const GeometryLib::Point& cell : m->cells) modifiers_[cell].emplace(m->key(), m);
}

void ZOrderCalculator::removeModifier(const PlayerZOrderModifier* m) {
    for (auto it = modifiers_.begin(); it != modifiers_.end();) {
        std::multimap<i32, PlayerZOrderModifier*>& filed = it->second;
        for (auto f = filed.begin(); f != filed.end();) f = f->second == m ? filed.erase(f) : std::next(f);
        it = filed.empty() ? modifiers_.erase(it) : std::next(it);
    }
}

}  // namespace Zarn
