#pragma once

#include <vector>

#include "map/records/MapElement.h"

namespace Zarn {

// The level-up mode (logical ID 443): MapElement, then
// | modeNumber    | u32        |
// | modeFlagA     | u8         | random order |
// | modeFlagB     | u8         | loop |
// | modeValueA    | f32        | wait before the first stage (s) |
// | modeValueB    | f32        | pause between stages (s) |
// | anchor        | Point      | the players' start point |
// | areaCells     | point list |
// | memberNumbers | list of u32 |
// 35 + 4n + 4m bytes.
class LevelUpModeElement : public MapElement {
    ZARN_RECORD_CLONE(LevelUpModeElement)
public:
    LevelUpModeElement() = default;
    explicit LevelUpModeElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return MapElement::serializedSize() + 18 + areaCells.serializedSize() +
               Convinience::u32VectorSize(memberNumbers);
    }

    u32 modeNumber = 0;
    u8 modeFlagA = 0;
    u8 modeFlagB = 0;
    float modeValueA = 0.0f;
    float modeValueB = 0.0f;
    GeometryLib::Point anchor;
    PointSet areaCells;
    std::vector<u32> memberNumbers;
};

}  // namespace Zarn
