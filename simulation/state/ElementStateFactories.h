#pragma once

#include <memory>

#include "foundation/ByteReader.h"
#include "foundation/Logger.h"
#include "world/elements/InteractiveMapElementState.h"

namespace Zarn {

class NumberedElementGroup;
class TrapDirectory;

// Rebuilds a trap's state from its untagged bytes, choosing the class by the
// trap's record type. Used by the thread that owns the world it looks into.
class TrapStateFactory {
public:
    virtual ~TrapStateFactory() = default;
    // Reads exactly the state's bytes from the reader.
    virtual std::unique_ptr<InteractiveMapElementState> create(u32 trapNumber,
                                                               Convinience::ByteReader& reader) = 0;
};

// The same for a numbered map element, keyed by its element number.
class NumberedElementStateFactory {
public:
    virtual ~NumberedElementStateFactory() = default;
    virtual std::unique_ptr<InteractiveMapElementState> create(u32 elementNumber,
                                                               Convinience::ByteReader& reader) = 0;
};

// Trap type ID -> state class:
//
// | type IDs                                        | state                      |
// |-------------------------------------------------|----------------------------|
// | 43-46, 55, 56, 121-128, 131, 134, 143, 356      | IntervalTrapIMEState       |
// | 47, 48, 49                                      | RatTrapIMEState            |
// | 129, 130                                        | SpawningIntervalTrapState  |
// | 50, 51, 132, 136                                | FollowHitTrapState         |
// | 133                                             | BossState                  |
// | 147                                             | InteractiveMapElementState |
//
// Each class is the one the trap of that type holds (the trap factory builds
// rat traps for 47 to 49 and boss arms for 50, 51, 132 and 136), so that the
// bytes a trap writes are read back by its own class. Traps are looked up in
// the trap table only, never among the groups.
class RawTrapStateFactory : public TrapStateFactory {
public:
    // traps: the world's trap directory (its element store), which outlives the factory.
    explicit RawTrapStateFactory(TrapDirectory& traps) : traps_(&traps) {}

    // Throws Convinience::Error "invalid trap number" for a number outside the
    // trap table and "Invalid trapID" (after a CRITICAL line) for a trap type
    // without a state class; Convinience::ReadPastEndError for short bytes.
    std::unique_ptr<InteractiveMapElementState> create(u32 trapNumber,
                                                       Convinience::ByteReader& reader) override;

    // The state class of a trap type, read from the bytes; throws as create.
    std::unique_ptr<InteractiveMapElementState> createForType(u32 typeId,
                                                              Convinience::ByteReader& reader) const;

private:
    TrapDirectory* traps_;
    Convinience::Logger logger_;
};

// Element type ID -> state class:
//
// | type IDs                        | state                      |
// |---------------------------------|----------------------------|
// | 35, 42, 59, 135, 440, 441, 442  | OnOffIMEState              |
// | 36, 37, 38, 164, 165, 166, 167  | DoorIMEState               |
// | 60                              | ElevatorPadState           |
// | 138 to 142                      | InteractiveMapElementState |
// | 300, 301, 302, 358              | SecondarySteerableUnitState|
// | 348-355                         | CollectableIMEState        |
// | 379, 383, 384, 385, 386         | MusicalNoteIMEState        |
// | 443                             | LevelUpModeIMEState        |
class NumberedElementStateFactoryImpl : public NumberedElementStateFactory {
public:
    // numbered: the world's numbered-element table, which outlives the factory.
    explicit NumberedElementStateFactoryImpl(const NumberedElementGroup& numbered) : numbered_(&numbered) {}

    // Throws Convinience::Error "No such element number", "numbered element is
    // of wrong type" (an entry without element) or "invalid numbered element
    // id"; Convinience::ReadPastEndError for short bytes.
    std::unique_ptr<InteractiveMapElementState> create(u32 elementNumber,
                                                       Convinience::ByteReader& reader) override;

    static std::unique_ptr<InteractiveMapElementState> createForType(u32 typeId,
                                                                     Convinience::ByteReader& reader);

private:
    const NumberedElementGroup* numbered_;
};

// The two factories with which one game reads map states. Every game (the
// client game core, the server) owns its factories and hands this pair to the
// readers of the snapshots it receives, so two games in one process never
// read with each other's map. Either may be null: a map state with entries of
// that kind is then rejected.
struct StateFactories {
    TrapStateFactory* traps = nullptr;
    NumberedElementStateFactory* elements = nullptr;
};

}  // namespace Zarn
