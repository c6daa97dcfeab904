#include "engine/ProgressTimer.h"

#include <algorithm>

#include "engine/DrawList.h"
#include "engine/Sprite.h"

namespace cocos2d {

ProgressTimer* ProgressTimer::create(Sprite* sprite) {
    auto* p = new ProgressTimer();
    if (p->initWithSprite(sprite)) {
        p->autorelease();
        return p;
    }
    delete p;
    return nullptr;
}

ProgressTimer::~ProgressTimer() {
    CC_SAFE_RELEASE(sprite_);
}

bool ProgressTimer::initWithSprite(Sprite* sprite) {
    if (!Node::init()) return false;
    setAnchorPoint(Vec2::ANCHOR_MIDDLE);
    setSprite(sprite);
    percentage_ = 0.0f;
    return true;
}

void ProgressTimer::setSprite(Sprite* sprite) {
    if (sprite == sprite_) return;
    CC_SAFE_RETAIN(sprite);
    CC_SAFE_RELEASE(sprite_);
    sprite_ = sprite;
    setContentSize(sprite_ != nullptr ? sprite_->getContentSize() : Size::ZERO);
}

void ProgressTimer::setPercentage(float percentage) {
    percentage_ = std::clamp(percentage, 0.0f, 100.0f);
}

void ProgressTimer::setMidpoint(const Vec2& midpoint) {
    midpoint_ = Vec2(std::clamp(midpoint.x, 0.0f, 1.0f), std::clamp(midpoint.y, 0.0f, 1.0f));
}

Rect ProgressTimer::getBarFraction() const {
    const float alpha = percentage_ / 100.0f;
    const Vec2 half = Vec2(1.0f - barChangeRate_.x + alpha * barChangeRate_.x,
                           1.0f - barChangeRate_.y + alpha * barChangeRate_.y) *
                      0.5f;
    Vec2 lo = midpoint_ - half;
    Vec2 hi = midpoint_ + half;
    // Keep the bar inside the sprite by sliding it, as a bar pinned to an edge
    // grows away from that edge.
    if (lo.x < 0.0f) {
        hi.x -= lo.x;
        lo.x = 0.0f;
    }
    if (hi.x > 1.0f) {
        lo.x -= hi.x - 1.0f;
        hi.x = 1.0f;
    }
    if (lo.y < 0.0f) {
        hi.y -= lo.y;
        lo.y = 0.0f;
    }
    if (hi.y > 1.0f) {
        lo.y -= hi.y - 1.0f;
        hi.y = 1.0f;
    }
    if (reverseDirection_) {
        const Rect r(lo.x, lo.y, hi.x - lo.x, hi.y - lo.y);
        return Rect(1.0f - r.getMaxX(), 1.0f - r.getMaxY(), r.size.width, r.size.height);
    }
    return Rect(lo.x, lo.y, hi.x - lo.x, hi.y - lo.y);
}

void ProgressTimer::draw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    if (sprite_ == nullptr || percentage_ <= 0.0f) return;
    DrawCommand& c = context.add(DrawKind::Sprite, this, transform);
    // The sprite's own colour is multiplied with the timer's.
    const Color3B sc = sprite_->getColor();
    c.color =
        Color3B(static_cast<uint8_t>(c.color.r * sc.r / 255), static_cast<uint8_t>(c.color.g * sc.g / 255),
                static_cast<uint8_t>(c.color.b * sc.b / 255));
    c.opacity = static_cast<uint8_t>(c.opacity * sprite_->getOpacity() / 255);
    sprite_->fillCommand(c);
    if (type_ == Type::BAR) {
        c.visibleFraction = getBarFraction();
    } else {
        c.radialPercentage = percentage_;
        c.radialCounterClockwise = reverseDirection_;
        c.radialMidpoint = midpoint_;
    }
}

}  // namespace cocos2d
