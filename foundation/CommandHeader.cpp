#include "foundation/CommandHeader.h"

namespace Corvel {

CommandHeader::CommandHeader(Convinience::ByteReader& reader)
    : clientId(reader.readU32()),
      commandId(reader.readU32()),
      commandNumber(reader.readU32()),
      replyTo(reader.readU32()),
      expectsConfirmation(reader.readU8() != 0) {}

void CommandHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(clientId);
    buffer.appendU32(commandId);
    buffer.appendU32(commandNumber);
    buffer.appendU32(replyTo);
    buffer.appendU8(expectsConfirmation ? 1 : 0);
}

}  // namespace Corvel
