#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace zarn_test {

// A bare TCP server on loopback that a test drives byte by byte: it accepts
// one connection and writes exactly what it is told, in the pieces it is told,
// then closes in order or aborts (a reset). Used from the test thread only;
// blocking calls.
class RawTcpPeer {
public:
    RawTcpPeer();

    u16 port() const { return port_; }
    // "127.0.0.1:port"
    std::string endpoint() const;

    // Takes the connection that a client has made (blocks until one comes).
    void accept();
    // One write of all the bytes.
    void write(const std::vector<u8>& bytes);
    // The bytes in writes of `pieceSize` bytes each (Nagle off, so each
    // write leaves as a segment of its own).
    void writeInPieces(const std::vector<u8>& bytes, std::size_t pieceSize);
    // Reads exactly n bytes (blocks).
    std::vector<u8> read(std::size_t n);
    // Sends end of stream, then closes.
    void closeOrderly();
    // Closes with linger 0: the client sees a connection reset.
    void abort();

private:
    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::ip::tcp::socket socket_;
    u16 port_;
};

// A loopback listener that never answers: its backlog is filled at once, so
// the kernel drops every further handshake and a connect to it hangs until
// it gives up. Nothing is ever accepted.
class SilentListener {
public:
    SilentListener();

    u16 port() const { return port_; }

private:
    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    std::vector<std::unique_ptr<boost::asio::ip::tcp::socket>> fillers_;
    u16 port_;
};

}  // namespace zarn_test
