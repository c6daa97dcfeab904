#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "app/widgets/ZUIPressableNode.h"
#include "engine/Types.h"

namespace cocos2d {
class Sprite;
}

// Colours of a round icon button. The fourth face and icon colours are kept
// with the style; the button never shows them.
struct ZUICoreButtonStyle {
    cocos2d::Color3B faceNormal;
    cocos2d::Color3B faceHover;
    cocos2d::Color3B facePressed;
    cocos2d::Color3B faceFourth;
    cocos2d::Color3B iconNormal;
    cocos2d::Color3B iconHover;
    cocos2d::Color3B iconPressed;
    cocos2d::Color3B iconFourth;
    cocos2d::Color3B shadow;
    cocos2d::Vec2 shadowOffset;
};

// The core button styles by id (0 and 1), filled at static initialisation;
// looked up with the subscript operator (an unknown id inserts a default
// style). Main thread only.
extern std::unordered_map<int, ZUICoreButtonStyle> coreButtonStyles;

// The circular icon button of the menus: the "core_button.png" face, a
// second copy as its shadow, an icon sprite on the face. Hover recolours face
// and icon; a press recolours them, slides the face onto its shadow in 0.03 s
// and plays the press sound; releasing inside calls `callback`. Anchor
// (0.5, 0.5), content size the face's. Main thread only.
class ZUICoreButton : public ZUIPressableNode {
public:
    static constexpr const char* kFaceFrame = "core_button.png";
    static constexpr float kSlideSeconds = 0.03f;

    static ZUICoreButton* create(const ZUICoreButtonStyle& style, const std::string& iconFrameName);
    bool init() override;

    cocos2d::Sprite* getFace() const { return face; }
    cocos2d::Sprite* getShadow() const { return shadow; }
    cocos2d::Sprite* getIcon() const { return icon; }
    const cocos2d::Vec2& getFaceHome() const { return faceHome; }

    // Called on a release inside; assigned by the creator.
    std::function<void()> callback;

protected:
    void onPressEvent(PressEvent event) override;
    void showNormal();

    // Children (the icon is the face's); the node tree keeps them alive.
    cocos2d::Sprite* face = nullptr;
    cocos2d::Sprite* shadow = nullptr;
    cocos2d::Sprite* icon = nullptr;
    std::string iconFrameName;
    ZUICoreButtonStyle style;
    cocos2d::Vec2 faceHome;
};
