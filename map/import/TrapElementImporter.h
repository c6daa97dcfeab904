#pragma once

#include <memory>
#include <vector>

#include "foundation/ByteReader.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/TrapElement.h"

namespace Zarn {

// Reads the trap section: a TrapElementMapHeader, then firstCount +
// secondCount records, each a u32 length and that many bytes. The element ID in
// each record's first word chooses its class and its container:
//
// | element IDs                          | record class                         | container   |
// | 43, 44, 45, 56, 127, 129, 134        | IntervalTrapElement                  | trap records |
// | 46, 50, 51, 128, 132, 136            | DelayedTrapElement                   | trap records |
// | 47, 48, 49                           | RatTrapElement (the trap factory builds rat traps of them) | trap
// records | | 52                                   | GroupedTrapElement                   | group records |
// | 53                                   | SequentialGroupedIntervalTrapElement | group records |
// | 55                                   | RadialTrapElement                    | trap records |
// | 121-126                              | ScheduledTrapElement                 | trap records |
// | 130                                  | TrapSpawningTrapElement              | trap records |
// | 131                                  | LineIntervalTrapElement              | trap records |
// | 133                                  | BossElement                          | trap records |
// | 356                                  | FourPanelTrapDoorElement             | trap records |
// Any other ID throws "Not yet Implemented". A stream at its end skips the
// section; a truncated section or record throws "bad map".
class TrapElementImporter : public Convinience::StreamImporter {
public:
    // The containers belong to the GameMap and outlive the importer.
    TrapElementImporter(std::vector<std::unique_ptr<TrapElement>>& trapRecords,
                        std::vector<std::unique_ptr<GroupedTrapElement>>& trapGroupRecords);

    void import(std::istream& stream) override;

    // Reads one record's bytes and files it. Throws as import does, except that
    // short bytes throw ReadPastEndError.
    void importRecord(Convinience::ByteReader& record);

private:
    std::vector<std::unique_ptr<TrapElement>>& trapRecords_;
    std::vector<std::unique_ptr<GroupedTrapElement>>& trapGroupRecords_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
