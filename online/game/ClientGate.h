#pragma once

#include <atomic>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "net/ClientEndpointTable.h"
#include "net/RecieverProcessor.h"

namespace Zarn {

// The game server's rules for what remote clients send, and the clients'
// places in the game; every packet from an accepted connection passes here.
//
// A client's first packet names its client ID (10 or above, not taken). The
// gate then registers the endpoint, gives the client the lowest player
// number no live client holds, puts the join the lobby would send (server
// command 8) on the game's ring and holds the client's packets until the game
// has taken it in (release). From then on every packet must carry the 0x1337
// application ID, the client's own ID as sender (in the packet and in the
// command), acknowledged sequence 0 when reliable, and one of the commands a
// client may send (1, 2, 9, 11); a command number that does not rise is a
// repeat and is dropped. A client that breaks any of these, or sends bytes
// that do not parse, is logged and rejected: its connection is closed and its
// unit leaves the game (server command 9 on the game's ring).
//
// I/O thread only, but for rejectedClients. The host, the endpoint table, the
// receiver processor and the game's incoming ring outlive the gate.
class ClientGate {
public:
    // The game's own client ID, to which the gate addresses its records.
    static constexpr u32 kServerId = 1;
    static constexpr u32 kFirstClientId = 10;
    // Packets kept per client while its join is under way; more are dropped.
    static constexpr std::size_t kHeldLimit = 256;

    // What the gate needs of the program around it; called on the I/O thread
    // from inside the gate's operations.
    class Host {
    public:
        virtual ~Host() = default;
        // A join is on the game's ring: a game must run to take it in.
        virtual void joinWaiting() = 0;
        // Records were put on the game's ring.
        virtual void wakeGame() = 0;
        // The client at the endpoint was rejected: close its connection.
        virtual void closeConnection(const std::string& endpoint) = 0;
    };

    // receiver: turns passed packets into records on gameIncoming (its
    // resolver reads `endpoints`).
    ClientGate(Host& host, Ferro::ClientEndpointTable& endpoints, Ferro::RecieverProcessor& receiver,
               Corvel::MessageQueue& gameIncoming);

    // One packet from the endpoint, whose connection the host accepted.
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint);
    // The game has taken the client in: its held packets go on, in order.
    void release(u32 clientId);
    // Logs "<who> disconnected: it sent <reason>", counts the rejection, has
    // the host close the connection and takes the client out of the game.
    void reject(const std::string& endpoint, const std::string& reason);
    // The client with this ID, when it has a place, rejected for the reason.
    void rejectClient(u32 clientId, const std::string& reason);
    // The endpoint's connection ended: its client (if it joined) leaves the
    // game and its endpoint is forgotten.
    void leave(const std::string& endpoint);
    // A record of the host's own (fromID answers) onto the game's ring; the
    // header's command number is the host's next.
    void injectHostCommand(std::vector<u8> bytes);
    u32 nextHostNumber() { return ++hostNumber_; }

    // Clients rejected since construction (any thread).
    u32 rejectedClients() const { return rejected_.load(); }
    // Clients with a place in the game (joined or joining).
    std::size_t clientCount() const { return peers_.size(); }

private:
    struct Peer {
        u32 id = 0;
        bool joined = false;
        u8 number = 0;
        u32 lastNumber = 0;
        std::vector<std::vector<u8>> held;
    };

    void admit(u32 id, const u8* bytes, std::size_t size, const std::string& endpoint);
    void forward(Peer& peer, const u8* bytes, std::size_t size, const std::string& endpoint);
    void inject(u32 from, std::vector<u8> bytes);

    Host& host_;
    Ferro::ClientEndpointTable& endpoints_;
    Ferro::RecieverProcessor& receiver_;
    Corvel::MessageQueue& gameIncoming_;
    Convinience::Logger logger_;
    std::unordered_map<std::string, Peer> peers_;
    std::unordered_map<u32, std::string> endpointOf_;
    u32 hostNumber_ = 0;
    std::atomic<u32> rejected_{0};
};

}  // namespace Zarn
