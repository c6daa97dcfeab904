#include "map/import/MapStreamReader.h"

#include <algorithm>
#include <istream>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"

namespace Zarn {

namespace {
// Blocks of unknown streams are read and grown in steps of this many bytes.
constexpr std::size_t chunkSize = 64 * 1024;
}  // namespace

MapStreamReader::MapStreamReader(std::istream& stream, const char* failureText)
    : stream_(stream), failureText_(failureText) {}

bool MapStreamReader::atEnd() {
    if (!stream_.good()) return true;
    return stream_.peek() == std::istream::traits_type::eof();
}

std::optional<u64> MapStreamReader::remaining() {
    if (!stream_.good()) return 0;
    const std::istream::pos_type here = stream_.tellg();
    if (here == std::istream::pos_type(-1)) return std::nullopt;
    stream_.seekg(0, std::ios::end);
    const std::istream::pos_type end = stream_.tellg();
    stream_.seekg(here);
    if (end == std::istream::pos_type(-1) || !stream_.good()) {
        stream_.clear();
        stream_.seekg(here);
        return std::nullopt;
    }
    return static_cast<u64>(end - here);
}

u32 MapStreamReader::readU32() {
    const std::vector<u8> bytes = readBytes(4);
    Convinience::ByteReader reader(bytes);
    return reader.readU32();
}

std::vector<u8> MapStreamReader::readBytes(u32 n) {
    const std::optional<u64> left = remaining();
    if (left && n > *left) fail();
    std::vector<u8> bytes;
    std::size_t filled = 0;
    while (filled < n) {
        const std::size_t step = std::min<std::size_t>(chunkSize, n - filled);
        bytes.resize(filled + step);
        stream_.read(reinterpret_cast<char*>(bytes.data() + filled), static_cast<std::streamsize>(step));
        if (static_cast<std::size_t>(stream_.gcount()) != step) fail();
        filled += step;
    }
    return bytes;
}

void MapStreamReader::checkCount(u64 count, u64 minElementSize) {
    const std::optional<u64> left = remaining();
    if (left && minElementSize > 0 && count > *left / minElementSize) fail();
}

void MapStreamReader::fail() const {
    throw Convinience::Error(failureText_);
}

}  // namespace Zarn
