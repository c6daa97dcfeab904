#include "simulation/server/HostRecord.h"

#include "foundation/Buffer.h"
#include "foundation/CommandHeader.h"

namespace Zarn {

Corvel::QueuedMessage makeHostRecord(u32 fromId, u32 commandId, const std::vector<u8>& payload) {
    Corvel::CommandHeader header(fromId, commandId, 0, true);
    header.fromClientId = fromId;
    header.toClientId = 0;
    Convinience::Buffer buffer(64);
    header.serialize(buffer);
    if (!payload.empty()) buffer.append(payload.data(), static_cast<u32>(payload.size()));
    Corvel::QueuedMessage message;
    message.fromClientId = fromId;
    message.toClientId = 0;
    message.reliable = 1;
    message.bytes = buffer.takeBytes();
    return message;
}

}  // namespace Zarn
