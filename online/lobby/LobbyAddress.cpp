#include "online/lobby/LobbyAddress.h"

#include <charconv>
#include <cstdlib>

#include "foundation/Logger.h"

namespace ZarnLobby {

LobbyAddress parseLobbyAddress(const char* text) {
    if (text == nullptr || *text == '\0') return LobbyAddress{};
    const std::string value(text);
    LobbyAddress address;
    const auto colon = value.find(':');
    address.host = value.substr(0, colon);
    bool valid = !address.host.empty();
    if (valid && colon != std::string::npos) {
        const std::string port = value.substr(colon + 1);
        unsigned number = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        valid = !port.empty() && port.size() <= 5 && error == std::errc() &&
                end == port.data() + port.size() && number >= 1 && number <= 65535;
        address.port = static_cast<u16>(number);
    }
    if (!valid) {
        Convinience::Logger().log(Convinience::severity::warn,
                                  std::string("Ignoring lobby address \"") + value +
                                      "\" (expected host or host:port); using the default");
        return LobbyAddress{};
    }
    return address;
}

LobbyAddress lobbyAddressFromEnvironment() {
    return parseLobbyAddress(std::getenv(kLobbyAddressVariable));
}

}  // namespace ZarnLobby
