#pragma once

#include <string>
#include <vector>

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

// A player name as every record that carries one writes it: u32 length, then
// the bytes, cut at PlayerInfo::kMaxNameBytes. Answers the bytes written.
u32 writePlayerName(Convinience::Buffer& buffer, const std::string& name);
// What writePlayerName writes for the name: 4 + the cut length.
u32 playerNameSize(const std::string& name);

// The lowest player number that no number in `taken` (the live players')
// holds: a leaver's number comes free and a newcomer never shares a live
// player's number. 255 when every number is taken.
u8 lowestFreePlayerNumber(const std::vector<u8>& taken);

}  // namespace Zarn
