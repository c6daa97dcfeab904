#include "presentation/players/PlayerLooks.h"

#include "engine/Label.h"
#include "engine/Sprite.h"

const std::array<cocos2d::Color4B, 56>& playerColourTable() {
    static const std::array<cocos2d::Color4B, 56> table = [] {
        std::array<cocos2d::Color4B, 56> t{};
        t[0] = cocos2d::Color4B(0, 0, 0, 100);
        std::size_t i = 1;
        for (int l : {255, 128, 192, 64, 32, 96, 160, 224}) {
            const auto v = static_cast<uint8_t>(l);
            const cocos2d::Color4B group[] = {{v, 0, 0, 255}, {0, v, 0, 255}, {0, 0, v, 255}, {v, v, 0, 255},
                                              {v, 0, v, 255}, {0, v, v, 255}, {v, v, v, 255}};
            for (const cocos2d::Color4B& c : group) {
                if (l == 255 && c == cocos2d::Color4B(255, 255, 255, 255)) continue;
                t[i++] = c;
            }
        }
        return t;
    }();
    return table;
}

cocos2d::Color4B playerColour(u32 clientID) {
    return playerColourTable()[clientID % playerColourTable().size()];
}

const char* nameTagIconFrame(u8 platformCode) {
    switch (platformCode) {
        case 1:
            return "nametag_windows.png";
        case 3:
            return "nametag_mac.png";
        case 4:
            return "nametag_ios.png";
        case 5:
            return "nametag_android.png";
        default:
            return "SliderNode_Normal.png";
    }
}

NameTagLayout nameTagLayout(float iconWidth, float labelWidth) {
    NameTagLayout layout;
    layout.iconX = iconWidth / 2.0f - (iconWidth + 10.0f + labelWidth) / 2.0f;
    layout.labelX = layout.iconX + iconWidth / 2.0f + 10.0f + labelWidth / 2.0f;
    return layout;
}

cocos2d::Node* createNameTag(const std::string& name, u8 platformCode) {
    cocos2d::Node* tag = cocos2d::Node::create();
    cocos2d::Label* label =
        cocos2d::Label::createWithTTF(name, kNameFont, 36.0f, cocos2d::Size::ZERO,
                                      cocos2d::TextHAlignment::LEFT, cocos2d::TextVAlignment::TOP);
    label->enableOutline(cocos2d::Color4B::BLACK, 2);
    cocos2d::Sprite* icon = cocos2d::Sprite::createWithSpriteFrameName(nameTagIconFrame(platformCode));
    tag->addChild(icon);
    tag->addChild(label);
    const NameTagLayout layout =
        nameTagLayout(icon->getContentSize().width, label->getBoundingBox().size.width);
    icon->setPositionX(layout.iconX);
    label->setPositionX(layout.labelX);
    return tag;
}
