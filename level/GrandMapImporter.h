#pragma once

#include <istream>

#include "foundation/Interfaces.h"
#include "level/ElementRegistrations.h"
#include "level/MapElementBuilder.h"
#include "level/ScriptedActionBuilder.h"
#include "level/TrapGroupBuilder.h"
#include "level/WorldParts.h"
#include "map/import/MapComponentsImporter.h"

namespace Zarn {

// Loads one room for its owner (the client game core or the server): reads
// the map file's sections into the game map, then builds the live world from
// the records, in this order: the default spawn cell; the traps (registered
// on the position-element trigger, then in the element store, which rebuilds
// its updated traps); the trap groups (registered in the store); the
// interactive elements; the map events in the registry; and finally the
// event trigger set is armed.
//
// A throw anywhere aborts the load and reaches the caller. A failure while
// reading the sections builds nothing. A failure while building takes back
// everything this load added to the world before it passes on: trigger and
// blockable filings are removed, the lists are cut back to their length
// before the load (destroying what was built), the store and the numbered
// table are emptied and the default spawn cell restored; the records read stay
// in the game map.
//
// Constructed once with its owner's world parts (which outlive it) and
// imports one map. Used by the thread that owns the world.
class GrandMapImporter : public Convinience::StreamImporter {
public:
    explicit GrandMapImporter(const WorldParts& world);
    ~GrandMapImporter() override;
    GrandMapImporter(const GrandMapImporter&) = delete;
    GrandMapImporter& operator=(const GrandMapImporter&) = delete;

    void import(std::istream& stream) override;

    MapComponentsImporter& components() { return components_; }

    // The default spawn cell of a map: the header's spawn point divided (signed)
    // by the cell size, each quotient cut to 16 bits.
    static GeometryLib::Point spawnCellOf(const GeometryLib::Point& spawnPoint, u32 cellSize);

private:
    struct Marks {
        std::size_t traps;
        std::size_t groups;
        std::size_t elements;
        std::size_t updatables;
        std::size_t secondaryUnits;
        GeometryLib::Point spawnCell;
    };

    void buildWorld();
    void undo(const Marks& marks);

    WorldParts world_;
    MapComponentsImporter components_;
    ElementRegistrations registrations_;
    TrapGroupBuilder groupBuilder_;
    ScriptedActionBuilder scripts_;
    MapElementBuilder elementBuilder_;
};

}  // namespace Zarn
