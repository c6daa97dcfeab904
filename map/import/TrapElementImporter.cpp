#include "map/import/TrapElementImporter.h"

#include <string>

#include "foundation/Error.h"
#include "map/import/MapStreamReader.h"
#include "map/records/BossElement.h"
#include "map/records/MapErrors.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/SectionHeaders.h"
#include "map/records/TrapRecordClass.h"

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
    const std::optional<TrapRecordClass> kind = trapRecordClassOf(id);
    if (!kind) throw Convinience::Error(mapError::unknownTrap);
    switch (*kind) {
        case TrapRecordClass::interval:
            trapRecords_.push_back(std::make_unique<IntervalTrapElement>(record));
            return;
        case TrapRecordClass::delayed:
            trapRecords_.push_back(std::make_unique<DelayedTrapElement>(record));
            return;
        case TrapRecordClass::rat:
            trapRecords_.push_back(std::make_unique<RatTrapElement>(record));
            return;
        case TrapRecordClass::group:
            trapGroupRecords_.push_back(std::make_unique<GroupedTrapElement>(record));
            return;
        case TrapRecordClass::sequentialGroup:
            trapGroupRecords_.push_back(std::make_unique<SequentialGroupedIntervalTrapElement>(record));
            return;
        case TrapRecordClass::radial:
            trapRecords_.push_back(std::make_unique<RadialTrapElement>(record));
            return;
        case TrapRecordClass::scheduled:
            trapRecords_.push_back(std::make_unique<ScheduledTrapElement>(record));
            return;
        case TrapRecordClass::spawning:
            trapRecords_.push_back(std::make_unique<TrapSpawningTrapElement>(record));
            return;
        case TrapRecordClass::line:
            trapRecords_.push_back(std::make_unique<LineIntervalTrapElement>(record));
            return;
        case TrapRecordClass::boss:
            trapRecords_.push_back(std::make_unique<BossElement>(record));
            return;
        case TrapRecordClass::fourPanel:
            trapRecords_.push_back(std::make_unique<FourPanelTrapDoorElement>(record));
            return;
    }
}

}  // namespace Zarn
