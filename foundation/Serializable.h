#pragma once

#include <vector>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Types.h"

namespace Convinience {

// A record that writes itself into a Buffer. Reading is never virtual: each
// record type has a constructor taking a ByteReader that reads the same
// fields in the same order, so the code that reads a stream knows from
// context which type comes next.
class Serializable {
public:
    virtual ~Serializable() = default;
    // Appends the record's bytes at the end of the buffer.
    virtual void serialize(Buffer& buffer) const = 0;
    // The number of bytes that serialize appends.
    virtual u32 serializedSize() const = 0;

    // The record's bytes in a fresh buffer.
    std::vector<u8> toBytes() const {
        Buffer b(serializedSize());
        serialize(b);
        return b.takeBytes();
    }
};

// A record of one u32; the data of commands whose only content is a number.
class Uint32Serializable : public Serializable {
public:
    Uint32Serializable() = default;
    explicit Uint32Serializable(u32 v) : value(v) {}
    explicit Uint32Serializable(ByteReader& reader) : value(reader.readU32()) {}

    void serialize(Buffer& buffer) const override { buffer.appendU32(value); }
    u32 serializedSize() const override { return 4; }

    u32 value = 0;
};

}  // namespace Convinience
