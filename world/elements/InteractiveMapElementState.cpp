#include "world/elements/InteractiveMapElementState.h"

#include <typeinfo>

namespace Zarn {

std::unique_ptr<InteractiveMapElementState> InteractiveMapElementState::fromRaw(const u8* bytes,
                                                                                std::size_t length) {
    Convinience::ByteReader reader(bytes, length);
    return std::make_unique<InteractiveMapElementState>(reader);
}

bool InteractiveMapElementState::operator==(const InteractiveMapElementState& other) const {
    return typeid(other) == typeid(*this) && hidden == other.hidden;
}

std::unique_ptr<InteractiveMapElementState> InteractiveMapElementState::clone() const {
    return std::make_unique<InteractiveMapElementState>(*this);
}

std::unique_ptr<BossState> BossState::fromRaw(const u8* bytes, std::size_t length) {
    Convinience::ByteReader reader(bytes, length);
    return std::make_unique<BossState>(reader);
}

void BossState::serialize(Convinience::Buffer& buffer) const {
    InteractiveMapElementState::serialize(buffer);
    buffer.appendU8(state);
    buffer.appendU8(health);
}

bool BossState::operator==(const InteractiveMapElementState& other) const {
    const auto* o = dynamic_cast<const BossState*>(&other);
    return o && typeid(*o) == typeid(*this) && hidden == o->hidden && health == o->health &&
           state == o->state;
}

}  // namespace Zarn
