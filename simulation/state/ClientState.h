#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Serializable.h"

namespace Zarn {

// The state of one player's unit at one tick. The status values come first on
// the wire, before the client ID:
//
// | field        | type                         |
// |--------------|------------------------------|
// | count        | u32                          |
// | statusValues | count x u32, ascending       |
// | clientID     | u32                          |
// | mainState    | u32 (the unit's state word)  |
// | position     | FPoint                       |
// | velocity     | FPoint (map units / s)       |
// | steering     | FPoint                       |
// 36 + 4 x count bytes.
class ClientState : public Convinience::Serializable {
public:
    static constexpr u32 kMinSize = 36;

    ClientState() = default;
    // Throws Convinience::InvalidCommandDataException for short or lying bytes.
    explicit ClientState(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kMinSize + 4 * static_cast<u32>(statusValues.size()); }
    bool operator==(const ClientState& o) const {
        return clientID == o.clientID && mainState == o.mainState && statusValues == o.statusValues &&
               position == o.position && velocity == o.velocity && steering == o.steering;
    }

    u32 clientID = 0;
    u32 mainState = 0;
    std::vector<u32> statusValues;
    GeometryLib::FPoint position;
    GeometryLib::FPoint velocity;
    GeometryLib::FPoint steering;
};

}  // namespace Zarn
