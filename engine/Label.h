#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Node.h"
#include "engine/Types.h"

namespace cocos2d {

class Sprite;
struct GlyphRun;

enum class TextHAlignment { LEFT, CENTER, RIGHT };
enum class TextVAlignment { TOP, CENTER, BOTTOM };

struct TTFConfig {
    std::string fontFilePath;
    float fontSize = 12.0f;
    int outlineSize = 0;
    TTFConfig() = default;
    TTFConfig(const std::string& file, float size = 12.0f, int outline = 0)
        : fontFilePath(file), fontSize(size), outlineSize(outline) {}
};

// Measures text in a TrueType font (FreeType metrics). A font file that cannot
// be found or read falls back to the system font, and without that to an
// estimate; each missing font is logged once.
class FontMetrics;

// A node that shows text: TrueType font, size, alignment inside optional
// dimensions (a width wraps lines at spaces), text colour, outline and shadow.
// Its content size is the laid-out text's; its anchor is the middle.
class Label : public Node {
public:
    static constexpr const char* kFallbackFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

    static Label* create();
    static Label* createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                                const Size& dimensions = Size::ZERO,
                                TextHAlignment hAlignment = TextHAlignment::LEFT,
                                TextVAlignment vAlignment = TextVAlignment::TOP);
    static Label* createWithTTF(const TTFConfig& config, const std::string& text,
                                TextHAlignment hAlignment = TextHAlignment::LEFT, int maxLineWidth = 0);
    static Label* createWithSystemFont(const std::string& text, const std::string& font, float fontSize,
                                       const Size& dimensions = Size::ZERO,
                                       TextHAlignment hAlignment = TextHAlignment::LEFT,
                                       TextVAlignment vAlignment = TextVAlignment::TOP);
    Label();
    ~Label() override;
    bool init() override;
    bool initWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                     const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment);

    virtual void setString(const std::string& text);
    const std::string& getString() const { return text_; }
    // Characters (code points) of the text, line breaks included.
    int getStringLength() const { return static_cast<int>(utf32_.size()); }
    int getStringNumLines() const { return static_cast<int>(lines_.size()); }

    bool setTTFConfig(const TTFConfig& config);
    const TTFConfig& getTTFConfig() const { return config_; }
    void setSystemFontSize(float size);
    float getSystemFontSize() const { return config_.fontSize; }
    void setSystemFontName(const std::string& font);
    // The font file that measures the text (after any fall-back).
    const std::string& getResolvedFontFile() const;

    void setTextColor(const Color4B& color);
    const Color4B& getTextColor() const { return textColor_; }
    // outlineSize > 0 draws an outline of that width in pixels.
    void enableOutline(const Color4B& outlineColor, int outlineSize = -1);
    void enableShadow(const Color4B& shadowColor = Color4B::BLACK, const Size& offset = Size(2, -2),
                      int blurRadius = 0);
    void enableGlow(const Color4B& glowColor) { glowColor_ = glowColor; }
    void disableEffect();
    bool isShadowEnabled() const { return shadowEnabled_; }
    Size getShadowOffset() const { return Size(shadowOffset_.x, shadowOffset_.y); }
    int getOutlineSize() const { return config_.outlineSize; }

    void setAdditionalKerning(float space);
    float getAdditionalKerning() const { return additionalKerning_; }
    void setLineSpacing(float spacing);
    float getLineSpacing() const { return lineSpacing_; }
    void setLineHeight(float height);
    float getLineHeight() const;

    void setAlignment(TextHAlignment hAlignment);
    void setAlignment(TextHAlignment hAlignment, TextVAlignment vAlignment);
    void setHorizontalAlignment(TextHAlignment hAlignment);
    void setVerticalAlignment(TextVAlignment vAlignment);
    TextHAlignment getHorizontalAlignment() const { return hAlignment_; }
    TextVAlignment getVerticalAlignment() const { return vAlignment_; }
    void setDimensions(float width, float height);
    const Size& getDimensions() const { return dimensions_; }
    void setWidth(float width) { setDimensions(width, dimensions_.height); }
    void setHeight(float height) { setDimensions(dimensions_.width, height); }
    void setMaxLineWidth(float width);
    float getMaxLineWidth() const { return maxLineWidth_; }

    // The sprite of the letter at a code-point index, made on first request
    // and a child of the label (hide or move it to animate the letter); null
    // for spaces, line breaks and indices outside the text.
    Sprite* getLetter(int letterIndex);

    void draw(DrawContext& context, const Mat4& transform, uint32_t flags) override;
    // Writes the label's font, size, colours, outline and shadow into a run
    // (the letters of getLetter draw with them).
    void fillGlyphStyle(GlyphRun& run) const;

protected:
    struct LetterInfo {
        char32_t codepoint = 0;
        Vec2 origin;  // pen position on the baseline, label space
        float advance = 0.0f;
        int line = 0;
        bool valid = false;        // a drawable glyph
        Sprite* sprite = nullptr;  // the letter's sprite once made (a child)
    };
    void updateContent();
    void removeLetterSprites();
    // The colours or effects changed: the label and its letters draw anew.
    void styleChanged();

    std::string text_;
    std::u32string utf32_;
    std::vector<std::u32string> lines_;
    std::vector<LetterInfo> letters_;
    TTFConfig config_;
    std::shared_ptr<FontMetrics> metrics_;
    Color4B textColor_ = Color4B::WHITE;
    Color4B outlineColor_;
    Color4B shadowColor_;
    Color4B glowColor_;
    Vec2 shadowOffset_;
    int shadowBlur_ = 0;
    bool shadowEnabled_ = false;
    float additionalKerning_ = 0.0f;
    float lineSpacing_ = 0.0f;
    float lineHeight_ = 0.0f;  // 0: the font's
    TextHAlignment hAlignment_ = TextHAlignment::LEFT;
    TextVAlignment vAlignment_ = TextVAlignment::TOP;
    Size dimensions_;
    float maxLineWidth_ = 0.0f;
    bool systemFont_ = false;
    // The glyphs drawn by the label itself (those without a letter sprite),
    // shared with the draw list; rebuilt when the text or its look changes.
    std::shared_ptr<GlyphRun> run_;
    bool runDirty_ = true;
};

}  // namespace cocos2d
