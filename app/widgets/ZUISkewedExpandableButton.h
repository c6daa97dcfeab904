#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

#include "app/widgets/ZUIPressableNode.h"
#include "engine/Types.h"

namespace cocos2d {
class DrawNode;
class FiniteTimeAction;
}  // namespace cocos2d

// Shape, colours and stretch of an expandable slanted button. The sixth
// colour is kept with the style; the button never shows it.
struct ZUISkewedExpandableButtonStyle {
    cocos2d::Vec2 p0, p1, p2, p3;
    cocos2d::Color3B normal;
    cocos2d::Color3B shadow;
    cocos2d::Color3B expanded;
    cocos2d::Color3B hover;
    cocos2d::Color3B pressed;
    cocos2d::Color3B sixth;
    cocos2d::Vec2 shadowOffset;
    float expandFactor = 1.0f;
};

// Expandable button styles by id (8), filled at static initialisation.
extern std::unordered_map<int, ZUISkewedExpandableButtonStyle> skewedExpandableButtonStyles;

// The slanted button of the arcade carousel: drawn like the skewed rectangle
// button, with its face inside `container` (where creators put their labels),
// and able to stretch upwards by the style's factor (expand) and back
// (collapse). Expanding and collapsing answer the animation for the caller to
// run. While expanded the content box is the stretched shape (the content
// height times the factor), so touches and children follow it. Hover keeps
// reacting while a press is held; a release or a cancelled touch clears both
// flags. Anchor (0.5, 0.5). Main thread only.
class ZUISkewedExpandableButton : public ZUIPressableNode {
public:
    static constexpr float kMoveSeconds = 0.05f;
    static constexpr float kStretchSeconds = 0.1f;

    static ZUISkewedExpandableButton* create(const ZUISkewedExpandableButtonStyle& style);
    bool init() override;

    // A stretch of the shadow and the face for the caller to run; a delay of 0
    // (and no change) when already expanded.
    cocos2d::FiniteTimeAction* expand();
    // The same in reverse; a delay of 0 when not expanded.
    cocos2d::FiniteTimeAction* collapse();
    bool isExpanded() const { return expanded; }
    // Drops a press in progress without a click (a container that took the
    // touch over as a drag calls it): normal look, pressed and hovered cleared.
    void cancelPress();

    cocos2d::DrawNode* getFace() const { return face; }
    cocos2d::DrawNode* getShadow() const { return shadow; }
    const cocos2d::Vec2& getHomePosition() const { return homePosition; }
    const cocos2d::Vec2& getExpandedPosition() const { return expandedPosition; }

    // Holds the face and the creator's children.
    cocos2d::Node* container = nullptr;
    std::function<void()> onExpand;
    std::function<void()> onCollapse;
    std::function<void()> onHover;
    std::function<void()> onUnhover;
    std::function<void()> onClick;

protected:
    void onPressEvent(PressEvent event) override;
    void showNormal();
    void redraw(const cocos2d::Color3B& colour);
    void placeContainer();
    cocos2d::FiniteTimeAction* stretchTo(float scaleY);
    const cocos2d::Vec2& restPosition() const { return expanded ? expandedPosition : homePosition; }

    ZUISkewedExpandableButtonStyle style;
    // Children; the node tree keeps them alive.
    cocos2d::DrawNode* face = nullptr;
    cocos2d::DrawNode* shadow = nullptr;
    std::vector<cocos2d::Vec2> points;
    cocos2d::Size collapsedSize;
    cocos2d::Vec2 homePosition;
    cocos2d::Vec2 expandedPosition;
    bool expanded = false;
};
