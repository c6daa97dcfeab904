#include "foundation/CommandPusher.h"

#include <string>

namespace Corvel {

void PendingCommandTable::add(u32 commandNumber, u32 commandId) {
    PendingCommand& entry = entries[commandNumber];
    entry.commandNumber = commandNumber;
    entry.commandId = commandId;
    entry.sentAtMs = clock_->elapsedMilliseconds();
}

const PendingCommand* PendingCommandTable::find(u32 commandNumber) const {
    auto it = entries.find(commandNumber);
    return it == entries.end() ? nullptr : &it->second;
}

bool CommandPusher::pushRaw(CommandHeader& header) { return pushImpl(header, nullptr, false); }
bool CommandPusher::pushRawWithData(CommandHeader& header, const std::vector<u8>& data) {
    return pushImpl(header, &data, false);
}
bool CommandPusher::push(CommandHeader& header) { return pushImpl(header, nullptr, true); }
bool CommandPusher::pushWithData(CommandHeader& header, const std::vector<u8>& data) {
    return pushImpl(header, &data, true);
}

bool CommandPusher::pushImpl(CommandHeader& header, const std::vector<u8>* data, bool withHook) {
    header.commandNumber = nextCommandNumber++;
    if (header.expectsConfirmation && pending_ != nullptr) pending_->add(header.commandNumber, header.commandId);

    Convinience::Buffer buffer(64);
    header.serialize(buffer);
    if (withHook) onPush(header, buffer);
    if (data != nullptr && !data->empty()) buffer.append(data->data(), static_cast<u32>(data->size()));

    QueuedMessage message{header.fromClientId, header.toClientId, static_cast<u8>(header.expectsConfirmation ? 1 : 0),
                          buffer.takeBytes()};
    if (!queue_->push(std::move(message))) {
        logger_.log(Convinience::severity::warn,
                    "Outgoing queue full, command " + std::to_string(header.commandId) + " number " +
                        std::to_string(header.commandNumber) + " to client " + std::to_string(header.toClientId) +
                        " dropped");
        return false;
    }
    return true;
}

}  // namespace Corvel
