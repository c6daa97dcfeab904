#include "engine/ui/UISlider.h"

#include <algorithm>

#include "engine/Event.h"
#include "engine/Sprite.h"
#include "engine/SpriteFrame.h"

namespace cocos2d {
namespace ui {

Slider* Slider::create() {
    return createWithInit<Slider>();
}

bool Slider::init() {
    if (!Widget::init()) return false;
    bar_ = Sprite::create();
    progress_ = Sprite::create();
    ball_ = Node::create();
    ballNormal_ = Sprite::create();
    ballPressed_ = Sprite::create();
    ballDisabled_ = Sprite::create();
    addChild(bar_, -3);
    addChild(progress_, -2);
    addChild(ball_, -1);
    ball_->addChild(ballNormal_);
    ball_->addChild(ballPressed_);
    ball_->addChild(ballDisabled_);
    setTouchEnabled(true);
    onPressStateChangedToNormal();
    return true;
}

namespace {
Sprite* swapImage(Node* parent, Sprite* old, Sprite* fresh, int z) {
    const bool visible = old->isVisible();
    parent->removeChild(old);
    fresh->setVisible(visible);
    parent->addChild(fresh, z);
    return fresh;
}
}  // namespace

void Slider::loadBarTexture(const std::string& file, TextureResType texType) {
    bar_ = swapImage(this, bar_, makeImage(file, texType), -3);
    setContentSize(bar_->getContentSize());
    layout();
}

void Slider::loadSlidBallTextures(const std::string& normal, const std::string& pressed,
                                  const std::string& disabled, TextureResType texType) {
    ballNormal_ = swapImage(ball_, ballNormal_, makeImage(normal, texType), 0);
    ballPressed_ = swapImage(ball_, ballPressed_, makeImage(pressed, texType), 0);
    ballDisabled_ = swapImage(ball_, ballDisabled_, makeImage(disabled, texType), 0);
    onPressStateChangedToNormal();
}

void Slider::loadProgressBarTexture(const std::string& file, TextureResType texType) {
    progress_ = swapImage(this, progress_, makeImage(file, texType), -2);
    layout();
}

void Slider::setPercent(int percent) {
    percent_ = std::clamp(percent, 0, maxPercent_);
    layout();
}

void Slider::layout() {
    const float fraction = static_cast<float>(percent_) / static_cast<float>(maxPercent_);
    const float width = contentSize_.width;
    const float midY = contentSize_.height / 2.0f;
    bar_->setPosition(width / 2.0f, midY);
    ball_->setPosition(width * fraction, midY);
    // The progress image shows its left part up to the ball.
    const Size full = progress_->getSpriteFrame() != nullptr ? progress_->getSpriteFrame()->getOriginalSize()
                                                             : progress_->getContentSize();
    Rect shown = progress_->getTextureRect();
    if (progress_->getSpriteFrame() != nullptr) shown = progress_->getSpriteFrame()->getRect();
    shown.size.width *= fraction;
    progress_->setAnchorPoint(Vec2(0.0f, 0.5f));
    progress_->setTextureRect(shown, false, Size(full.width * fraction, full.height));
    progress_->setPosition((width - full.width) / 2.0f, midY);
}

int Slider::percentAt(const Vec2& worldPoint) const {
    if (contentSize_.width <= 0.0f) return 0;
    const Vec2 p = convertToNodeSpace(worldPoint);
    const float fraction = std::clamp(p.x / contentSize_.width, 0.0f, 1.0f);
    return static_cast<int>(fraction * static_cast<float>(maxPercent_));
}

void Slider::report(EventType type) {
    retain();
    if (callback_) callback_(this, type);
    release();
}

bool Slider::onTouchBegan(Touch* touch, Event* event) {
    const bool claimed = Widget::onTouchBegan(touch, event);
    if (hitted_) {
        setPercent(percentAt(touchBeganPosition_));
        report(EventType::ON_SLIDEBALL_DOWN);
    }
    return claimed;
}

void Slider::onTouchMoved(Touch* touch, Event* event) {
    touchMovePosition_ = touch->getLocation();
    setPercent(percentAt(touchMovePosition_));
    report(EventType::ON_PERCENTAGE_CHANGED);
}

void Slider::onTouchEnded(Touch* touch, Event* event) {
    Widget::onTouchEnded(touch, event);
    report(EventType::ON_PERCENTAGE_CHANGED);
    report(EventType::ON_SLIDEBALL_UP);
}

void Slider::onTouchCancelled(Touch* touch, Event* event) {
    Widget::onTouchCancelled(touch, event);
    report(EventType::ON_SLIDEBALL_CANCEL);
}

void Slider::onPressStateChangedToNormal() {
    ballNormal_->setVisible(true);
    ballPressed_->setVisible(false);
    ballDisabled_->setVisible(false);
}

void Slider::onPressStateChangedToPressed() {
    const bool hasImage = ballPressed_->getContentSize().width > 0.0f;
    ballNormal_->setVisible(!hasImage);
    ballPressed_->setVisible(hasImage);
    ballDisabled_->setVisible(false);
}

void Slider::onPressStateChangedToDisabled() {
    const bool hasImage = ballDisabled_->getContentSize().width > 0.0f;
    ballNormal_->setVisible(!hasImage);
    ballPressed_->setVisible(false);
    ballDisabled_->setVisible(hasImage);
}

}  // namespace ui
}  // namespace cocos2d
