#include "map/records/DialogEntry.h"

namespace Zarn {

DialogEntry::DialogEntry(Convinience::ByteReader& reader) {
    const u32 textLength = reader.readU32();
    const u32 speakerLength = reader.readU32();
    reader.require(static_cast<std::size_t>(textLength) + speakerLength);
    const std::vector<u8> textBytes = reader.readBytes(textLength);
    const std::vector<u8> speakerBytes = reader.readBytes(speakerLength);
    text.assign(textBytes.begin(), textBytes.end());
    speaker.assign(speakerBytes.begin(), speakerBytes.end());
    number = reader.readU32();
    position = GeometryLib::Point(reader);
}

void DialogEntry::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(text.size()));
    buffer.appendU32(static_cast<u32>(speaker.size()));
    buffer.append(text.data(), static_cast<u32>(text.size()));
    buffer.append(speaker.data(), static_cast<u32>(speaker.size()));
    buffer.appendU32(number);
    position.serialize(buffer);
}

}  // namespace Zarn
