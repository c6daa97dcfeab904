#pragma once

#include <SDL.h>

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

namespace cocos2d {

// Cut-outs of large sprite sheets for SDL's software renderer, which reads
// outside the texture (and crashes) when it draws a turned or scaled
// triangle whose texture coordinates lie far into a sheet wider or taller
// than kLimit pixels. Each frame drawn from such a sheet is drawn from a
// texture of its own pixels instead. Main thread only; owns every surface
// and texture it makes; lives no longer than the renderer.
class SdlSheetCrops {
public:
    static constexpr int kLimit = 2048;  // pixels, either side

    explicit SdlSheetCrops(SDL_Renderer* renderer) : renderer_(renderer) {}
    ~SdlSheetCrops();
    SdlSheetCrops(const SdlSheetCrops&) = delete;
    SdlSheetCrops& operator=(const SdlSheetCrops&) = delete;

    // Takes the decoded image of `path` when it is larger than kLimit on a
    // side (returns true, the surface is now owned here); leaves it with
    // the caller otherwise.
    bool keep(const std::string& path, SDL_Surface* image);

    // The pixels `area` (clamped to the image) of a kept image as a
    // texture, or null when `path` was not kept or the area is empty.
    SDL_Texture* crop(const std::string& path, SDL_Rect area);

private:
    SDL_Renderer* renderer_;  // observed
    std::unordered_map<std::string, SDL_Surface*> sheets_;
    std::map<std::tuple<std::string, int, int, int, int>, SDL_Texture*> crops_;
};

}  // namespace cocos2d
