#include "net/RecieverProcessor.h"

#include <exception>

namespace Ferro {

void RecieverProcessor::receive(const u8* bytes, std::size_t size, const std::string& endpoint) {
    try {
        process(bytes, size, endpoint);
    } catch (...) {
        logger_.log(Convinience::severity::error, "Error occoured recieving packet from " + endpoint);
    }
}

void RecieverProcessor::process(const u8* bytes, std::size_t size, const std::string& endpoint) {
    Convinience::ByteReader reader(bytes, size);
    Packet1337Header header;
    bool whole = false;
    if (size >= Packet1337Header::kSize) {
        header = Packet1337Header(reader);
        whole = header.payloadLength <= reader.remaining();
    }
    if (!whole || header.applicationId != resolver_->expectedApplicationId) {
        logger_.log(Convinience::severity::warn, "Recieved invalid packet from " + endpoint);
        return;
    }
    const u32 id = resolver_->resolve(endpoint, header);
    if (id == ClientIDResolver::kInvalidClientId) {
        logger_.log(Convinience::severity::warn, "Recieved packet from invalid endpoint " + endpoint);
        return;
    }
    if (!header.isReliable() || header.acknowledgedSequenceNumber != 0) {
        const u64 now = clock_ != nullptr ? clock_->elapsedMilliseconds() : 0;
        acknowledgements_->push(AcknowledgementRecord{header.acknowledgedSequenceNumber, now});
    }
    Corvel::QueuedMessage message;
    message.fromClientId = id;
    message.toClientId = header.destinationClientId;
    message.reliable = header.isReliable() ? 1 : 0;
    message.bytes = reader.readBytes(header.payloadLength);
    incoming_->push(std::move(message));
}

}  // namespace Ferro
