#pragma once

#include <list>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Convinience {

class Serializable;

// Growable output buffer that records append themselves to.
// When an append would pass the capacity, the capacity doubles once (and the
// vector reserves it); the vector's own resize then grows as far as needed.
class Buffer {
public:
    explicit Buffer(u32 capacity = 64) : capacity_(capacity) { bytes_.reserve(capacity); }

    void append(const void* data, u32 n);
    void appendU8(u8 v) { append(&v, 1); }
    void appendBool(bool v) { appendU8(v ? 1 : 0); }
    void appendU16(u16 v);
    void appendU32(u32 v);
    void appendI32(i32 v) { appendU32(static_cast<u32>(v)); }
    void appendU64(u64 v);
    void appendFloat(float v);

    // Moves the bytes out; the buffer is left empty (its capacity field stays).
    std::vector<u8> takeBytes();

    u32 capacity() const { return capacity_; }
    u32 size() const { return static_cast<u32>(bytes_.size()); }
    const std::vector<u8>& bytes() const { return bytes_; }

private:
    u32 capacity_;
    std::vector<u8> bytes_;
};

// String: u32 length, then the bytes, no terminator. Returns 4 + length.
u32 writeString(Buffer& buffer, const std::string& s);
// Vector of u32: u32 count, then the values. Returns 4 + 4 x count.
u32 writeU32Vector(Buffer& buffer, const std::vector<u32>& values);
// List of records: u32 count, then each record's bytes. Returns 4 + the sizes.
u32 writeSerializableList(Buffer& buffer, const std::list<Serializable*>& records);

// Size helpers for serializedSize implementations.
inline u32 stringSize(const std::string& s) { return 4 + static_cast<u32>(s.size()); }
inline u32 u32VectorSize(const std::vector<u32>& v) { return 4 + 4 * static_cast<u32>(v.size()); }

}  // namespace Convinience
