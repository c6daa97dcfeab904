#include "foundation/ByteReader.h"

#include <cstring>

namespace Convinience {

void ByteReader::require(std::size_t n) const {
    if (n > remaining()) {
        throw ReadPastEndError("read of " + std::to_string(n) + " bytes at offset " +
                               std::to_string(pos_) + " passes the end of " + std::to_string(size_) +
                               " bytes");
    }
}

u8 ByteReader::readU8() {
    require(1);
    return data_[pos_++];
}

u16 ByteReader::readU16() {
    require(2);
    const u16 v = static_cast<u16>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

u32 ByteReader::readU32() {
    require(4);
    const u8* p = data_ + pos_;
    const u32 v = static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8) | (static_cast<u32>(p[2]) << 16) |
                  (static_cast<u32>(p[3]) << 24);
    pos_ += 4;
    return v;
}

u64 ByteReader::readU64() {
    const u64 lo = readU32();
    const u64 hi = readU32();
    return lo | (hi << 32);
}

float ByteReader::readFloat() {
    const u32 bits = readU32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string ByteReader::readString() {
    const u32 n = readU32();
    require(n);
    if (n == 0) return {};
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
}

std::vector<u32> ByteReader::readU32Vector() {
    const u32 n = readCount(4);
    std::vector<u32> v;
    v.reserve(n);
    for (u32 i = 0; i < n; ++i) v.push_back(readU32());
    return v;
}

u32 ByteReader::readCount(std::size_t minElementSize) {
    const u32 n = readU32();
    if (minElementSize > 0 && n > remaining() / minElementSize) {
        throw ReadPastEndError("count " + std::to_string(n) + " at offset " + std::to_string(pos_ - 4) +
                               " exceeds the " + std::to_string(remaining()) + " bytes that remain");
    }
    return n;
}

std::vector<u8> ByteReader::readBytes(std::size_t n) {
    require(n);
    std::vector<u8> out(data_ + pos_, data_ + pos_ + n);
    pos_ += n;
    return out;
}

void ByteReader::skip(std::size_t n) {
    require(n);
    pos_ += n;
}

ByteReader ByteReader::sub(std::size_t n) {
    require(n);
    ByteReader r(data_ + pos_, n);
    pos_ += n;
    return r;
}

}  // namespace Convinience
