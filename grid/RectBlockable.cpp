#include "grid/RectBlockable.h"

#include <algorithm>
#include <cmath>

#include "foundation/GridCells.h"
#include "grid/BlockableManager.h"
#include "grid/CellGrid.h"

namespace Zarn {
namespace {

constexpr float kEpsilon = 0.01f;

// Truncation toward zero, clamped to the range of T (no undefined conversions
// for sizes read from a map file).
template <typename T>
T truncatedTo(float v, T low, T high) {
    if (!(v == v)) return 0;
    const double t = std::trunc(static_cast<double>(v));
    return static_cast<T>(std::clamp(t, static_cast<double>(low), static_cast<double>(high)));
}

const GeometryLib::FPoint kNormals[4] = {{0.0f, -1.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}};

}  // namespace

RectBlockable::RectBlockable(const CellGrid& grid, BlockableManager* manager, const GeometryLib::FRect& rect)
    : grid_(&grid), manager_(manager), rect_(rect) {
    const GeometryLib::FPoint o = rect.origin;
    const GeometryLib::FPoint far = o + GeometryLib::FPoint(rect.width, rect.height);
    edges_[kBottom] = {o, o + GeometryLib::FPoint(rect.width, 0.0f)};
    edges_[kLeft] = {o, o + GeometryLib::FPoint(0.0f, rect.height)};
    edges_[kTop] = {far, far + GeometryLib::FPoint(-rect.width, 0.0f)};
    edges_[kRight] = {far, far + GeometryLib::FPoint(0.0f, -rect.height)};

    const GeometryLib::Point origin(truncatedTo<i16>(o.x, INT16_MIN, INT16_MAX),
                                    truncatedTo<i16>(o.y, INT16_MIN, INT16_MAX));
    const u32 w = truncatedTo<u32>(rect.width, 0, 0xFFFF);
    const u32 h = truncatedTo<u32>(rect.height, 0, 0xFFFF);
    const GeometryLib::CellSet covered = GeometryLib::cellsCoveredByRect(origin, w, h, grid.getCellSize());
    cells_.assign(covered.begin(), covered.end());
    std::sort(cells_.begin(), cells_.end(), [](const GeometryLib::Point& a, const GeometryLib::Point& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
}

bool RectBlockable::contains(const GeometryLib::FPoint& p) const {
    const float w = static_cast<float>(truncatedTo<i16>(rect_.width, INT16_MIN, INT16_MAX));
    const float h = static_cast<float>(truncatedTo<i16>(rect_.height, INT16_MIN, INT16_MAX));
    return rect_.origin.x <= p.x && p.x <= rect_.origin.x + w && rect_.origin.y <= p.y &&
           p.y <= rect_.origin.y + h;
}

GeometryLib::FPoint RectBlockable::blockingNormal(const GeometryLib::FPoint& position,
                                                  const GeometryLib::FPoint& movement) {
    from_ = position;
    to_ = position + movement;
    if (std::fabs(to_.x - from_.x) < kEpsilon && std::fabs(to_.y - from_.y) < kEpsilon) {
        to_ = from_ + GeometryLib::FPoint(1.0f, 1.0f);
    }
    hits_.clear();

    const float dx = to_.x - from_.x;
    const float dy = to_.y - from_.y;
    bool candidate[4] = {true, true, true, true};
    if (dx > 0) candidate[kRight] = false;
    if (dx < 0) candidate[kLeft] = false;
    if (dy > 0) candidate[kTop] = false;
    if (dy < 0) candidate[kBottom] = false;

    const bool moveHorizontal = std::fabs(from_.y - to_.y) < kEpsilon;
    const bool moveVertical = std::fabs(from_.x - to_.x) < kEpsilon;
    for (u32 side = 0; side < 4; ++side) {
        if (!candidate[side]) continue;
        const Segment& e = edges_[side];
        GeometryLib::FPoint at;
        if (std::fabs(e.a.y - e.b.y) < kEpsilon) {
            if (moveHorizontal) continue;
            float x = from_.x;
            if (!moveVertical) {
                const float m = dy / dx;
                x = (e.a.y - (from_.y - m * from_.x)) / m;
            }
            at = {x, e.a.y};
        } else if (std::fabs(e.a.x - e.b.x) < kEpsilon) {
            if (moveVertical) continue;
            float y = from_.y;
            if (!moveHorizontal) {
                const float m = dy / dx;
                y = m * e.a.x + (from_.y - m * from_.x);
            }
            at = {e.a.x, y};
        } else {
            continue;
        }
        if (!contains(at)) continue;
        const GeometryLib::FPoint d = at - to_;
        hits_.push_back({std::sqrt(d.x * d.x + d.y * d.y), side, at});
    }
    std::stable_sort(hits_.begin(), hits_.end(),
                     [](const Hit& a, const Hit& b) { return a.distance < b.distance; });

    const std::size_t tried = std::min<std::size_t>(hits_.size(), 2);
    for (std::size_t i = 0; i < tried; ++i) {
        const GeometryLib::FPoint normal = kNormals[hits_[i].side];
        const GeometryLib::FPoint probe = hits_[i].at + normal * 4.0f;
        if (manager_ == nullptr || manager_->blockerAt(probe) == nullptr) return normal;
    }
    return {0.0f, 0.0f};
}

}  // namespace Zarn
