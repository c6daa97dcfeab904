// zarn-lobby: the lobby server that players meet in before a co-op game; runs
// until SIGINT or SIGTERM.
#include <iostream>
#include <string>
#include <utility>

#include "map/records/MultiplayerMapList.h"
#include "online/LobbyLink.h"
#include "online/ServiceMain.h"
#include "online/lobby/LobbyServer.h"

namespace {

const char* const kUsage =
    "Usage: zarn-lobby [--port N] [--address A] [--game HOST:PORT]... [--map NAME] [--capacity N]\n"
    "                  [--max-connections N] [--max-per-address N] [--idle-timeout S] [--log-dir DIR]\n"
    "Meets lobby clients and sends them to games on its game servers.\n"
    "  --port N             the TCP port; 0 lets the system pick one (default 12345)\n"
    "  --address A          the address to serve on (default 0.0.0.0, every interface)\n"
    "  --game HOST:PORT     a game server (zarn-server) the players are sent to; may be given more than\n"
    "                       once, each new game goes to the live one with the fewest players\n"
    "                       (default 127.0.0.1:12346)\n"
    "  --map NAME           a co-op room of new games (multi_lv1, multi_lv2); given more than once, new\n"
    "                       games take them in turn (default: every co-op room in turn, multi_lv1 first)\n"
    "  --capacity N         players in one game (default 4)\n"
    "  --max-connections N  connections held at once; more are refused (default 1000)\n"
    "  --max-per-address N  connections held at once from one address (default 64)\n"
    "  --idle-timeout S     seconds a new connection may go without a command (default 30)\n"
    "  --log-dir DIR        where the log files \"zarn-lobby_N.log\" go (default: the current folder)\n"
    "  --help               this text\n"
    "Prints \"zarn-lobby listening on port N\" once it serves; logs to stderr and the log folder;\n"
    "stops cleanly on SIGINT or SIGTERM.\n";

int usageError(const std::string& text) {
    std::cerr << "zarn-lobby: " << text << "\n" << kUsage;
    return 2;
}

// The hash of a multiplayer map by its name ("multi_lv1"); false when the
// list has no such map.
bool mapHashOf(const std::string& name, u32& hash) {
    const Zarn::MultiplayerMapList maps;
    for (u32 candidate : maps.hashes()) {
        if (maps.findByHash(candidate) == name + ".map") {
            hash = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    ZarnLobby::LobbyServer::Options options;
    options.port = 12345;
    std::string logDir = ".";
    bool mapGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) return usageError("missing value after " + arg);
        const std::string value = argv[++i];
        std::size_t count = 0;
        if (arg == "--address") {
            options.address = value;
        } else if (arg == "--game") {
            if (value.find(':') == std::string::npos) return usageError("bad game server " + value);
            options.games.push_back(value);
        } else if (arg == "--map") {
            u32 hash = 0;
            if (!mapHashOf(value, hash)) return usageError("no multiplayer map " + value);
            if (!mapGiven) options.maps.clear();
            mapGiven = true;
            options.maps.push_back(hash);
        } else if (arg == "--capacity") {
            if (!ZarnOnline::parseCount(value, count) || count > ZarnOnline::link::kMaxCapacity)
                return usageError("bad capacity " + value);
            options.capacity = static_cast<u32>(count);
        } else if (arg == "--log-dir") {
            logDir = value;
        } else if (arg == "--port") {
            if (!ZarnOnline::parsePort(value, options.port)) return usageError("bad port " + value);
        } else if (arg == "--max-connections") {
            if (!ZarnOnline::parseCount(value, options.limits.maxConnections))
                return usageError("bad count " + value);
        } else if (arg == "--max-per-address") {
            if (!ZarnOnline::parseCount(value, options.limits.maxPerAddress))
                return usageError("bad count " + value);
        } else if (arg == "--idle-timeout") {
            if (!ZarnOnline::parseSeconds(value, options.identifyTimeoutMs))
                return usageError("bad time " + value);
        } else {
            return usageError("unknown option " + arg);
        }
    }
    if (options.games.empty()) options.games.push_back("127.0.0.1:12346");

    return ZarnOnline::runService<ZarnLobby::LobbyServer>("zarn-lobby", logDir, std::move(options));
}
