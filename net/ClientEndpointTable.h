#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

#include "foundation/Types.h"
#include "net/Packet.h"

namespace Ferro {

// Where one client is reached: its reliable (TCP) and unreliable (UDP)
// endpoint strings.
struct EndpointPair {
    std::string reliable;
    std::string unreliable;
};

// Client ID to endpoint strings, one table for the reliable channel and one
// for the unreliable one. Shared by a client's sender processor (send thread),
// its receiver processor (I/O thread) and its owner (registration); one mutex
// guards every operation. Each table is one-to-one: an endpoint belongs to at
// most one ID, and a pair whose ID or endpoint is already present is not
// inserted.
class ClientEndpointTable {
public:
    // In both tables: removes the entries of `id`, then inserts (id,
    // endpoint). The endpoint must be canonical (see net/Endpoint.h, use
    // resolveEndpoint first); any other text throws
    // InvalidEndpointStringException and changes nothing. Returns false when
    // the endpoint already belongs to another ID (the ID then has no entry).
    bool assign(u32 id, const std::string& endpoint);
    // Forgets `id` in both tables (a client that left or was dropped): its
    // endpoint is free for another ID and nothing more goes to it. Answers
    // whether the table held `id`.
    bool remove(u32 id);

    // True and the endpoint when the table holds `id`; else false, `out`
    // untouched.
    bool getReliableEndpoint(u32 id, std::string& out) const;
    bool getUnreliableEndpoint(u32 id, std::string& out) const;
    // True and both endpoints when the reliable table holds `id`.
    bool getEndpoints(u32 id, EndpointPair& out) const;

private:
    struct OneToOne {
        bool insert(u32 id, const std::string& endpoint);
        bool erase(u32 id);
        bool find(u32 id, std::string& out) const;
        std::unordered_map<u32, std::string> byId;
        std::unordered_map<std::string, u32> byEndpoint;
    };

    mutable std::mutex mutex_;
    OneToOne reliable_;
    OneToOne unreliable_;
};

// Decides which client sent a packet: the client ID that the header claims,
// when the endpoint registered for that ID on the packet's channel is exactly
// the endpoint it came from. Used on the I/O thread.
class ClientIDResolver {
public:
    static constexpr u32 kInvalidClientId = 0xFFFFFFFF;

    // table: owned by the client object, outlives the resolver.
    explicit ClientIDResolver(const ClientEndpointTable& table) : table_(&table) {}

    u32 resolve(const std::string& endpoint, const Packet1337Header& header) const;

    u32 expectedApplicationId = kApplicationId;

private:
    const ClientEndpointTable* table_;
};

}  // namespace Ferro
