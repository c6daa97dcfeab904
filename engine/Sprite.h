#pragma once

#include <string>

#include "engine/AssetName.h"
#include "engine/Node.h"

namespace cocos2d {

class SpriteFrame;
class Texture2D;

// A node that shows an image: a whole image file, a rectangle of one, or a
// sprite frame of a loaded sheet. Its content size is the image's untrimmed
// size; its anchor is the middle. Missing art shows as a placeholder entry of
// the image's expected (or a default) size.
class Sprite : public Node {
public:
    static Sprite* create();
    static Sprite* create(const std::string& filename);
    static Sprite* create(const std::string& filename, const Rect& rect);
    static Sprite* createWithTexture(Texture2D* texture);
    static Sprite* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    static Sprite* createWithSpriteFrame(SpriteFrame* frame);
    static Sprite* createWithSpriteFrameName(const std::string& name);
    ~Sprite() override;

    bool init() override;
    virtual bool initWithFile(const std::string& filename);
    virtual bool initWithFile(const std::string& filename, const Rect& rect);
    virtual bool initWithTexture(Texture2D* texture);
    virtual bool initWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    virtual bool initWithSpriteFrame(SpriteFrame* frame);
    virtual bool initWithSpriteFrameName(const std::string& name);

    virtual void setSpriteFrame(SpriteFrame* frame);
    virtual void setSpriteFrame(const std::string& name);
    // The frame shown (a frame made on the spot for a sprite shown from a
    // file); null for an empty sprite.
    SpriteFrame* getSpriteFrame() const;
    bool isFrameDisplayed(SpriteFrame* frame) const { return frame == frame_; }
    virtual void setTexture(const std::string& filename);
    virtual void setTexture(Texture2D* texture);
    Texture2D* getTexture() const { return texture_; }
    // The rectangle of the texture shown, pixels; the content size follows.
    virtual void setTextureRect(const Rect& rect);
    virtual void setTextureRect(const Rect& rect, bool rotated, const Size& untrimmedSize);
    const Rect& getTextureRect() const { return rect_; }
    bool isTextureRectRotated() const { return rectRotated_; }
    const Vec2& getOffsetPosition() const { return offsetPosition_; }

    void setFlippedX(bool flipped);
    void setFlippedY(bool flipped);
    bool isFlippedX() const { return flippedX_; }
    bool isFlippedY() const { return flippedY_; }
    // How the sprite lands on what is below (the draw list carries it to the
    // backend).
    void setBlendFunc(const BlendFunc& blend) { blend_ = blend; }
    const BlendFunc& getBlendFunc() const { return blend_; }

    // True when what is shown stands in for missing art.
    bool isPlaceholder() const;

    void draw(DrawContext& context, const Mat4& transform, uint32_t flags) override;
    // Describes the sprite's image (texture, frame, rectangles, flips) into a
    // draw command; nodes that draw a sprite's image their own way use it.
    void fillCommand(DrawCommand& command) const;

    Sprite();

protected:
    void updateOffset();

    Texture2D* texture_ = nullptr;  // retained
    SpriteFrame* frame_ = nullptr;  // retained
    AssetName frameName_;
    Rect rect_;
    bool rectRotated_ = false;
    Vec2 unflippedOffset_;
    Vec2 offsetPosition_;
    bool flippedX_ = false;
    bool flippedY_ = false;
    bool hasImage_ = false;
    BlendFunc blend_;
};

}  // namespace cocos2d
