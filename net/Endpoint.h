#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/system/error_code.hpp>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Types.h"

namespace Ferro {

// Endpoint strings name a peer: the host, one ":" and the port in decimal.
// They are the keys of the TCP connection tables and the values of the client
// endpoint table. The canonical form, the only one the endpoint table takes,
// is a dotted IPv4 address and a port of 1 to 65535 ("127.0.0.1:4000"): it is
// exactly the text that a datagram's source address gives, so the receiver's
// exact text match holds for TCP and UDP alike.

// An endpoint text that cannot be used: no ":", a port that is not 1 to
// 65535 in decimal, or a host that is no IPv4 address and does not resolve.
class InvalidEndpointStringException : public std::exception {
public:
    const char* what() const noexcept override { return "invalid endpoint string"; }
};

// "a.b.c.d:port" of an address and a port.
std::string endpointString(const boost::asio::ip::address& address, u16 port);
std::string endpointString(const boost::asio::ip::udp::endpoint& endpoint);

// The endpoint of a canonical endpoint string; nothing for any other text
// (host names included). Never throws, never blocks.
std::optional<boost::asio::ip::udp::endpoint> parseEndpoint(const std::string& text);

// Checks an endpoint text ("host:port", split at the first ":") and returns
// its canonical form, resolving a host name to its first IPv4 address.
// Blocks while the name resolves; call it once, where an endpoint is assigned,
// never on a network thread. Throws InvalidEndpointStringException.
std::string resolveEndpoint(const std::string& text);

// A TCP connection an acceptor just took, ready for the connection tables:
// shared, with Nagle off, and named by its peer's endpoint string.
struct AcceptedConnection {
    std::string name;
    std::shared_ptr<boost::asio::ip::tcp::socket> socket;
};
// Nothing when the peer's address cannot be read (the peer already went).
std::optional<AcceptedConnection> takeAcceptedConnection(boost::asio::ip::tcp::socket&& peer);

// An error code as the log shows it: the category's name, ":" and the number.
std::string errorCodeText(const boost::system::error_code& error);

}  // namespace Ferro
