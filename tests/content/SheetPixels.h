#pragma once

// The generated sheets' frames and pixels as the tests read them. Header-only.

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <set>
#include <string>

#include "AssetNames.h"
#include "engine/FileUtils.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"
#include "engine/Types.h"
#include "support/FrameManifest.h"

namespace zarn_test {

// Every frame name of every family of assets/frames.manifest.
inline std::set<std::string> allFrameNames() {
    std::set<std::string> names;
    const auto manifest = FrameManifest::read(std::string(ZARN_SOURCE_DIR) + "/assets/frames.manifest");
    for (const auto& [family, list] : manifest.families) names.insert(list.begin(), list.end());
    return names;
}

// Every generated sheet in the engine's frame cache for as long as it lives,
// read from the build's assets; the cache and its textures are emptied after.
class LoadedSheets {
public:
    LoadedSheets() {
        cocos2d::FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);
        for (const std::string& sheet : namesOfKind("sheet"))
            cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile(sheet);
    }
    ~LoadedSheets() {
        cocos2d::SpriteFrameCache::getInstance()->removeSpriteFrames();
        cocos2d::TextureCache::getInstance()->removeAllTextures();
    }
    LoadedSheets(const LoadedSheets&) = delete;
    LoadedSheets& operator=(const LoadedSheets&) = delete;
};

// A decoded sheet's pixels as RGBA; `surface` is null when the file does not
// decode.
struct SheetPixels {
    explicit SheetPixels(const std::string& path) {
        SDL_Surface* loaded = IMG_Load(path.c_str());
        if (loaded == nullptr) return;
        surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(loaded);
    }
    ~SheetPixels() {
        if (surface != nullptr) SDL_FreeSurface(surface);
    }
    SheetPixels(const SheetPixels&) = delete;
    SheetPixels& operator=(const SheetPixels&) = delete;

    // The alpha of the pixel at (x, y) from the top left, 0 to 255.
    int alpha(int x, int y) const {
        return static_cast<const unsigned char*>(surface->pixels)[y * surface->pitch + x * 4 + 3];
    }
    // The largest alpha inside the rectangle (x, y from the top left).
    int maxAlpha(const cocos2d::Rect& r) const {
        int best = 0;
        for (int y = static_cast<int>(r.origin.y); y < static_cast<int>(r.origin.y + r.size.height); ++y)
            for (int x = static_cast<int>(r.origin.x); x < static_cast<int>(r.origin.x + r.size.width); ++x)
                best = std::max(best, alpha(x, y));
        return best;
    }

    SDL_Surface* surface = nullptr;
};

}  // namespace zarn_test
