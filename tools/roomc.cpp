// zarn_roomc SOURCE.room OUTPUT.map: compiles one room source into its map
// file. A fault in the source is reported as "SOURCE:LINE: message" and the
// exit status is 1; nothing is written then.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "tools/RoomCompiler.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: zarn_roomc SOURCE.room OUTPUT.map\n";
        return 2;
    }
    const std::filesystem::path source = argv[1];
    const std::filesystem::path output = argv[2];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source.string() << ": cannot be read\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<u8> bytes;
    try {
        bytes = Zarn::writeMapFile(Zarn::compileRoomSource(text, source.stem().string()));
    } catch (const Zarn::RoomSourceError& e) {
        std::cerr << source.string() << ":" << e.line() << ": " << e.message() << "\n";
        return 1;
    }
    // Written beside the target and renamed, so that a failed build never
    // leaves half a map behind.
    const std::filesystem::path temporary = output.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << temporary.string() << ": cannot be written\n";
            return 1;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, output, ec);
    if (ec) {
        std::cerr << output.string() << ": " << ec.message() << "\n";
        return 1;
    }
    return 0;
}
