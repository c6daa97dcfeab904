#include "engine/sdl/SdlGlyphCache.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

#include "engine/EngineLog.h"

namespace cocos2d {

struct SdlGlyphCache::Face {
    TTF_Font* font = nullptr;  // owned; null when the file cannot be opened
    int outline = 0;
    int ascent = 0;
    std::unordered_map<char32_t, GlyphImage> glyphs;
};

SdlGlyphCache::SdlGlyphCache(SDL_Renderer* renderer) : renderer_(renderer) {
    ready_ = TTF_Init() == 0;  // counted: each cache quits its own
    if (!ready_) engineLog(std::string("render: text disabled: ") + TTF_GetError());
}

SdlGlyphCache::~SdlGlyphCache() {
    for (auto& [key, face] : faces_) {
        for (auto& [codepoint, image] : face->glyphs)
            if (image.texture != nullptr) SDL_DestroyTexture(image.texture);
        if (face->font != nullptr) TTF_CloseFont(face->font);
    }
    faces_.clear();
    if (ready_) TTF_Quit();
}

SdlGlyphCache::Face* SdlGlyphCache::face(const std::string& path, int pixels, int outline) {
    pixels = std::max(1, pixels);
    std::tuple<std::string, int, int> key{path, pixels, outline};
    auto it = faces_.find(key);
    if (it == faces_.end()) {
        auto face = std::make_unique<Face>();
        face->outline = outline;
        if (ready_) {
            face->font = TTF_OpenFont(path.c_str(), pixels);
            if (face->font == nullptr) {
                engineLog("render: cannot open font " + path + ": " + TTF_GetError());
            } else {
                TTF_SetFontHinting(face->font, TTF_HINTING_LIGHT);
                if (outline > 0) TTF_SetFontOutline(face->font, outline);
                face->ascent = TTF_FontAscent(face->font);
            }
        }
        it = faces_.emplace(std::move(key), std::move(face)).first;
    }
    return it->second->font != nullptr ? it->second.get() : nullptr;
}

int SdlGlyphCache::ascent(const Face& face) {
    return face.ascent + face.outline;
}

const SdlGlyphCache::GlyphImage& SdlGlyphCache::glyph(Face& face, char32_t codepoint) {
    auto it = face.glyphs.find(codepoint);
    if (it != face.glyphs.end()) return it->second;
    GlyphImage image;
    if (face.font != nullptr && codepoint > U' ') {
        const SDL_Color white{255, 255, 255, 255};
        SDL_Surface* surface = TTF_RenderGlyph32_Blended(face.font, static_cast<Uint32>(codepoint), white);
        if (surface != nullptr) {
            image.texture = SDL_CreateTextureFromSurface(renderer_, surface);
            image.width = surface->w;
            image.height = surface->h;
            SDL_FreeSurface(surface);
            if (image.texture != nullptr) SDL_SetTextureBlendMode(image.texture, SDL_BLENDMODE_BLEND);
            int minx = 0;
            int maxx = 0;
            int miny = 0;
            int maxy = 0;
            int advance = 0;
            TTF_GlyphMetrics32(face.font, static_cast<Uint32>(codepoint), &minx, &maxx, &miny, &maxy,
                               &advance);
            image.offsetX = std::min(0, minx) - face.outline;
        }
    }
    return face.glyphs.emplace(codepoint, image).first->second;
}

std::size_t SdlGlyphCache::glyphCount() const {
    std::size_t n = 0;
    for (const auto& [key, face] : faces_) n += face->glyphs.size();
    return n;
}

}  // namespace cocos2d
