#include "presentation/effects/ClickCursor.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/RefPtr.h"
#include "engine/Sprite.h"

using namespace cocos2d;

namespace {

constexpr float kEaseRate = 3.0f;
constexpr float kHalf = 0.1f;

struct Prototypes {
    RefPtr<FiniteTimeAction> arrow;
    RefPtr<FiniteTimeAction> ring;
    RefPtr<FiniteTimeAction> removal;
};

// Main thread only.
Prototypes& prototypes() {
    static Prototypes held;
    return held;
}

}  // namespace

ClickCursor* ClickCursor::create() {
    return createWithInit<ClickCursor>();
}

bool ClickCursor::init() {
    if (!Node::init()) return false;
    arrow_ = Sprite::createWithSpriteFrameName(kArrowFrame);
    ring_ = Sprite::createWithSpriteFrameName(kRingFrame);
    addChild(ring_);
    addChild(arrow_);
    arrow_->setPositionY(arrow_->getContentSize().height / 2.0f + kArrowDrop);
    ring_->setScale(0.0f);
    Prototypes& held = prototypes();
    if (held.arrow.get() == nullptr && held.ring.get() == nullptr && held.removal.get() == nullptr)
        buildActions();
    arrow_->runAction(held.arrow->clone());
    ring_->runAction(held.ring->clone());
    runAction(held.removal->clone());
    return true;
}

void ClickCursor::buildActions() {
    Prototypes& held = prototypes();
    if (held.arrow.get() != nullptr || held.ring.get() != nullptr || held.removal.get() != nullptr) return;
    held.arrow = Sequence::create(
        EaseOut::create(MoveBy::create(kHalf, Vec2(0.0f, -kArrowDrop)), kEaseRate),
        Spawn::create(EaseIn::create(MoveBy::create(kHalf, Vec2(0.0f, kArrowDrop)), kEaseRate),
                      EaseOut::create(FadeOut::create(kHalf), kEaseRate)));
    held.ring = Sequence::create(
        DelayTime::create(kHalf),
        Spawn::create(
            EaseOut::create(ScaleTo::create(kHalf, 1.0f), kEaseRate),
            Sequence::create(DelayTime::create(0.04f), EaseOut::create(FadeOut::create(0.06f), kEaseRate))));
    held.removal = Sequence::create(DelayTime::create(kLifetime), RemoveSelf::create());
}

void ClickCursor::releaseActions() {
    prototypes() = Prototypes{};
}

FiniteTimeAction* ClickCursor::arrowAction() {
    return prototypes().arrow.get();
}

FiniteTimeAction* ClickCursor::ringAction() {
    return prototypes().ring.get();
}

FiniteTimeAction* ClickCursor::removalAction() {
    return prototypes().removal.get();
}
