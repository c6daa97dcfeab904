#include "visuals/traps/RatTrapVisual.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/SpriteFrameCache.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

RatFlipTimings ratFlipTimings(const Zarn::RatTrapElement& record) {
    RatFlipTimings t;
    t.slam = clampDuration(record.snapTime) + clampDuration(record.activeTime);
    t.back = clampDuration(record.holdTime);
    t.hold = clampDuration(record.releaseTime);
    t.landingSound = t.hold >= 0.5f;
    return t;
}

namespace {

RatFlipFrames flipFrames(const std::string& prefix) {
    return {numberedFrames(prefix, 0, 5), {prefix + "6.png", prefix + "7.png", prefix + "0.png"}};
}

}  // namespace

const RatFlipFrames& leftFlipFrames() {
    static const RatFlipFrames frames = flipFrames("Slap_Trap_Left_");
    return frames;
}

const RatFlipFrames& rightFlipFrames() {
    static const RatFlipFrames frames = flipFrames("Slap_Trap_Right_");
    return frames;
}

RatTrapFlipVisualMediator::RatTrapFlipVisualMediator(const RatFlipFrames& frames, u8 answeredState,
                                                     const RatFlipTimings& t)
    : answeredState_(answeredState) {
    Vector<FiniteTimeAction*> steps;
    steps.pushBack(Spawn::create(
        createAnimateOver(frames.slam, t.slam + 0.2f),
        Sequence::create(DelayTime::create(0.15f), effectSoundAction("sound/rattrap/squeak.mp3")),
        Sequence::create(DelayTime::create(t.slam), effectSoundAction("sound/rattrap/board_hit.mp3"))));
    steps.pushBack(DelayTime::create(t.hold));
    steps.pushBack(createAnimateOver(frames.back, t.back));
    if (t.landingSound) steps.pushBack(effectSoundAction("sound/rattrap/board_down.mp3"));
    flip_ = Sequence::create(steps);
}

void RatTrapFlipVisualMediator::onStateChanged(u32, u32 newState) {
    if (node_ != nullptr && newState == answeredState_) node_->runAction(flip_->clone());
}

namespace {

Zarn::Sprite2DMediator* makeFlip(const RatFlipFrames& frames,
                                 std::unique_ptr<NodeBoundVisualMediator> mediator) {
    SpriteFrame* first = SpriteFrameCache::getInstance()->getSpriteFrameByName(frames.slam.front());
    MediatedAnimatedSprite* sprite = MediatedAnimatedSprite::create(first, std::move(mediator));
    sprite->setAnchorPoint(Vec2(0.0f, 0.0f));
    sprite->setPosition(Vec2(0.0f, 0.0f));
    return sprite->getMediator();
}

}  // namespace

Zarn::Sprite2DMediator* RatTrap2DImpl::createLeftFlip() {
    return makeFlip(leftFlipFrames(),
                    std::make_unique<RatTrapLeftFlipVisualMediator>(ratFlipTimings(record())));
}

Zarn::Sprite2DMediator* RatTrap2DImpl::createRightFlip() {
    return makeFlip(rightFlipFrames(),
                    std::make_unique<RatTrapRightFlipVisualMediator>(ratFlipTimings(record())));
}

RatTrapCocos2D* RatTrapCocos2D::create(Zarn::RatTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                                       Zarn::ZOrderCalculator* zOrder, const Zarn::CellGrid* grid) {
    return createWithMethod<RatTrapCocos2D>(&RatTrapCocos2D::initWithTrap, trap, tileVisuals, zOrder, grid);
}

RatTrapCocos2D::~RatTrapCocos2D() {
    if (adapter_ && zOrder_ != nullptr) zOrder_->removeModifier(&adapter_->playerZOrderMod());
    visual_.reset();
    nodeMediator_.reset();
    adapter_.reset();
}

bool RatTrapCocos2D::initWithTrap(Zarn::RatTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                                  Zarn::ZOrderCalculator* zOrder, const Zarn::CellGrid* grid) {
    if (!Sprite::init()) return false;
    setContentSize(Size(320.0f, 350.0f));
    setCascadeOpacityEnabled(true);
    zOrder_ = zOrder;
    visual_ = std::make_unique<MapElement2DVisualMediator>(this, defaultElementAnimations());
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<RatTrap2DImpl>(trap, nodeMediator_.get(), tileVisuals, zOrder, grid);
    adapter_->layered = false;
    nodeMediator_->setZOrder(adapter_->raisedZOrder());
    adapter_->setupVisual();
    zOrder_->addModifier(&adapter_->playerZOrderMod());
    return true;
}

void RatTrapCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
