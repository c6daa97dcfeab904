#include "app/widgets/NoticeLabel.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/Label.h"
#include "engine/Layer.h"

namespace {

constexpr float kFontSize = 28.0f;
// Room around the text on the plate, in design units.
constexpr float kPlateMarginX = 24.0f;
constexpr float kPlateMarginY = 14.0f;
// A dark, opaque plate: nothing of the scene shows through the text.
const cocos2d::Color4B kPlateColour(28, 18, 36, 255);

}  // namespace

cocos2d::Node* showNotice(cocos2d::Node* parent, const std::string& text, int zOrder) {
    if (parent == nullptr) return nullptr;
    cocos2d::Label* label = cocos2d::Label::createWithTTF(text, "fonts/riffic.ttf", kFontSize);
    label->setTextColor(cocos2d::Color4B::WHITE);
    const cocos2d::Size textSize = label->getContentSize();
    const cocos2d::Size plateSize(textSize.width + 2.0f * kPlateMarginX,
                                  textSize.height + 2.0f * kPlateMarginY);

    // The notice is a node at the centre of the visible area: the plate
    // around its origin, the text over it. Its opacity reaches both.
    cocos2d::Node* notice = cocos2d::Node::create();
    notice->setCascadeOpacityEnabled(true);
    cocos2d::LayerColor* plate = cocos2d::LayerColor::create(kPlateColour, plateSize.width, plateSize.height);
    plate->setPosition(cocos2d::Vec2(-plateSize.width / 2.0f, -plateSize.height / 2.0f));
    notice->addChild(plate);
    notice->addChild(label);

    const cocos2d::Director* director = cocos2d::Director::getInstance();
    notice->setPosition(
        director->getVisibleOrigin() +
        cocos2d::Vec2(director->getVisibleSize().width / 2.0f, director->getVisibleSize().height / 2.0f));
    parent->addChild(notice, zOrder);
    notice->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kNoticeShownSeconds),
                                                cocos2d::FadeOut::create(kNoticeFadeSeconds),
                                                cocos2d::RemoveSelf::create(), nullptr));
    return notice;
}
