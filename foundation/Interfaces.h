#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Convinience {

// A loop that another thread can wake. wake() may be called from any thread;
// it ends the owner's current wait early and never blocks for long.
class Wakeable {
public:
    virtual ~Wakeable() = default;
    virtual void wake() = 0;
};

// Something stepped with the frame or tick delta (seconds).
class Updatable {
public:
    virtual ~Updatable() = default;
    virtual void update(float dt) = 0;
};

// Holder of per-client state for many clients: told when a client is added or
// removed.
class MultiClientCreator {
public:
    virtual ~MultiClientCreator() = default;
    virtual void addClient(u32 clientId) = 0;
    virtual void removeClient(u32 clientId) = 0;
};

// A channel that sends bytes to an endpoint ("host:port").
class Sender {
public:
    virtual ~Sender() = default;
    virtual void send(const std::vector<u8>& bytes, const std::string& endpoint) = 0;
};

// A sender with two channels: send() is unreliable, sendReliable() guarantees
// delivery.
class ReliableSender : public Sender {
public:
    virtual void sendReliable(const std::vector<u8>& bytes, const std::string& endpoint) = 0;
};

// A sink for received packets. The bytes are valid only during the call.
class Reciever {
public:
    virtual ~Reciever() = default;
    virtual void receive(const u8* bytes, std::size_t size, const std::string& endpoint) = 0;
};

// A reader of one section of a map stream.
class StreamImporter {
public:
    virtual ~StreamImporter() = default;
    virtual void import(std::istream& stream) = 0;
};

}  // namespace Convinience
