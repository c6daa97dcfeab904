#include "engine/Texture2D.h"

#include <algorithm>

#include "engine/EngineLog.h"
#include "engine/FileUtils.h"

namespace cocos2d {

namespace {
uint32_t be32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}
uint16_t be16(const unsigned char* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
}  // namespace

bool readImageSize(const unsigned char* data, std::size_t size, int& width, int& height) {
    static const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size >= 24 && std::equal(pngSignature, pngSignature + 8, data)) {
        width = static_cast<int>(be32(data + 16));
        height = static_cast<int>(be32(data + 20));
        return width > 0 && height > 0;
    }
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8) {
        std::size_t pos = 2;
        while (pos + 4 <= size) {
            if (data[pos] != 0xFF) return false;
            const unsigned char marker = data[pos + 1];
            if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
                pos += 2;
                continue;
            }
            const uint16_t length = be16(data + pos + 2);
            const bool startOfFrame =
                marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
            if (startOfFrame) {
                if (pos + 9 > size) return false;
                height = be16(data + pos + 5);
                width = be16(data + pos + 7);
                return width > 0 && height > 0;
            }
            pos += 2 + length;
        }
    }
    return false;
}

TextureCache* TextureCache::getInstance() {
    static TextureCache* instance = new TextureCache();
    return instance;
}

Texture2D* TextureCache::getTextureForKey(const std::string& filename) const {
    auto it = textures_.find(filename);
    return it == textures_.end() ? nullptr : it->second;
}

Texture2D* TextureCache::addImage(const std::string& filename) {
    if (Texture2D* known = getTextureForKey(filename)) return known;
    auto* texture = new Texture2D();
    const std::string path = FileUtils::getInstance()->fullPathForFilename(filename);
    bool ok = false;
    if (!path.empty()) {
        const auto data = FileUtils::getInstance()->getDataFromFile(path);
        ok = readImageSize(data.data(), data.size(), texture->width_, texture->height_);
    }
    if (ok) {
        texture->path_ = AssetName(path);
    } else {
        logMissingAssetOnce("image", filename);
        texture->placeholder_ = true;
        texture->width_ = texture->height_ = kPlaceholderSize;
    }
    textures_[filename] = texture;
    return texture;
}

void TextureCache::removeAllTextures() {
    for (auto& [name, texture] : textures_) texture->release();
    textures_.clear();
}

}  // namespace cocos2d
