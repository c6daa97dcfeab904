#include "app/menus/SkewedStackLayout.h"

#include <cmath>

using GeometryLib::FPoint;

FPoint SkewedStackLayout::effectiveSize(const SkewedStackItem& item) {
    return item.expanded ? item.size * item.expandScale : item.size;
}

void SkewedStackLayout::layout(std::vector<SkewedStackItem>& list) {
    items = &list;
    const std::size_t n = list.size();
    if (n == 0) return;
    list[0].position = FPoint(0, 0);
    for (std::size_t i = 1; i < n; ++i) {
        const float y =
            list[i - 1].position.y - effectiveHeight(i) * 0.5f - effectiveHeight(i - 1) * 0.5f - gap;
        list[i].position = FPoint(-step * static_cast<float>(i), y);
    }
    selectedIndex = 0;
}

void SkewedStackLayout::setItemExpanded(int index, bool expanded) {
    const std::size_t n = count();
    if (index < 0 || static_cast<std::size_t>(index) >= n) return;
    std::vector<SkewedStackItem>& list = *items;
    const std::size_t front = static_cast<std::size_t>(index);
    list[front].position = FPoint(0, 0);
    list[front].expanded = expanded;
    for (std::size_t j = front + 1; j < n; ++j) {
        list[j].expanded = false;
        const float y =
            list[j - 1].position.y - effectiveHeight(j) * 0.5f - effectiveHeight(j - 1) * 0.5f - gap;
        list[j].position = FPoint(-step * static_cast<float>(j - front), y);
    }
    for (std::size_t j = front; j-- > 0;) {
        list[j].expanded = false;
        const float y =
            list[j + 1].position.y + effectiveHeight(j + 1) * 0.5f + effectiveHeight(j) * 0.5f + gap;
        list[j].position = FPoint(-step * static_cast<float>(front - j), y);
    }
    selectedIndex = static_cast<u32>(front);
}

void SkewedStackLayout::scrollBy(float delta) {
    const std::size_t n = count();
    if (n == 0) return;
    std::vector<SkewedStackItem>& list = *items;
    float d = delta;
    if (list.front().position.y + d < 0) {
        d = -list.front().position.y;
    } else if (list.back().position.y + d > 0) {
        d = -list.back().position.y;
    }
    if (d == 0) return;
    if (slopeDivisor == 0) {
        for (SkewedStackItem& item : list) item.position.y += d;
        return;
    }
    float nearest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        FPoint& p = list[i].position;
        p.y += d;
        p.x = p.y == 0 ? 0.0f : -std::abs(p.y) / slopeDivisor;
        if (i == 0 || std::abs(p.y) < nearest) {
            nearest = std::abs(p.y);
            nearestIndex = static_cast<u32>(i);
        }
    }
}
