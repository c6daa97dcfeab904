#pragma once

#include "map/records/ActionDataFactory.h"
#include "map/records/MapElement.h"

namespace Zarn {

// A steered element run by scripted actions (the roomba, the drone, PART):
// CombinedElement<FreeNumberedMapElement, CircleSubElement>, then u8 scriptFlag
// and an action list without lengths. 30 bytes with no actions.
class ScriptedSteerableElement : public CombinedElement<FreeNumberedMapElement, CircleSubElement> {
    ZARN_RECORD_CLONE(ScriptedSteerableElement)
public:
    ScriptedSteerableElement() = default;
    explicit ScriptedSteerableElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return CombinedElement::serializedSize() + 1 + actions.serializedSize();
    }

    u8 scriptFlag = 0;
    ActionList actions;
};

}  // namespace Zarn
