// fuzz-links: foundation
// Reads a command header and the value shapes that follow it from arbitrary
// bytes: every read either succeeds within the bytes or throws.
#include <cstddef>
#include <cstdint>

#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Convinience::ByteReader reader(data, size);
    try {
        Corvel::CommandHeader header(reader);
        switch (header.commandId % 4) {
            case 0: (void)reader.readString(); break;
            case 1: (void)reader.readU32Vector(); break;
            case 2: (void)GeometryLib::Rect(reader); break;
            default: (void)GeometryLib::FRect(reader); break;
        }
    } catch (const Convinience::ReadPastEndError&) {
    }
    return 0;
}
