#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/RenderBackend.h"

struct SDL_Renderer;

namespace cocos2d {

class GLView;

// Draws each frame's list with an SDL renderer: textured quads under each
// command's full affine transform (SDL_RenderGeometry), draw-node shapes,
// text glyph by glyph through SDL2_ttf (glyph images cached per font, size
// and outline), rectangle clipping, progress bars and radial sweeps, sprites'
// blend functions, and stand-in boxes for missing art.
//
// A stencil clip draws its content into a layer that the stencil's shapes
// mask (render targets and custom blend modes); the mask follows the image's
// alpha where the threshold is below 1 (soft edges rather than a hard alpha
// test). A renderer without render targets (SDL's software renderer) clips to
// the stencil's bounds instead, and an inverted stencil does not clip there.
//
// Main thread only. The frame stays in the renderer's back buffer until the
// view presents it, so a test may read it back in between.
class SdlRenderBackend : public RenderBackend {
public:
    // `renderer` and `view` are observed: the view owns both the renderer and
    // this backend and outlives it.
    SdlRenderBackend(SDL_Renderer* renderer, const GLView& view);
    ~SdlRenderBackend() override;

    void render(const DrawList& list) override;

    // The pixels of the drawn frame: RGBA, rows from the top; false when the
    // renderer cannot read back.
    bool readPixels(std::vector<uint8_t>& rgba, int& width, int& height) const;
    // Writes the drawn frame as a PNG file.
    bool saveFrame(const std::string& pngPath) const;
    unsigned int framesRendered() const { return frames_; }
    // Images loaded and glyph images cached so far.
    std::size_t cachedTextureCount() const;
    std::size_t cachedGlyphCount() const;
    // Geometry calls issued for the last frame (batches of one texture).
    unsigned int lastFrameDrawCalls() const { return drawCalls_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    unsigned int frames_ = 0;
    unsigned int drawCalls_ = 0;
};

}  // namespace cocos2d
