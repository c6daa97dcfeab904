#pragma once

// Where a screen's pictures and texts land on its layout: the alpha of a
// sprite's frame as the generated sheets hold it, and the inked rectangle of
// a label as the game's fonts draw it, both in the space of any ancestor
// node. Header-only; main thread only (SDL_ttf and the engine's caches).

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AssetNames.h"
#include "SheetPixels.h"
#include "engine/FileUtils.h"
#include "engine/FontMetrics.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"

namespace zarn_test {

// The generated sheets loaded into the engine's frame cache, their pixels
// decoded on demand, and the game's fonts.
class LayoutPixels {
public:
    LayoutPixels() { TTF_Init(); }
    ~LayoutPixels() {
        for (auto& [key, font] : fonts_)
            if (font != nullptr) TTF_CloseFont(font);
        TTF_Quit();
    }
    LayoutPixels(const LayoutPixels&) = delete;
    LayoutPixels& operator=(const LayoutPixels&) = delete;

    // The alpha (0 to 255) of the sprite's picture at a point of its own
    // space (x from the left, y from the bottom); 0 off the picture.
    int alpha(const cocos2d::Sprite* sprite, const cocos2d::Vec2& local) {
        const cocos2d::SpriteFrame* frame = sprite->getSpriteFrame();
        if (frame == nullptr || frame->getTexture() == nullptr) return 0;
        const cocos2d::Rect r = frame->getRect();
        const cocos2d::Size shown = sprite->getContentSize();
        if (local.x < 0 || local.y < 0 || local.x >= shown.width || local.y >= shown.height) return 0;
        const SheetPixels& s = sheet(frame->getTexture()->getPath());
        if (s.surface == nullptr) return 0;
        const int x = static_cast<int>(r.origin.x + local.x * r.size.width / shown.width);
        const int y = static_cast<int>(r.origin.y + (shown.height - local.y) * r.size.height / shown.height);
        if (x < 0 || y < 0 || x >= s.surface->w || y >= s.surface->h) return 0;
        return s.alpha(x, y);
    }
    // The same at a point of `space`, an ancestor of the sprite (or the
    // root of its tree).
    int alphaIn(const cocos2d::Sprite* sprite, const cocos2d::Node* space, const cocos2d::Vec2& point) {
        return alpha(sprite, sprite->convertToNodeSpace(space->convertToWorldSpace(point)));
    }

    // The rectangle a label's glyphs cover, in its own space: from its left
    // edge to its right, from the lowest ink below the last line's baseline
    // to the highest above the first's (a shadow widens it by its offset).
    cocos2d::Rect ink(const cocos2d::Label* label) {
        const cocos2d::TTFConfig& config = label->getTTFConfig();
        const auto metrics = cocos2d::FontMetrics::get(config.fontFilePath, config.fontSize);
        TTF_Font* font = this->font(metrics->fontFile(), config.fontSize);
        int top = 0;
        int bottom = 0;
        bool any = false;
        const std::string& text = label->getString();
        for (std::size_t i = 0; i < text.size();) {
            const char32_t c = nextCodepoint(text, i);
            if (c <= U' ' || font == nullptr) continue;
            int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
            if (TTF_GlyphMetrics32(font, static_cast<Uint32>(c), &minx, &maxx, &miny, &maxy, &advance) != 0)
                continue;
            top = any ? std::max(top, maxy) : maxy;
            bottom = any ? std::min(bottom, miny) : miny;
            any = true;
        }
        const cocos2d::Size box = label->getContentSize();
        const float outline = static_cast<float>(std::max(config.outlineSize, 0));
        const float firstBaseline = box.height - outline - metrics->ascender();
        const float lastBaseline = firstBaseline - static_cast<float>(label->getStringNumLines() - 1) *
                                                       (label->getLineHeight() + label->getLineSpacing());
        cocos2d::Rect r(
            0, lastBaseline + static_cast<float>(bottom), box.width,
            firstBaseline + static_cast<float>(top) - (lastBaseline + static_cast<float>(bottom)));
        if (label->isShadowEnabled()) {
            const cocos2d::Size o = label->getShadowOffset();
            r = cocos2d::Rect(r.origin.x + std::min(0.0f, o.width), r.origin.y + std::min(0.0f, o.height),
                              r.size.width + std::abs(o.width), r.size.height + std::abs(o.height));
        }
        return r;
    }

private:
    const SheetPixels& sheet(const std::string& path) {
        auto& s = sheets_[path];
        if (s == nullptr) s = std::make_unique<SheetPixels>(path);
        return *s;
    }
    TTF_Font* font(const std::string& path, float size) {
        const int pixels = static_cast<int>(size + 0.5f);
        auto& f = fonts_[{path, pixels}];
        if (f == nullptr) f = TTF_OpenFont(path.c_str(), pixels);
        return f;
    }
    static char32_t nextCodepoint(const std::string& s, std::size_t& i) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += 1 + extra;
        return c;
    }

    LoadedSheets loaded_;
    std::map<std::string, std::unique_ptr<SheetPixels>> sheets_;
    std::map<std::pair<std::string, int>, TTF_Font*> fonts_;
};

// The corners of a rectangle of `node`'s space, in `space` (an ancestor).
inline std::array<cocos2d::Vec2, 4> cornersIn(const cocos2d::Node* node, const cocos2d::Rect& r,
                                              const cocos2d::Node* space) {
    std::array<cocos2d::Vec2, 4> out;
    const cocos2d::Vec2 local[4] = {{r.getMinX(), r.getMinY()},
                                    {r.getMinX(), r.getMaxY()},
                                    {r.getMaxX(), r.getMaxY()},
                                    {r.getMaxX(), r.getMinY()}};
    for (int i = 0; i < 4; ++i) out[i] = space->convertToNodeSpace(node->convertToWorldSpace(local[i]));
    return out;
}

// The smallest upright rectangle of `space` holding the corners.
inline cocos2d::Rect boundsOf(const std::array<cocos2d::Vec2, 4>& corners) {
    float x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
    for (const cocos2d::Vec2& p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return cocos2d::Rect(x0, y0, x1 - x0, y1 - y0);
}

// Whether a point lies inside a convex quadrilateral (corners in order,
// either turn).
inline bool insideQuad(const cocos2d::Vec2* quad, const cocos2d::Vec2& p) {
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const cocos2d::Vec2 a = quad[i];
        const cocos2d::Vec2 b = quad[(i + 1) % 4];
        const float cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (s == 0) continue;
        if (sign == 0) sign = s;
        if (s != sign) return false;
    }
    return true;
}

}  // namespace zarn_test
