#include "map/records/TrapElement.h"

namespace Zarn {

TrapElement::TrapElement(Convinience::ByteReader& reader) : GridCoverageElement(reader) {
    trapNumber = reader.readU32();
    linkNumber = reader.readU32();
    startsActive = reader.readU8();
    position = GeometryLib::Point(reader);
}

void TrapElement::serialize(Convinience::Buffer& buffer) const {
    GridCoverageElement::serialize(buffer);
    buffer.appendU32(trapNumber);
    buffer.appendU32(linkNumber);
    buffer.appendU8(startsActive);
    position.serialize(buffer);
}

IntervalTrapElement::IntervalTrapElement(Convinience::ByteReader& reader) : TrapElement(reader) {
    startDelay = reader.readFloat();
    activeTime = reader.readFloat();
    restTime = reader.readFloat();
}

void IntervalTrapElement::serialize(Convinience::Buffer& buffer) const {
    TrapElement::serialize(buffer);
    buffer.appendFloat(startDelay);
    buffer.appendFloat(activeTime);
    buffer.appendFloat(restTime);
}

DelayedTrapElement::DelayedTrapElement(Convinience::ByteReader& reader) : IntervalTrapElement(reader) {
    warnTime = reader.readFloat();
}

void DelayedTrapElement::serialize(Convinience::Buffer& buffer) const {
    IntervalTrapElement::serialize(buffer);
    buffer.appendFloat(warnTime);
}

RadialTrapElement::RadialTrapElement(Convinience::ByteReader& reader) : IntervalTrapElement(reader) {
    radius = reader.readFloat();
    innerPull = reader.readFloat();
    outerPull = reader.readFloat();
}

void RadialTrapElement::serialize(Convinience::Buffer& buffer) const {
    IntervalTrapElement::serialize(buffer);
    buffer.appendFloat(radius);
    buffer.appendFloat(innerPull);
    buffer.appendFloat(outerPull);
}

LineIntervalTrapElement::LineIntervalTrapElement(Convinience::ByteReader& reader)
    : IntervalTrapElement(reader) {
    length = reader.readU32();
}

void LineIntervalTrapElement::serialize(Convinience::Buffer& buffer) const {
    IntervalTrapElement::serialize(buffer);
    buffer.appendU32(length);
}

RatTrapElement::RatTrapElement(Convinience::ByteReader& reader) : IntervalTrapElement(reader) {
    snapTime = reader.readFloat();
    holdTime = reader.readFloat();
    releaseTime = reader.readFloat();
    slowDuration = reader.readFloat();
    slowFactor = reader.readFloat();
}

void RatTrapElement::serialize(Convinience::Buffer& buffer) const {
    IntervalTrapElement::serialize(buffer);
    buffer.appendFloat(snapTime);
    buffer.appendFloat(holdTime);
    buffer.appendFloat(releaseTime);
    buffer.appendFloat(slowDuration);
    buffer.appendFloat(slowFactor);
}

TrapSpawningTrapElement::TrapSpawningTrapElement(Convinience::ByteReader& reader)
    : IntervalTrapElement(reader) {
    spawnInterval = reader.readU8();
    spawnRadial = reader.readU8();
    spawnDelayed = reader.readU8();
    minCount = reader.readU32();
    maxCount = reader.readU32();
}

void TrapSpawningTrapElement::serialize(Convinience::Buffer& buffer) const {
    IntervalTrapElement::serialize(buffer);
    buffer.appendU8(spawnInterval);
    buffer.appendU8(spawnRadial);
    buffer.appendU8(spawnDelayed);
    buffer.appendU32(minCount);
    buffer.appendU32(maxCount);
}

FourPanelTrapDoorElement::FourPanelTrapDoorElement(Convinience::ByteReader& reader)
    : IntervalTrapElement(reader) {
    panelFlag = reader.readU8();
}

void FourPanelTrapDoorElement::serialize(Convinience::Buffer& buffer) const {
    IntervalTrapElement::serialize(buffer);
    buffer.appendU8(panelFlag);
}

}  // namespace Zarn
