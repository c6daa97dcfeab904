#include "presentation/effects/FlyApart.h"

#include <cmath>

#include "engine/ActionEase.h"
#include "engine/ActionInterval.h"
#include "engine/Node.h"
#include "presentation/effects/VisualRandom.h"

using namespace cocos2d;

namespace {

float sgn(float r) {
    return r > 0.0f ? 1.0f : -1.0f;
}

// A throw along one axis: scale r1 r + base sgn(r).
float throwOf(float r1, float r, float scale, float base) {
    return scale * r1 * r + base * sgn(r);
}

}  // namespace

void createFlyApartAction2D(Node* piece) {
    piece->setCascadeOpacityEnabled(true);
    const float r1 = visualRandomSigned();
    const float a = std::abs(r1);
    const float d = 0.3f + 0.7f * a;
    const float r2 = visualRandomSigned();
    auto* spin = EaseOut::create(RotateBy::create(d, 1080.0f * r1 * r2), 3.0f);
    const float r3 = visualRandomSigned();
    const float r4 = visualRandomSigned();
    auto* toss = EaseOut::create(
        MoveBy::create(d, Vec2(throwOf(r1, r3, 250.0f, 125.0f), throwOf(r1, r4, 250.0f, 125.0f))), 3.0f);
    const float hh = 50.0f + 150.0f * a;
    auto* hop = Sequence::create(
        EaseOut::create(MoveBy::create(d / 3.0f, Vec2(0.0f, hh)), 3.0f),
        Spawn::create(EaseIn::create(MoveBy::create(2.0f * d / 3.0f, Vec2(0.0f, -1.5f * hh)), 2.0f),
                      EaseIn::create(FadeOut::create(2.0f * d / 3.0f), 8.0f)));
    piece->runAction(Spawn::create(spin, toss, hop));
}

void createFlyApartAction3D(Node* piece) {
    piece->setCascadeOpacityEnabled(true);
    const float r1 = visualRandomSigned();
    const float a = std::abs(r1);
    const float d = 0.3f + 0.7f * a;
    const float r2 = visualRandomSigned();
    const float r3 = visualRandomSigned();
    const float r4 = visualRandomSigned();
    auto* spin = EaseOut::create(
        RotateBy::create(d, Vec3(1080.0f * r1 * r4, 1080.0f * r1 * r3, 1080.0f * r1 * r2)), 3.0f);
    const float r5 = visualRandomSigned();
    const float r6 = visualRandomSigned();
    const float r7 = visualRandomSigned();
    auto* toss = EaseOut::create(
        MoveBy::create(d, Vec3(throwOf(r1, r5, 400.0f, 200.0f), throwOf(r1, r6, 400.0f, 200.0f),
                               throwOf(r1, r7, 400.0f, 200.0f))),
        3.0f);
    const float hh = 100.0f + 300.0f * a;
    auto* hop = Sequence::create(
        EaseOut::create(MoveBy::create(d / 3.0f, Vec3(0.0f, hh, 0.0f)), 3.0f),
        Spawn::create(EaseIn::create(MoveBy::create(2.0f * d / 3.0f, Vec3(0.0f, -1.5f * hh, 0.0f)), 2.0f),
                      EaseIn::create(FadeOut::create(2.0f * d / 3.0f), 8.0f)));
    piece->runAction(Spawn::create(spin, toss, hop));
}
