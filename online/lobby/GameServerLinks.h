#pragma once

#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Logger.h"
#include "foundation/RateLimitedLog.h"
#include "net/IoStrand.h"
#include "net/TCPConnector.h"
#include "net/TCPReciever.h"
#include "net/TCPSender.h"
#include "online/LobbyLink.h"

namespace ZarnLobby {

// The lobby's links to its game servers (online/LobbyLink.h): one TCP
// connection to each configured "HOST:PORT", opened by the lobby, which says
// hello; a game server counts as live from its welcome until the connection
// ends. A link that cannot be made or that ends is tried again after a
// back-off of 100 ms that doubles up to 5 s; failures are logged at most once
// a second per server. Link sockets use TCP keep-alive, so a game server
// whose machine vanishes is noticed within about half a minute.
//
// The links share the lobby's TCP reader and sender, registered under the
// game server's endpoint string; the lobby hands each packet and each end of
// a connection here first (receive, ended), which answer whether it was a
// link's.
//
// Threads: everything runs on the strand (the lobby's I/O thread), but for
// the constructor.
class GameServerLinks {
public:
    static constexpr std::chrono::milliseconds kFirstRetry{100};
    static constexpr std::chrono::milliseconds kLongestRetry{5000};

    // Told of the links (strand).
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void linkUp(std::size_t server, u32 otherPlayers) = 0;
        virtual void linkDown(std::size_t server) = 0;
        virtual void linkMessage(std::size_t server, const ZarnOnline::LinkMessage& message) = 0;
    };

    // reader, sender and listener outlive the links.
    GameServerLinks(Ferro::IoStrand strand, Ferro::TCPReciever& reader, Ferro::TCPSender& sender,
                    std::vector<std::string> endpoints, Listener& listener);
    ~GameServerLinks();
    GameServerLinks(const GameServerLinks&) = delete;
    GameServerLinks& operator=(const GameServerLinks&) = delete;

    // Strand: opens every link.
    void start();
    // Strand: ends every link and stops trying.
    void stop();

    // Strand: a packet from a connection; true when it was a link's.
    bool receive(const u8* bytes, std::size_t size, const std::string& endpoint);
    // Strand: a connection ended; true when it was a link's.
    bool ended(const std::string& endpoint);
    // Strand: a message to a live game server (dropped when it is not live).
    void send(std::size_t server, const ZarnOnline::LinkMessage& message);

    std::size_t count() const { return links_.size(); }
    bool live(std::size_t server) const;
    // The game server's endpoint as configured: what players are sent to.
    const std::string& endpoint(std::size_t server) const;
    // Strand: writes the counts of held-back log lines.
    void flushLog() { log_.flush(); }

private:
    struct Link;

    void connect(Link& link);
    void retry(Link& link);
    void down(Link& link, const std::string& why);

    Ferro::IoStrand strand_;
    Ferro::TCPReciever& reader_;
    Ferro::TCPSender& sender_;
    Listener& listener_;
    std::vector<std::unique_ptr<Link>> links_;
    bool stopped_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    Convinience::Logger logger_;
    Convinience::RateLimitedLog log_;
};

}  // namespace ZarnLobby
