#pragma once

#include "engine/Node.h"

namespace cocos2d {

class Sprite;

// Shows part of a sprite: a bar that grows from the midpoint along the change
// rate's axes, or a radial sweep around the midpoint. Percentage 0 .. 100.
class ProgressTimer : public Node {
public:
    enum class Type { RADIAL, BAR };

    static ProgressTimer* create(Sprite* sprite);
    ~ProgressTimer() override;
    bool initWithSprite(Sprite* sprite);

    Type getType() const { return type_; }
    void setType(Type type) { type_ = type; }
    float getPercentage() const { return percentage_; }
    void setPercentage(float percentage);
    Sprite* getSprite() const { return sprite_; }
    void setSprite(Sprite* sprite);
    void setMidpoint(const Vec2& midpoint);
    const Vec2& getMidpoint() const { return midpoint_; }
    void setBarChangeRate(const Vec2& rate) { barChangeRate_ = rate; }
    const Vec2& getBarChangeRate() const { return barChangeRate_; }
    void setReverseDirection(bool reverse) { reverseDirection_ = reverse; }
    bool isReverseDirection() const { return reverseDirection_; }

    // The part of the sprite shown by a bar, as fractions of its size.
    Rect getBarFraction() const;

    void draw(DrawContext& context, const Mat4& transform, uint32_t flags) override;

private:
    Sprite* sprite_ = nullptr;  // retained
    Type type_ = Type::RADIAL;
    float percentage_ = 0.0f;
    Vec2 midpoint_{0.5f, 0.5f};
    Vec2 barChangeRate_{1.0f, 1.0f};
    bool reverseDirection_ = false;
};

}  // namespace cocos2d
