#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Serializable.h"

namespace Zarn {

// One key press, release or touch of a player.
//
// | offset | field    | type            |
// |--------|----------|-----------------|
// | 0      | kind     | u8 (input kind) |
// | 1      | position | FPoint (world)  |
// 9 bytes.
class InputData : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 9;

    InputData() = default;
    InputData(u8 kind, const GeometryLib::FPoint& position) : kind(kind), position(position) {}
    // Throws Convinience::InvalidCommandDataException when the bytes end early.
    explicit InputData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }
    bool operator==(const InputData& o) const { return kind == o.kind && position == o.position; }

    u8 kind = 0;
    GeometryLib::FPoint position;
};

// The inputs of one client taken by one capture.
//
// | field     | type                            |
// |-----------|---------------------------------|
// | clientID  | u32                             |
// | inputTick | u32 (the capture's counter)     |
// | count     | u32                             |
// | inputs    | count x InputData (9 bytes)     |
// 12 + 9 x count bytes.
class InputState : public Convinience::Serializable {
public:
    InputState() = default;
    InputState(u32 clientID, u32 inputTick, std::vector<InputData> inputs = {})
        : clientID(clientID), inputTick(inputTick), inputs(std::move(inputs)) {}
    // Throws Convinience::InvalidCommandDataException for short or lying bytes.
    explicit InputState(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12 + InputData::kSize * static_cast<u32>(inputs.size()); }
    bool operator==(const InputState& o) const {
        return clientID == o.clientID && inputTick == o.inputTick && inputs == o.inputs;
    }

    u32 clientID = 0;
    u32 inputTick = 0;
    std::vector<InputData> inputs;
};

// The input ticks of one client that the server has applied.
//
// | clientID | u32 |  | count | u32 |  | ticks | count x u32 |
// 8 + 4 x count bytes.
class AckedInputTicks : public Convinience::Serializable {
public:
    AckedInputTicks() = default;
    AckedInputTicks(u32 clientID, std::vector<u32> ticks) : clientID(clientID), ticks(std::move(ticks)) {}
    // Throws Convinience::InvalidCommandDataException for short or lying bytes.
    explicit AckedInputTicks(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 4 + Convinience::u32VectorSize(ticks); }
    bool operator==(const AckedInputTicks& o) const { return clientID == o.clientID && ticks == o.ticks; }

    u32 clientID = 0;
    std::vector<u32> ticks;
};

}  // namespace Zarn
