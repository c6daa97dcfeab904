#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

struct SDL_Renderer;
struct SDL_Texture;

namespace cocos2d {

// Glyph images of fonts rendered with SDL2_ttf, one texture per glyph, made
// on first use and kept until the cache goes. Faces are kept per file, pixel
// size and outline width. Main thread only.
class SdlGlyphCache {
public:
    struct GlyphImage {
        SDL_Texture* texture = nullptr;  // owned by the cache; null: nothing to draw
        int width = 0;
        int height = 0;
        int offsetX = 0;  // left edge of the image relative to the pen, pixels
    };
    struct Face;

    // `renderer` is observed; its owner keeps it alive longer than the cache.
    explicit SdlGlyphCache(SDL_Renderer* renderer);
    ~SdlGlyphCache();
    SdlGlyphCache(const SdlGlyphCache&) = delete;
    SdlGlyphCache& operator=(const SdlGlyphCache&) = delete;

    // The face of a font file at a pixel size with an outline (0: none); null
    // when the file cannot be opened (logged once).
    Face* face(const std::string& path, int pixels, int outline);
    // Distance from the top of a glyph image to the baseline, pixels.
    static int ascent(const Face& face);
    // The white image of one glyph (tint it when drawing); whitespace and
    // glyphs the font cannot render have no texture.
    const GlyphImage& glyph(Face& face, char32_t codepoint);
    std::size_t glyphCount() const;

private:
    SDL_Renderer* renderer_;
    bool ready_ = false;
    std::map<std::tuple<std::string, int, int>, std::unique_ptr<Face>> faces_;
};

}  // namespace cocos2d
