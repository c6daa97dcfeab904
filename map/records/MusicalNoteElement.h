#pragma once

#include <vector>

#include "map/records/ActionDataFactory.h"
#include "map/records/MapElement.h"

namespace Zarn {

// TileNumberedMapElement, then u8 note. 19 bytes.
class MusicalNoteElement : public TileNumberedMapElement {
    ZARN_RECORD_CLONE(MusicalNoteElement)
public:
    MusicalNoteElement() = default;
    explicit MusicalNoteElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return TileNumberedMapElement::serializedSize() + 1; }

    u8 note = 0;
};

// MusicalNoteElement, then
// | controllerTime | f32         | seconds between two notes of a sequence |
// | noteSequences  | u32 count, then per sequence a list of u32 (count, values) |
// | firstActions   | action list | without lengths; run when a sequence is completed |
// | secondActions  | action list | without lengths; carried |
// 35 bytes with no sequences and no actions.
class MusicalNoteControllerElement : public MusicalNoteElement {
    ZARN_RECORD_CLONE(MusicalNoteControllerElement)
public:
    MusicalNoteControllerElement() = default;
    explicit MusicalNoteControllerElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    float controllerTime = 0.0f;
    std::vector<std::vector<u32>> noteSequences;
    ActionList firstActions;
    ActionList secondActions;
};

}  // namespace Zarn
