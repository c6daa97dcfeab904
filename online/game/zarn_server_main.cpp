// zarn-server: serves the games of the lobby's instances to remote clients
// until SIGINT or SIGTERM.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>

#include "map/records/MultiplayerMapList.h"
#include "online/ServiceMain.h"
#include "online/game/GameServerHost.h"

namespace {

const char* const kUsage =
    "Usage: zarn-server [--port N] [--address A] [--maps DIR] [--lobby ADDRESS]... [--log-dir DIR]\n"
    "                   [--max-connections N] [--max-per-address N] [--idle-timeout S] [--silence-timeout "
    "S]\n"
    "Serves the co-op games of the lobby's instances, many at once, over TCP and UDP on one port.\n"
    "  --port N             the port for TCP and UDP; 0 (the default) lets the system pick one\n"
    "  --address A          the address to serve on (default 0.0.0.0, every interface)\n"
    "  --maps DIR           the folder of the multiplayer maps (default: assets/maps beside the program's "
    "folder)\n"
    "  --lobby ADDRESS      an address the lobby connects from; may be given more than once\n"
    "                       (default 127.0.0.1)\n"
    "  --max-connections N  connections held at once; more are refused (default 1000)\n"
    "  --max-per-address N  connections held at once from one address (default 64)\n"
    "  --idle-timeout S     seconds a new connection may say nothing (default 30)\n"
    "  --silence-timeout S  seconds a player may be silent in a game (default 10)\n"
    "  --log-dir DIR        where the log files \"zarn-server_N.log\" go (default: the current folder)\n"
    "  --help               this text\n"
    "Prints \"zarn-server listening on port N\" once it serves; logs to stderr and the log folder;\n"
    "stops cleanly on SIGINT or SIGTERM.\n";

int usageError(const std::string& text) {
    std::cerr << "zarn-server: " << text << "\n" << kUsage;
    return 2;
}

// <the program's folder>/../assets/maps: where the build lays the maps out.
std::string defaultMapsFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "assets/maps";
    return (program.parent_path().parent_path() / "assets" / "maps").string();
}

}  // namespace

int main(int argc, char** argv) {
    Zarn::GameServerHost::Options options;
    std::string mapsFolder = defaultMapsFolder();
    std::string logDir = ".";
    bool lobbyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) return usageError("missing value after " + arg);
        const std::string value = argv[++i];
        if (arg == "--maps") {
            mapsFolder = value;
        } else if (arg == "--address") {
            options.address = value;
        } else if (arg == "--log-dir") {
            logDir = value;
        } else if (arg == "--lobby") {
            if (!lobbyGiven) options.lobbyAddresses.clear();
            lobbyGiven = true;
            options.lobbyAddresses.push_back(value);
        } else if (arg == "--port") {
            if (!ZarnOnline::parsePort(value, options.port)) return usageError("bad port " + value);
        } else if (arg == "--max-connections") {
            if (!ZarnOnline::parseCount(value, options.limits.maxConnections))
                return usageError("bad count " + value);
        } else if (arg == "--max-per-address") {
            if (!ZarnOnline::parseCount(value, options.limits.maxPerAddress))
                return usageError("bad count " + value);
        } else if (arg == "--idle-timeout") {
            if (!ZarnOnline::parseSeconds(value, options.timeouts.identifyMs))
                return usageError("bad time " + value);
            options.timeouts.grantMs = options.timeouts.identifyMs;
        } else if (arg == "--silence-timeout") {
            if (!ZarnOnline::parseSeconds(value, options.timeouts.silenceMs))
                return usageError("bad time " + value);
        } else {
            return usageError("unknown option " + arg);
        }
    }
    const Zarn::MultiplayerMapList maps;
    for (u32 hash : maps.hashes()) {
        const std::string path = mapsFolder + "/" + maps.findByHash(hash);
        std::ifstream file(path, std::ios::binary);
        if (!file) continue;
        options.maps[hash].assign(std::istreambuf_iterator<char>(file), {});
    }
    if (options.maps.empty()) return usageError("no multiplayer map in " + mapsFolder);

    return ZarnOnline::runService<Zarn::GameServerHost>("zarn-server", logDir, std::move(options));
}
