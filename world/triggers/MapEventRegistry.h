#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "map/records/MapEventData.h"

namespace Zarn {

// The imported events of a map, in file order (owned by the game map).
using MapEventList = std::vector<std::unique_ptr<MapEventData>>;

// Told when an event is enabled (or, on the disable list, disabled).
class MapEventObserver {
public:
    virtual ~MapEventObserver() = default;
    // The record belongs to the game map and outlives the call.
    virtual void onEventEnabled(const MapEventData& event) = 0;
};

// Trigger kinds: the triggerId of an event's trigger record.
namespace TriggerKind {
inline constexpr u32 start = 1;
inline constexpr u32 killEffect = 3;
inline constexpr u32 position = 5;
inline constexpr u32 trapEnabled = 6;
inline constexpr u32 trapDisabled = 7;
inline constexpr u32 dialogPlayed = 8;
inline constexpr u32 dialogClosed = 9;
inline constexpr u32 doorOpened = 10;
inline constexpr u32 doorClosed = 11;
// Fires on every applied checkpoint result whose number matches.
inline constexpr u32 checkpointTouched = 12;
inline constexpr u32 switchOn = 13;
inline constexpr u32 switchOff = 14;
inline constexpr u32 trapHidden = 15;
inline constexpr u32 trapShown = 16;
inline constexpr u32 trapKill = 17;
// Fires when a unit reaches a checkpoint first after a kill.
inline constexpr u32 checkpointReached = 18;
inline constexpr u32 timer = 19;
inline constexpr u32 area = 20;
}  // namespace TriggerKind

// The per-game table of map events: for every present event its record, its
// remaining firings and its enabled flag, and the observers told when an
// event is enabled or disabled. An event is present from
// registerImportedEvents until its last firing. Neither the records nor the
// observers are owned: the records belong to the game map, the observers to
// the event trigger set; both outlive the registry's use of them. Used by the
// thread that owns the world.
class MapEventRegistry {
public:
    explicit MapEventRegistry(const MapEventList& events) : events_(&events) {}
    MapEventRegistry(const MapEventRegistry&) = delete;
    MapEventRegistry& operator=(const MapEventRegistry&) = delete;

    // Files every imported event in file order: record, the trigger's count,
    // the event's enabled byte. A later event with an ID already filed is
    // ignored (the first wins); an event without a trigger record is not filed.
    void registerImportedEvents();

    // Sets (clears) the flag of a present event; only when that changed the
    // flag are the enable (disable) observers told, in registration order. An
    // absent ID is ignored.
    void enableEvent(u32 eventId);
    void disableEvent(u32 eventId);

    // Books one firing: a non-zero count drops by 1; once the count is 0 the
    // event is gone (so 0 and 1 both mean one firing). An absent ID is ignored.
    void consumeFiring(u32 eventId);
    // The remaining count; 0 for an absent event.
    u32 remainingFirings(u32 eventId) const;

    bool isPresent(u32 eventId) const { return enabled_.count(eventId) != 0; }
    // False for an absent event.
    bool isEnabled(u32 eventId) const;
    // The record filed under the ID, or null when the event is absent.
    const MapEventData* find(u32 eventId) const;

    // Observers are not owned; each must stay alive while registered.
    void addEnableObserver(MapEventObserver& observer) { enableObservers_.push_back(&observer); }
    void addDisableObserver(MapEventObserver& observer) { disableObservers_.push_back(&observer); }
    void removeObserver(const MapEventObserver& observer);

    const MapEventList& importedEvents() const { return *events_; }

private:
    void notify(const std::vector<MapEventObserver*>& observers, u32 eventId) const;

    std::unordered_map<u32, const MapEventData*> records_;
    std::unordered_map<u32, u32> remaining_;
    std::unordered_map<u32, u8> enabled_;
    // Owned by the game map; outlives the registry.
    const MapEventList* events_;
    std::vector<MapEventObserver*> enableObservers_;
    std::vector<MapEventObserver*> disableObservers_;
};

}  // namespace Zarn
