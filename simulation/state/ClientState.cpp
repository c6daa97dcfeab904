#include "simulation/state/ClientState.h"

#include "simulation/state/RecordRead.h"

namespace Zarn {

ClientState::ClientState(Convinience::ByteReader& reader) {
    readReceived([&] {
        statusValues = reader.readU32Vector();
        clientID = reader.readU32();
        mainState = reader.readU32();
        position = GeometryLib::FPoint(reader);
        velocity = GeometryLib::FPoint(reader);
        steering = GeometryLib::FPoint(reader);
    });
}

void ClientState::serialize(Convinience::Buffer& buffer) const {
    Convinience::writeU32Vector(buffer, statusValues);
    buffer.appendU32(clientID);
    buffer.appendU32(mainState);
    position.serialize(buffer);
    velocity.serialize(buffer);
    steering.serialize(buffer);
}

}  // namespace Zarn
