#include "foundation/Buffer.h"

#include <cstring>

#include "foundation/Serializable.h"

namespace Convinience {

void Buffer::append(const void* data, u32 n) {
    const std::size_t oldSize = bytes_.size();
    const std::size_t newSize = oldSize + n;
    if (newSize > capacity_) {
        capacity_ *= 2;
        if (bytes_.capacity() < capacity_) bytes_.reserve(capacity_);
    }
    bytes_.resize(newSize);
    if (n > 0) std::memcpy(bytes_.data() + oldSize, data, n);
}

void Buffer::appendU16(u16 v) {
    const u8 b[2] = {static_cast<u8>(v), static_cast<u8>(v >> 8)};
    append(b, 2);
}

void Buffer::appendU32(u32 v) {
    const u8 b[4] = {static_cast<u8>(v), static_cast<u8>(v >> 8), static_cast<u8>(v >> 16),
                     static_cast<u8>(v >> 24)};
    append(b, 4);
}

void Buffer::appendU64(u64 v) {
    appendU32(static_cast<u32>(v));
    appendU32(static_cast<u32>(v >> 32));
}

void Buffer::appendFloat(float v) {
    u32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    appendU32(bits);
}

std::vector<u8> Buffer::takeBytes() {
    std::vector<u8> out = std::move(bytes_);
    bytes_ = std::vector<u8>();
    return out;
}

u32 writeString(Buffer& buffer, const std::string& s) {
    buffer.appendU32(static_cast<u32>(s.size()));
    buffer.append(s.data(), static_cast<u32>(s.size()));
    return 4 + static_cast<u32>(s.size());
}

u32 writeU32Vector(Buffer& buffer, const std::vector<u32>& values) {
    buffer.appendU32(static_cast<u32>(values.size()));
    for (u32 v : values) buffer.appendU32(v);
    return 4 + 4 * static_cast<u32>(values.size());
}

u32 writeSerializableList(Buffer& buffer, const std::list<Serializable*>& records) {
    buffer.appendU32(static_cast<u32>(records.size()));
    u32 total = 4;
    for (Serializable* r : records) {
        total += r->serializedSize();
        r->serialize(buffer);
    }
    return total;
}

}  // namespace Convinience
