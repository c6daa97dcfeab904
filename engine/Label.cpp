#include "engine/Label.h"

#include <algorithm>

#include "engine/DrawList.h"
#include "engine/FontMetrics.h"
#include "engine/Sprite.h"

namespace cocos2d {

namespace {

std::u32string decodeUtf8(const std::string& s) {
    std::u32string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < s.size()) {
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            len = 2;
        } else if ((c >> 4) == 0xE && i + 2 < s.size()) {
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
            len = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < s.size()) {
            cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12) |
                 ((static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
            len = 4;
        }
        out.push_back(cp);
        i += len;
    }
    return out;
}

bool isSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r';
}

// One letter shown by its own sprite: draws its glyph in its own space, in
// the label's font, colours and effects.
class LabelLetter : public Sprite {
public:
    static LabelLetter* create(Label* owner, char32_t codepoint, const Vec2& baseline, const Size& box) {
        auto* l = new LabelLetter();
        l->init();
        l->owner_ = owner;
        l->codepoint_ = codepoint;
        l->baseline_ = baseline;
        l->setContentSize(box);
        l->autorelease();
        return l;
    }
    // The label's look changed: the next frame draws the letter anew.
    void restyle() { dirty_ = true; }
    void draw(DrawContext& context, const Mat4& transform, uint32_t flags) override {
        if (run_ == nullptr || dirty_) {
            GlyphRun& run = refillablePayload(run_);
            run.text.assign(1, codepoint_);
            run.glyphs.assign(1, Glyph{codepoint_, baseline_});
            owner_->fillGlyphStyle(run);
            dirty_ = false;
        }
        DrawCommand& c = context.add(DrawKind::Glyphs, this, transform);
        c.glyphs = run_;
    }

private:
    // The label owns this letter (it is the label's child).
    Label* owner_ = nullptr;
    char32_t codepoint_ = 0;
    Vec2 baseline_;
    std::shared_ptr<GlyphRun> run_;  // shared with the draw list
    bool dirty_ = true;
};

}  // namespace

Label::Label() {
    setAnchorPoint(Vec2::ANCHOR_MIDDLE);
    cascadeColorEnabled_ = true;
    cascadeOpacityEnabled_ = true;
}

Label::~Label() = default;

Label* Label::create() {
    return createWithInit<Label>();
}

Label* Label::createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                            const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    auto* label = new Label();
    if (label->initWithTTF(text, fontFile, fontSize, dimensions, hAlignment, vAlignment)) {
        label->autorelease();
        return label;
    }
    delete label;
    return nullptr;
}

Label* Label::createWithTTF(const TTFConfig& config, const std::string& text, TextHAlignment hAlignment,
                            int maxLineWidth) {
    Label* label = createWithTTF(text, config.fontFilePath, config.fontSize, Size::ZERO, hAlignment);
    if (label != nullptr) {
        label->config_.outlineSize = config.outlineSize;
        label->maxLineWidth_ = static_cast<float>(maxLineWidth);
        label->updateContent();
    }
    return label;
}

Label* Label::createWithSystemFont(const std::string& text, const std::string& font, float fontSize,
                                   const Size& dimensions, TextHAlignment hAlignment,
                                   TextVAlignment vAlignment) {
    Label* label = createWithTTF(text, kFallbackFontFile, fontSize, dimensions, hAlignment, vAlignment);
    if (label != nullptr) label->systemFont_ = true;
    return label;
}

bool Label::init() {
    return initWithTTF("", kFallbackFontFile, 12.0f, Size::ZERO, hAlignment_, vAlignment_);
}

bool Label::initWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                        const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    if (!Node::init()) return false;
    config_.fontFilePath = fontFile;
    config_.fontSize = fontSize;
    metrics_ = FontMetrics::get(fontFile, fontSize);
    dimensions_ = dimensions;
    hAlignment_ = hAlignment;
    vAlignment_ = vAlignment;
    text_ = text;
    utf32_ = decodeUtf8(text);
    updateContent();
    return true;
}

const std::string& Label::getResolvedFontFile() const {
    return metrics_->fontFile();
}

void Label::setString(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    utf32_ = decodeUtf8(text);
    updateContent();
}

bool Label::setTTFConfig(const TTFConfig& config) {
    config_ = config;
    metrics_ = FontMetrics::get(config.fontFilePath, config.fontSize);
    updateContent();
    return true;
}

void Label::setSystemFontSize(float size) {
    config_.fontSize = size;
    metrics_ = FontMetrics::get(config_.fontFilePath, size);
    updateContent();
}

void Label::setSystemFontName(const std::string& font) {
    systemFont_ = true;
    updateContent();
}

void Label::setTextColor(const Color4B& color) {
    if (color == textColor_) return;
    textColor_ = color;
    styleChanged();
}

void Label::enableOutline(const Color4B& outlineColor, int outlineSize) {
    outlineColor_ = outlineColor;
    styleChanged();
    if (outlineSize > 0 && outlineSize != config_.outlineSize) {
        config_.outlineSize = outlineSize;
        updateContent();
    }
}

void Label::enableShadow(const Color4B& shadowColor, const Size& offset, int blurRadius) {
    shadowEnabled_ = true;
    shadowColor_ = shadowColor;
    shadowOffset_ = Vec2(offset.width, offset.height);
    shadowBlur_ = blurRadius;
    styleChanged();
}

void Label::disableEffect() {
    shadowEnabled_ = false;
    glowColor_ = Color4B();
    styleChanged();
    if (config_.outlineSize > 0) {
        config_.outlineSize = 0;
        updateContent();
    }
}

void Label::setAdditionalKerning(float space) {
    additionalKerning_ = space;
    updateContent();
}

void Label::setLineSpacing(float spacing) {
    lineSpacing_ = spacing;
    updateContent();
}

void Label::setLineHeight(float height) {
    lineHeight_ = height;
    updateContent();
}

float Label::getLineHeight() const {
    return lineHeight_ > 0.0f ? lineHeight_ : metrics_->lineHeight();
}

void Label::setAlignment(TextHAlignment hAlignment) {
    setAlignment(hAlignment, vAlignment_);
}

void Label::setAlignment(TextHAlignment hAlignment, TextVAlignment vAlignment) {
    hAlignment_ = hAlignment;
    vAlignment_ = vAlignment;
    updateContent();
}

void Label::setHorizontalAlignment(TextHAlignment hAlignment) {
    setAlignment(hAlignment, vAlignment_);
}

void Label::setVerticalAlignment(TextVAlignment vAlignment) {
    setAlignment(hAlignment_, vAlignment);
}

void Label::setDimensions(float width, float height) {
    dimensions_ = Size(width, height);
    updateContent();
}

void Label::setMaxLineWidth(float width) {
    maxLineWidth_ = width;
    updateContent();
}

void Label::styleChanged() {
    runDirty_ = true;
    for (LetterInfo& l : letters_)
        if (l.sprite != nullptr) static_cast<LabelLetter*>(l.sprite)->restyle();
}

void Label::removeLetterSprites() {
    for (LetterInfo& l : letters_) {
        if (l.sprite != nullptr) removeChild(l.sprite, true);
        l.sprite = nullptr;
    }
}

void Label::updateContent() {
    removeLetterSprites();
    runDirty_ = true;
    FontMetrics& m = *metrics_;
    const float wrapWidth = dimensions_.width > 0.0f ? dimensions_.width : maxLineWidth_;
    const float lineHeight = getLineHeight();
    const float outline = static_cast<float>(std::max(config_.outlineSize, 0));

    // Break into lines: at '\n', and at spaces (or inside a long word) when a
    // wrap width is set. Each letter remembers its line and x.
    letters_.assign(utf32_.size(), LetterInfo{});
    std::vector<float> lineWidths(1, 0.0f);
    std::vector<std::vector<std::size_t>> lineLetters(1);
    float x = 0.0f;
    char32_t previous = 0;
    auto place = [&](std::size_t index) {
        const char32_t c = utf32_[index];
        if (previous != 0) x += m.kerning(previous, c);
        LetterInfo& info = letters_[index];
        info.codepoint = c;
        info.advance = m.advance(c);
        info.origin.x = x;
        info.line = static_cast<int>(lineWidths.size()) - 1;
        info.valid = !isSpace(c);
        lineLetters.back().push_back(index);
        x += info.advance + additionalKerning_;
        lineWidths.back() = std::max(lineWidths.back(), x - additionalKerning_);
        previous = c;
    };
    auto newLine = [&] {
        lineWidths.push_back(0.0f);
        lineLetters.emplace_back();
        x = 0.0f;
        previous = 0;
    };
    std::size_t i = 0;
    while (i < utf32_.size()) {
        const char32_t c = utf32_[i];
        if (c == U'\n') {
            letters_[i].codepoint = c;
            letters_[i].line = static_cast<int>(lineWidths.size()) - 1;
            letters_[i].origin.x = x;
            newLine();
            ++i;
            continue;
        }
        if (wrapWidth <= 0.0f || isSpace(c)) {
            place(i++);
            continue;
        }
        // A word: measure it, move it to a new line when it does not fit.
        std::size_t end = i;
        float wordWidth = 0.0f;
        while (end < utf32_.size() && !isSpace(utf32_[end])) {
            wordWidth += m.advance(utf32_[end]) + additionalKerning_;
            ++end;
        }
        if (x > 0.0f && x + wordWidth - additionalKerning_ > wrapWidth) {
            // Trailing spaces of the line do not count towards its width.
            newLine();
        }
        for (; i < end; ++i) {
            if (x > 0.0f && x + m.advance(utf32_[i]) > wrapWidth) newLine();
            place(i);
        }
    }
    // Line widths without trailing spaces.
    for (std::size_t line = 0; line < lineLetters.size(); ++line) {
        float w = 0.0f;
        for (std::size_t index : lineLetters[line])
            if (letters_[index].valid) w = std::max(w, letters_[index].origin.x + letters_[index].advance);
        lineWidths[line] = w;
    }
    lines_.assign(lineLetters.size(), std::u32string());
    for (std::size_t line = 0; line < lineLetters.size(); ++line)
        for (std::size_t index : lineLetters[line]) lines_[line].push_back(utf32_[index]);

    const auto lineCount = static_cast<float>(lineLetters.size());
    const float textWidth = utf32_.empty() ? 0.0f : *std::max_element(lineWidths.begin(), lineWidths.end());
    const float textHeight =
        utf32_.empty() ? 0.0f : lineCount * lineHeight + (lineCount - 1.0f) * lineSpacing_;
    Size content(dimensions_.width > 0.0f ? dimensions_.width : textWidth + 2.0f * outline,
                 dimensions_.height > 0.0f ? dimensions_.height : textHeight + 2.0f * outline);
    float top = content.height - outline;
    if (dimensions_.height > 0.0f) {
        if (vAlignment_ == TextVAlignment::CENTER) top = (content.height + textHeight) / 2.0f;
        if (vAlignment_ == TextVAlignment::BOTTOM) top = textHeight + outline;
    }
    for (LetterInfo& info : letters_) {
        const float lineTop = top - static_cast<float>(info.line) * (lineHeight + lineSpacing_);
        const float width = lineWidths[static_cast<std::size_t>(info.line)];
        float shift = outline;
        if (hAlignment_ == TextHAlignment::CENTER) shift = (content.width - width) / 2.0f;
        if (hAlignment_ == TextHAlignment::RIGHT) shift = content.width - width - outline;
        info.origin.x += shift;
        info.origin.y = lineTop - m.ascender();
    }
    setContentSize(content);
}

Sprite* Label::getLetter(int letterIndex) {
    if (letterIndex < 0 || letterIndex >= static_cast<int>(letters_.size())) return nullptr;
    LetterInfo& info = letters_[static_cast<std::size_t>(letterIndex)];
    if (!info.valid) return nullptr;
    if (info.sprite == nullptr) {
        const float lineHeight = getLineHeight();
        const Size box(info.advance, lineHeight);
        // The letter's box spans its advance and the line; the glyph's
        // baseline sits at the font's descent above the box's bottom.
        const float bottom = info.origin.y + metrics_->descender();
        LabelLetter* letter =
            LabelLetter::create(this, info.codepoint, Vec2(0.0f, info.origin.y - bottom), box);
        letter->setPosition(info.origin.x + box.width / 2.0f, bottom + box.height / 2.0f);
        addChild(letter);
        info.sprite = letter;
        runDirty_ = true;  // the letter now draws its glyph itself
    }
    return info.sprite;
}

void Label::fillGlyphStyle(GlyphRun& run) const {
    run.fontFile = metrics_->fontFile();
    run.fontSize = config_.fontSize;
    run.textColor = textColor_;
    run.outlineColor = outlineColor_;
    run.outlineSize = std::max(config_.outlineSize, 0);
    run.shadow = shadowEnabled_;
    run.shadowColor = shadowColor_;
    run.shadowOffset = shadowOffset_;
    run.shadowBlur = shadowBlur_;
}

void Label::draw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    if (run_ == nullptr || runDirty_) {
        GlyphRun& run = refillablePayload(run_);
        run.glyphs.clear();
        for (const LetterInfo& info : letters_)
            if (info.valid && info.sprite == nullptr) run.glyphs.push_back({info.codepoint, info.origin});
        run.text = utf32_;
        fillGlyphStyle(run);
        runDirty_ = false;
    }
    if (run_->glyphs.empty()) return;
    DrawCommand& c = context.add(DrawKind::Glyphs, this, transform);
    c.glyphs = run_;
}

}  // namespace cocos2d
