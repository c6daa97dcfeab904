#pragma once

#include <string>

#include "foundation/Serializable.h"

namespace Zarn {

// One player of a game.
//
// | clientID | u32                                   |
// | number   | u8                                    |
// | name     | u32 length + bytes, at most 36 written |
// The platform code is kept locally and not sent.
class PlayerInfo : public Convinience::Serializable {
public:
    static constexpr u32 kMaxNameBytes = 36;

    PlayerInfo() = default;
    PlayerInfo(u32 clientID, u8 number, std::string name)
        : clientID(clientID), number(number), name(std::move(name)) {}
    // Throws Convinience::InvalidCommandDataException for short or lying bytes.
    explicit PlayerInfo(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    u32 clientID = 0;
    u8 number = 0;
    // Picks the name tag's background.
    u8 platformCode = 0;
    std::string name;
};

}  // namespace Zarn
