#pragma once

#include <string>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "net/ClientEndpointTable.h"
#include "net/Packet.h"

namespace Ferro {

// Where every received packet ends: parses it, checks its application ID and
// its sender's endpoint, hands the acknowledgement it carries to the sender
// side and queues its payload for the command layer as a message record
// {resolved sender ID, destination ID, reliable flag, payload}.
//
// Called on the I/O thread only (the TCP and UDP readers deliver here). It is
// the one producer of the acknowledgement ring and of the incoming ring; a
// full ring drops the record. Nothing a peer sends makes it throw: bad input
// is logged and dropped.
class RecieverProcessor : public Convinience::Reciever {
public:
    // All four are owned by the client object and outlive the processor.
    // clock may be null (receive times are then 0); it must be started before
    // the I/O thread runs and is only read here.
    RecieverProcessor(AcknowledgementQueue& acknowledgements, const ClientIDResolver& resolver,
                      const Convinience::Stopwatch* clock, Corvel::MessageQueue& incoming)
        : acknowledgements_(&acknowledgements), resolver_(&resolver), clock_(clock), incoming_(&incoming) {}

    // `bytes` holds `size` received bytes that should start with one packet;
    // bytes after the packet's stated payload are ignored.
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override;

private:
    void process(const u8* bytes, std::size_t size, const std::string& endpoint);

    AcknowledgementQueue* acknowledgements_;
    const ClientIDResolver* resolver_;
    const Convinience::Stopwatch* clock_;
    Corvel::MessageQueue* incoming_;
    Convinience::Logger logger_;
};

}  // namespace Ferro
