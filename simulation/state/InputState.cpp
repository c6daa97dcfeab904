#include "simulation/state/InputState.h"

#include "simulation/state/RecordRead.h"

namespace Zarn {

InputData::InputData(Convinience::ByteReader& reader) {
    readReceived([&] {
        kind = reader.readU8();
        position = GeometryLib::FPoint(reader);
    });
}

void InputData::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU8(kind);
    position.serialize(buffer);
}

InputState::InputState(Convinience::ByteReader& reader) {
    readReceived([&] {
        clientID = reader.readU32();
        inputTick = reader.readU32();
        const u32 count = reader.readCount(InputData::kSize);
        inputs.reserve(count);
        for (u32 i = 0; i < count; ++i) inputs.emplace_back(reader);
    });
}

void InputState::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(clientID);
    buffer.appendU32(inputTick);
    buffer.appendU32(static_cast<u32>(inputs.size()));
    for (const InputData& input : inputs) input.serialize(buffer);
}

AckedInputTicks::AckedInputTicks(Convinience::ByteReader& reader) {
    readReceived([&] {
        clientID = reader.readU32();
        ticks = reader.readU32Vector();
    });
}

void AckedInputTicks::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(clientID);
    Convinience::writeU32Vector(buffer, ticks);
}

}  // namespace Zarn
