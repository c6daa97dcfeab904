#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Convinience {

// Thrown by ByteReader when a read would pass the end of its bytes, or when a
// count or length field asks for more than the bytes that remain. The layer
// that frames the bytes turns it into its own error ("bad map",
// InvalidCommandDataException, ...).
class ReadPastEndError : public std::runtime_error {
public:
    explicit ReadPastEndError(const std::string& what) : std::runtime_error(what) {}
};

// The one way to read bytes that come from outside (map files, packets,
// commands, save files). Every read checks the remaining length first, so a
// short or lying input throws instead of reading past its end, and no count
// taken from the input allocates before it has been checked against what
// remains. Encoding: little-endian, as written by Convinience::Buffer.
//
// The reader does not own its bytes; they must outlive it.
class ByteReader {
public:
    ByteReader(const u8* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(std::span<const u8> bytes) : ByteReader(bytes.data(), bytes.size()) {}
    explicit ByteReader(const std::vector<u8>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    std::size_t position() const { return pos_; }
    std::size_t size() const { return size_; }
    std::size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ == size_; }
    const u8* current() const { return data_ + pos_; }

    u8 readU8();
    bool readBool() { return readU8() != 0; }
    u16 readU16();
    u32 readU32();
    i32 readI32() { return static_cast<i32>(readU32()); }
    u64 readU64();
    float readFloat();

    // u32 length, then that many bytes.
    std::string readString();
    // u32 count, then count u32 values.
    std::vector<u32> readU32Vector();
    // A u32 count of elements that are at least minElementSize bytes each;
    // throws when the remaining bytes cannot hold that many.
    u32 readCount(std::size_t minElementSize);

    // Copies n raw bytes.
    std::vector<u8> readBytes(std::size_t n);
    void skip(std::size_t n);
    // A reader over the next n bytes; this reader moves past them.
    ByteReader sub(std::size_t n);

    // Throws unless n bytes remain.
    void require(std::size_t n) const;

private:
    const u8* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace Convinience
