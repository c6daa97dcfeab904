#include "app/widgets/ZUICoreButton.h"

#include "app/widgets/UiSounds.h"
#include "engine/ActionInterval.h"
#include "engine/Sprite.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

std::unordered_map<int, ZUICoreButtonStyle> coreButtonStyles = {
    {0,
     {{243, 243, 243},
      {255, 243, 90},
      {163, 163, 163},
      {163, 163, 163},
      {224, 102, 70},
      {224, 102, 70},
      {45, 45, 45},
      {45, 45, 45},
      {168, 120, 53},
      {10, -10}}},
    {1,
     {{176, 176, 176},
      {176, 176, 176},
      {163, 163, 163},
      {163, 163, 163},
      {222, 99, 69},
      {255, 248, 15},
      {45, 45, 45},
      {45, 45, 45},
      {81, 81, 81},
      {10, -10}}},
};

ZUICoreButton* ZUICoreButton::create(const ZUICoreButtonStyle& style, const std::string& iconFrameName) {
    return createConfigured<ZUICoreButton>([&](ZUICoreButton& n) {
        n.style = style;
        n.iconFrameName = iconFrameName;
    });
}

bool ZUICoreButton::init() {
    if (!Node::init()) return false;
    face = Sprite::createWithSpriteFrameName(kFaceFrame);
    shadow = Sprite::createWithSpriteFrameName(kFaceFrame);
    icon = Sprite::createWithSpriteFrameName(iconFrameName);
    shadow->setColor(style.shadow);
    face->setColor(style.faceNormal);
    icon->setColor(style.iconNormal);
    addChild(shadow);
    addChild(face);
    face->addChild(icon);
    setContentSize(face->getContentSize());
    setAnchorPoint(Vec2(0.5f, 0.5f));
    faceHome = Vec2(getContentSize().width / 2, getContentSize().height / 2);
    face->setPosition(faceHome);
    shadow->setPosition(faceHome + style.shadowOffset);
    icon->setPosition(faceHome);
    listenToPointer(PressRules{});
    return true;
}

void ZUICoreButton::showNormal() {
    face->setColor(style.faceNormal);
    icon->setColor(style.iconNormal);
    face->stopAllActions();
    face->runAction(MoveTo::create(kSlideSeconds, faceHome));
}

void ZUICoreButton::onPressEvent(PressEvent event) {
    switch (event) {
        case PressEvent::HoverIn:
            face->setColor(style.faceHover);
            icon->setColor(style.iconHover);
            break;
        case PressEvent::HoverOut:
            showNormal();
            break;
        case PressEvent::Press:
            face->setColor(style.facePressed);
            icon->setColor(style.iconPressed);
            face->stopAllActions();
            face->runAction(MoveTo::create(kSlideSeconds, faceHome + style.shadowOffset));
            SoundPlayer::getInstance()->playEffect(kPressSound, 1.0f, 1.0f);
            break;
        case PressEvent::Release:
        case PressEvent::Click:
            showNormal();
            if (event == PressEvent::Click && callback) callback();
            break;
        case PressEvent::None:
            break;
    }
}
