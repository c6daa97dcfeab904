#pragma once

#include <string>

#include "engine/AssetName.h"
#include "engine/Ref.h"
#include "engine/Types.h"

namespace cocos2d {

class Texture2D;

// A rectangle of a texture that a sprite shows: the (possibly trimmed and
// rotated) rectangle in the texture, the offset of the trimmed part from the
// centre of the untrimmed image, and the untrimmed size. Units are pixels
// (the content scale is 1).
class SpriteFrame : public Ref {
public:
    static SpriteFrame* create(const std::string& filename, const Rect& rect);
    static SpriteFrame* createWithTexture(Texture2D* texture, const Rect& rect);
    static SpriteFrame* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated,
                                          const Vec2& offset, const Size& originalSize);
    ~SpriteFrame() override;
    bool initWithTexture(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                         const Size& originalSize);
    SpriteFrame* clone() const;

    Texture2D* getTexture() const { return texture_; }
    void setTexture(Texture2D* texture);
    const Rect& getRect() const { return rect_; }
    void setRect(const Rect& rect) { rect_ = rect; }
    const Rect& getRectInPixels() const { return rect_; }
    bool isRotated() const { return rotated_; }
    void setRotated(bool rotated) { rotated_ = rotated; }
    const Vec2& getOffset() const { return offset_; }
    void setOffset(const Vec2& offset) { offset_ = offset; }
    const Vec2& getOffsetInPixels() const { return offset_; }
    void setOffsetInPixels(const Vec2& offset) { offset_ = offset; }
    const Size& getOriginalSize() const { return originalSize_; }
    void setOriginalSize(const Size& size) { originalSize_ = size; }
    const Size& getOriginalSizeInPixels() const { return originalSize_; }
    // The frame's name in the cache ("" for a frame made from a file).
    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = AssetName(name); }
    // The name as the draw list carries it.
    const AssetName& getAssetName() const { return name_; }
    // A stand-in for a frame that no loaded sheet has.
    bool isPlaceholder() const { return placeholder_; }
    void setPlaceholder(bool placeholder) { placeholder_ = placeholder; }

public:
    SpriteFrame() = default;

protected:
    Texture2D* texture_ = nullptr;  // retained
    Rect rect_;
    bool rotated_ = false;
    Vec2 offset_;
    Size originalSize_;
    AssetName name_;
    bool placeholder_ = false;
};

}  // namespace cocos2d
