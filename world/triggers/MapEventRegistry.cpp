#include "world/triggers/MapEventRegistry.h"

#include <algorithm>

namespace Zarn {

void MapEventRegistry::registerImportedEvents() {
    for (const std::unique_ptr<MapEventData>& event : *events_) {
        if (!event || !event->trigger) continue;
        if (enabled_.count(event->eventId) != 0) continue;
        records_[event->eventId] = event.get();
        remaining_[event->eventId] = event->trigger->count;
        enabled_[event->eventId] = event->enabled;
    }
}

void MapEventRegistry::enableEvent(u32 eventId) {
    auto it = enabled_.find(eventId);
    if (it == enabled_.end() || it->second != 0) return;
    it->second = 1;
    notify(enableObservers_, eventId);
}

void MapEventRegistry::disableEvent(u32 eventId) {
    auto it = enabled_.find(eventId);
    if (it == enabled_.end() || it->second == 0) return;
    it->second = 0;
    notify(disableObservers_, eventId);
}

void MapEventRegistry::notify(const std::vector<MapEventObserver*>& observers, u32 eventId) const {
    // Copied: an observer may register or remove observers while it is told.
    const std::vector<MapEventObserver*> told = observers;
    for (MapEventObserver* observer : told) {
        // An observer told earlier may have fired the event away.
        const MapEventData* record = find(eventId);
        if (!record) return;
        observer->onEventEnabled(*record);
    }
}

void MapEventRegistry::consumeFiring(u32 eventId) {
    auto it = remaining_.find(eventId);
    if (it == remaining_.end()) return;
    if (it->second != 0) --it->second;
    if (it->second != 0) return;
    remaining_.erase(it);
    records_.erase(eventId);
    enabled_.erase(eventId);
}

u32 MapEventRegistry::remainingFirings(u32 eventId) const {
    auto it = remaining_.find(eventId);
    return it == remaining_.end() ? 0 : it->second;
}

bool MapEventRegistry::isEnabled(u32 eventId) const {
    auto it = enabled_.find(eventId);
    return it != enabled_.end() && it->second != 0;
}

const MapEventData* MapEventRegistry::find(u32 eventId) const {
    auto it = records_.find(eventId);
    return it == records_.end() ? nullptr : it->second;
}

void MapEventRegistry::removeObserver(const MapEventObserver& observer) {
    auto drop = [&](std::vector<MapEventObserver*>& list) {
        list.erase(std::remove(list.begin(), list.end(), &observer), list.end());
    };
    drop(enableObservers_);
    drop(disableObservers_);
}

}  // namespace Zarn
