#pragma once

#include <memory>
#include <string>
#include <unordered_map>

namespace cocos2d {

// Horizontal and vertical metrics of one font at one pixel size, read with
// FreeType. Main thread only (FreeType faces are not shared across threads).
class FontMetrics {
public:
    // Metrics for a font file (a name resolved through FileUtils) at a size.
    // A font that cannot be read falls back to the system font (logged once
    // per name), and without that to an estimate; never null.
    static std::shared_ptr<FontMetrics> get(const std::string& fontFile, float size);

    ~FontMetrics();
    float advance(char32_t codepoint);
    // Extra advance between two glyphs (usually negative or 0).
    float kerning(char32_t left, char32_t right);
    float lineHeight() const { return lineHeight_; }
    float ascender() const { return ascender_; }
    float descender() const { return descender_; }
    const std::string& fontFile() const { return fontFile_; }
    bool isEstimate() const { return face_ == nullptr; }

private:
    FontMetrics() = default;
    void* face_ = nullptr;  // FT_Face, owned
    std::string fontFile_;
    float size_ = 0.0f;
    float lineHeight_ = 0.0f;
    float ascender_ = 0.0f;
    float descender_ = 0.0f;
    std::unordered_map<char32_t, float> advances_;
};

}  // namespace cocos2d
