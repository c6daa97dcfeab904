#pragma once

#include <string>
#include <unordered_map>

#include "engine/AssetName.h"
#include "engine/Ref.h"
#include "engine/Types.h"

namespace cocos2d {

// An image known by its file: the engine reads its pixel size from the file
// header; the pixels themselves are the backend's business. A placeholder
// stands in for an image that could not be found or read.
class Texture2D : public Ref {
public:
    const std::string& getPath() const { return path_; }
    // The path as the draw list carries it.
    const AssetName& getAssetName() const { return path_; }
    int getPixelsWide() const { return width_; }
    int getPixelsHigh() const { return height_; }
    Size getContentSize() const { return Size(static_cast<float>(width_), static_cast<float>(height_)); }
    bool isPlaceholder() const { return placeholder_; }
    // Mipmaps are the backend's business; kept for callers that ask.
    void generateMipmap() { mipmapsRequested_ = true; }
    bool hasMipmapsRequested() const { return mipmapsRequested_; }

private:
    friend class TextureCache;
    Texture2D() = default;
    AssetName path_;  // full path ("" for a placeholder)
    int width_ = 0;
    int height_ = 0;
    bool placeholder_ = false;
    bool mipmapsRequested_ = false;
};

// Textures by file name. Main thread only.
class TextureCache {
public:
    static TextureCache* getInstance();
    // Size of a placeholder for a missing image.
    static constexpr int kPlaceholderSize = 64;

    // Never null: a missing or unreadable file gives a placeholder (logged
    // once per name).
    Texture2D* addImage(const std::string& filename);
    Texture2D* getTextureForKey(const std::string& filename) const;
    void removeAllTextures();

private:
    TextureCache() = default;
    std::unordered_map<std::string, Texture2D*> textures_;  // retained
};

// Reads the pixel size of a PNG or JPEG image held in memory; false when the
// data is not such an image.
bool readImageSize(const unsigned char* data, std::size_t size, int& width, int& height);

}  // namespace cocos2d
