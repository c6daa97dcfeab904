#pragma once

#include "foundation/Command.h"
#include "foundation/Logger.h"

namespace Zarn {

class FixedRateProducer;
class GSCommandPusher;

// Builds the commands the client issues itself (1 state update, 2 input,
// 9 exit game). The pusher, the producer and the game's from-ID (a field of
// the core's game instance) are observed and outlive the factory. Used on the
// client's main thread.
class ClientLocalCommandFactory : public Convinience::IDBasedCommandFactory {
public:
    ClientLocalCommandFactory(GSCommandPusher& pusher, FixedRateProducer& producer, const u32& gameFromId)
        : pusher_(&pusher), producer_(&producer), gameFromId_(&gameFromId) {}

    // Any other ID logs "Invalid local commandID <id>" at CRITICAL and throws
    // Convinience::Error "Invalid Command ID".
    std::unique_ptr<Convinience::Command> create(u32 commandId) override;

    // Set by the core's setLocalClientID.
    u32 localClientID = 0;

private:
    GSCommandPusher* pusher_;
    FixedRateProducer* producer_;
    const u32* gameFromId_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
