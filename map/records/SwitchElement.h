#pragma once

#include <vector>

#include "map/records/ActionDataFactory.h"
#include "map/records/MapElement.h"

namespace Zarn {

// A lever: FreeNumberedMapElement, then
// | startOff      | u8          | non-zero: starts in its off state |
// | firstActions  | action list | with a u32 length before each action; run going on -> off |
// | secondActions | action list | with lengths; run going off -> on |
// 26 bytes with both lists empty.
class SwitchElement : public FreeNumberedMapElement {
    ZARN_RECORD_CLONE(SwitchElement)
public:
    SwitchElement() = default;
    explicit SwitchElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    u8 startOff = 0;
    ActionList firstActions;
    ActionList secondActions;
};

// A lever that drives other levers: + list of u32 leverNumbers.
class MultiSwitchElement : public SwitchElement {
    ZARN_RECORD_CLONE(MultiSwitchElement)
public:
    MultiSwitchElement() = default;
    explicit MultiSwitchElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return SwitchElement::serializedSize() + Convinience::u32VectorSize(leverNumbers);
    }

    std::vector<u32> leverNumbers;
};

// + list of u32 selectedNumbers, the numbers the lever reacts to.
class SelectiveMultiSwitchElement : public MultiSwitchElement {
    ZARN_RECORD_CLONE(SelectiveMultiSwitchElement)
public:
    SelectiveMultiSwitchElement() = default;
    explicit SelectiveMultiSwitchElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return MultiSwitchElement::serializedSize() + Convinience::u32VectorSize(selectedNumbers);
    }

    std::vector<u32> selectedNumbers;
};

}  // namespace Zarn
