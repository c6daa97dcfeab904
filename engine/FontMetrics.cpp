#include "engine/FontMetrics.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <utility>

#include "engine/EngineLog.h"
#include "engine/FileUtils.h"
#include "engine/Label.h"

namespace cocos2d {

namespace {

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) return static_cast<FT_Library>(nullptr);
        return l;
    }();
    return lib;
}

FT_Face openFace(const std::string& path, float size) {
    if (path.empty() || library() == nullptr) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library(), path.c_str(), 0, &face) != 0) return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size + 0.5f)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

}  // namespace

std::shared_ptr<FontMetrics> FontMetrics::get(const std::string& fontFile, float size) {
    static std::map<std::pair<std::string, int>, std::weak_ptr<FontMetrics>> cache;
    if (size <= 0.0f) size = 1.0f;
    const auto key = std::make_pair(fontFile, static_cast<int>(size * 64.0f));
    if (auto it = cache.find(key); it != cache.end()) {
        if (auto alive = it->second.lock()) return alive;
    }
    std::shared_ptr<FontMetrics> m(new FontMetrics());
    m->size_ = size;
    std::string path = FileUtils::getInstance()->fullPathForFilename(fontFile);
    FT_Face face = openFace(path, size);
    if (face == nullptr) {
        logMissingAssetOnce("font", fontFile);
        path = Label::kFallbackFontFile;
        face = openFace(path, size);
    }
    if (face != nullptr) {
        m->face_ = face;
        m->fontFile_ = path;
        m->lineHeight_ = static_cast<float>(face->size->metrics.height) / 64.0f;
        m->ascender_ = static_cast<float>(face->size->metrics.ascender) / 64.0f;
        m->descender_ = static_cast<float>(face->size->metrics.descender) / 64.0f;
    } else {
        m->lineHeight_ = size * 1.2f;
        m->ascender_ = size * 0.9f;
        m->descender_ = -size * 0.3f;
    }
    cache[key] = m;
    return m;
}

FontMetrics::~FontMetrics() {
    if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
}

float FontMetrics::advance(char32_t codepoint) {
    auto it = advances_.find(codepoint);
    if (it != advances_.end()) return it->second;
    float value = size_ * 0.6f;
    if (face_ != nullptr) {
        auto face = static_cast<FT_Face>(face_);
        if (FT_Load_Char(face, codepoint, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0)
            value = static_cast<float>(face->glyph->advance.x) / 64.0f;
    }
    advances_[codepoint] = value;
    return value;
}

float FontMetrics::kerning(char32_t left, char32_t right) {
    if (face_ == nullptr) return 0.0f;
    auto face = static_cast<FT_Face>(face_);
    if (!FT_HAS_KERNING(face)) return 0.0f;
    FT_Vector delta{};
    const FT_UInt l = FT_Get_Char_Index(face, left);
    const FT_UInt r = FT_Get_Char_Index(face, right);
    if (FT_Get_Kerning(face, l, r, FT_KERNING_DEFAULT, &delta) != 0) return 0.0f;
    return static_cast<float>(delta.x) / 64.0f;
}

}  // namespace cocos2d
