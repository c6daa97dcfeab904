#include "engine/Layer.h"

#include "engine/Director.h"
#include "engine/DrawList.h"

namespace cocos2d {

Layer::Layer() {
    ignoreAnchorPointForPosition_ = true;
    setAnchorPoint(Vec2::ANCHOR_MIDDLE);
}

Layer* Layer::create() {
    return createWithInit<Layer>();
}

bool Layer::init() {
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

LayerColor::LayerColor() = default;

LayerColor* LayerColor::create() {
    return createWithInit<LayerColor>();
}

LayerColor* LayerColor::create(const Color4B& color) {
    auto* layer = new LayerColor();
    if (layer->initWithColor(color)) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

LayerColor* LayerColor::create(const Color4B& color, float width, float height) {
    auto* layer = new LayerColor();
    if (layer->initWithColor(color, width, height)) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

bool LayerColor::init() {
    return initWithColor(Color4B(0, 0, 0, 0));
}

bool LayerColor::initWithColor(const Color4B& color) {
    const Size s = Director::getInstance()->getWinSize();
    return initWithColor(color, s.width, s.height);
}

bool LayerColor::initWithColor(const Color4B& color, float width, float height) {
    Layer::init();
    displayedColor_ = realColor_ = Color3B(color.r, color.g, color.b);
    displayedOpacity_ = realOpacity_ = color.a;
    setContentSize(Size(width, height));
    return true;
}

void LayerColor::draw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    DrawCommand& c = context.add(DrawKind::Rect, this, transform);
    c.quad = Rect(0, 0, contentSize_.width, contentSize_.height);
}

}  // namespace cocos2d
