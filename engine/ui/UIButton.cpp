#include "engine/ui/UIButton.h"

#include "engine/ActionInterval.h"
#include "engine/Sprite.h"

namespace cocos2d {
namespace ui {

namespace {
constexpr int kZoomActionTag = 0xBA77;
}

Button* Button::create() {
    return createWithInit<Button>();
}

Button* Button::create(const std::string& normalImage, const std::string& selectedImage,
                       const std::string& disableImage, TextureResType texType) {
    auto* b = new Button();
    if (b->init(normalImage, selectedImage, disableImage, texType)) {
        b->autorelease();
        return b;
    }
    delete b;
    return nullptr;
}

bool Button::init() {
    return init("", "", "", TextureResType::LOCAL);
}

bool Button::init(const std::string& normalImage, const std::string& selectedImage,
                  const std::string& disableImage, TextureResType texType) {
    if (!Widget::init()) return false;
    loadTextureNormal(normalImage, texType);
    loadTexturePressed(selectedImage, texType);
    loadTextureDisabled(disableImage, texType);
    setTouchEnabled(true);
    onPressStateChangedToNormal();
    return true;
}

void Button::replace(Sprite*& slot, Sprite* image) {
    if (slot != nullptr) removeChild(slot);
    slot = image;
    image->setFlippedX(flippedX_);
    image->setFlippedY(flippedY_);
    addChild(image, -1);
}

void Button::loadTextureNormal(const std::string& image, TextureResType texType) {
    replace(normal_, makeImage(image, texType));
    setContentSize(normal_->getContentSize());
    for (Sprite* s : {normal_, pressed_, disabled_})
        if (s != nullptr) s->setPosition(contentSize_.width / 2, contentSize_.height / 2);
}

void Button::loadTexturePressed(const std::string& image, TextureResType texType) {
    replace(pressed_, makeImage(image, texType));
    pressed_->setPosition(contentSize_.width / 2, contentSize_.height / 2);
    pressed_->setVisible(false);
}

void Button::loadTextureDisabled(const std::string& image, TextureResType texType) {
    replace(disabled_, makeImage(image, texType));
    disabled_->setPosition(contentSize_.width / 2, contentSize_.height / 2);
    disabled_->setVisible(false);
}

void Button::setFlippedX(bool flipped) {
    flippedX_ = flipped;
    for (Sprite* s : {normal_, pressed_, disabled_})
        if (s != nullptr) s->setFlippedX(flipped);
}

void Button::setFlippedY(bool flipped) {
    flippedY_ = flipped;
    for (Sprite* s : {normal_, pressed_, disabled_})
        if (s != nullptr) s->setFlippedY(flipped);
}

void Button::onPressStateChangedToNormal() {
    // A button without a pressed image shows the normal one while pressed.
    normal_->setVisible(true);
    pressed_->setVisible(false);
    disabled_->setVisible(false);
    if (pressedActionEnabled_) {
        normal_->stopActionByTag(kZoomActionTag);
        Action* zoomBack = normal_->runAction(ScaleTo::create(0.05f, 1.0f));
        zoomBack->setTag(kZoomActionTag);
    }
}

void Button::onPressStateChangedToPressed() {
    const bool hasPressedImage = pressed_->getContentSize().width > 0.0f;
    normal_->setVisible(!hasPressedImage);
    pressed_->setVisible(hasPressedImage);
    disabled_->setVisible(false);
    if (pressedActionEnabled_) {
        Sprite* shown = hasPressedImage ? pressed_ : normal_;
        shown->stopActionByTag(kZoomActionTag);
        Action* zoom = shown->runAction(ScaleTo::create(0.05f, 1.0f + zoomScale_));
        zoom->setTag(kZoomActionTag);
    }
}

void Button::onPressStateChangedToDisabled() {
    const bool hasDisabledImage = disabled_->getContentSize().width > 0.0f;
    normal_->setVisible(!hasDisabledImage);
    pressed_->setVisible(false);
    disabled_->setVisible(hasDisabledImage);
    normal_->setScale(1.0f);
    pressed_->setScale(1.0f);
}

}  // namespace ui
}  // namespace cocos2d
