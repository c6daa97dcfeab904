#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

// Moves the framing of a map stream: u32 words and byte blocks whose length
// the file gives. Every length is checked against what the stream still holds
// before anything is allocated (by the stream's size when it can seek, else by
// reading in bounded chunks), so a lying length costs no more memory than the
// file has. The bytes read are parsed with Convinience::ByteReader.
//
// Failures throw Convinience::Error with the reader's failure text ("bad map"
// in the sections, "bad map header" for the header).
class MapStreamReader {
public:
    MapStreamReader(std::istream& stream, const char* failureText);

    // True when the stream has failed or holds no further byte.
    bool atEnd();
    // The bytes the stream still holds, when it can tell.
    std::optional<u64> remaining();

    u32 readU32();
    // Reads exactly n bytes.
    std::vector<u8> readBytes(u32 n);
    // Throws unless count elements of at least minElementSize bytes each can
    // still follow (when the stream can tell).
    void checkCount(u64 count, u64 minElementSize);
    [[noreturn]] void fail() const;

private:
    std::istream& stream_;
    const char* failureText_;
};

}  // namespace Zarn
