#pragma once

#include <functional>
#include <string>

#include "app/widgets/ZUIPressableNode.h"
#include "engine/Types.h"

namespace cocos2d {
class Label;
}
class DrawNodeEx;

// The size of a label button around its label's box (the scaled label's
// width and height): 40 wider and 20 taller, unless a minimum wins. A minimum
// width counts only when it exceeds the label's width by more than 20.
cocos2d::Size labelButtonSize(const cocos2d::Size& label, float minWidth, float minHeight);

// The plain text button of the menus: a TTF label on a flat face with a flat
// shadow. Hover recolours it and plays the rollover sound; a press sinks the
// face onto the shadow and plays the press sound; releasing inside calls
// `callback`. The node's position is the centre of the button (its children
// are centred on the node's origin). Main thread only.
class ZUIButton : public ZUIPressableNode {
public:
    static constexpr float kLabelScale = 0.57f;
    static constexpr float kFontSizeFactor = 1.75f;
    static const cocos2d::Vec2 kPressedOffset;

    static ZUIButton* create(const std::string& text, const std::string& fontFile, int fontSize,
                             float minWidth, float minHeight);
    bool init() override;

    cocos2d::Label* getLabel() const { return label; }
    DrawNodeEx* getFace() const { return face; }
    DrawNodeEx* getShadow() const { return shadow; }

    // Called on a release inside; assigned by the creator.
    std::function<void()> callback;

protected:
    bool hitTest(const cocos2d::Vec2& worldPoint) const override;
    void onPressEvent(PressEvent event) override;
    void showLook(const cocos2d::Color4B& faceColour);
    void moveContent(const cocos2d::Vec2& offset);

    std::string text;
    std::string fontFile;
    int fontSize = 0;
    float minWidth = 0.0f;
    float minHeight = 0.0f;
    // Children; the node tree keeps them alive.
    cocos2d::Label* label = nullptr;
    DrawNodeEx* face = nullptr;
    DrawNodeEx* shadow = nullptr;
    // Sinks with the label on a press when set (never set in this program).
    cocos2d::Node* icon = nullptr;
};
