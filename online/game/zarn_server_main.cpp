// zarn-server: serves one co-op room of a map to remote clients until SIGINT
// or SIGTERM.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>

#include "online/ServiceMain.h"
#include "online/game/GameServerHost.h"

namespace {

const char* const kUsage =
    "Usage: zarn-server --map FILE [--port N] [--address A] [--log-dir DIR]\n"
    "Serves one co-op room of the map FILE to game clients, over TCP and UDP on one port.\n"
    "  --map FILE     the room's map file (required)\n"
    "  --port N       the port for TCP and UDP; 0 (the default) lets the system pick one\n"
    "  --address A    the address to serve on (default 0.0.0.0, every interface)\n"
    "  --log-dir DIR  where the log files \"zarn-server_N.log\" go (default: the current folder)\n"
    "  --help         this text\n"
    "Prints \"zarn-server listening on port N\" once it serves; logs to stderr and the log folder;\n"
    "stops cleanly on SIGINT or SIGTERM.\n";

int usageError(const std::string& text) {
    std::cerr << "zarn-server: " << text << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Zarn::GameServerHost::Options options;
    std::string mapPath;
    std::string logDir = ".";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) return usageError("missing value after " + arg);
        const std::string value = argv[++i];
        if (arg == "--map") {
            mapPath = value;
        } else if (arg == "--address") {
            options.address = value;
        } else if (arg == "--log-dir") {
            logDir = value;
        } else if (arg == "--port") {
            if (!ZarnOnline::parsePort(value, options.port)) return usageError("bad port " + value);
        } else {
            return usageError("unknown option " + arg);
        }
    }
    if (mapPath.empty()) return usageError("--map is required");
    std::ifstream file(mapPath, std::ios::binary);
    if (!file) return usageError("cannot read " + mapPath);
    options.mapBytes.assign(std::istreambuf_iterator<char>(file), {});

    return ZarnOnline::runService<Zarn::GameServerHost>("zarn-server", logDir, std::move(options));
}
