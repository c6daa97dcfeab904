// fuzz-links: net
// Feeds arbitrary bytes to the transport's receive side: once as a datagram
// straight into the receiver processor, once as a TCP stream that the framer
// cuts (in reads of a size the first byte picks) before the processor sees
// it. The acknowledgements that come out go through the sender side's
// bookkeeping. Every read stays within its bytes and nothing throws.
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "foundation/Stopwatch.h"
#include "net/AckFieldTracker.h"
#include "net/DeliveryTracker.h"
#include "net/PacketFramer.h"
#include "net/RecieverProcessor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string server = "127.0.0.1:4000";
    Convinience::ManualTickClock ticks;
    Convinience::Stopwatch clock(ticks);
    clock.start();
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue incoming(256);
    Ferro::ClientEndpointTable endpoints;
    endpoints.assign(9, server);
    Ferro::ClientIDResolver resolver(endpoints);
    Ferro::RecieverProcessor processor(acknowledgements, resolver, &clock, incoming);
    Ferro::DeliveryTracker delivery(acknowledgements, &clock);
    std::unordered_map<u32, i32> ages;
    Ferro::AckFieldTracker ackFields(&ages, &delivery.acknowledged);
    for (u32 n = 0; n < 8; ++n) delivery.recordSend(n);

    auto settle = [&] {
        Corvel::QueuedMessage message;
        while (incoming.pop(message)) {
        }
        ticks.advanceMs(7);
        while (acknowledgements.read_available() > 0) {
            delivery.takeAcknowledged();
            Ferro::Packet1337Header header;
            ackFields.fillAckFields(header);
        }
        delivery.takeLost();
    };

    const std::uint8_t* bytes = data + 1;
    const std::size_t n = size - 1;
    processor.receive(bytes, n, server);
    settle();

    const std::size_t readSize = (data[0] % 64) + 1;
    Ferro::PacketFramer framer;
    for (std::size_t at = 0; at < n && !framer.broken(); at += readSize) {
        framer.feed(bytes + at, std::min(readSize, n - at), [&](const u8* packet, std::size_t packetSize) {
            processor.receive(packet, packetSize, server);
        });
        settle();
    }
    return 0;
}
