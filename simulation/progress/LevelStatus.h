#pragma once

#include "foundation/Serializable.h"

namespace Zarn {

// The story mode's record of one level; 14 bytes in "singleplayer.bin":
//
// | size | field                                             |
// |------|---------------------------------------------------|
// | 1    | locked (1 = not reachable)                        |
// | 8    | best time in ms (all bits set = none)             |
// | 4    | fewest deaths (0xFFFFFFFF = never beaten)         |
// | 1    | time-attack done (1 = beaten with time attack on) |
class LevelStatus : public Convinience::Serializable {
public:
    static constexpr u64 kNoTime = ~u64{0};
    static constexpr u32 kNoDeaths = 0xFFFFFFFFu;
    static constexpr u32 kSize = 14;

    LevelStatus() = default;
    explicit LevelStatus(Convinience::ByteReader& reader)
        : locked(reader.readU8()),
          bestTime(reader.readU64()),
          fewestDeaths(reader.readU32()),
          timeAttackDone(reader.readU8()) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendU8(locked);
        buffer.appendU64(bestTime);
        buffer.appendU32(fewestDeaths);
        buffer.appendU8(timeAttackDone);
    }
    u32 serializedSize() const override { return kSize; }

    bool beaten() const { return fewestDeaths != kNoDeaths; }

    u8 locked = 1;
    u64 bestTime = kNoTime;
    u32 fewestDeaths = kNoDeaths;
    u8 timeAttackDone = 0;
};

}  // namespace Zarn
