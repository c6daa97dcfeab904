#pragma once

#include <string>

#include "foundation/Types.h"

namespace ZarnLobby {

// Where the lobby server is reached: a host name or IPv4 address and a TCP
// port.
struct LobbyAddress {
    static constexpr const char* kDefaultHost = "127.0.0.1";
    static constexpr u16 kDefaultPort = 12345;

    std::string host = kDefaultHost;
    u16 port = kDefaultPort;

    bool operator==(const LobbyAddress&) const = default;
};

// The name of the environment variable that overrides the lobby address.
inline constexpr const char* kLobbyAddressVariable = "ZARN_LOBBY";

// Reads "host" or "host:port" (port 1 to 65535 in decimal). Null or empty
// text gives the default address; text that is not of that form is logged
// (WARN) and gives the default address too.
LobbyAddress parseLobbyAddress(const char* text);

// The address in ZARN_LOBBY, or the default one.
LobbyAddress lobbyAddressFromEnvironment();

}  // namespace ZarnLobby
