#pragma once

#include <memory>
#include <string>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/Serializable.h"

namespace Zarn {

// One dialog of a map: its text ("&&" separates lines), the speaker's name, its
// number (the dialog ID it is filed under) and where its window is placed.
//
// Byte form (both lengths first, then both strings, no terminators):
// | offset       | width | field |
// | 0            | 4     | text length L1 |
// | 4            | 4     | speaker length L2 |
// | 8            | L1    | text |
// | 8 + L1       | L2    | speaker |
// | 8 + L1 + L2  | 4     | number |
// | 12 + L1 + L2 | 4     | position (Point) |
// serializedSize = 16 + L1 + L2.
class DialogEntry : public Convinience::Serializable {
public:
    DialogEntry() = default;
    DialogEntry(std::string text, std::string speaker, u32 number, GeometryLib::Point position)
        : text(std::move(text)), speaker(std::move(speaker)), number(number), position(position) {}
    // Both lengths are checked against the bytes that remain (ReadPastEndError).
    explicit DialogEntry(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 16 + static_cast<u32>(text.size() + speaker.size()); }
    std::unique_ptr<DialogEntry> clone() const { return std::make_unique<DialogEntry>(*this); }

    std::string text;
    std::string speaker;
    u32 number = 0;
    GeometryLib::Point position;
};

}  // namespace Zarn
