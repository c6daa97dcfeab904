#include "app/widgets/DrawNodeEx.h"

using namespace cocos2d;

DrawNodeEx* DrawNodeEx::create() {
    return createWithInit<DrawNodeEx>();
}

void DrawNodeEx::updateColor() {
    const Color3B& c = getDisplayedColor();
    paintVertices(Color4F(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, getDisplayedOpacity() / 255.0f));
}

void DrawNodeEx::onDraw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    updateColor();
    DrawNode::onDraw(context, transform, flags);
}
