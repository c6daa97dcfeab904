#include "engine/sdl/SdlRenderBackend.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "engine/EngineLog.h"
#include "engine/GLView.h"
#include "engine/sdl/SdlGlyphCache.h"
#include "engine/sdl/SdlSheetCrops.h"

namespace cocos2d {

namespace {

constexpr float kPi = 3.14159265358979f;

// A stand-in box for missing art: a translucent tint of the node's colour
// with an opaque outline of the same hue.
constexpr uint8_t kPlaceholderTint[3] = {255, 0, 255};
constexpr float kPlaceholderFillAlpha = 0.35f;
// The largest texture span, in texels, that the software renderer is given
// in one textured quad.
constexpr float kSoftwareTile = 512.0f;

SDL_Color modulate(uint8_t r, uint8_t g, uint8_t b, float alpha, const Color3B& node) {
    SDL_Color c;
    c.r = static_cast<uint8_t>(r * node.r / 255);
    c.g = static_cast<uint8_t>(g * node.g / 255);
    c.b = static_cast<uint8_t>(b * node.b / 255);
    c.a = static_cast<uint8_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
    return c;
}

SDL_Rect intersect(const SDL_Rect& a, const SDL_Rect& b) {
    SDL_Rect out;
    if (SDL_IntersectRect(&a, &b, &out) == SDL_FALSE) return SDL_Rect{0, 0, 0, 0};
    return out;
}

// The graphics library's numbers for blend factors, as BlendFunc holds them.
enum : unsigned int {
    kZero = 0,
    kOne = 1,
    kSrcColor = 0x0300,
    kOneMinusSrcColor = 0x0301,
    kSrcAlpha = 0x0302,
    kOneMinusSrcAlpha = 0x0303,
    kDstAlpha = 0x0304,
    kOneMinusDstAlpha = 0x0305,
    kDstColor = 0x0306,
    kOneMinusDstColor = 0x0307,
};

SDL_BlendFactor sdlFactor(unsigned int factor) {
    switch (factor) {
        case kZero:
            return SDL_BLENDFACTOR_ZERO;
        case kSrcColor:
            return SDL_BLENDFACTOR_SRC_COLOR;
        case kOneMinusSrcColor:
            return SDL_BLENDFACTOR_ONE_MINUS_SRC_COLOR;
        case kSrcAlpha:
            return SDL_BLENDFACTOR_SRC_ALPHA;
        case kOneMinusSrcAlpha:
            return SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA;
        case kDstAlpha:
            return SDL_BLENDFACTOR_DST_ALPHA;
        case kOneMinusDstAlpha:
            return SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA;
        case kDstColor:
            return SDL_BLENDFACTOR_DST_COLOR;
        case kOneMinusDstColor:
            return SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR;
        default:
            return SDL_BLENDFACTOR_ONE;
    }
}

// The SDL blend mode of a blend function. The numbers are written for images
// whose colour is premultiplied by their alpha; the images here carry plain
// alpha (and the node's opacity in the vertex alpha), so a source factor of
// one stands for the source alpha: the usual function is SDL's alpha blend
// and "source alpha (or one), one" its additive blend.
SDL_BlendMode blendModeFor(const BlendFunc& f) {
    const bool bySourceAlpha = f.src == kOne || f.src == kSrcAlpha;
    if (bySourceAlpha && f.dst == kOneMinusSrcAlpha) return SDL_BLENDMODE_BLEND;
    if (bySourceAlpha && f.dst == kOne) return SDL_BLENDMODE_ADD;
    if (f.src == kOne && f.dst == kZero) return SDL_BLENDMODE_NONE;
    if ((f.src == kDstColor && f.dst == kZero) || (f.src == kZero && f.dst == kSrcColor))
        return SDL_BLENDMODE_MOD;
    const SDL_BlendFactor src = f.src == kOne ? SDL_BLENDFACTOR_SRC_ALPHA : sdlFactor(f.src);
    return SDL_ComposeCustomBlendMode(src, sdlFactor(f.dst), SDL_BLENDOPERATION_ADD, sdlFactor(f.src),
                                      sdlFactor(f.dst), SDL_BLENDOPERATION_ADD);
}

}  // namespace

struct SdlRenderBackend::Impl {
    SDL_Renderer* renderer;  // observed, owned by the view
    const GLView& view;      // observed, owns this backend

    std::unordered_map<AssetName, SDL_Texture*> textures;  // owned; null: unreadable
    SdlGlyphCache glyphs;
    bool software = false;  // SDL's software renderer: large sheets are drawn from cut-outs
    SdlSheetCrops crops;

    // Design (y up) to output pixels (y down), set at the start of a frame.
    float originX = 0.0f;
    float originY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float designHeight = 576.0f;
    SDL_Rect viewport{0, 0, 0, 0};

    // Per frame: each clip region's pixel rectangle.
    std::vector<SDL_Rect> clipRects;
    int activeClip = -2;  // -2: nothing set yet this frame

    // Stencil clips through render targets: the clipped commands are drawn
    // into a layer, the stencil into a mask, the mask cuts the layer and the
    // layer is laid over what lies below it. Without render targets or custom
    // blend modes a stencil clips to its bounds only.
    bool masking = false;
    SDL_BlendMode premultiplied = SDL_BLENDMODE_BLEND;  // a layer over what is below
    SDL_BlendMode maskKeep = SDL_BLENDMODE_NONE;        // keeps the layer where the mask is
    SDL_BlendMode maskCut = SDL_BLENDMODE_NONE;         // keeps it where the mask is not
    struct Layer {
        int region = -1;
        SDL_Texture* content = nullptr;  // from the pool
    };
    std::vector<Layer> layers;              // open layers, outermost first
    std::vector<SDL_Texture*> contentPool;  // owned, one per nesting depth
    std::vector<SDL_Texture*> maskPool;     // owned, one per nesting depth
    int poolWidth = 0;
    int poolHeight = 0;
    const DrawList* list = nullptr;  // the frame being drawn

    // The open batch: triangles of one texture (null: untextured) drawn with
    // one blend mode.
    SDL_Texture* batchTexture = nullptr;
    SDL_BlendMode batchBlend = SDL_BLENDMODE_BLEND;
    std::vector<SDL_Vertex> batch;
    unsigned int drawCalls = 0;

    Impl(SDL_Renderer* r, const GLView& v) : renderer(r), view(v), glyphs(r), crops(r) {
        SDL_RendererInfo info;
        software = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        premultiplied = SDL_ComposeCustomBlendMode(
            SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD,
            SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
        maskKeep = SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_SRC_ALPHA,
                                              SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO,
                                              SDL_BLENDFACTOR_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
        maskCut = SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA,
                                             SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO,
                                             SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
        if (SDL_RenderTargetSupported(renderer) == SDL_TRUE) {
            SDL_Texture* probe =
                SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 1, 1);
            if (probe != nullptr) {
                masking = SDL_SetTextureBlendMode(probe, premultiplied) == 0 &&
                          SDL_SetTextureBlendMode(probe, maskKeep) == 0 &&
                          SDL_SetTextureBlendMode(probe, maskCut) == 0;
                SDL_DestroyTexture(probe);
            }
        }
    }

    void dropPools() {
        for (SDL_Texture* t : contentPool)
            if (t != nullptr) SDL_DestroyTexture(t);
        for (SDL_Texture* t : maskPool)
            if (t != nullptr) SDL_DestroyTexture(t);
        contentPool.clear();
        maskPool.clear();
    }

    SDL_Texture* pooled(std::vector<SDL_Texture*>& pool, std::size_t depth) {
        if (pool.size() <= depth) pool.resize(depth + 1, nullptr);
        if (pool[depth] == nullptr) {
            pool[depth] = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                            poolWidth, poolHeight);
            if (pool[depth] != nullptr) SDL_SetTextureScaleMode(pool[depth], SDL_ScaleModeNearest);
        }
        return pool[depth];
    }

    ~Impl() {
        dropPools();
        for (auto& [path, texture] : textures)
            if (texture != nullptr) SDL_DestroyTexture(texture);
    }

    SDL_FPoint toPixel(const Vec2& world) const {
        return SDL_FPoint{originX + world.x * scaleX, originY + (designHeight - world.y) * scaleY};
    }

    void beginFrame() {
        int outW = 0;
        int outH = 0;
        SDL_GetRendererOutputSize(renderer, &outW, &outH);
        const Size frame = view.getFrameSize();
        const float ratioX = frame.width > 0.0f ? outW / frame.width : 1.0f;
        const float ratioY = frame.height > 0.0f ? outH / frame.height : 1.0f;
        const Rect vp = view.getViewPortRect();
        originX = vp.origin.x * ratioX;
        originY = vp.origin.y * ratioY;
        scaleX = view.getScaleX() * ratioX;
        scaleY = view.getScaleY() * ratioY;
        designHeight = view.getDesignResolutionSize().height;
        viewport = SDL_Rect{static_cast<int>(std::floor(originX)), static_cast<int>(std::floor(originY)),
                            static_cast<int>(std::ceil(vp.size.width * ratioX)),
                            static_cast<int>(std::ceil(vp.size.height * ratioY))};
        viewport = intersect(viewport, SDL_Rect{0, 0, outW, outH});
        if (outW != poolWidth || outH != poolHeight) {
            dropPools();
            poolWidth = outW;
            poolHeight = outH;
        }
        activeClip = -2;
        drawCalls = 0;
    }

    // --- batching ---

    void flush() {
        if (batch.empty()) return;
        // A texture shared by sprites of different blend functions takes
        // each batch's mode; a mode the renderer cannot do falls back to the
        // usual blend.
        if (batchTexture != nullptr && SDL_SetTextureBlendMode(batchTexture, batchBlend) != 0)
            SDL_SetTextureBlendMode(batchTexture, SDL_BLENDMODE_BLEND);
        SDL_RenderGeometry(renderer, batchTexture, batch.data(), static_cast<int>(batch.size()), nullptr, 0);
        ++drawCalls;
        batch.clear();
    }

    void useTexture(SDL_Texture* texture, SDL_BlendMode blend = SDL_BLENDMODE_BLEND) {
        if (texture == nullptr) blend = SDL_BLENDMODE_BLEND;  // shapes and boxes blend as usual
        if (texture != batchTexture || blend != batchBlend) {
            flush();
            batchTexture = texture;
            batchBlend = blend;
        }
    }

    void useClip(int clip) {
        if (clip == activeClip) return;
        flush();
        activeClip = clip;
        const SDL_Rect rect = clip >= 0 ? clipRects[static_cast<std::size_t>(clip)] : viewport;
        SDL_RenderSetClipRect(renderer, &rect);
    }

    void addTriangle(const SDL_Vertex& a, const SDL_Vertex& b, const SDL_Vertex& c) {
        batch.push_back(a);
        batch.push_back(b);
        batch.push_back(c);
    }

    void addQuad(const SDL_Vertex v[4]) {  // bl, br, tr, tl
        addTriangle(v[0], v[1], v[2]);
        addTriangle(v[0], v[2], v[3]);
    }

    // The same quad as four triangles round its centre.
    void addFannedQuad(const SDL_Vertex v[4]) {  // bl, br, tr, tl
        SDL_Vertex centre;
        centre.position =
            SDL_FPoint{(v[0].position.x + v[1].position.x + v[2].position.x + v[3].position.x) / 4,
                       (v[0].position.y + v[1].position.y + v[2].position.y + v[3].position.y) / 4};
        centre.tex_coord =
            SDL_FPoint{(v[0].tex_coord.x + v[2].tex_coord.x) / 2, (v[0].tex_coord.y + v[2].tex_coord.y) / 2};
        centre.color = v[0].color;
        for (int i = 0; i < 4; ++i) addTriangle(centre, v[i], v[(i + 1) % 4]);
    }

    // A line of `width` pixels between two pixel points, as a quad.
    void addLine(SDL_FPoint a, SDL_FPoint b, float width, SDL_Color color) {
        const float dx = b.x - a.x;
        const float dy = b.y - a.y;
        const float len = std::sqrt(dx * dx + dy * dy);
        if (len <= 0.0f) return;
        const float h = std::max(width, 1.0f) * 0.5f;
        const float nx = -dy / len * h;
        const float ny = dx / len * h;
        SDL_Vertex v[4];
        v[0] = SDL_Vertex{{a.x + nx, a.y + ny}, color, {0, 0}};
        v[1] = SDL_Vertex{{b.x + nx, b.y + ny}, color, {0, 0}};
        v[2] = SDL_Vertex{{b.x - nx, b.y - ny}, color, {0, 0}};
        v[3] = SDL_Vertex{{a.x - nx, a.y - ny}, color, {0, 0}};
        addQuad(v);
    }

    // --- resources ---

    SDL_Texture* texture(const AssetName& path) {
        auto it = textures.find(path);
        if (it != textures.end()) return it->second;
        SDL_Texture* t = nullptr;
        if (SDL_Surface* image = IMG_Load(path.c_str())) {
            t = SDL_CreateTextureFromSurface(renderer, image);
            if (t == nullptr || !software || !crops.keep(path.str(), image)) SDL_FreeSurface(image);
        }
        if (t == nullptr) {
            engineLog("render: cannot load image " + path.str() + ": " + IMG_GetError());
        } else {
            SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        }
        textures.emplace(path, t);
        return t;
    }

    // --- clips ---

    void extendBounds(const DrawCommand& c, float& minX, float& minY, float& maxX, float& maxY) const {
        auto add = [&](const Vec2& local) {
            const SDL_FPoint p = toPixel(c.transform.transformPoint(local));
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        };
        if (c.kind == DrawKind::Shapes) {
            if (c.shapes == nullptr) return;
            const ShapeBatch& s = *c.shapes;
            for (const auto& v : s.triangles) add(v.position);
            for (const auto& v : s.lines) add(v.position);
            for (const auto& v : s.points) add(v.position);
            return;
        }
        const Rect& q = c.quad;
        add(Vec2(q.getMinX(), q.getMinY()));
        add(Vec2(q.getMaxX(), q.getMinY()));
        add(Vec2(q.getMaxX(), q.getMaxY()));
        add(Vec2(q.getMinX(), q.getMaxY()));
    }

    void computeClips(const DrawList& list) {
        clipRects.assign(list.clips.size(), viewport);
        for (std::size_t i = 0; i < list.clips.size(); ++i) {
            const ClipRegion& region = list.clips[i];
            // Parents come before their children in the list.
            const SDL_Rect parent = region.parent >= 0 && static_cast<std::size_t>(region.parent) < i
                                        ? clipRects[static_cast<std::size_t>(region.parent)]
                                        : viewport;
            float minX = 1e30f;
            float minY = 1e30f;
            float maxX = -1e30f;
            float maxY = -1e30f;
            if (region.kind == ClipRegion::Kind::Rect) {
                for (const Vec2& corner : region.corners) {
                    const SDL_FPoint p = toPixel(corner);
                    minX = std::min(minX, p.x);
                    minY = std::min(minY, p.y);
                    maxX = std::max(maxX, p.x);
                    maxY = std::max(maxY, p.y);
                }
            } else if (region.inverted) {
                clipRects[i] = parent;  // the mask does the cutting (or, without masks, nothing)
                continue;
            } else {
                for (std::size_t i = 0; i < region.stencilCount; ++i) {
                    const std::size_t index = region.firstStencil + i;
                    if (index < list.stencils.size())
                        extendBounds(list.stencils[index], minX, minY, maxX, maxY);
                }
            }
            if (maxX < minX || maxY < minY) {
                clipRects[i] = SDL_Rect{0, 0, 0, 0};  // an empty stencil shows nothing
                continue;
            }
            const SDL_Rect own{static_cast<int>(std::lround(minX)), static_cast<int>(std::lround(minY)),
                               static_cast<int>(std::lround(maxX) - std::lround(minX)),
                               static_cast<int>(std::lround(maxY) - std::lround(minY))};
            clipRects[i] = intersect(own, parent);
        }
    }

    // --- stencil layers ---

    // The stencil regions that enclose a clip region, outermost first.
    std::vector<int> stencilChain(int clip) const {
        std::vector<int> chain;
        while (clip >= 0 && static_cast<std::size_t>(clip) < list->clips.size()) {
            const ClipRegion& region = list->clips[static_cast<std::size_t>(clip)];
            if (region.kind == ClipRegion::Kind::Stencil) chain.push_back(clip);
            if (region.parent >= clip) break;
            clip = region.parent;
        }
        std::reverse(chain.begin(), chain.end());
        return chain;
    }

    void retarget(SDL_Texture* target) {
        flush();
        SDL_SetRenderTarget(renderer, target);
        SDL_RenderSetClipRect(renderer, nullptr);
        activeClip = -2;
    }

    void openLayer(int region) {
        SDL_Texture* content = pooled(contentPool, layers.size());
        if (content == nullptr) {
            layers.push_back(Layer{region, nullptr});  // drawn straight through, clipped to bounds
            return;
        }
        retarget(content);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
        SDL_RenderClear(renderer);
        layers.push_back(Layer{region, content});
    }

    SDL_Texture* currentTarget() const {
        for (auto it = layers.rbegin(); it != layers.rend(); ++it)
            if (it->content != nullptr) return it->content;
        return nullptr;
    }

    void closeLayer() {
        const Layer layer = layers.back();
        layers.pop_back();
        if (layer.content == nullptr) return;
        const ClipRegion& region = list->clips[static_cast<std::size_t>(layer.region)];
        SDL_Texture* mask = pooled(maskPool, layers.size());
        if (mask != nullptr) {
            retarget(mask);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
            SDL_RenderClear(renderer);
            drawStencil(region);
            flush();
            retarget(layer.content);
            SDL_SetTextureBlendMode(mask, region.inverted ? maskCut : maskKeep);
            SDL_RenderCopy(renderer, mask, nullptr, nullptr);
        }
        retarget(currentTarget());
        SDL_SetTextureBlendMode(layer.content, premultiplied);
        SDL_RenderCopy(renderer, layer.content, nullptr, nullptr);
    }

    // Brings the open layers in line with the stencils that enclose `clip`.
    void syncLayers(int clip) {
        const std::vector<int> chain = clip >= 0 ? stencilChain(clip) : std::vector<int>{};
        std::size_t common = 0;
        while (common < layers.size() && common < chain.size() && layers[common].region == chain[common])
            ++common;
        while (layers.size() > common) closeLayer();
        while (layers.size() < chain.size()) openLayer(chain[layers.size()]);
    }

    // The mask: the stencil's shapes as drawn. With the threshold at 1 every
    // drawn pixel counts, whatever its alpha (a sprite then counts as its
    // whole quad); below it the mask follows the image's alpha.
    void drawStencil(const ClipRegion& region) {
        const bool solid = region.alphaThreshold >= 1.0f;
        const SDL_Color white{255, 255, 255, 255};
        for (std::size_t i = 0; i < region.stencilCount; ++i) {
            const std::size_t index = region.firstStencil + i;
            if (index >= list->stencils.size()) continue;
            const DrawCommand& c = list->stencils[index];
            if (solid && c.kind == DrawKind::Sprite) {
                DrawCommand box = c;
                box.color = Color3B::WHITE;
                box.opacity = 255;
                drawRect(box);
                continue;
            }
            const std::size_t from = batch.size();
            drawBody(c);
            if (solid && batch.size() >= from)
                for (std::size_t i = from; i < batch.size(); ++i) batch[i].color = white;
        }
    }

    // --- commands ---

    SDL_Vertex vertex(const DrawCommand& c, const Vec2& local, SDL_Color color, float u = 0,
                      float v = 0) const {
        SDL_Vertex out;
        out.position = toPixel(c.transform.transformPoint(local));
        out.color = color;
        out.tex_coord = SDL_FPoint{u, v};
        return out;
    }

    void drawPlaceholder(const DrawCommand& c) {
        const float alpha = c.opacity / 255.0f;
        const SDL_Color fill = modulate(kPlaceholderTint[0], kPlaceholderTint[1], kPlaceholderTint[2],
                                        alpha * kPlaceholderFillAlpha, c.color);
        const SDL_Color edge =
            modulate(kPlaceholderTint[0], kPlaceholderTint[1], kPlaceholderTint[2], alpha, c.color);
        const Rect& q = c.quad;
        const Vec2 corners[4] = {Vec2(q.getMinX(), q.getMinY()), Vec2(q.getMaxX(), q.getMinY()),
                                 Vec2(q.getMaxX(), q.getMaxY()), Vec2(q.getMinX(), q.getMaxY())};
        useTexture(nullptr);
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i) v[i] = vertex(c, corners[i], fill);
        addQuad(v);
        for (int i = 0; i < 4; ++i) addLine(v[i].position, v[(i + 1) % 4].position, 2.0f, edge);
        addLine(v[0].position, v[2].position, 1.0f, edge);
        addLine(v[1].position, v[3].position, 1.0f, edge);
    }

    void drawSprite(const DrawCommand& c) {
        SDL_Texture* tex = c.placeholder || c.texture.empty() ? nullptr : texture(c.texture);
        if (tex == nullptr) {
            drawPlaceholder(c);
            return;
        }
        int texW = 0;
        int texH = 0;
        SDL_QueryTexture(tex, nullptr, nullptr, &texW, &texH);
        if (texW <= 0 || texH <= 0) return;
        const SDL_Color color = modulate(255, 255, 255, c.opacity / 255.0f, c.color);
        const Rect& q = c.quad;
        Rect r = c.textureRect;
        if (software && (texW > SdlSheetCrops::kLimit || texH > SdlSheetCrops::kLimit)) {
            const float w = c.textureRotated ? r.size.height : r.size.width;
            const float h = c.textureRotated ? r.size.width : r.size.height;
            const int x0 = static_cast<int>(std::floor(r.origin.x));
            const int y0 = static_cast<int>(std::floor(r.origin.y));
            const SDL_Rect area{x0, y0, static_cast<int>(std::ceil(r.origin.x + w)) - x0,
                                static_cast<int>(std::ceil(r.origin.y + h)) - y0};
            SDL_Texture* part = crops.crop(c.texture.str(), area);
            if (part == nullptr) return;
            tex = part;
            SDL_QueryTexture(tex, nullptr, nullptr, &texW, &texH);
            r.origin.x -= static_cast<float>(std::max(x0, 0));
            r.origin.y -= static_cast<float>(std::max(y0, 0));
        }
        // (u, v): a point of the quad as fractions, v up.
        auto at = [&](float u, float v) {
            const Vec2 local(q.origin.x + u * q.size.width, q.origin.y + v * q.size.height);
            float iu = c.flippedX ? 1.0f - u : u;
            float iv = c.flippedY ? 1.0f - v : v;
            const float ix = iu * r.size.width;            // image x, from the left
            const float iy = (1.0f - iv) * r.size.height;  // image y, from the top
            float tx = r.origin.x + ix;
            float ty = r.origin.y + iy;
            if (c.textureRotated) {  // stored turned 90 degrees clockwise
                tx = r.origin.x + (r.size.height - iy);
                ty = r.origin.y + ix;
            }
            return vertex(c, local, color, tx / static_cast<float>(texW), ty / static_cast<float>(texH));
        };
        useTexture(tex, blendModeFor(c.blend));
        if (c.radialPercentage >= 0.0f) {
            drawRadial(c, at);
            return;
        }
        const Rect& f = c.visibleFraction;
        if (f.size.width <= 0.0f || f.size.height <= 0.0f) return;
        // SDL's software renderer misplaces texels across a triangle that
        // spans much of a large texture: there a quad goes as a grid of
        // smaller ones (exact, since the texture runs linearly over it).
        int columns = 1;
        int rows = 1;
        // It also takes two triangles that make an upright rectangle for a
        // plain (at most mirrored) copy, so a picture turned by a quarter turn
        // would come out mirrored instead: such a quad goes as a fan round its
        // centre, which it leaves to the triangle filler.
        const bool quarterTurned = software && std::abs(c.transform.m[1]) > std::abs(c.transform.m[0]);
        if (software) {
            columns = std::max(1, static_cast<int>(std::ceil(f.size.width * r.size.width / kSoftwareTile)));
            rows = std::max(1, static_cast<int>(std::ceil(f.size.height * r.size.height / kSoftwareTile)));
        }
        for (int i = 0; i < columns; ++i) {
            const float u0 = f.getMinX() + f.size.width * static_cast<float>(i) / static_cast<float>(columns);
            const float u1 =
                f.getMinX() + f.size.width * static_cast<float>(i + 1) / static_cast<float>(columns);
            for (int j = 0; j < rows; ++j) {
                const float v0 =
                    f.getMinY() + f.size.height * static_cast<float>(j) / static_cast<float>(rows);
                const float v1 =
                    f.getMinY() + f.size.height * static_cast<float>(j + 1) / static_cast<float>(rows);
                const SDL_Vertex v[4] = {at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)};
                if (quarterTurned) {
                    addFannedQuad(v);
                } else {
                    addQuad(v);
                }
            }
        }
    }

    // The sector swept from twelve o'clock around the midpoint, clockwise
    // unless reversed, clipped to the quad; a fan of triangles.
    template <typename At>
    void drawRadial(const DrawCommand& c, At at) {
        const float sweep = std::clamp(c.radialPercentage, 0.0f, 100.0f) / 100.0f * 2.0f * kPi;
        if (sweep <= 0.0f) return;
        const float mx = std::clamp(c.radialMidpoint.x, 0.0f, 1.0f);
        const float my = std::clamp(c.radialMidpoint.y, 0.0f, 1.0f);
        const float side = c.radialCounterClockwise ? -1.0f : 1.0f;
        auto hit = [&](float angle) {
            const float dx = side * std::sin(angle);
            const float dy = std::cos(angle);
            float t = 1e30f;
            if (dx > 1e-6f) t = std::min(t, (1.0f - mx) / dx);
            if (dx < -1e-6f) t = std::min(t, -mx / dx);
            if (dy > 1e-6f) t = std::min(t, (1.0f - my) / dy);
            if (dy < -1e-6f) t = std::min(t, -my / dy);
            return std::pair<float, float>(mx + dx * t, my + dy * t);
        };
        std::vector<std::pair<float, std::pair<float, float>>> rim;  // angle, point
        rim.push_back({0.0f, hit(0.0f)});
        const float cornersUV[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (const auto& corner : cornersUV) {
            const float dx = corner[0] - mx;
            const float dy = corner[1] - my;
            if (std::abs(dx) < 1e-6f && std::abs(dy) < 1e-6f) continue;
            float angle = std::atan2(side * dx, dy);
            if (angle < 0.0f) angle += 2.0f * kPi;
            if (angle > 0.0f && angle < sweep) rim.push_back({angle, {corner[0], corner[1]}});
        }
        rim.push_back({sweep, hit(sweep)});
        std::sort(rim.begin(), rim.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        const SDL_Vertex centre = at(mx, my);
        for (std::size_t i = 0; i + 1 < rim.size(); ++i) {
            addTriangle(centre, at(rim[i].second.first, rim[i].second.second),
                        at(rim[i + 1].second.first, rim[i + 1].second.second));
        }
    }

    void drawRect(const DrawCommand& c) {
        const SDL_Color color = modulate(255, 255, 255, c.opacity / 255.0f, c.color);
        const Rect& q = c.quad;
        useTexture(nullptr);
        const SDL_Vertex v[4] = {vertex(c, Vec2(q.getMinX(), q.getMinY()), color),
                                 vertex(c, Vec2(q.getMaxX(), q.getMinY()), color),
                                 vertex(c, Vec2(q.getMaxX(), q.getMaxY()), color),
                                 vertex(c, Vec2(q.getMinX(), q.getMaxY()), color)};
        addQuad(v);
    }

    // A shape's colour is its vertex's alone.
    static SDL_Color shapeColor(const DrawCommand&, const Color4F& color) {
        auto channel = [](float v) {
            return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
        };
        return SDL_Color{channel(color.r), channel(color.g), channel(color.b), channel(color.a)};
    }

    void drawShapes(const DrawCommand& c) {
        if (c.shapes == nullptr) return;
        const ShapeBatch& s = *c.shapes;
        useTexture(nullptr);
        for (std::size_t i = 0; i + 2 < s.triangles.size(); i += 3) {
            addTriangle(vertex(c, s.triangles[i].position, shapeColor(c, s.triangles[i].color)),
                        vertex(c, s.triangles[i + 1].position, shapeColor(c, s.triangles[i + 1].color)),
                        vertex(c, s.triangles[i + 2].position, shapeColor(c, s.triangles[i + 2].color)));
        }
        const float lineScale = (scaleX + scaleY) * 0.5f;
        for (std::size_t i = 0; i + 1 < s.lines.size(); i += 2) {
            addLine(toPixel(c.transform.transformPoint(s.lines[i].position)),
                    toPixel(c.transform.transformPoint(s.lines[i + 1].position)), s.lineWidth * lineScale,
                    shapeColor(c, s.lines[i].color));
        }
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const float size = (i < s.pointSizes.size() ? s.pointSizes[i] : 1.0f) * lineScale;
            const SDL_FPoint p = toPixel(c.transform.transformPoint(s.points[i].position));
            const SDL_Color color = shapeColor(c, s.points[i].color);
            const float h = std::max(size, 1.0f) * 0.5f;
            const SDL_Vertex v[4] = {
                SDL_Vertex{{p.x - h, p.y + h}, color, {0, 0}}, SDL_Vertex{{p.x + h, p.y + h}, color, {0, 0}},
                SDL_Vertex{{p.x + h, p.y - h}, color, {0, 0}}, SDL_Vertex{{p.x - h, p.y - h}, color, {0, 0}}};
            addQuad(v);
        }
    }

    // Glyphs are rasterised at the size they appear on screen (the font size
    // times the view's scale, in quarter steps) and drawn back at design
    // size, so that text stays sharp in a large window.
    float textScale() const {
        const float scale = std::max((scaleX + scaleY) * 0.5f, 0.25f);
        return std::round(scale * 4.0f) / 4.0f;
    }

    void drawGlyphPass(const DrawCommand& c, const GlyphRun& run, int outline, const Color4B& color,
                       const Vec2& offset) {
        const float scale = textScale();
        const int rasterOutline =
            outline > 0 ? std::max(1, static_cast<int>(std::lround(outline * scale))) : 0;
        SdlGlyphCache::Face* face =
            glyphs.face(run.fontFile, static_cast<int>(std::lround(run.fontSize * scale)), rasterOutline);
        if (face == nullptr) return;
        const SDL_Color tint =
            modulate(color.r, color.g, color.b, color.a / 255.0f * c.opacity / 255.0f, c.color);
        if (tint.a == 0) return;
        const float unit = 1.0f / scale;
        for (const Glyph& g : run.glyphs) {
            const SdlGlyphCache::GlyphImage& image = glyphs.glyph(*face, g.codepoint);
            if (image.texture == nullptr) continue;
            const float left = g.origin.x + offset.x + static_cast<float>(image.offsetX) * unit;
            const float top = g.origin.y + offset.y + static_cast<float>(SdlGlyphCache::ascent(*face)) * unit;
            const float right = left + static_cast<float>(image.width) * unit;
            const float bottom = top - static_cast<float>(image.height) * unit;
            useTexture(image.texture);
            const SDL_Vertex v[4] = {
                vertex(c, Vec2(left, bottom), tint, 0, 1), vertex(c, Vec2(right, bottom), tint, 1, 1),
                vertex(c, Vec2(right, top), tint, 1, 0), vertex(c, Vec2(left, top), tint, 0, 0)};
            addQuad(v);
        }
    }

    void drawGlyphs(const DrawCommand& c) {
        if (c.glyphs == nullptr) return;
        const GlyphRun& run = *c.glyphs;
        if (run.fontFile.empty() || run.glyphs.empty()) return;
        if (run.shadow) drawGlyphPass(c, run, 0, run.shadowColor, run.shadowOffset);
        if (run.outlineSize > 0) drawGlyphPass(c, run, run.outlineSize, run.outlineColor, Vec2::ZERO);
        drawGlyphPass(c, run, 0, run.textColor, Vec2::ZERO);
    }

    void drawBody(const DrawCommand& c) {
        switch (c.kind) {
            case DrawKind::Sprite:
                drawSprite(c);
                break;
            case DrawKind::Glyphs:
                drawGlyphs(c);
                break;
            case DrawKind::Shapes:
                drawShapes(c);
                break;
            case DrawKind::Rect:
                drawRect(c);
                break;
        }
    }

    void draw(const DrawCommand& c) {
        if (masking) syncLayers(c.clip);
        useClip(c.clip);
        drawBody(c);
    }
};

SdlRenderBackend::SdlRenderBackend(SDL_Renderer* renderer, const GLView& view)
    : impl_(std::make_unique<Impl>(renderer, view)) {}

SdlRenderBackend::~SdlRenderBackend() = default;

void SdlRenderBackend::render(const DrawList& list) {
    Impl& d = *impl_;
    // The whole window, as it is now: a size change that the renderer did not
    // see as an event (a full screen switch) must not leave a stale viewport.
    SDL_RenderSetViewport(d.renderer, nullptr);
    d.beginFrame();
    SDL_RenderSetClipRect(d.renderer, nullptr);
    SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
    SDL_RenderClear(d.renderer);
    SDL_SetRenderDrawColor(d.renderer, list.clearColor.r, list.clearColor.g, list.clearColor.b, 255);
    SDL_RenderFillRect(d.renderer, &d.viewport);
    d.list = &list;
    d.computeClips(list);
    for (const DrawCommand& c : list.commands) d.draw(c);
    if (d.masking) d.syncLayers(-1);
    d.flush();
    d.batchTexture = nullptr;
    SDL_RenderSetClipRect(d.renderer, nullptr);
    d.list = nullptr;
    drawCalls_ = d.drawCalls;
    ++frames_;
}

bool SdlRenderBackend::readPixels(std::vector<uint8_t>& rgba, int& width, int& height) const {
    if (SDL_GetRendererOutputSize(impl_->renderer, &width, &height) != 0 || width <= 0 || height <= 0)
        return false;
    rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    return SDL_RenderReadPixels(impl_->renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba.data(), width * 4) ==
           0;
}

bool SdlRenderBackend::saveFrame(const std::string& pngPath) const {
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (!readPixels(rgba, width, height)) return false;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) return false;
    const bool ok = IMG_SavePNG(surface, pngPath.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

std::size_t SdlRenderBackend::cachedTextureCount() const {
    return impl_->textures.size();
}

std::size_t SdlRenderBackend::cachedGlyphCount() const {
    return impl_->glyphs.glyphCount();
}

}  // namespace cocos2d
