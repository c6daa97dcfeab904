#include "engine/SpriteFrame.h"

#include "engine/Texture2D.h"

namespace cocos2d {

SpriteFrame* SpriteFrame::create(const std::string& filename, const Rect& rect) {
    return createWithTexture(TextureCache::getInstance()->addImage(filename), rect);
}

SpriteFrame* SpriteFrame::createWithTexture(Texture2D* texture, const Rect& rect) {
    return createWithTexture(texture, rect, false, Vec2::ZERO, rect.size);
}

SpriteFrame* SpriteFrame::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated,
                                            const Vec2& offset, const Size& originalSize) {
    auto* frame = new SpriteFrame();
    if (frame->initWithTexture(texture, rect, rotated, offset, originalSize)) {
        frame->autorelease();
        return frame;
    }
    delete frame;
    return nullptr;
}

SpriteFrame::~SpriteFrame() {
    CC_SAFE_RELEASE(texture_);
}

bool SpriteFrame::initWithTexture(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                                  const Size& originalSize) {
    setTexture(texture);
    rect_ = rect;
    rotated_ = rotated;
    offset_ = offset;
    originalSize_ = originalSize;
    return true;
}

void SpriteFrame::setTexture(Texture2D* texture) {
    if (texture == texture_) return;
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(texture_);
    texture_ = texture;
}

SpriteFrame* SpriteFrame::clone() const {
    SpriteFrame* copy = createWithTexture(texture_, rect_, rotated_, offset_, originalSize_);
    copy->name_ = name_;
    copy->placeholder_ = placeholder_;
    return copy;
}

}  // namespace cocos2d
