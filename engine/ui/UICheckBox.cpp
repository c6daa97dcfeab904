#include "engine/ui/UICheckBox.h"

#include "engine/Event.h"
#include "engine/Sprite.h"

namespace cocos2d {
namespace ui {

CheckBox* CheckBox::create() {
    return createWithInit<CheckBox>();
}

CheckBox* CheckBox::create(const std::string& backGround, const std::string& backGroundSelected,
                           const std::string& cross, const std::string& backGroundDisabled,
                           const std::string& frontCrossDisabled, TextureResType texType) {
    auto* c = new CheckBox();
    if (c->init(backGround, backGroundSelected, cross, backGroundDisabled, frontCrossDisabled, texType)) {
        c->autorelease();
        return c;
    }
    delete c;
    return nullptr;
}

CheckBox* CheckBox::create(const std::string& backGround, const std::string& cross, TextureResType texType) {
    return create(backGround, "", cross, "", "", texType);
}

bool CheckBox::init() {
    return init("", "", "", "", "", TextureResType::LOCAL);
}

bool CheckBox::init(const std::string& backGround, const std::string& backGroundSelected,
                    const std::string& cross, const std::string& backGroundDisabled,
                    const std::string& frontCrossDisabled, TextureResType texType) {
    if (!Widget::init()) return false;
    background_ = makeImage(backGround, texType);
    backgroundSelected_ = makeImage(backGroundSelected, texType);
    cross_ = makeImage(cross, texType);
    backgroundDisabled_ = makeImage(backGroundDisabled, texType);
    crossDisabled_ = makeImage(frontCrossDisabled, texType);
    setContentSize(background_->getContentSize());
    for (Sprite* s : {background_, backgroundSelected_, backgroundDisabled_, cross_, crossDisabled_}) {
        s->setPosition(contentSize_.width / 2, contentSize_.height / 2);
        addChild(s, -1);
    }
    setTouchEnabled(true);
    setSelected(false);
    return true;
}

void CheckBox::setSelected(bool selected) {
    selected_ = selected;
    cross_->setVisible(selected && enabled_);
    crossDisabled_->setVisible(selected && !enabled_);
}

void CheckBox::onTouchEnded(Touch* touch, Event* event) {
    const bool wasHighlighted = highlighted_;
    Widget::onTouchEnded(touch, event);
    if (!wasHighlighted) return;
    setSelected(!selected_);
    retain();
    if (callback_) callback_(this, selected_ ? EventType::SELECTED : EventType::UNSELECTED);
    release();
}

void CheckBox::onPressStateChangedToNormal() {
    background_->setVisible(true);
    backgroundSelected_->setVisible(false);
    backgroundDisabled_->setVisible(false);
    setSelected(selected_);
}

void CheckBox::onPressStateChangedToPressed() {
    const bool hasImage = backgroundSelected_->getContentSize().width > 0.0f;
    background_->setVisible(!hasImage);
    backgroundSelected_->setVisible(hasImage);
    backgroundDisabled_->setVisible(false);
}

void CheckBox::onPressStateChangedToDisabled() {
    const bool hasImage = backgroundDisabled_->getContentSize().width > 0.0f;
    background_->setVisible(!hasImage);
    backgroundSelected_->setVisible(false);
    backgroundDisabled_->setVisible(hasImage);
    setSelected(selected_);
}

}  // namespace ui
}  // namespace cocos2d
