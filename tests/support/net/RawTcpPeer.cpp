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

}  // namespace zarn_test
