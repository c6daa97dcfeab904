#pragma once

#include <boost/asio/ip/udp.hpp>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/RateLimitedLog.h"
#include "online/LobbyLink.h"
#include "online/game/HostedGame.h"

namespace Zarn {

// Where each admitted client is reached: its TCP connection's endpoint string
// and the endpoint its datagrams come from (until the first one, its TCP
// endpoint). Written by the gate (I/O thread), read by the games' threads.
class ClientRoutes {
public:
    struct Route {
        std::string reliable;
        boost::asio::ip::udp::endpoint unreliable;
    };
    // The client's connection; its datagrams go to the connection's address
    // and port until setUnreliable. The endpoint is canonical
    // (net/Endpoint.h).
    void set(u32 clientID, const std::string& reliable);
    void setUnreliable(u32 clientID, const boost::asio::ip::udp::endpoint& unreliable);
    void remove(u32 clientID);
    bool find(u32 clientID, Route& out) const;
    std::size_t size() const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<u32, Route> routes_;
};

// The game server's rules for what comes in, and its bookkeeping of who may
// play where. Every TCP packet, every datagram, every ended connection and
// every event of a game passes here, on the I/O thread.
//
// The lobby: a connection from a trusted address whose first packet is the
// link's hello becomes the lobby's link (online/LobbyLink.h); a newer hello
// replaces an older link. Its grants give a client ID a place in one of the
// lobby's instances, for the address the player comes from; its revokes take
// unused places back. Places that stay unused for the grant time-out lapse.
// The gate tells the lobby of every player that leaves and every place that
// lapses or is refused, and of every instance that has ended.
//
// A client: the first packet on any other connection names its client ID.
// The gate admits it only when the lobby granted that ID from the
// connection's address and the ID is not in play; anything else is refused
// with a log line and the connection closed. An admitted client goes into
// its instance's game (a fresh one when the instance has none or its game
// has closed), announced with the lobby's number and nickname; its packets
// are held until the game has taken it in.
//
// Rules: every TCP packet must parse, carry the 0x1337 application ID, the
// client's own ID as sender (in the packet and in the command), acknowledged
// sequence 0 when reliable, and a command a client may send (1, 2, 9, 11); a
// client that breaks them is disconnected and leaves its game. Datagrams are
// taken from the client's address, from any port, once the game has taken
// the client in, and carry only state updates and inputs (1, 2), unreliable,
// numbered less than kNumberWindow past the client's last command; its syncs
// then go to where its datagrams come from. A datagram that breaks a rule is
// dropped and counted (logged at most once a second per source); it never
// costs a player its place. A command number that does not rise is a repeat
// and is dropped.
//
// Time-outs (housekeeping, about once a second): a connection that has said
// nothing after identifyTimeout is closed; a client silent for
// silenceTimeout is disconnected.
//
// I/O thread only, but for the counters marked otherwise.
class ClientGate {
public:
    static constexpr u32 kGameServerID = ZarnOnline::link::kGameServerId;
    static constexpr u32 kFirstClientID = 10;
    // Packets kept per client while its join is under way; more are dropped.
    static constexpr std::size_t kHeldLimit = 256;
    // Records kept per game while its ring is full; more unreliable ones are
    // dropped, a client whose reliable ones do not fit is disconnected.
    static constexpr std::size_t kWaitingLimit = 4096;
    // How far a datagram's command number may lie past the client's last:
    // about two minutes of commands (a forged number far ahead would make
    // every later command of the client look like a repeat).
    static constexpr u32 kNumberWindow = 4096;
    // Kinds of log lines kept apart at once (see RateLimitedLog).
    static constexpr std::size_t kLogKinds = 64;

    struct Timeouts {
        u64 identifyMs = 30000;
        u64 silenceMs = 10000;
        u64 grantMs = 30000;
    };

    // What the gate needs of the program around it (I/O thread).
    class Host {
    public:
        virtual ~Host() = default;
        // Closes the TCP connection (nothing more is read from it; the gate is
        // not told of its end).
        virtual void closeConnection(const std::string& endpoint) = 0;
        // Writes bytes to the TCP connection (the lobby's link).
        virtual void sendTo(const std::string& endpoint, std::vector<u8>&& bytes) = 0;
        // Whether the game server has the map of the hash.
        virtual bool servesMap(u32 mapHash) const = 0;
        // A started game for the terms, or null when it cannot be made
        // (logged by the host).
        virtual std::shared_ptr<HostedGame> openGame(const ZarnOnline::InstanceTerms& terms) = 0;
        // A game that has ended is let go (joined) by the host.
        virtual void retireGame(std::shared_ptr<HostedGame> game) = 0;
        // Records were put on the game's ring: its loop should take them. The
        // host may wake each game once after a burst of packets.
        virtual void wakeGame(HostedGame& game) = 0;
    };

    // host and routes outlive the gate. lobbyAddresses: the addresses whose
    // hello is taken as the lobby's.
    ClientGate(Host& host, ClientRoutes& routes, std::vector<std::string> lobbyAddresses, Timeouts timeouts);

    // A new TCP connection (its endpoint string), at the time given.
    void opened(const std::string& endpoint, u64 nowMs);
    // One packet from a TCP connection the host accepted.
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint, u64 nowMs);
    // One datagram from a source.
    void receiveDatagram(const u8* bytes, std::size_t size, const std::string& source, u64 nowMs);
    // The TCP connection ended (the peer closed it, or the host dropped it).
    void ended(const std::string& endpoint);
    // Time-outs, lapsed grants, records waiting for a game's ring, held-back
    // log lines.
    void housekeeping(u64 nowMs);

    // Events of the games (posted to the I/O thread).
    void tookIn(HostedGame& game, u32 clientID);
    void seated(HostedGame& game, u32 clientID);
    void closed(HostedGame& game);
    // The room is over: its game takes no new players, and the lobby hears
    // that the instance's game has ended (its players leave on their own).
    void finished(HostedGame& game);
    void kicked(HostedGame& game, const std::vector<u32>& clientIDs);
    void ended(HostedGame& game);

    // Connections dropped for what they sent or for silence (any thread).
    u32 rejectedClients() const { return rejected_.load(); }
    // Datagrams dropped for breaking a rule (any thread).
    u64 badDatagrams() const { return badDatagrams_.load(); }
    // Players in games or on their way (grants held).
    std::size_t players() const { return grants_.size(); }
    std::size_t games() const;
    std::size_t connections() const { return peers_.size(); }
    bool linked() const { return !link_.empty(); }

private:
    struct InstanceKey {
        u64 epoch = 0;
        u32 instanceID = 0;
        auto operator<=>(const InstanceKey&) const = default;
    };
    struct Grant {
        InstanceKey instance;
        PlayerInfo player;
        std::string address;
        u64 grantedAtMs = 0;
        std::string endpoint;  // the client's connection once it has come
    };
    struct Instance {
        ZarnOnline::InstanceTerms terms;
        std::shared_ptr<HostedGame> game;  // the open game, or null
        std::vector<std::shared_ptr<HostedGame>> closing;
        std::size_t grants = 0;
    };
    enum class Role { unknown, client, lobby };
    struct Peer {
        Role role = Role::unknown;
        u64 openedAtMs = 0;
        u64 lastHeardMs = 0;
        u32 id = 0;
        HostedGame* game = nullptr;  // owned by its instance
        bool takenIn = false;
        bool seated = false;
        u32 lastNumber = 0;
        std::vector<std::vector<u8>> held;    // until taken in
        std::vector<std::vector<u8>> replay;  // every packet until seated
        std::string datagramsFrom;            // where its last datagram came from
    };
    struct Waiting {
        std::deque<Corvel::QueuedMessage> records;
    };

    void receiveFirst(Peer& peer, const u8* bytes, std::size_t size, const std::string& endpoint, u64 nowMs);
    void receiveFromLobby(const u8* bytes, std::size_t size, const std::string& endpoint);
    void receiveFromClient(Peer& peer, const u8* bytes, std::size_t size, const std::string& endpoint);
    void admit(Peer& peer, u32 id, const u8* bytes, std::size_t size, const std::string& endpoint, u64 nowMs);
    // Puts the peer into its instance's open game (a fresh one when needed)
    // and announces it; false when no game can be opened.
    bool seatInGame(Peer& peer, const std::string& endpoint);
    void forward(Peer& peer, const u8* bytes, std::size_t size, bool reliable);
    void reject(const std::string& endpoint, const std::string& reason);
    void leave(const std::string& endpoint);

    void grant(const ZarnOnline::LinkMessage& message, u64 nowMs);
    void revoke(u32 instanceID, u32 clientID);
    // Forgets the grant and tells the lobby the player is gone.
    void dropGrant(u32 clientID);
    void tellLobby(const InstanceKey& key, ZarnOnline::LinkMessage message);
    // Forgets an instance that has no grants and no game, telling the lobby.
    void settle(const InstanceKey& key);

    Instance* instanceOf(const HostedGame& game, InstanceKey* key = nullptr);
    // The game takes no new players: whoever was on the way into it goes
    // into a fresh game of its instance.
    void retire(HostedGame& game, const std::string& why);
    void inject(HostedGame& game, Corvel::QueuedMessage&& record);
    void pushOrWait(HostedGame& game, Corvel::QueuedMessage&& record, bool mustArrive,
                    const std::string& from);
    void flushWaiting();
    void announce(HostedGame& game, const PlayerInfo& player);

    Host& host_;
    ClientRoutes& routes_;
    std::vector<std::string> lobbyAddresses_;
    Timeouts timeouts_;
    Convinience::Logger logger_;
    Convinience::RateLimitedLog limited_{Convinience::TickClock::steady(), kLogKinds};

    std::unordered_map<std::string, Peer> peers_;
    std::unordered_map<u32, Grant> grants_;
    std::map<InstanceKey, Instance> instances_;
    std::unordered_map<const HostedGame*, Waiting> waiting_;
    std::string link_;  // the lobby's connection, or empty
    u64 epoch_ = 0;     // of the current link
    u32 linkNumber_ = 0;
    u32 hostNumber_ = 0;
    std::atomic<u32> rejected_{0};
    std::atomic<u64> badDatagrams_{0};
};

}  // namespace Zarn
