#include "engine/Sprite.h"

#include "engine/DrawList.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"

namespace cocos2d {

Sprite::Sprite() {
    setAnchorPoint(Vec2::ANCHOR_MIDDLE);
}

Sprite::~Sprite() {
    CC_SAFE_RELEASE(texture_);
    CC_SAFE_RELEASE(frame_);
}

Sprite* Sprite::create() {
    return createWithInit<Sprite>();
}

Sprite* Sprite::create(const std::string& filename) {
    auto* s = new Sprite();
    if (s->initWithFile(filename)) {
        s->autorelease();
        return s;
    }
    delete s;
    return nullptr;
}

Sprite* Sprite::create(const std::string& filename, const Rect& rect) {
    auto* s = new Sprite();
    if (s->initWithFile(filename, rect)) {
        s->autorelease();
        return s;
    }
    delete s;
    return nullptr;
}

Sprite* Sprite::createWithTexture(Texture2D* texture) {
    auto* s = new Sprite();
    if (s->initWithTexture(texture)) {
        s->autorelease();
        return s;
    }
    delete s;
    return nullptr;
}

Sprite* Sprite::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    auto* s = new Sprite();
    if (s->initWithTexture(texture, rect, rotated)) {
        s->autorelease();
        return s;
    }
    delete s;
    return nullptr;
}

Sprite* Sprite::createWithSpriteFrame(SpriteFrame* frame) {
    auto* s = new Sprite();
    if (s->initWithSpriteFrame(frame)) {
        s->autorelease();
        return s;
    }
    delete s;
    return nullptr;
}

Sprite* Sprite::createWithSpriteFrameName(const std::string& name) {
    auto* s = new Sprite();
    if (s->initWithSpriteFrameName(name)) {
        s->autorelease();
        return s;
    }
    delete s;
    return nullptr;
}

bool Sprite::init() {
    if (!Node::init()) return false;
    CC_SAFE_RELEASE_NULL(texture_);
    CC_SAFE_RELEASE_NULL(frame_);
    frameName_ = AssetName();
    hasImage_ = false;
    setTextureRect(Rect::ZERO, false, Size::ZERO);
    return true;
}

bool Sprite::initWithFile(const std::string& filename) {
    if (filename.empty()) return false;
    return initWithTexture(TextureCache::getInstance()->addImage(filename));
}

bool Sprite::initWithFile(const std::string& filename, const Rect& rect) {
    if (filename.empty()) return false;
    return initWithTexture(TextureCache::getInstance()->addImage(filename), rect);
}

bool Sprite::initWithTexture(Texture2D* texture) {
    if (texture == nullptr) return false;
    return initWithTexture(texture, Rect(Vec2::ZERO, texture->getContentSize()));
}

bool Sprite::initWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    if (!Node::init()) return false;
    CC_SAFE_RELEASE_NULL(frame_);
    frameName_ = AssetName();
    setTexture(texture);
    hasImage_ = texture != nullptr;
    unflippedOffset_ = Vec2::ZERO;
    setTextureRect(rect, rotated, rect.size);
    return true;
}

bool Sprite::initWithSpriteFrame(SpriteFrame* frame) {
    if (frame == nullptr) return false;
    if (!Node::init()) return false;
    setSpriteFrame(frame);
    return true;
}

bool Sprite::initWithSpriteFrameName(const std::string& name) {
    return initWithSpriteFrame(SpriteFrameCache::getInstance()->getSpriteFrameByName(name));
}

void Sprite::setSpriteFrame(const std::string& name) {
    setSpriteFrame(SpriteFrameCache::getInstance()->getSpriteFrameByName(name));
}

void Sprite::setSpriteFrame(SpriteFrame* frame) {
    if (frame == nullptr) return;
    if (frame != frame_) {
        frame->retain();
        CC_SAFE_RELEASE(frame_);
        frame_ = frame;
    }
    frameName_ = frame->getAssetName();
    hasImage_ = true;
    setTexture(frame->getTexture());
    unflippedOffset_ = frame->getOffset();
    setTextureRect(frame->getRect(), frame->isRotated(), frame->getOriginalSize());
}

SpriteFrame* Sprite::getSpriteFrame() const {
    if (frame_ != nullptr) return frame_;
    if (texture_ == nullptr) return nullptr;
    SpriteFrame* made =
        SpriteFrame::createWithTexture(texture_, rect_, rectRotated_, unflippedOffset_, contentSize_);
    return made;
}

void Sprite::setTexture(const std::string& filename) {
    setTexture(TextureCache::getInstance()->addImage(filename));
}

void Sprite::setTexture(Texture2D* texture) {
    if (texture == texture_) return;
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(texture_);
    texture_ = texture;
    if (texture != nullptr) hasImage_ = true;
}

void Sprite::setTextureRect(const Rect& rect) {
    setTextureRect(rect, false, rect.size);
}

void Sprite::setTextureRect(const Rect& rect, bool rotated, const Size& untrimmedSize) {
    rectRotated_ = rotated;
    rect_ = rect;
    setContentSize(untrimmedSize);
    updateOffset();
}

void Sprite::updateOffset() {
    Vec2 relative = unflippedOffset_;
    if (flippedX_) relative.x = -relative.x;
    if (flippedY_) relative.y = -relative.y;
    offsetPosition_.x = relative.x + (contentSize_.width - rect_.size.width) / 2.0f;
    offsetPosition_.y = relative.y + (contentSize_.height - rect_.size.height) / 2.0f;
}

void Sprite::setFlippedX(bool flipped) {
    if (flippedX_ == flipped) return;
    flippedX_ = flipped;
    updateOffset();
}

void Sprite::setFlippedY(bool flipped) {
    if (flippedY_ == flipped) return;
    flippedY_ = flipped;
    updateOffset();
}

bool Sprite::isPlaceholder() const {
    if (frame_ != nullptr && frame_->isPlaceholder()) return true;
    return texture_ != nullptr && texture_->isPlaceholder();
}

void Sprite::fillCommand(DrawCommand& c) const {
    if (texture_ != nullptr) c.texture = texture_->getAssetName();
    c.frameName = frameName_;
    c.blend = blend_;
    c.textureRect = rect_;
    c.textureRotated = rectRotated_;
    c.quad = Rect(offsetPosition_, rect_.size);
    c.flippedX = flippedX_;
    c.flippedY = flippedY_;
    c.placeholder = isPlaceholder();
}

void Sprite::draw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    if (!hasImage_ || rect_.size.width <= 0.0f || rect_.size.height <= 0.0f) return;
    DrawCommand& c = context.add(DrawKind::Sprite, this, transform);
    fillCommand(c);
}

}  // namespace cocos2d
