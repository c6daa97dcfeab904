#include "visuals/elements/CheckpointVisual.h"

#include <algorithm>

#include "engine/ActionEase.h"
#include "engine/ActionInterval.h"
#include "simulation/scene/ZOrderCalculator.h"

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::Vec2;

const std::vector<CheckpointPalette>& checkpointPalettes() {
    static const std::vector<CheckpointPalette> palettes = [] {
        CheckpointPalette p;
        p.outlineDark = Color3B(219, 143, 33);
        p.baseDark = Color3B(255, 214, 148);
        p.letterDark = Color3B(250, 173, 31);
        p.triangleDark = Color3B(244, 177, 69);
        p.light = Color3B(255, 222, 23);
        p.outlineLit = Color3B::WHITE;
        p.baseLit = Color3B(255, 214, 148);
        p.letterLit = Color3B::WHITE;
        p.triangleLit = Color3B(252, 192, 96);
        std::vector<CheckpointPalette> all(3, p);
        all[0].background = Color4B(245, 240, 223, 255);
        all[1].background = Color4B(192, 197, 158, 255);
        all[2].background = Color4B(147, 205, 191, 255);
        return all;
    }();
    return palettes;
}

std::size_t checkpointPaletteIndex(u32 variant) {
    const std::size_t last = checkpointPalettes().size() - 1;
    return variant == 0 ? 0 : std::min<std::size_t>(variant - 1, last);
}

LitCheckpoint* LitCheckpoint::create(const Zarn::ZOrderCalculator* zOrder) {
    return cocos2d::createWithMethod<LitCheckpoint>(&LitCheckpoint::initWithCalculator, zOrder);
}

bool LitCheckpoint::initWithCalculator(const Zarn::ZOrderCalculator* zOrder) {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    zOrder_ = zOrder;
    background_ = DrawNode::create(2.0f);
    outline_ = Sprite::createWithSpriteFrameName("checkpoint_outline.png");
    letter_ = Sprite::createWithSpriteFrameName("checkpoint_t.png");
    base_ = Sprite::createWithSpriteFrameName("checkpoint_base.png");
    triangle_ = Sprite::createWithSpriteFrameName("checkpoint_triangle.png");
    light_ = Sprite::createWithSpriteFrameName("checkpoint_light.png");
    if (!background_ || !outline_ || !letter_ || !base_ || !triangle_ || !light_) return false;
    setContentSize(base_->getContentSize());
    const Vec2 centre(getContentSize().width / 2.0f, getContentSize().height / 2.0f);
    for (Sprite* part : {outline_, letter_, base_, triangle_}) part->setPosition(centre);
    const Size lightSize = light_->getContentSize();
    light_->setPosition(Vec2(-27.0f, 18.0f) + Vec2(lightSize.width / 2.0f, lightSize.height / 2.0f));
    addChild(background_);
    addChild(base_);
    addChild(triangle_);
    addChild(letter_);
    addChild(outline_);
    lit_ = false;
    updateLight();
    return true;
}

const CheckpointPalette& LitCheckpoint::palette() const {
    const std::vector<CheckpointPalette>& all = checkpointPalettes();
    return all[std::min(paletteIndex_, all.size() - 1)];
}

void LitCheckpoint::updateLight() {
    const CheckpointPalette& p = palette();
    if (lit_) {
        outline_->setColor(p.outlineLit);
        base_->setColor(p.baseLit);
        letter_->setColor(p.letterLit);
        triangle_->setColor(p.triangleLit);
        startLight();
    } else {
        outline_->setColor(p.outlineDark);
        base_->setColor(p.baseDark);
        letter_->setColor(p.letterDark);
        triangle_->setColor(p.triangleDark);
        light_->setVisible(false);
        light_->stopAllActions();
    }
    background_->clear();
    background_->drawSolidRect(Vec2::ZERO, Vec2(getContentSize().width, getContentSize().height),
                               cocos2d::Color4F(p.background));
    light_->setColor(p.light);
}

void LitCheckpoint::startLight() {
    using namespace cocos2d;
    if (owner_ == nullptr || owner_->getParent() == nullptr) return;
    Node* room = owner_->getParent();
    if (!lightAttached_) {
        const Vec2 world = convertToWorldSpace(light_->getPosition());
        const Vec2 there = room->convertToNodeSpace(world);
        light_->removeFromParent();
        room->addChild(light_.get());
        light_->setScale(owner_->getScaleX(), owner_->getScaleY());
        light_->setPosition(there);
        light_->setLocalZOrder(zOrder_->playerZOrder(GeometryLib::FPoint(0.0f, there.y - 60.0f)));
        lightAttached_ = true;
    }
    light_->stopAllActions();
    light_->runAction(RepeatForever::create(
        Sequence::create(EaseIn::create(TintTo::create(1.0f, kCheckpointPulse), 3.0f),
                         EaseIn::create(TintTo::create(1.0f, checkpointPalettes()[0].light), 3.0f))));
    light_->setVisible(true);
}

CheckpointVisualMediator::CheckpointVisualMediator(LitCheckpoint* light, MapElementAnimations animations)
    : ElementVisualMediator(light, std::move(animations)), checkpoint_(light) {}

void CheckpointVisualMediator::onVisibilityChanged(u8 state) {
    if (state != 0 && state != 1) return;
    const u8 opacity = state == 0 ? 255 : 0;
    node_->setOpacity(opacity);
    checkpoint_->getLight()->setOpacity(opacity);
}

void CheckpointVisualMediator::onStateChanged(u32, u32 newState) {
    if (newState != 0 && newState != 1) return;
    playPositional(checkpoint_,
                   newState == 0 ? "sound/checkpoint/checkpoint1.mp3" : "sound/checkpoint/off1.mp3");
    checkpoint_->setLit(newState == 0);
    checkpoint_->updateLight();
}

void CheckpointVisualMediator::onShowHide(u32 value, u8 state) {
    ElementVisualMediator::onShowHide(value, state);
    if (state != 0 && state != 1) return;
    if (state == 1) playPositional(node_, "sound/element/hide1.mp3");
    const cocos2d::RefPtr<cocos2d::Action>& action =
        state == 0 ? getAnimations().showAction : getAnimations().hideAction;
    if (action) checkpoint_->getLight()->runAction(action->clone());
}

CheckpointCocos2D* CheckpointCocos2D::create(Zarn::Checkpoint* checkpoint, u32 variant,
                                             MapElementAnimations animations,
                                             Zarn::TileVisualGroups* tileVisuals,
                                             const Zarn::ZOrderCalculator* zOrder) {
    return cocos2d::createWithMethod<CheckpointCocos2D>(&CheckpointCocos2D::initWithCheckpoint, checkpoint,
                                                        variant, std::move(animations), tileVisuals, zOrder);
}

CheckpointCocos2D::~CheckpointCocos2D() {
    visual_.reset();
    nodeMediator_.reset();
    adapter_.reset();
}

bool CheckpointCocos2D::initWithCheckpoint(Zarn::Checkpoint* checkpoint, u32 variant,
                                           MapElementAnimations animations,
                                           Zarn::TileVisualGroups* tileVisuals,
                                           const Zarn::ZOrderCalculator* zOrder) {
    if (!Sprite::init()) return false;
    element_ = checkpoint;
    variant_ = variant;
    light_ = LitCheckpoint::create(zOrder);
    if (light_ == nullptr) return false;
    light_->setPaletteIndex(checkpointPaletteIndex(variant));
    light_->updateLight();
    light_->setOwnerNode(this);
    addChild(light_);
    light_->setPosition(light_->getContentSize().width / 2.0f, light_->getContentSize().height / 2.0f);
    visual_ = std::make_unique<CheckpointVisualMediator>(light_, std::move(animations));
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::Checkpoint2D>(checkpoint, nodeMediator_.get(), tileVisuals, zOrder);
    adapter_->setupVisual();
    return true;
}

void CheckpointCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
