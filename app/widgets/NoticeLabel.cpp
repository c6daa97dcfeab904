#include "app/widgets/NoticeLabel.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/Label.h"

void showNotice(cocos2d::Node* parent, const std::string& text, int zOrder) {
    if (parent == nullptr) return;
    cocos2d::Label* notice = cocos2d::Label::createWithTTF(text, "fonts/riffic.ttf", 28.0f);
    const cocos2d::Director* director = cocos2d::Director::getInstance();
    notice->setPosition(
        director->getVisibleOrigin() +
        cocos2d::Vec2(director->getVisibleSize().width / 2.0f, director->getVisibleSize().height / 2.0f));
    parent->addChild(notice, zOrder);
    notice->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(2.0f),
                                                cocos2d::FadeOut::create(0.5f), cocos2d::RemoveSelf::create(),
                                                nullptr));
}
