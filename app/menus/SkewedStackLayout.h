#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Types.h"

// One entry of a skewed stack: where it stands (its centre, in the stack's
// coordinates), its collapsed size (x = width, y = height), how much it grows
// while expanded, and whether it is the expanded one.
struct SkewedStackItem {
    GeometryLib::FPoint position;
    GeometryLib::FPoint size;
    float expandScale = 1.0f;
    bool expanded = false;
};

// The geometry of the arcade carousel, without the engine: a column of items
// stacked downwards with `gap` between their boxes, the one in front
// (`selectedIndex`) at (0, 0) and every other one `step` further left per place
// away from it. While dragging, items slide along the line x = -|y| /
// `slopeDivisor`. The items are the caller's; the layout keeps a pointer to the
// list it was last given, which must outlive it. An empty list (or none) is a
// stack with nothing to move.
struct SkewedStackLayout {
    std::vector<SkewedStackItem>* items = nullptr;
    float gap = 150.0f;
    float step = 300.0f;
    u32 selectedIndex = 0;
    float slopeDivisor = 1.0f;
    // The item nearest the front line during a drag.
    u32 nearestIndex = 0;

    // `size` x `expandScale` while expanded, else `size`.
    static GeometryLib::FPoint effectiveSize(const SkewedStackItem& item);

    // Takes the list and stacks it downwards from (0, 0) with item 0 in front;
    // expanded flags are left as they are.
    void layout(std::vector<SkewedStackItem>& list);
    // Brings `index` to the front with the given expanded flag and stacks the
    // others above and below it, collapsed. An index outside the list (negative
    // included) changes nothing.
    void setItemExpanded(int index, bool expanded);
    // Slides the stack up (positive) or down by `delta`, no further than the
    // first item sinking to the front line or the last one rising to it;
    // updates `nearestIndex` (the lower index on a tie).
    void scrollBy(float delta);

private:
    std::size_t count() const { return items == nullptr ? 0 : items->size(); }
    float effectiveHeight(std::size_t i) const { return effectiveSize((*items)[i]).y; }
};
