#include "app/widgets/ZUIButton.h"

#include "app/widgets/DrawNodeEx.h"
#include "app/widgets/UiSounds.h"
#include "engine/Label.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

namespace {
const Color4B kTextNormal(255, 251, 208, 255);
const Color4B kTextHover(214, 191, 134, 255);
const Color4B kOutline(24, 27, 33, 255);
const Color4B kFaceNormal(255, 155, 17, 255);
const Color4B kFaceHover(255, 201, 109, 255);
const Color4B kFacePressed(255, 232, 194, 255);
const Color4B kShadow(188, 74, 1, 255);
const Vec2 kShadowOffset(5, -4);
}  // namespace

const Vec2 ZUIButton::kPressedOffset(3, -3);

Size labelButtonSize(const Size& label, float minWidth, float minHeight) {
    const float width = minWidth > label.width + 20.0f ? minWidth : label.width + 40.0f;
    const float height = std::max(minHeight, label.height + 20.0f);
    return Size(width, height);
}

ZUIButton* ZUIButton::create(const std::string& text, const std::string& fontFile, int fontSize,
                             float minWidth, float minHeight) {
    return createConfigured<ZUIButton>([&](ZUIButton& n) {
        n.text = text;
        n.fontFile = fontFile;
        n.fontSize = fontSize;
        n.minWidth = minWidth;
        n.minHeight = minHeight;
    });
}

bool ZUIButton::init() {
    if (!Node::init()) return false;
    label = Label::createWithTTF(text, fontFile, static_cast<float>(fontSize) * kFontSizeFactor, Size::ZERO,
                                 TextHAlignment::LEFT, TextVAlignment::TOP);
    label->setTextColor(kTextNormal);
    label->enableOutline(kOutline, 3);
    label->setScale(kLabelScale);
    label->setLocalZOrder(1);
    setContentSize(labelButtonSize(label->getBoundingBox().size, minWidth, minHeight));

    const Size& size = getContentSize();
    face = DrawNodeEx::create();
    face->setContentSize(size);
    shadow = DrawNodeEx::create();
    shadow->setContentSize(size);
    // The shapes are drawn in white and take the node's colour, so that the
    // looks are a colour change of the face.
    shadow->drawSolidRect(Vec2(-size.width / 2, -size.height / 2), Vec2(size.width / 2, size.height / 2),
                          Color4F::WHITE);
    shadow->setColor(Color3B(kShadow));
    shadow->setPosition(kShadowOffset);
    showLook(kFaceNormal);

    addChild(shadow);
    addChild(face);
    addChild(label, 1);
    listenToPointer(PressRules{});
    setCascadeOpacityEnabled(true);
    return true;
}

bool ZUIButton::hitTest(const Vec2& worldPoint) const {
    const Vec2 local = convertToNodeSpace(worldPoint);
    const Size& size = getContentSize();
    const Rect area(-size.width / 2, -size.height / 2, getBoundingBox().size.width,
                    getBoundingBox().size.height);
    return area.containsPoint(local);
}

void ZUIButton::showLook(const Color4B& faceColour) {
    const Size& size = getContentSize();
    face->clear();
    face->drawSolidRect(Vec2(-size.width / 2, -size.height / 2), Vec2(size.width / 2, size.height / 2),
                        Color4F::WHITE);
    face->setColor(Color3B(faceColour));
    face->setOpacity(faceColour.a);
}

void ZUIButton::moveContent(const Vec2& offset) {
    label->setPosition(offset);
    if (icon != nullptr) icon->setPosition(offset);
}

void ZUIButton::onPressEvent(PressEvent event) {
    switch (event) {
        case PressEvent::HoverIn:
            showLook(kFaceHover);
            label->setTextColor(kTextHover);
            SoundPlayer::getInstance()->playEffect(kRolloverSound, 1.0f, 1.0f);
            break;
        case PressEvent::HoverOut:
            showLook(kFaceNormal);
            face->setPosition(Vec2::ZERO);
            label->setTextColor(kTextNormal);
            break;
        case PressEvent::Press:
            showLook(kFacePressed);
            face->setPosition(kPressedOffset);
            SoundPlayer::getInstance()->playEffect(kPressSound, 1.0f, 1.0f);
            moveContent(kPressedOffset);
            break;
        case PressEvent::Release:
        case PressEvent::Click:
            showLook(kFaceNormal);
            face->setPosition(Vec2::ZERO);
            label->setTextColor(kTextNormal);
            moveContent(Vec2::ZERO);
            if (event == PressEvent::Click && callback) callback();
            break;
        case PressEvent::None:
            break;
    }
}
