#include "app/menus/ZUIMainMenuSplash.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

ZUIMainMenuSplash* ZUIMainMenuSplash::create() {
    return createWithInit<ZUIMainMenuSplash>();
}

bool ZUIMainMenuSplash::init() {
    if (!Node::init()) return false;
    zizad = Sprite::createWithSpriteFrameName("splash_zizad.png");
    spike = Sprite::createWithSpriteFrameName("splash_spike.png");
    logo = Sprite::createWithSpriteFrameName("splash_logo.png");
    prompt = Label::createWithTTF(kPromptText, "fonts/riffic.ttf", 100, Size::ZERO, TextHAlignment::LEFT,
                                  TextVAlignment::TOP);
    prompt->setTextColor(Color4B(232, 94, 60, 255));

    logo->setAnchorPoint(Vec2::ZERO);
    const Size zizadSize = zizad->getContentSize();
    const Size spikeSize = spike->getContentSize();
    const Size logoSize = logo->getContentSize();
    zizadPosition = Vec2(117.018f + zizadSize.width / 2, 276.642f + zizadSize.height / 2);
    spikePosition = Vec2(spikeSize.width / 2, spikeSize.height / 2);
    zizad->setPosition(zizadPosition);
    spike->setPosition(spikePosition);
    logo->setPosition(logoPosition);
    prompt->setPosition(logoPosition + Vec2(0, -500) + Vec2(logoSize.width / 2, logoSize.height / 2));

    addChild(spike);
    addChild(zizad);
    addChild(logo);
    addChild(prompt);
    return true;
}

void ZUIMainMenuSplash::start() {
    for (Node* child : getChildren()) child->stopAllActions();
    logo->setPosition(logoPosition + Vec2(1700, 0));
    logo->setScale(1.0f);
    zizad->setPosition(zizadPosition + Vec2(-1000, 0));
    spike->setPosition(spikePosition + Vec2(-1280, 0));
    spike->setVisible(true);
    prompt->setVisible(false);

    Label* blinking = prompt;
    logo->runAction(Sequence::create(MoveTo::create(0.1f, logoPosition),
                                     EaseOut::create(ScaleTo::create(0.125f, 0.5f, 1.0f), 3.0f),
                                     EaseIn::create(ScaleTo::create(0.225f, 1.1f, 1.0f), 3.0f),
                                     ScaleTo::create(0.05f, 1.0f, 1.0f), CallFunc::create([blinking] {
                                         blinking->runAction(RepeatForever::create(Blink::create(1.0f, 1)));
                                     })));
    zizad->runAction(EaseOut::create(MoveTo::create(0.5f, zizadPosition), 3.0f));
    spike->runAction(EaseOut::create(MoveTo::create(0.5f, spikePosition), 3.0f));
}

void ZUIMainMenuSplash::finish() {
    prompt->stopAllActions();
    prompt->setVisible(false);
    zizad->runAction(Sequence::create(
        EaseIn::create(MoveBy::create(0.15f, Vec2(0, -300)), 3.0f),
        CallFunc::create([] { SoundPlayer::getInstance()->playEffect(kHitSound, 1.0f, 1.0f); }),
        Spawn::create(MoveBy::create(0.25f, Vec2(-1000, 0)),
                      EaseOut::create(MoveBy::create(0.25f, Vec2(0, 1000)), 3.0f))));
    spike->runAction(
        Sequence::create(EaseIn::create(MoveBy::create(0.4f, Vec2(0, -720)), 3.0f), Hide::create()));
}
