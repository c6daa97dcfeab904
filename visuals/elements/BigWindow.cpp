#include "visuals/elements/BigWindow.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/ClippingNode.h"
#include "engine/DrawNode.h"
#include "engine/Vector.h"
#include "presentation/effects/VisualRandom.h"

using cocos2d::Vec2;

BigWindowLook bigWindowLook(int variant, const cocos2d::Size& frameSize) {
    const Vec2 half(frameSize.width / 2.0f, frameSize.height / 2.0f);
    BigWindowLook look;
    switch (variant) {
        case 2:
            look.frame = "p2_big_window.png";
            look.opening = {Vec2(55.0f, 20.0f) - half, half - Vec2(65.0f, 40.0f)};
            return look;
        case 3:
            look.frame = "p3_big_window.png";
            for (const Vec2& p : {Vec2(26.0f, 263.0f), Vec2(26.0f, 114.0f), Vec2(153.0f, 18.0f),
                                  Vec2(1086.0f, 18.0f), Vec2(1186.0f, 114.0f), Vec2(1186.0f, 263.0f)})
                look.opening.push_back(p - half);
            return look;
        case 4:
            look.frame = "p4_big_window.png";
            return look;
        default:
            look.frame = "big_window.png";
            look.opening = {Vec2(20.0f, 20.0f) - half, half - Vec2(40.0f, 40.0f)};
            return look;
    }
}

BigWindowParallax bigWindowParallax(const Vec2& q, const Vec2& backHalfSize) {
    return {(q - backHalfSize - Vec2(0.0f, 100.0f)) * 0.01f, q * 0.01f - Vec2(0.0f, 100.0f)};
}

BigWindow* BigWindow::create(int variant) {
    return cocos2d::createWithMethod<BigWindow>(&BigWindow::initWithVariant, variant);
}

BigWindow::~BigWindow() {
    nodeMediator_.reset();
}

bool BigWindow::initWithVariant(int variant) {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    variant_ = variant;
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, &Zarn::NullVisualNodeMediator::instance());
    windowFrame_ = Sprite::createWithSpriteFrameName(bigWindowLook(variant, Size::ZERO).frame);
    backLayer_ = Sprite::createWithSpriteFrameName("image5073.png");
    frontLayer_ = Sprite::createWithSpriteFrameName("p0_winbg_layer_3.png");
    if (windowFrame_ == nullptr || backLayer_ == nullptr || frontLayer_ == nullptr) return false;
    makeScenery();
    const Size size = windowFrame_->getContentSize();
    const Vec2 centre(size.width / 2.0f, size.height / 2.0f);
    windowFrame_->setPosition(centre);

    DrawNode* stencil = DrawNode::create(2.0f);
    const Size extent(size.width * windowFrame_->getScaleX(), size.height * windowFrame_->getScaleY());
    const BigWindowLook look = bigWindowLook(variant, extent);
    if (look.opening.size() == 2) {
        stencil->drawSolidRect(look.opening[0], look.opening[1], Color4F::BLACK);
    } else if (!look.opening.empty()) {
        stencil->drawSolidPoly(look.opening.data(), static_cast<unsigned int>(look.opening.size()),
                               Color4F::BLACK);
    }
    mask_ = ClippingNode::create(stencil);
    if (mask_ == nullptr) return false;
    mask_->setPosition(centre);
    mask_->addChild(backLayer_);
    mask_->addChild(frontLayer_);
    setContentSize(size);
    addChild(mask_);
    addChild(windowFrame_);
    scheduleUpdate();
    return true;
}

cocos2d::Sprite* BigWindow::layerByDraw() {
    return visualRandomInt(0, 1) == 0 ? backLayer_ : frontLayer_;
}

void BigWindow::addDrifter(const std::string& prefix, int i, float baseY, float speedDivisor, bool pauses) {
    using namespace cocos2d;
    const float w = backLayer_->getContentSize().width + 200.0f;
    Sprite* sprite = Sprite::createWithSpriteFrameName(prefix + std::to_string(i) + ".png");
    const float x = 100.0f + 280.0f * i + visualRandomInt(0, 280);
    const float y = baseY + visualRandomInt(0, 180);
    sprite->setPosition(x, y);
    layerByDraw()->addChild(sprite);
    const float s = visualRandomBetween(0.0f, 9.0f) + w / speedDivisor;
    Vector<FiniteTimeAction*> cycle;
    cycle.pushBack(MoveBy::create(x / s, Vec2(-(x + 200.0f), 0.0f)));
    cycle.pushBack(Place::create(Vec2(w, y)));
    if (pauses) cycle.pushBack(DelayTime::create(visualRandomBetween(2.0f, 5.0f)));
    cycle.pushBack(MoveBy::create(w / s, Vec2(-(w + 200.0f), 0.0f)));
    sprite->runAction(RepeatForever::create(Sequence::create(cycle)));
}

void BigWindow::makeScenery() {
    using namespace cocos2d;
    for (int i = 0; i < 5; ++i) addDrifter("p0_winbg_cloud_", i, 330.0f, 60.0f, false);
    Sprite* bill0 = Sprite::createWithSpriteFrameName("p0_winbg_bill_0.png");
    Sprite* bill1 = Sprite::createWithSpriteFrameName("p0_winbg_bill_1.png");
    frontLayer_->addChild(bill0);
    frontLayer_->addChild(bill1);
    bill0->setPosition(572.0f, 370.0f);
    bill1->setPosition(750.0f, 210.0f);
    Sprite* logo = Sprite::createWithSpriteFrameName("p0_winbg_logo.png");
    frontLayer_->addChild(logo);
    logo->setPosition(365.0f, 340.0f);
    const float d1 = visualRandomBetween(0.0f, 1.0f);
    const float d2 = visualRandomBetween(0.0f, 1.0f);
    auto hover = [this](Sprite* sprite) {
        return CallFunc::create([this, sprite] { sprite->runAction(createHoverAction()); });
    };
    runAction(Sequence::create(hover(bill0), DelayTime::create(d2), hover(bill1), DelayTime::create(d1),
                               hover(logo)));
    for (int i = 0; i < 2; ++i) addDrifter("p0_winbg_ufo_", i, 230.0f, 4.0f, true);
}

cocos2d::Action* BigWindow::createHoverAction() {
    using namespace cocos2d;
    const float a = 40.0f + visualRandomBetween(0.0f, 20.0f);
    return RepeatForever::create(
        Sequence::create(EaseOut::create(MoveBy::create(5.0f, Vec2(0.0f, a)), 1.5f),
                         EaseOut::create(MoveBy::create(5.0f, Vec2(0.0f, -a)), 1.5f)));
}

void BigWindow::update(float) {
    if (followedNode == nullptr) return;
    cocos2d::Node* parent = followedNode->getParent();
    const Vec2 world = parent != nullptr ? parent->convertToWorldSpace(followedNode->getPosition())
                                         : followedNode->getPosition();
    Vec2 q = convertToNodeSpace(world);
    q.y = 0.0f;
    setParallax(q);
}

void BigWindow::setParallax(const Vec2& offset) {
    const cocos2d::Size& back = backLayer_->getContentSize();
    const BigWindowParallax p = bigWindowParallax(offset, Vec2(back.width / 2.0f, back.height / 2.0f));
    backLayer_->setPosition(p.back);
    frontLayer_->setPosition(p.front);
}
