#include "engine/sdl/SdlSheetCrops.h"

namespace cocos2d {

SdlSheetCrops::~SdlSheetCrops() {
    for (auto& [key, texture] : crops_)
        if (texture != nullptr) SDL_DestroyTexture(texture);
    for (auto& [path, surface] : sheets_) SDL_FreeSurface(surface);
}

bool SdlSheetCrops::keep(const std::string& path, SDL_Surface* image) {
    if (image == nullptr || (image->w <= kLimit && image->h <= kLimit)) return false;
    auto [it, added] = sheets_.emplace(path, image);
    if (!added) {
        SDL_FreeSurface(it->second);
        it->second = image;
    }
    return true;
}

SDL_Texture* SdlSheetCrops::crop(const std::string& path, SDL_Rect area) {
    auto sheet = sheets_.find(path);
    if (sheet == sheets_.end()) return nullptr;
    const SDL_Rect whole{0, 0, sheet->second->w, sheet->second->h};
    SDL_Rect cut;
    if (SDL_IntersectRect(&area, &whole, &cut) != SDL_TRUE) return nullptr;
    const auto key = std::make_tuple(path, cut.x, cut.y, cut.w, cut.h);
    auto found = crops_.find(key);
    if (found != crops_.end()) return found->second;
    SDL_Texture* texture = nullptr;
    SDL_Surface* part = SDL_CreateRGBSurfaceWithFormat(0, cut.w, cut.h, 32, SDL_PIXELFORMAT_RGBA32);
    if (part != nullptr) {
        SDL_SetSurfaceBlendMode(sheet->second, SDL_BLENDMODE_NONE);
        SDL_BlitSurface(sheet->second, &cut, part, nullptr);
        texture = SDL_CreateTextureFromSurface(renderer_, part);
        SDL_FreeSurface(part);
        if (texture != nullptr) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    }
    crops_.emplace(key, texture);
    return texture;
}

}  // namespace cocos2d
