#include "simulation/state/ElementStateFactories.h"

#include <string>

#include "foundation/Error.h"
#include "map/records/MapElement.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SteerableIME.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/SpawningIntervalTrapState.h"
#include "world/traps/TrapDirectory.h"

namespace Zarn {

namespace {

template <class S>
std::unique_ptr<InteractiveMapElementState> make(Convinience::ByteReader& reader) {
    return std::make_unique<S>(reader);
}

bool isIntervalTrapType(u32 t) {
    return (t >= 43 && t <= 46) || t == 55 || t == 56 || (t >= 121 && t <= 128) || t == 131 || t == 134 ||
           t == 143 || t == 356;
}

}  // namespace

std::unique_ptr<InteractiveMapElementState> RawTrapStateFactory::create(u32 trapNumber,
                                                                        Convinience::ByteReader& reader) {
    Trap* trap = traps_->findTrap(trapNumber);
    if (!trap || !trap->record) throw Convinience::Error("invalid trap number");
    return createForType(trap->record->elementId, reader);
}

std::unique_ptr<InteractiveMapElementState> RawTrapStateFactory::createForType(
    u32 t, Convinience::ByteReader& reader) const {
    if (isIntervalTrapType(t)) return make<IntervalTrapIMEState>(reader);
    if (t >= 47 && t <= 49) return make<RatTrapIMEState>(reader);
    if (t == 129 || t == 130) return make<SpawningIntervalTrapState>(reader);
    if (t == 50 || t == 51 || t == 132 || t == 136) return make<FollowHitTrapState>(reader);
    if (t == 133) return make<BossState>(reader);
    if (t == 147) return make<InteractiveMapElementState>(reader);
    logger_.log(Convinience::severity::critical,
                "Invalid trapID when creating trap state " + std::to_string(t));
    throw Convinience::Error("Invalid trapID");
}

std::unique_ptr<InteractiveMapElementState> NumberedElementStateFactoryImpl::create(
    u32 elementNumber, Convinience::ByteReader& reader) {
    const InteractiveMapElement& element = numbered_->get(elementNumber);
    if (!element.record) throw Convinience::Error("numbered element is of wrong type");
    return createForType(element.record->elementId, reader);
}

std::unique_ptr<InteractiveMapElementState> NumberedElementStateFactoryImpl::createForType(
    u32 t, Convinience::ByteReader& reader) {
    switch (t) {
        case 35:
        case 42:
        case 59:
        case 135:
        case 440:
        case 441:
        case 442:
            return make<OnOffIMEState>(reader);
        case 36:
        case 37:
        case 38:
        case 164:
        case 165:
        case 166:
        case 167:
            return make<DoorIMEState>(reader);
        case 60:
            return make<ElevatorPadState>(reader);
        case 138:
        case 139:
        case 140:
        case 141:
        case 142:
            return make<InteractiveMapElementState>(reader);
        case 300:
        case 301:
        case 302:
        case 358:
            return make<SecondarySteerableUnitState>(reader);
        case 379:
        case 383:
        case 384:
        case 385:
        case 386:
            return make<MusicalNoteIMEState>(reader);
        case 443:
            return make<LevelUpModeIMEState>(reader);
        default:
            break;
    }
    if (t >= 348 && t <= 355) return make<CollectableIMEState>(reader);
    throw Convinience::Error("invalid numbered element id");
}

}  // namespace Zarn
