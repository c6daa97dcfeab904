#include "map/records/BossElement.h"

namespace Zarn {

BossElement::BossElement(Convinience::ByteReader& reader) : TrapElement(reader) {
    phaseCount = reader.readU8();
    bossByte = reader.readU8();
    startHealth = reader.readU8();
    idleTime = reader.readFloat();
    bombTime = reader.readFloat();
    spawnerTime = reader.readFloat();
    largeSpawnerTime = reader.readFloat();
    cannonTime = reader.readFloat();
    armTime = reader.readFloat();
    bombTrapNumber = reader.readU32();
    smallSpawnerNumber = reader.readU32();
    largeSpawnerNumber = reader.readU32();
    cannonGroupNumber = reader.readU32();
    arm0Number = reader.readU32();
    arm1Number = reader.readU32();
    bossCellA = GeometryLib::Point(reader);
    bossCellB = GeometryLib::Point(reader);
}

void BossElement::serialize(Convinience::Buffer& buffer) const {
    TrapElement::serialize(buffer);
    buffer.appendU8(phaseCount);
    buffer.appendU8(bossByte);
    buffer.appendU8(startHealth);
    buffer.appendFloat(idleTime);
    buffer.appendFloat(bombTime);
    buffer.appendFloat(spawnerTime);
    buffer.appendFloat(largeSpawnerTime);
    buffer.appendFloat(cannonTime);
    buffer.appendFloat(armTime);
    buffer.appendU32(bombTrapNumber);
    buffer.appendU32(smallSpawnerNumber);
    buffer.appendU32(largeSpawnerNumber);
    buffer.appendU32(cannonGroupNumber);
    buffer.appendU32(arm0Number);
    buffer.appendU32(arm1Number);
    bossCellA.serialize(buffer);
    bossCellB.serialize(buffer);
}

}  // namespace Zarn
