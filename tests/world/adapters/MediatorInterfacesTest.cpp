#include <gtest/gtest.h>

#include <type_traits>

#include "world/adapters/NodeMediator.h"
#include "world/adapters/VisualNodeMediator.h"

namespace {

// Owners delete mediators through either interface.
static_assert(std::has_virtual_destructor_v<Zarn::NodeMediator>);
static_assert(std::has_virtual_destructor_v<Zarn::VisualNodeMediator>);
// A sprite's mediator is one object: the node handle, the sprite marker and
// the visual's reactions.
using SpriteMediator = Zarn::VariadicNodeMediator<Zarn::SpriteNodeMediator, Zarn::VisualNodeMediator>;
static_assert(std::is_base_of_v<Zarn::NodeMediator, SpriteMediator>);
static_assert(std::is_base_of_v<Zarn::SpriteNodeMediator, SpriteMediator>);
static_assert(std::is_base_of_v<Zarn::VisualNodeMediator, SpriteMediator>);
static_assert(std::is_abstract_v<SpriteMediator>);

TEST(MediatorInterfaces, TheNullVisualMediatorIsOneSharedInstance) {
    Zarn::NullVisualNodeMediator& first = Zarn::NullVisualNodeMediator::instance();
    Zarn::NullVisualNodeMediator& second = Zarn::NullVisualNodeMediator::instance();
    EXPECT_EQ(&first, &second);
}

}  // namespace
