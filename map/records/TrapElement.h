#pragma once

#include "map/records/MapElement.h"

namespace Zarn {

// The common part of every trap record: GridCoverageElement (the cells the
// trap occupies), then
// | trapNumber   | u32   | the element store indexes traps by it |
// | linkNumber   | u32   | 0: alone; else the store files the trap under it too |
// | startsActive | u8    | non-zero: starts in its active state |
// | position     | Point | the trap's anchor cell |
// 26 bytes with no covered cells. The trap factory may replace coveredCells.
class TrapElement : public GridCoverageElement {
    ZARN_RECORD_CLONE(TrapElement)
public:
    TrapElement() = default;
    explicit TrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return GridCoverageElement::serializedSize() + 13; }

    u32 trapNumber = 0;
    u32 linkNumber = 0;
    u8 startsActive = 0;
    GeometryLib::Point position;
};

// + three f32 times in seconds: startDelay (before the first cycle),
// activeTime (the lethal phase), restTime (the harmless part of a cycle).
// 38 bytes with no covered cells.
class IntervalTrapElement : public TrapElement {
    ZARN_RECORD_CLONE(IntervalTrapElement)
public:
    IntervalTrapElement() = default;
    explicit IntervalTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return TrapElement::serializedSize() + 12; }

    float startDelay = 0.0f;
    float activeTime = 0.2f;
    float restTime = 0.3f;
};

// + f32 warnTime. 42 bytes.
class DelayedTrapElement : public IntervalTrapElement {
    ZARN_RECORD_CLONE(DelayedTrapElement)
public:
    DelayedTrapElement() = default;
    explicit DelayedTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return IntervalTrapElement::serializedSize() + 4; }

    float warnTime = 0.0f;
};

// The vortex: + f32 radius (map units), innerPull, outerPull. 50 bytes.
class RadialTrapElement : public IntervalTrapElement {
    ZARN_RECORD_CLONE(RadialTrapElement)
public:
    RadialTrapElement() = default;
    explicit RadialTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return IntervalTrapElement::serializedSize() + 12; }

    float radius = 0.0f;
    float innerPull = 0.0f;
    float outerPull = 0.0f;
};

// + u32 length (cells). 42 bytes.
class LineIntervalTrapElement : public IntervalTrapElement {
    ZARN_RECORD_CLONE(LineIntervalTrapElement)
public:
    LineIntervalTrapElement() = default;
    explicit LineIntervalTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return IntervalTrapElement::serializedSize() + 4; }

    u32 length = 0;
};

// + f32 snapTime, holdTime, releaseTime, slowDuration, slowFactor. 58 bytes.
class RatTrapElement : public IntervalTrapElement {
    ZARN_RECORD_CLONE(RatTrapElement)
public:
    RatTrapElement() = default;
    explicit RatTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return IntervalTrapElement::serializedSize() + 20; }

    float snapTime = 0.0f;
    float holdTime = 0.0f;
    float releaseTime = 0.0f;
    float slowDuration = 0.0f;
    float slowFactor = 0.0f;
};

// + u8 spawnInterval, spawnRadial, spawnDelayed; u32 minCount, maxCount. 49 bytes.
class TrapSpawningTrapElement : public IntervalTrapElement {
    ZARN_RECORD_CLONE(TrapSpawningTrapElement)
public:
    TrapSpawningTrapElement() = default;
    explicit TrapSpawningTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return IntervalTrapElement::serializedSize() + 11; }

    u8 spawnInterval = 0;
    u8 spawnRadial = 0;
    u8 spawnDelayed = 0;
    u32 minCount = 0;
    u32 maxCount = 0;
};

// + u8 panelFlag (carried unchanged). 39 bytes.
class FourPanelTrapDoorElement : public IntervalTrapElement {
    ZARN_RECORD_CLONE(FourPanelTrapDoorElement)
public:
    FourPanelTrapDoorElement() = default;
    explicit FourPanelTrapDoorElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return IntervalTrapElement::serializedSize() + 1; }

    u8 panelFlag = 0;
};

}  // namespace Zarn
