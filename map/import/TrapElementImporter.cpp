#include "map/import/TrapElementImporter.h"

#include <string>

#include "foundation/Error.h"
#include "map/import/MapStreamReader.h"
#include "map/records/BossElement.h"
#include "map/records/MapErrors.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/SectionHeaders.h"

namespace Zarn {

TrapElementImporter::TrapElementImporter(std::vector<std::unique_ptr<TrapElement>>& trapRecords,
                                         std::vector<std::unique_ptr<GroupedTrapElement>>& trapGroupRecords)
    : trapRecords_(trapRecords), trapGroupRecords_(trapGroupRecords) {}

void TrapElementImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    if (in.atEnd()) return;
    try {
        const std::vector<u8> headerBytes = in.readBytes(TrapElementMapHeader().serializedSize());
        Convinience::ByteReader headerReader(headerBytes);
        const TrapElementMapHeader header(headerReader);
        const u64 records = static_cast<u64>(header.firstCount) + header.secondCount;
        // Every record is a length and at least its 9-byte header.
        in.checkCount(records, 4 + 9);
        for (u64 i = 0; i < records; ++i) {
            const std::vector<u8> bytes = in.readBytes(in.readU32());
            Convinience::ByteReader record(bytes);
            importRecord(record);
        }
        logger_.log(Convinience::severity::info, std::to_string(header.firstCount) + " traps imported");
    } catch (const Convinience::ReadPastEndError&) {
        throw Convinience::Error(mapError::badMap);
    }
}

void TrapElementImporter::importRecord(Convinience::ByteReader& record) {
    Convinience::ByteReader peek = record;
    const u32 id = MapElement(peek).elementId;
    switch (id) {
        case 43:
        case 44:
        case 45:
        case 56:
        case 127:
        case 129:
        case 134:
            trapRecords_.push_back(std::make_unique<IntervalTrapElement>(record));
            return;
        case 46:
        case 50:
        case 51:
        case 128:
        case 132:
        case 136:
            trapRecords_.push_back(std::make_unique<DelayedTrapElement>(record));
            return;
        case 47:
        case 48:
        case 49:
            trapRecords_.push_back(std::make_unique<RatTrapElement>(record));
            return;
        case 52:
            trapGroupRecords_.push_back(std::make_unique<GroupedTrapElement>(record));
            return;
        case 53:
            trapGroupRecords_.push_back(std::make_unique<SequentialGroupedIntervalTrapElement>(record));
            return;
        case 55:
            trapRecords_.push_back(std::make_unique<RadialTrapElement>(record));
            return;
        case 121:
        case 122:
        case 123:
        case 124:
        case 125:
        case 126:
            trapRecords_.push_back(std::make_unique<ScheduledTrapElement>(record));
            return;
        case 130:
            trapRecords_.push_back(std::make_unique<TrapSpawningTrapElement>(record));
            return;
        case 131:
            trapRecords_.push_back(std::make_unique<LineIntervalTrapElement>(record));
            return;
        case 133:
            trapRecords_.push_back(std::make_unique<BossElement>(record));
            return;
        case 356:
            trapRecords_.push_back(std::make_unique<FourPanelTrapDoorElement>(record));
            return;
        default:
            throw Convinience::Error(mapError::unknownTrap);
    }
}

}  // namespace Zarn
