#include "presentation/effects/DustPuffs.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Animation.h"
#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "presentation/effects/VisualRandom.h"

using namespace cocos2d;

namespace {

std::vector<std::string> names(const std::string& prefix, int count) {
    std::vector<std::string> out;
    for (int i = 1; i <= count; ++i) out.push_back(prefix + std::to_string(i) + ".png");
    return out;
}

struct DustFrames {
    Vector<SpriteFrame*> brown, white, small, large;
};

Vector<SpriteFrame*> lookUp(const std::vector<std::string>& frameNames) {
    Vector<SpriteFrame*> frames;
    for (const std::string& name : frameNames)
        frames.pushBack(SpriteFrameCache::getInstance()->getSpriteFrameByName(name));
    return frames;
}

// Made on first use and kept (with the frames retained) for the whole run.
const DustFrames& dustFrames() {
    static const DustFrames* frames = [] {
        auto* f = new DustFrames();
        f->brown = lookUp(names("Dust_Puff_Brown_", 6));
        f->white = lookUp(names("Dust_Puff_White_", 6));
        f->small = lookUp(names("Dust_Directional_Small_", 7));
        f->large = lookUp(names("Dust_Directional_Large_", 6));
        return f;
    }();
    return *frames;
}

Animate* animateOnce(const Vector<SpriteFrame*>& frames, float total) {
    const float delay = frames.empty() ? total : total / static_cast<float>(frames.size());
    return Animate::create(Animation::createWithSpriteFrames(frames, delay, 1));
}

ActionInterval* puffMotion(const Vector<SpriteFrame*>& frames) {
    const float a = visualRandomBetween(0.25f, 0.8f);
    const float b = visualRandomBetween(0.25f, 0.8f);
    const float t = a + b;
    const float s1 = visualRandomBetween(0.3f, 1.0f);
    const float s2 = visualRandomBetween(0.3f, 1.0f);
    const float k = visualRandomBetween(1.0f, 4.0f);
    const float dy = visualRandomBetween(-1.0f, 1.0f) * 16.0f;
    const float dx = visualRandomBetween(-1.0f, 1.0f) * 16.0f;
    Animate* animate = animateOnce(frames, t);
    const float angle = visualRandomBetween(-1.0f, 1.0f) * 480.0f;
    return Spawn::create(
        animate, EaseOut::create(MoveBy::create(t, Vec2(dx, dy)), k),
        EaseOut::create(RotateBy::create(t, angle), k),
        Sequence::create(Spawn::create(EaseIn::create(FadeOut::create(b), k), ScaleBy::create(0.0f, s1)),
                         Spawn::create(EaseOut::create(FadeOut::create(a), k),
                                       EaseOut::create(ScaleBy::create(a, s2), k))));
}

void emitPuff(Node* parent, const RefPtr<Node>& node, float delay) {
    Sprite* puff = Sprite::create();
    puff->setScale(0.15f);
    puff->setLocalZOrder(node->getLocalZOrder() + 100);
    parent->addChild(puff);
    const DustFrames& frames = dustFrames();
    const Vector<SpriteFrame*>& list = visualRandomInt(0, 1) == 0 ? frames.brown : frames.white;
    auto place =
        CallFuncN::create([node](Node* self) { self->setPosition(node->getPosition() - Vec2(0.0f, 7.0f)); });
    puff->runAction(
        Sequence::create(DelayTime::create(delay), place, puffMotion(list), RemoveSelf::create(true)));
}

}  // namespace

FiniteTimeAction* createDustBurst(Node* parent, Node* node, int count) {
    if (count <= 0) return CallFunc::create([] {});
    std::vector<FiniteTimeAction*> calls;
    float delay = 0.0f;
    const RefPtr<Node> keptParent(parent);
    const RefPtr<Node> keptNode(node);
    for (int i = 0; i < count; ++i) {
        calls.push_back(
            CallFunc::create([keptParent, keptNode, delay] { emitPuff(keptParent.get(), keptNode, delay); }));
        delay += visualRandomBetween(0.01f, 0.06f);
    }
    return Sequence::create(calls);
}

FiniteTimeAction* createRunStartDust(Node* parent, Node* node) {
    return createDustBurst(parent, node, visualRandomInt(4, 10));
}

FiniteTimeAction* createRunStopDust(Node* parent, Node* node) {
    return createDustBurst(parent, node, visualRandomInt(1, 4));
}

FiniteTimeAction* createDirectionalDustSmall() {
    return Sequence::create(animateOnce(dustFrames().small, 0.4f), RemoveSelf::create(true));
}

FiniteTimeAction* createDirectionalDustLarge() {
    return Sequence::create(animateOnce(dustFrames().large, 0.4f), RemoveSelf::create(true));
}

const std::vector<std::string>& dustFrameNames() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> out;
        for (auto list : {names("Dust_Puff_Brown_", 6), names("Dust_Puff_White_", 6),
                          names("Dust_Directional_Small_", 7), names("Dust_Directional_Large_", 6)})
            out.insert(out.end(), list.begin(), list.end());
        return out;
    }();
    return all;
}
