#include "support/net/RawTcpPeer.h"

#include <algorithm>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

#include "net/Endpoint.h"

namespace zarn_test {

using boost::asio::ip::tcp;

RawTcpPeer::RawTcpPeer()
    : acceptor_(io_, tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0)),
      socket_(io_),
      port_(acceptor_.local_endpoint().port()) {}

std::string RawTcpPeer::endpoint() const {
    return Ferro::endpointString(boost::asio::ip::address_v4::loopback(), port_);
}

void RawTcpPeer::accept() {
    acceptor_.accept(socket_);
    socket_.set_option(tcp::no_delay(true));
}

void RawTcpPeer::write(const std::vector<u8>& bytes) {
    boost::asio::write(socket_, boost::asio::buffer(bytes));
}

void RawTcpPeer::writeInPieces(const std::vector<u8>& bytes, std::size_t pieceSize) {
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        const std::size_t n = std::min(pieceSize, bytes.size() - at);
        boost::asio::write(socket_, boost::asio::buffer(bytes.data() + at, n));
    }
}

std::vector<u8> RawTcpPeer::read(std::size_t n) {
    std::vector<u8> bytes(n);
    boost::asio::read(socket_, boost::asio::buffer(bytes));
    return bytes;
}

void RawTcpPeer::closeOrderly() {
    boost::system::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_send, ignored);
    socket_.close(ignored);
}

void RawTcpPeer::abort() {
    boost::system::error_code ignored;
    socket_.set_option(boost::asio::socket_base::linger(true, 0), ignored);
    socket_.close(ignored);
}

SilentListener::SilentListener() : acceptor_(io_) {
    const auto loopback = boost::asio::ip::address_v4::loopback();
    acceptor_.open(tcp::v4());
    acceptor_.bind(tcp::endpoint(loopback, 0));
    acceptor_.listen(0);
    port_ = acceptor_.local_endpoint().port();
    // Connects that start at once and are never completed by anyone.
    for (int i = 0; i < 4; ++i) {
        fillers_.push_back(std::make_unique<tcp::socket>(io_));
        fillers_.back()->async_connect(tcp::endpoint(loopback, port_),
                                       [](const boost::system::error_code&) {});
    }
}

}  // namespace zarn_test
