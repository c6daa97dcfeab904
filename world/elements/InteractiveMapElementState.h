#pragma once

#include <cstddef>
#include <memory>
#include <typeinfo>

#include "foundation/Serializable.h"

namespace Zarn {

// The state of an interactive map element as it travels in snapshots between
// server and clients. Every state starts with the hidden byte; subclasses add
// their bytes behind it. Nothing in the bytes names the class: the reader
// knows it from the element.
//
// | offset | field  | type                      |
// |--------|--------|---------------------------|
// | 0      | hidden | u8: 0 shown, 1 hidden     |
class InteractiveMapElementState : public Convinience::Serializable {
public:
    InteractiveMapElementState() = default;
    // Reads the hidden byte.
    explicit InteractiveMapElementState(Convinience::ByteReader& reader) : hidden(reader.readU8()) {}
    // A state from received bytes (the first `length` bytes at `bytes`).
    // Throws Convinience::ReadPastEndError when they are too short.
    static std::unique_ptr<InteractiveMapElementState> fromRaw(const u8* bytes, std::size_t length);

    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU8(hidden); }
    u32 serializedSize() const override { return 1; }
    // Equal when of the same class and every serialised field is equal.
    virtual bool operator==(const InteractiveMapElementState& other) const;
    bool operator!=(const InteractiveMapElementState& other) const { return !(*this == other); }
    virtual std::unique_ptr<InteractiveMapElementState> clone() const;

    u8 hidden = 0;
};

// What an element's setState does with a received state: copies it into the
// element's own state when it is of that state's class (every field, as the
// bytes carry them); a state of another class changes nothing. Answers
// whether it copied.
template <class S>
bool copyState(S& own, const InteractiveMapElementState& received) {
    const auto* typed = dynamic_cast<const S*>(&received);
    if (!typed) return false;
    own = *typed;
    return true;
}

// A state whose value is one member of the 8-bit enumeration E; D is the
// value of a new state, Z is kept for the instance's identity (always 0).
//
// | offset | field  | type |
// |--------|--------|------|
// | 0      | hidden | u8   |
// | 1      | value  | u8   |
template <class E, int D, int Z>
class GenericIMEState : public InteractiveMapElementState {
    static_assert(sizeof(E) == 1, "element state values are one byte");

public:
    GenericIMEState() = default;
    explicit GenericIMEState(E value) : value(value) {}
    explicit GenericIMEState(Convinience::ByteReader& reader)
        : InteractiveMapElementState(reader), value(static_cast<E>(reader.readU8())) {}
    static std::unique_ptr<GenericIMEState> fromRaw(const u8* bytes, std::size_t length) {
        Convinience::ByteReader reader(bytes, length);
        return std::make_unique<GenericIMEState>(reader);
    }

    void serialize(Convinience::Buffer& buffer) const override {
        InteractiveMapElementState::serialize(buffer);
        buffer.appendU8(static_cast<u8>(value));
    }
    u32 serializedSize() const override { return 2; }
    bool operator==(const InteractiveMapElementState& other) const override {
        const auto* o = dynamic_cast<const GenericIMEState*>(&other);
        return o && typeid(*o) == typeid(*this) && hidden == o->hidden && value == o->value;
    }
    std::unique_ptr<InteractiveMapElementState> clone() const override {
        return std::make_unique<GenericIMEState>(*this);
    }

    E value = static_cast<E>(D);
};

// Values of the element states. Their meanings belong to the elements that set them.
enum class EIntervalTrapState : u8 {
    arming = 0,
    active = 1,
    disarming = 2,
    idle = 3,
    destroyed = 4,
    intercepted = 5
};
enum class ERatTrapState : u8 {};
enum class ELevelUpModeState : u8 {};
enum class EMusicalNoteState : u8 {};
enum class ECollectableState : u8 { lying = 0, taken = 3 };
enum class EOnOffState : u8 { off = 0, on = 1 };
enum class EDoorState : u8 { open = 0, closed = 1 };

using IntervalTrapIMEState = GenericIMEState<EIntervalTrapState, 3, 0>;
using RatTrapIMEState = GenericIMEState<ERatTrapState, 0, 0>;
using LevelUpModeIMEState = GenericIMEState<ELevelUpModeState, 0, 0>;
using MusicalNoteIMEState = GenericIMEState<EMusicalNoteState, 0, 0>;
using CollectableIMEState = GenericIMEState<ECollectableState, 0, 0>;
using OnOffIMEState = GenericIMEState<EOnOffState, 1, 0>;
using DoorIMEState = GenericIMEState<EDoorState, 1, 0>;

// The boss's state: its visible state (0 to 10) and the hits it has left.
//
// | offset | field  | type |
// |--------|--------|------|
// | 0      | hidden | u8   |
// | 1      | state  | u8   |
// | 2      | health | u8   |
class BossState : public InteractiveMapElementState {
public:
    BossState() = default;
    explicit BossState(Convinience::ByteReader& reader)
        : InteractiveMapElementState(reader), state(reader.readU8()), health(reader.readU8()) {}
    static std::unique_ptr<BossState> fromRaw(const u8* bytes, std::size_t length);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 3; }
    bool operator==(const InteractiveMapElementState& other) const override;
    std::unique_ptr<InteractiveMapElementState> clone() const override {
        return std::make_unique<BossState>(*this);
    }

    u8 state = 0;
    u8 health = 0;
};

}  // namespace Zarn
