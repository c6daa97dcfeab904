#pragma once

#include "engine/Node.h"

namespace cocos2d {

// A full-screen container: content size of the design resolution, anchor
// ignored for position.
class Layer : public Node {
public:
    static Layer* create();
    bool init() override;

public:
    Layer();

protected:
};

// A layer filled with one colour; its opacity is the colour's alpha.
class LayerColor : public Layer {
public:
    static LayerColor* create();
    static LayerColor* create(const Color4B& color);
    static LayerColor* create(const Color4B& color, float width, float height);
    bool init() override;
    bool initWithColor(const Color4B& color);
    bool initWithColor(const Color4B& color, float width, float height);
    void changeWidth(float width) { setContentSize(Size(width, contentSize_.height)); }
    void changeHeight(float height) { setContentSize(Size(contentSize_.width, height)); }
    void changeWidthAndHeight(float width, float height) { setContentSize(Size(width, height)); }

    void draw(DrawContext& context, const Mat4& transform, uint32_t flags) override;

public:
    LayerColor();

protected:
};

}  // namespace cocos2d
