// zarn-lobby: the lobby server that players meet in before a co-op game; runs
// until SIGINT or SIGTERM.
#include <iostream>
#include <string>
#include <utility>

#include "online/ServiceMain.h"
#include "online/lobby/LobbyServer.h"

namespace {

const char* const kUsage =
    "Usage: zarn-lobby [--port N] [--address A] [--game HOST:PORT] [--log-dir DIR]\n"
    "Meets lobby clients and sends them to games on the game server.\n"
    "  --port N          the TCP port; 0 lets the system pick one (default 12345)\n"
    "  --address A       the address to serve on (default 0.0.0.0, every interface)\n"
    "  --game HOST:PORT  the game server the players are sent to (default 127.0.0.1:12346)\n"
    "  --log-dir DIR     where the log files \"zarn-lobby_N.log\" go (default: the current folder)\n"
    "  --help            this text\n"
    "Prints \"zarn-lobby listening on port N\" once it serves; logs to stderr and the log folder;\n"
    "stops cleanly on SIGINT or SIGTERM.\n";

int usageError(const std::string& text) {
    std::cerr << "zarn-lobby: " << text << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    ZarnLobby::LobbyServer::Options options;
    options.port = 12345;
    std::string logDir = ".";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) return usageError("missing value after " + arg);
        const std::string value = argv[++i];
        if (arg == "--address") {
            options.address = value;
        } else if (arg == "--game") {
            options.gameEndpoint = value;
        } else if (arg == "--log-dir") {
            logDir = value;
        } else if (arg == "--port") {
            if (!ZarnOnline::parsePort(value, options.port)) return usageError("bad port " + value);
        } else {
            return usageError("unknown option " + arg);
        }
    }

    return ZarnOnline::runService<ZarnLobby::LobbyServer>("zarn-lobby", logDir, std::move(options));
}
