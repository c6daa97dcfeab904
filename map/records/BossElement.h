#pragma once

#include "map/records/TrapElement.h"

namespace Zarn {

// The boss (ID 133): TrapElement, then
// | phaseCount                                            | u8    | 1 to 4 |
// | bossByte                                              | u8    | carried unchanged |
// | startHealth                                           | u8    |
// | idleTime, bombTime, spawnerTime, largeSpawnerTime,
// | cannonTime, armTime                                   | f32 each, seconds |
// | bombTrapNumber, smallSpawnerNumber, largeSpawnerNumber,
// | cannonGroupNumber, arm0Number, arm1Number             | u32 each |
// | bossCellA, bossCellB                                  | Point each |
// 85 bytes with no covered cells.
class BossElement : public TrapElement {
    ZARN_RECORD_CLONE(BossElement)
public:
    BossElement() = default;
    explicit BossElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return TrapElement::serializedSize() + 59; }

    u8 phaseCount = 0;
    u8 bossByte = 0;
    u8 startHealth = 0;
    float idleTime = 0.0f;
    float bombTime = 0.0f;
    float spawnerTime = 0.0f;
    float largeSpawnerTime = 0.0f;
    float cannonTime = 0.0f;
    float armTime = 0.0f;
    u32 bombTrapNumber = 0;
    u32 smallSpawnerNumber = 0;
    u32 largeSpawnerNumber = 0;
    u32 cannonGroupNumber = 0;
    u32 arm0Number = 0;
    u32 arm1Number = 0;
    GeometryLib::Point bossCellA;
    GeometryLib::Point bossCellB;
};

}  // namespace Zarn
