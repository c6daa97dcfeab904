#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

#include "app/widgets/ZUIPressableNode.h"
#include "engine/Types.h"

namespace cocos2d {
class DrawNode;
}

// Shape and colours of a slanted button: the corners bottom-left, top-left,
// top-right, bottom-right in the button's space.
struct ZUISkewedRectButtonStyle {
    cocos2d::Vec2 p0, p1, p2, p3;
    cocos2d::Color3B normal;
    cocos2d::Color3B shadow;
    cocos2d::Color3B hover;
    cocos2d::Color3B pressed;
    cocos2d::Color3B disabled;
    cocos2d::Vec2 shadowOffset;
};

// Skewed button styles by id (0 to 6 and 11), filled at static
// initialisation; looked up with the subscript operator. Main thread only.
extern std::unordered_map<int, ZUISkewedRectButtonStyle> skewedRectButtonStyles;

// The box a quadrilateral button takes: the wider of its top and bottom
// edges, the taller of its right and left edges.
cocos2d::Size skewedButtonSize(const cocos2d::Vec2& p0, const cocos2d::Vec2& p1, const cocos2d::Vec2& p2,
                               const cocos2d::Vec2& p3);
// The corners as drawn: each moved by (-4.2, -4.2).
std::vector<cocos2d::Vec2> skewedButtonPoints(const cocos2d::Vec2& p0, const cocos2d::Vec2& p1,
                                              const cocos2d::Vec2& p2, const cocos2d::Vec2& p3);
inline constexpr float kSkewedBorderWidth = 5.0f;
// Clears a draw node and fills the quadrilateral in one colour (fill and a
// border of kSkewedBorderWidth).
void paintSkewedShape(cocos2d::DrawNode* node, const std::vector<cocos2d::Vec2>& points,
                      const cocos2d::Color3B& colour);
// A draw node (line width 2) holding the painted quadrilateral, with the
// button's content size and anchor (0.5, 0.5).
cocos2d::DrawNode* makeSkewedShape(const std::vector<cocos2d::Vec2>& points, const cocos2d::Color3B& colour,
                                   const cocos2d::Size& size);

// The large slanted panel button of the menus: a filled quadrilateral on a
// same-shaped shadow, with normal, hover, pressed and disabled looks and an
// optional grow-on-hover. It carries no text: the creator adds labels and
// icons to its face. The hit area is the content box. Anchor (0.5, 0.5).
// Main thread only.
class ZUISkewedRectButton : public ZUIPressableNode {
public:
    static constexpr float kMoveSeconds = 0.05f;
    static constexpr float kHoverScale = 1.2f;

    static ZUISkewedRectButton* create(const ZUISkewedRectButtonStyle& style);
    bool init() override;

    void showNormal();
    void showDisabled();

    cocos2d::DrawNode* getFace() const { return face; }
    cocos2d::DrawNode* getShadow() const { return shadow; }
    const cocos2d::Vec2& getFaceHome() const { return faceHome; }
    const ZUISkewedRectButtonStyle& getStyle() const { return style; }

    // Set by creators. While `state.enabled` is false, touches pass through and
    // hover is ignored.
    std::function<void()> onClick;
    std::function<void()> onHover;
    std::function<void()> onUnhover;
    bool scaleOnHover = false;

protected:
    void onPressEvent(PressEvent event) override;
    void redraw(const cocos2d::Color3B& colour);

    ZUISkewedRectButtonStyle style;
    // Children; the node tree keeps them alive.
    cocos2d::DrawNode* face = nullptr;
    cocos2d::DrawNode* shadow = nullptr;
    std::vector<cocos2d::Vec2> points;
    cocos2d::Vec2 faceHome;
};
