#include "net/TcpAcceptor.h"

#include <algorithm>
#include <boost/asio/bind_executor.hpp>
#include <boost/asio/post.hpp>

namespace Ferro {

using boost::asio::ip::tcp;
namespace severity = Convinience::severity;

TcpAcceptor::TcpAcceptor(IoStrand strand, const tcp::endpoint& at, Limits limits)
    : strand_(strand), acceptor_(strand, at), retry_(strand), limits_(limits) {
    port_ = acceptor_.local_endpoint().port();
}

TcpAcceptor::~TcpAcceptor() {
    *alive_ = false;
}

std::string TcpAcceptor::addressOf(const std::string& name) {
    const auto colon = name.rfind(':');
    return colon == std::string::npos ? name : name.substr(0, colon);
}

void TcpAcceptor::start(OnAccept onAccept) {
    boost::asio::post(strand_, [this, alive = alive_, onAccept = std::move(onAccept)]() mutable {
        if (!*alive) return;
        onAccept_ = std::move(onAccept);
        acceptNext();
    });
}

void TcpAcceptor::stop() {
    stopped_ = true;
    boost::system::error_code ignored;
    retry_.cancel();
    acceptor_.close(ignored);
}

void TcpAcceptor::acceptNext() {
    if (stopped_) return;
    acceptor_.async_accept(boost::asio::bind_executor(
        strand_, [this, alive = alive_](const boost::system::error_code& error, tcp::socket peer) {
            if (!*alive) return;
            onAccepted(error, std::move(peer));
        }));
}

void TcpAcceptor::onAccepted(const boost::system::error_code& error, tcp::socket peer) {
    if (stopped_ || error == boost::asio::error::operation_aborted) return;
    if (error == boost::asio::error::connection_aborted) {
        // The peer gave up before it was taken: nothing is wrong here.
        acceptNext();
        return;
    }
    if (error) {
        ++failures_;
        backOff_ = backOff_.count() == 0 ? kFirstBackOff : std::min(backOff_ * 2, kLongestBackOff);
        log_.log(severity::error, "accept failed",
                 "Accepting a connection failed [" + errorCodeText(error) + "]: next try in " +
                     std::to_string(backOff_.count()) + " ms");
        retry_.expires_after(backOff_);
        retry_.async_wait(boost::asio::bind_executor(
            strand_, [this, alive = alive_](const boost::system::error_code& waited) {
                if (!*alive || waited == boost::asio::error::operation_aborted) return;
                acceptNext();
            }));
        return;
    }
    backOff_ = std::chrono::milliseconds(0);
    auto connection = takeAcceptedConnection(std::move(peer));
    if (connection) {
        const std::string address = addressOf(connection->name);
        std::size_t& fromAddress = perAddress_[address];
        if (open_ >= limits_.maxConnections || fromAddress >= limits_.maxPerAddress) {
            ++refused_;
            log_.log(severity::warn, "connection refused",
                     "Refused a connection from " + connection->name + ": " +
                         (open_ >= limits_.maxConnections ? "the server holds its most connections"
                                                          : "its address holds its most connections"));
            if (fromAddress == 0) perAddress_.erase(address);
            boost::system::error_code ignored;
            connection->socket->close(ignored);
        } else {
            ++fromAddress;
            ++open_;
            handedOn_[connection->name] = address;
            onAccept_(std::move(*connection));
        }
    }
    acceptNext();
}

void TcpAcceptor::release(const std::string& name) {
    const auto it = handedOn_.find(name);
    if (it == handedOn_.end()) return;
    const auto count = perAddress_.find(it->second);
    if (count != perAddress_.end() && --count->second == 0) perAddress_.erase(count);
    handedOn_.erase(it);
    --open_;
}

}  // namespace Ferro
