#include "net/Endpoint.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <charconv>

namespace Ferro {

namespace {

// A port of 1 to 65535 written only with decimal digits.
std::optional<u16> parsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value == 0 || value > 65535) return std::nullopt;
    return static_cast<u16>(value);
}

}  // namespace

std::string endpointString(const boost::asio::ip::address& address, u16 port) {
    return address.to_string() + ":" + std::to_string(port);
}

std::string endpointString(const boost::asio::ip::udp::endpoint& endpoint) {
    return endpointString(endpoint.address(), endpoint.port());
}

std::optional<boost::asio::ip::udp::endpoint> parseEndpoint(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto port = parsePort(text.substr(colon + 1));
    if (!port) return std::nullopt;
    boost::system::error_code ec;
    const auto address = boost::asio::ip::make_address_v4(text.substr(0, colon), ec);
    if (ec) return std::nullopt;
    boost::asio::ip::udp::endpoint endpoint(address, *port);
    if (endpointString(endpoint) != text) return std::nullopt;
    return endpoint;
}

std::optional<AcceptedConnection> takeAcceptedConnection(boost::asio::ip::tcp::socket&& peer) {
    boost::system::error_code ec;
    const auto remote = peer.remote_endpoint(ec);
    if (ec) return std::nullopt;
    auto socket = std::make_shared<boost::asio::ip::tcp::socket>(std::move(peer));
    socket->set_option(boost::asio::ip::tcp::no_delay(true), ec);
    return AcceptedConnection{endpointString(remote.address(), remote.port()), std::move(socket)};
}

std::string resolveEndpoint(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) throw InvalidEndpointStringException();
    const std::string host = text.substr(0, colon);
    const auto port = parsePort(text.substr(colon + 1));
    if (host.empty() || !port) throw InvalidEndpointStringException();
    boost::system::error_code ec;
    const auto address = boost::asio::ip::make_address_v4(host, ec);
    if (!ec) return endpointString(address, *port);
    boost::asio::io_context io;
    boost::asio::ip::tcp::resolver resolver(io);
    const auto results = resolver.resolve(boost::asio::ip::tcp::v4(), host, std::to_string(*port), ec);
    if (ec || results.empty()) throw InvalidEndpointStringException();
    return endpointString(results.begin()->endpoint().address(), *port);
}

std::string errorCodeText(const boost::system::error_code& error) {
    return std::string(error.category().name()) + ":" + std::to_string(error.value());
}

}  // namespace Ferro
