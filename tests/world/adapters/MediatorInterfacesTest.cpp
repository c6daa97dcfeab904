#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "world/adapters/NodeMediator.h"
#include "world/adapters/VisualNodeMediator.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::FRect;

// A sprite's mediator as a visual factory makes it: one object that is the
// node handle and the visual's reactions.
class RecordingSprite final
    : public Zarn::VariadicNodeMediator<Zarn::SpriteNodeMediator, Zarn::VisualNodeMediator> {
public:
    virtual ~RecordingSprite() = default;
    FPoint getVisibleSize() override { return {1024, 576}; }
    FPoint getVisibleOrigin() override { return {0, 0}; }
    void setContentSize(float, float) override {}
    void setAnchorPoint(float, float) override {}
    void setPosition(float x, float y) override { position = {x, y}; }
    void setZOrder(int) override {}
    void setGlobalZOrder(int) override {}
    void setRotation(float) override {}
    void setOpacity(u8 o) override { opacity = o; }
    void setScale(float) override {}
    void setVisible(bool) override {}
    void setFlippedX(bool) override {}
    void setFlippedY(bool) override {}
    FPoint getPosition() override { return position; }
    FPoint getContentSize() override { return {}; }
    FPoint convertToNodeSpace(const FPoint& p) override { return p; }
    float getScale() override { return 1.0f; }
    FRect getRect() override { return {}; }
    void scheduleUpdate() override {}
    void addChild(NodeMediator*) override {}
    void removeChild(NodeMediator*) override {}

    void onVisibilityChanged(u8 state) override { setOpacity(state == 0 ? 255 : 0); }
    void onStateChanged(u32 oldState, u32 newState) override { changes.push_back({oldState, newState}); }
    void onShowHide(u32, u8) override {}

    FPoint position;
    u8 opacity = 7;
    std::vector<std::pair<u32, u32>> changes;
};

// Owners delete mediators through either interface.
static_assert(std::has_virtual_destructor_v<Zarn::NodeMediator>);
static_assert(std::has_virtual_destructor_v<Zarn::VisualNodeMediator>);
static_assert(std::is_base_of_v<Zarn::SpriteNodeMediator, RecordingSprite>);

TEST(MediatorInterfaces, OneSpriteObjectServesAsNodeAndVisual) {
    auto owned = std::make_unique<RecordingSprite>();
    Zarn::NodeMediator* node = owned.get();
    Zarn::VisualNodeMediator* visual = owned.get();
    node->setPosition(3.0f, 4.0f);
    visual->onVisibilityChanged(1);
    visual->onStateChanged(2, 5);
    EXPECT_EQ(owned->getPosition(), FPoint(3.0f, 4.0f));
    EXPECT_EQ(owned->opacity, 0);
    ASSERT_EQ(owned->changes.size(), 1u);
    EXPECT_EQ(owned->changes[0], std::make_pair(2u, 5u));
}

TEST(MediatorInterfaces, TheNullVisualMediatorIsOneSharedInstance) {
    Zarn::NullVisualNodeMediator& first = Zarn::NullVisualNodeMediator::instance();
    Zarn::NullVisualNodeMediator& second = Zarn::NullVisualNodeMediator::instance();
    EXPECT_EQ(&first, &second);
    Zarn::VisualNodeMediator& asVisual = first;
    asVisual.onVisibilityChanged(1);
    asVisual.onStateChanged(0, 3);
    asVisual.onShowHide(9, 0);
}

}  // namespace
