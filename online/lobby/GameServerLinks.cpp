#include "online/lobby/GameServerLinks.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <boost/asio/bind_executor.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <exception>

#include "net/Endpoint.h"

namespace ZarnLobby {

using boost::asio::ip::tcp;
namespace severity = Convinience::severity;
namespace link = ZarnOnline::link;

namespace {

constexpr std::chrono::seconds kConnectTimeout{5};

// Keep-alive probes after 10 s of quiet, every 5 s, 4 unanswered end it.
void keepAlive(tcp::socket& socket) {
    boost::system::error_code ignored;
    socket.set_option(tcp::socket::keep_alive(true), ignored);
    const int idle = 10, interval = 5, probes = 4;
    const int fd = socket.native_handle();
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
}

}  // namespace

struct GameServerLinks::Link {
    Link(Ferro::IoStrand& strand, std::size_t index, std::string configured)
        : index(index), configured(std::move(configured)), resolver(strand), timer(strand) {}

    std::size_t index;
    std::string configured;  // "HOST:PORT" as given
    std::string name;        // the connection's endpoint string while connected
    std::shared_ptr<tcp::socket> socket;
    tcp::resolver resolver;
    boost::asio::steady_timer timer;
    std::chrono::milliseconds backOff{0};
    u64 attempt = 0;
    u32 number = 0;
    bool live = false;
};

GameServerLinks::GameServerLinks(Ferro::IoStrand strand, Ferro::TCPReciever& reader, Ferro::TCPSender& sender,
                                 std::vector<std::string> endpoints, Listener& listener)
    : strand_(strand), reader_(reader), sender_(sender), listener_(listener) {
    for (std::size_t i = 0; i < endpoints.size(); ++i)
        links_.push_back(std::make_unique<Link>(strand_, i, std::move(endpoints[i])));
}

GameServerLinks::~GameServerLinks() {
    *alive_ = false;
}

bool GameServerLinks::live(std::size_t server) const {
    return links_.at(server)->live;
}

const std::string& GameServerLinks::endpoint(std::size_t server) const {
    return links_.at(server)->configured;
}

void GameServerLinks::start() {
    for (auto& link : links_) connect(*link);
}

void GameServerLinks::stop() {
    stopped_ = true;
    for (auto& link : links_) {
        link->timer.cancel();
        link->resolver.cancel();
        ++link->attempt;
        if (link->socket) {
            boost::system::error_code ignored;
            link->socket->close(ignored);
        }
    }
}

void GameServerLinks::connect(Link& link) {
    if (stopped_) return;
    const u64 attempt = ++link.attempt;
    const auto colon = link.configured.find(':');
    const std::string host = colon == std::string::npos ? link.configured : link.configured.substr(0, colon);
    const std::string port = colon == std::string::npos ? "" : link.configured.substr(colon + 1);
    link.socket = std::make_shared<tcp::socket>(strand_);
    link.timer.expires_after(kConnectTimeout);
    link.timer.async_wait(boost::asio::bind_executor(
        strand_, [this, alive = alive_, &link, attempt](const boost::system::error_code& e) {
            if (!*alive || e || attempt != link.attempt) return;
            down(link, "no answer");
        }));
    link.resolver.async_resolve(
        tcp::v4(), host, port,
        boost::asio::bind_executor(
            strand_, [this, alive = alive_, &link, attempt](const boost::system::error_code& error,
                                                            const tcp::resolver::results_type& results) {
                if (!*alive || attempt != link.attempt) return;
                if (error || results.empty()) return down(link, "its name does not resolve");
                link.socket->async_connect(
                    results.begin()->endpoint(),
                    boost::asio::bind_executor(
                        strand_, [this, alive, &link, attempt](const boost::system::error_code& e) {
                            if (!*alive || attempt != link.attempt) return;
                            if (e)
                                return down(link, "the connection failed [" + Ferro::errorCodeText(e) + "]");
                            boost::system::error_code error;
                            const auto remote = link.socket->remote_endpoint(error);
                            if (error) return down(link, "the connection ended at once");
                            link.socket->set_option(tcp::no_delay(true), error);
                            keepAlive(*link.socket);
                            link.name = Ferro::endpointString(remote.address(), remote.port());
                            sender_.addConnection(link.name, link.socket);
                            reader_.addConnection(link.name, link.socket);
                            ZarnOnline::LinkMessage hello;
                            hello.kind = link::hello;
                            hello.version = link::kVersion;
                            sender_.send(ZarnOnline::encodeLinkMessage(link::kLobbyId, ++link.number, hello),
                                         link.name);
                        }));
            }));
}

void GameServerLinks::down(Link& link, const std::string& why) {
    const bool wasLive = link.live;
    link.live = false;
    ++link.attempt;
    link.timer.cancel();
    link.resolver.cancel();
    if (!link.name.empty()) {
        reader_.removeConnection(link.name);
        sender_.removeConnection(link.name);
        link.name.clear();
    }
    if (link.socket) {
        boost::system::error_code ignored;
        link.socket->close(ignored);
        link.socket.reset();
    }
    if (wasLive) {
        logger_.log(severity::warn, "The game server at " + link.configured + " is gone: " + why);
        listener_.linkDown(link.index);
    } else {
        log_.log(severity::warn, "no link to " + link.configured,
                 "No link to the game server at " + link.configured + ": " + why);
    }
    retry(link);
}

void GameServerLinks::retry(Link& link) {
    if (stopped_) return;
    link.backOff = link.backOff.count() == 0 ? kFirstRetry : std::min(link.backOff * 2, kLongestRetry);
    link.timer.expires_after(link.backOff);
    const u64 attempt = link.attempt;
    link.timer.async_wait(boost::asio::bind_executor(
        strand_, [this, alive = alive_, &link, attempt](const boost::system::error_code& e) {
            if (!*alive || e || attempt != link.attempt) return;
            connect(link);
        }));
}

bool GameServerLinks::receive(const u8* bytes, std::size_t size, const std::string& endpoint) {
    const auto it =
        std::find_if(links_.begin(), links_.end(), [&](const auto& l) { return l->name == endpoint; });
    if (it == links_.end()) return false;
    Link& link = **it;
    ZarnOnline::LinkMessage message;
    try {
        message = ZarnOnline::decodeLinkMessage(bytes, size);
    } catch (const std::exception& e) {
        down(link, std::string("it sent ") + e.what());
        return true;
    }
    if (message.kind == link::welcome) {
        if (link.live) return true;
        link.live = true;
        link.timer.cancel();
        link.backOff = std::chrono::milliseconds(0);
        logger_.log(severity::info, "The game server at " + link.configured + " is live");
        listener_.linkUp(link.index, message.players);
        return true;
    }
    if (!link.live) {
        down(link, "it spoke before its welcome");
        return true;
    }
    listener_.linkMessage(link.index, message);
    return true;
}

bool GameServerLinks::ended(const std::string& endpoint) {
    const auto it =
        std::find_if(links_.begin(), links_.end(), [&](const auto& l) { return l->name == endpoint; });
    if (it == links_.end()) return false;
    down(**it, "its connection ended");
    return true;
}

void GameServerLinks::send(std::size_t server, const ZarnOnline::LinkMessage& message) {
    Link& link = *links_.at(server);
    if (!link.live) return;
    sender_.send(ZarnOnline::encodeLinkMessage(link::kLobbyId, ++link.number, message), link.name);
}

}  // namespace ZarnLobby
