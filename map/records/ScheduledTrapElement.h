#pragma once

#include <memory>
#include <vector>

#include "map/records/TrapElement.h"

namespace Zarn {

// One step of a scheduled trap: f32 time, u8 kind, f32 duration (9 bytes).
class ScheduledTrapEntry : public Convinience::Serializable {
public:
    ScheduledTrapEntry() = default;
    ScheduledTrapEntry(float time, u8 kind, float duration) : time(time), kind(kind), duration(duration) {}
    explicit ScheduledTrapEntry(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 9; }
    std::unique_ptr<ScheduledTrapEntry> clone() const { return std::make_unique<ScheduledTrapEntry>(*this); }

    float time = 0.0f;
    u8 kind = 0;
    float duration = 0.0f;
};

// TrapElement, then u8 loop, f32 startDelay, f32 warningLead, u32 entry count
// and the entries. 39 + 9 per entry bytes with no covered cells.
class ScheduledTrapElement : public TrapElement {
    ZARN_RECORD_CLONE(ScheduledTrapElement)
public:
    ScheduledTrapElement() = default;
    explicit ScheduledTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return TrapElement::serializedSize() + 13 + 9 * static_cast<u32>(entries.size());
    }

    u8 loop = 0;
    float startDelay = 0.0f;
    float warningLead = 0.0f;
    std::vector<ScheduledTrapEntry> entries;
};

}  // namespace Zarn
