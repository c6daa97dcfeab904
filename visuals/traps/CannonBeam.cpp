#include "visuals/traps/CannonBeam.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/ClippingNode.h"
#include "engine/DrawNode.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

namespace {

const Color3B kBeamTint(40, 220, 191);
const Color3B kBackTint(97, 181, 195);
constexpr float kFrame = 1.0f / 24.0f;

}  // namespace

ShotCounts shotCounts(float t) {
    const float shot = clampDuration(t);
    ShotCounts c;
    c.beamLoops = wholeCount(shot / (4.0f / 24.0f));
    c.pulses = wholeCount((shot - 0.1f) / 0.1f + 1.0f);
    c.colourStep = shot / 8.0f;
    c.colourCycles = 1;
    while (c.colourStep > 0.05f) {
        c.colourStep /= 2.0f;
        ++c.colourCycles;
    }
    c.splashLoops = wholeCount(shot / (3.0f / 24.0f));
    return c;
}

BeamLayout beamLayout(u32 length) {
    if (length <= 2) return {};
    return {length - 2, true};
}

CannonTopChunk* CannonTopChunk::create() {
    return createWithInit<CannonTopChunk>();
}

bool CannonTopChunk::init() {
    if (!Sprite::init()) return false;
    setContentSize(Size(160.0f, 160.0f));
    Sprite* stencil = Sprite::createWithSpriteFrameName("Laser_Top_Base.png");
    auto* clip = ClippingNode::create(stencil);
    clip->setAlphaThreshold(0.1f);
    const float baseHeight = stencil->getContentSize().height;
    clip->setPosition(Vec2(80.0f, 0.5f * baseHeight));
    Sprite* base = Sprite::createWithSpriteFrameName("Laser_Top_Base.png");
    base->setColor(kBackTint);
    shadow_ = Sprite::createWithSpriteFrameName("Laser_Middle_SoftShadow.png");
    beam_ = Sprite::createWithSpriteFrameName("Laser_Middle_0001.png");
    beam_->setPosition(Vec2(0.0f, 0.5f * beam_->getContentSize().height - 0.5f * baseHeight));
    clip->addChild(base);
    clip->addChild(shadow_);
    clip->addChild(beam_);
    addChild(clip);
    Sprite* highlight = Sprite::createWithSpriteFrameName("Laser_Top_Highlight.png");
    highlight->setColor(kBeamTint);
    highlight->setPosition(Vec2(80.0f, 0.5f * highlight->getContentSize().height));
    addChild(highlight);
    Sprite* cap = Sprite::createWithSpriteFrameName("Laser_Beam_Cap.png");
    cap->setPosition(Vec2(80.0f, 82.0f));
    addChild(cap);
    return true;
}

CannonMiddleChunk* CannonMiddleChunk::create() {
    return createWithInit<CannonMiddleChunk>();
}

bool CannonMiddleChunk::init() {
    if (!Sprite::init()) return false;
    highlight_ = Sprite::createWithSpriteFrameName("Laser_Middle_Highlight.png");
    const Size size = highlight_->getContentSize();
    setContentSize(size);
    const Vec2 half(size.width / 2.0f, size.height / 2.0f);
    auto* back = DrawNode::create(2.0f);
    back->drawSolidRect(-half, half, Color4F(Color4B(97, 181, 195, 255)));
    shadow_ = Sprite::createWithSpriteFrameName("Laser_Middle_SoftShadow.png");
    highlight_->setColor(kBeamTint);
    beam_ = Sprite::createWithSpriteFrameName("Laser_Middle_0001.png");
    for (Node* part : std::initializer_list<Node*>{back, shadow_, highlight_, beam_}) {
        part->setPosition(half);
        addChild(part);
    }
    return true;
}

CannonEndChunk* CannonEndChunk::create() {
    return createWithInit<CannonEndChunk>();
}

bool CannonEndChunk::init() {
    if (!Sprite::init()) return false;
    inner_ = CannonMiddleChunk::create();
    if (inner_ == nullptr) return false;
    const Size size = inner_->getContentSize();
    setContentSize(size);
    const Vec2 centre(size.width / 2.0f, size.height / 2.0f);
    splashB_ = Sprite::createWithSpriteFrameName("Laser_Splash_B_0001.png");
    splashB_->setColor(kBeamTint);
    splashB_->setPosition(Vec2(centre.x, 0.5f * splashB_->getContentSize().height));
    addChild(splashB_);
    inner_->setPosition(centre);
    addChild(inner_);
    splash_ = Sprite::createWithSpriteFrameName("Laser_Splash_0001.png");
    splash_->setPosition(Vec2(centre.x, 0.5f * splash_->getContentSize().height));
    addChild(splash_);
    Sprite* beam = inner_->getBeam();
    beam->retain();
    beam->removeFromParentAndCleanup(false);
    addChild(beam);
    beam->release();
    beam->setPosition(centre);
    return true;
}

namespace {

FiniteTimeAction* beamLoop(u32 times) {
    return Repeat::create(
        createAnimateFromFrameNames(numberedFrames("Laser_Middle_", 1, 4, ".png", 4), kFrame), times);
}

FiniteTimeAction* pulse(u32 times) {
    return Repeat::create(
        Sequence::create(ScaleBy::create(0.05f, 0.8f, 1.0f), ScaleBy::create(0.05f, 1.25f, 1.0f)), times);
}

FiniteTimeAction* colourCycle(const ShotCounts& c) {
    static const Color3B colours[] = {{255, 255, 150}, {150, 255, 255}, {150, 150, 255}, {255, 150, 255},
                                      {255, 150, 150}, {255, 255, 150}, {150, 255, 150}, {150, 255, 255}};
    Vector<FiniteTimeAction*> tints;
    for (const Color3B& colour : colours) tints.pushBack(TintTo::create(c.colourStep, colour));
    return Repeat::create(Sequence::create(tints), c.colourCycles);
}

FiniteTimeAction* opening() {
    return Sequence::create(ScaleTo::create(0.0f, 0.1f, 1.0f), ScaleTo::create(0.05f, 1.0f, 1.0f));
}

FiniteTimeAction* closing() {
    return ScaleTo::create(0.05f, 0.0f, 1.0f);
}

}  // namespace

FiniteTimeAction* makeChunkFireAction(Sprite* beam, Sprite* tinted, float t) {
    const ShotCounts c = shotCounts(t);
    return Sequence::create(opening(),
                            Spawn::create(TargetedAction::create(beam, beamLoop(c.beamLoops)),
                                          pulse(c.pulses), TargetedAction::create(tinted, colourCycle(c))),
                            closing());
}

FiniteTimeAction* makeEndBeamFireAction(Sprite* beam, Sprite* tinted, float t) {
    const ShotCounts c = shotCounts(t);
    FiniteTimeAction* chunk = Sequence::create(
        opening(), Spawn::create(TargetedAction::create(tinted, colourCycle(c)), pulse(c.pulses)), closing());
    FiniteTimeAction* ownBeam = TargetedAction::create(
        beam, Sequence::create(opening(), Spawn::create(pulse(c.pulses), beamLoop(c.beamLoops)), closing()));
    return Spawn::create(chunk, ownBeam);
}

FiniteTimeAction* makeSplashFireAction(Sprite* splash, Sprite* splashB, float t) {
    const ShotCounts c = shotCounts(t);
    auto loop = [&](const std::string& prefix) {
        return Repeat::create(createAnimateFromFrameNames(numberedFrames(prefix, 1, 3, ".png", 4), kFrame),
                              c.splashLoops);
    };
    auto tail = [&](const std::string& prefix) {
        std::vector<std::string> names = numberedFrames(prefix, 4, 6, ".png", 4);
        names.push_back("blank.png");
        return createAnimateFromFrameNames(names, kFrame);
    };
    return Spawn::create(
        TargetedAction::create(splashB, colourCycle(c)),
        Sequence::create(Spawn::create(TargetedAction::create(splash, loop("Laser_Splash_")),
                                       TargetedAction::create(splashB, loop("Laser_Splash_B_"))),
                         Spawn::create(TargetedAction::create(splash, tail("Laser_Splash_")),
                                       TargetedAction::create(splashB, tail("Laser_Splash_B_")))));
}

CannonBeam* CannonBeam::create(int length) {
    return createWithMethod<CannonBeam>(&CannonBeam::initWithLength, length);
}

bool CannonBeam::initWithLength(int length) {
    if (!Sprite::init()) return false;
    length_ = length;
    top_ = CannonTopChunk::create();
    if (top_ == nullptr) return false;
    const Size size = top_->getContentSize();
    setContentSize(size);
    top_->setPosition(Vec2(size.width / 2.0f, size.height / 2.0f));
    addChild(top_);
    const BeamLayout layout = beamLayout(length < 0 ? 0u : static_cast<u32>(length));
    float y = -size.height / 2.0f;
    for (u32 i = 0; i < layout.middles; ++i, y -= size.height) {
        CannonMiddleChunk* middle = CannonMiddleChunk::create();
        middle->setPosition(Vec2(size.width / 2.0f, y));
        middles_.push_back(middle);
        addChild(middle);
    }
    if (layout.end) {
        end_ = CannonEndChunk::create();
        end_->setPosition(Vec2(size.width / 2.0f, y));
        addChild(end_);
    }
    return true;
}

FiniteTimeAction* CannonBeam::fire(float t) {
    Vector<FiniteTimeAction*> parts;
    if (top_ != nullptr)
        parts.pushBack(
            TargetedAction::create(top_, makeChunkFireAction(top_->getBeam(), top_->getShadow(), t)));
    for (CannonMiddleChunk* middle : middles_)
        parts.pushBack(
            TargetedAction::create(middle, makeChunkFireAction(middle->getBeam(), middle->getShadow(), t)));
    if (end_ != nullptr) {
        CannonMiddleChunk* inner = end_->getInner();
        parts.pushBack(TargetedAction::create(
            end_, Spawn::create(TargetedAction::create(
                                    inner, makeEndBeamFireAction(inner->getBeam(), inner->getShadow(), t)),
                                makeSplashFireAction(end_->getSplash(), end_->getSplashB(), t))));
    }
    parts.pushBack(positionalSoundAction(this, "sound/boss/cannon/blast.mp3"));
    return Spawn::create(parts);
}

LineIntervalTrap2DVisualMediator::LineIntervalTrap2DVisualMediator(
    CannonBeam* beam, BossEye* eye, const Zarn::LineIntervalTrapElement* record,
    const Zarn::ZOrderCalculator* zOrder)
    : beam_(beam), eye_(eye), record_(record), zOrder_(zOrder) {}

void LineIntervalTrap2DVisualMediator::moveBeamOut() {
    if (moved_) return;
    Node* cannon = beam_->getParent();
    Node* layer = cannon != nullptr ? cannon->getParent() : nullptr;
    if (layer == nullptr) return;
    const Vec2 there = layer->convertToNodeSpace(cannon->convertToWorldSpace(beam_->getPosition()));
    beam_->setScale(cannon->getScale());
    beam_->removeFromParentAndCleanup(false);
    layer->addChild(beam_.get());
    beam_->setPosition(there);
    moved_ = 1;
}

void LineIntervalTrap2DVisualMediator::onStateChanged(u32, u32 newState) {
    const float halfRest = clampDuration(record_->restTime) * 0.5f;
    switch (newState) {
        case 0:
            eye_->showNormalLook();
            eye_->runAction(eye_->raiseAsCannon(halfRest));
            return;
        case 1:
            moveBeamOut();
            beam_->setVisible(true);
            beam_->runAction(beam_->fire(clampDuration(record_->activeTime) * 0.9f));
            return;
        case 2:
            eye_->runAction(eye_->lowerFromCannon(halfRest));
            return;
        case 3: {
            eye_->stopAllActions();
            BossEye* eye = eye_.get();
            eye_->runAction(Sequence::create(eye_->lowerFromCannon(halfRest), guardedCall([eye] {
                                                 eye->getClip()->setVisible(false);
                                                 eye->getBulb()->setVisible(false);
                                             })));
            return;
        }
        default:
            return;
    }
}

CannonBeamCocos2D* CannonBeamCocos2D::create(Zarn::IntervalTrap* trap, const Zarn::ZOrderCalculator* zOrder,
                                             Zarn::TileVisualGroups* tileVisuals) {
    return createWithMethod<CannonBeamCocos2D>(&CannonBeamCocos2D::initWithTrap, trap, zOrder, tileVisuals);
}

CannonBeamCocos2D::~CannonBeamCocos2D() {
    if (visual_ && visual_->beamMoved() && beam_ != nullptr) beam_->removeFromParentAndCleanup(true);
    nodeMediator_.reset();
    adapter_.reset();
    visual_.reset();
}

bool CannonBeamCocos2D::initWithTrap(Zarn::IntervalTrap* trap, const Zarn::ZOrderCalculator* zOrder,
                                     Zarn::TileVisualGroups* tileVisuals) {
    if (!Sprite::init()) return false;
    const auto* line = dynamic_cast<const Zarn::LineIntervalTrapElement*>(&trap->intervalRecord());
    if (line == nullptr) return false;
    eye_ = BossEye::create();
    beam_ = CannonBeam::create(static_cast<int>(std::min<u32>(line->length, kMaxCount)));
    if (eye_ == nullptr || beam_ == nullptr) return false;
    addChild(eye_);
    addChild(beam_);
    setContentSize(beam_->getContentSize());
    beam_->setPosition(Vec2(getContentSize().width / 2.0f, getContentSize().height / 2.0f));
    beam_->setVisible(false);
    eye_->setRestPosition(Vec2(80.0f, 0.0f), 80.0f);
    eye_->getLowerFloor()->setVisible(false);
    beam_->setLocalZOrder(1000000);
    visual_ = std::make_unique<LineIntervalTrap2DVisualMediator>(beam_, eye_, line, zOrder);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::IntervalTrap2D>(trap, nodeMediator_.get(), tileVisuals, zOrder);
    adapter_->coversTiles = false;
    adapter_->setupVisual();
    setLocalZOrder(zOrder->rowBase(line->position.y) - 1);
    return true;
}

void CannonBeamCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
