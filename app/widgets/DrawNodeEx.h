#pragma once

#include "engine/DrawNode.h"

// A draw node whose shapes take the node's displayed colour and opacity:
// before each draw every vertex is painted in them, so setColor, TintTo and
// fades act on the drawn shapes. The colour a drawing call names is replaced
// at the next draw (the node's colour is white unless set).
class DrawNodeEx : public cocos2d::DrawNode {
public:
    // Line width 2.
    static DrawNodeEx* create();
    // Paints every vertex in the displayed colour and opacity; the engine
    // also calls it whenever those change.
    void updateColor() override;
    void onDraw(cocos2d::DrawContext& context, const cocos2d::Mat4& transform, uint32_t flags) override;

    DrawNodeEx() : cocos2d::DrawNode(2.0f) {}
};
