#pragma once

#include <memory>
#include <string>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Serializable.h"

namespace Zarn {

// One record of the z-order section: the drawing order of a named visual layer.
//
// Record bytes (after the section's u32 record length):
// | offset | field    | type |
// | 0      | zOrderId | u32  |
// | 4      | n        | u32  | name length including its terminating NUL |
// | 8      | name     | n bytes: the characters, then a NUL |
// | 8 + n  | zByteA   | u8   |
// | 9 + n  | zByteB   | u8   |
//
// serialize writes the record length (name length + 11) first, then the
// record; serializedSize is the record without that length, 4 less than what
// serialize writes.
class ZOrder : public Convinience::Serializable {
public:
    ZOrder() = default;
    ZOrder(u32 zOrderId, std::string name, u8 zByteA, u8 zByteB)
        : zOrderId(zOrderId), name(std::move(name)), zByteA(zByteA), zByteB(zByteB) {}
    // Reads the record bytes. The name is read up to its first NUL, which must
    // lie within the n bytes; a name without one throws Convinience::Error
    // "bad map". Short bytes throw ReadPastEndError.
    explicit ZOrder(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return static_cast<u32>(name.size()) + 11; }
    std::unique_ptr<ZOrder> clone() const { return std::make_unique<ZOrder>(*this); }

    u32 zOrderId = 0;
    std::string name;
    u8 zByteA = 0;
    u8 zByteB = 0;
};

}  // namespace Zarn
