#include <gtest/gtest.h>

#include <filesystem>

#include "engine/headless/HeadlessRenderBackend.h"
#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class LabelTest : public zarn_test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        if (!std::filesystem::exists(Label::kFallbackFontFile)) GTEST_SKIP() << "system font not installed";
    }
};

TEST_F(LabelTest, SizeComesFromTheFontsMetrics) {
    Label* small = Label::createWithTTF("Hello", Label::kFallbackFontFile, 20);
    Label* big = Label::createWithTTF("Hello", Label::kFallbackFontFile, 40);
    Label* longer = Label::createWithTTF("Hello, world", Label::kFallbackFontFile, 20);
    ASSERT_NE(small, nullptr);
    EXPECT_GT(small->getContentSize().width, 30.0f);
    EXPECT_LT(small->getContentSize().width, 80.0f);
    EXPECT_NEAR(big->getContentSize().width, 2.0f * small->getContentSize().width, 3.0f);
    EXPECT_GT(longer->getContentSize().width, small->getContentSize().width);
    // "iiii" is narrower than "WWWW" in a proportional font.
    EXPECT_LT(Label::createWithTTF("iiii", Label::kFallbackFontFile, 20)->getContentSize().width,
              Label::createWithTTF("WWWW", Label::kFallbackFontFile, 20)->getContentSize().width);
    const float oneLine = small->getContentSize().height;
    small->setString("Hello\nHello");
    EXPECT_NEAR(small->getContentSize().height, 2.0f * oneLine, 1.0f);
    small->setLineSpacing(20);
    EXPECT_NEAR(small->getContentSize().height, 2.0f * oneLine + 20.0f, 1.0f);
    small->enableOutline(Color4B::BLACK, 2);
    EXPECT_NEAR(small->getContentSize().height, 2.0f * oneLine + 24.0f, 1.0f);
}

TEST_F(LabelTest, WidthWrapsAtSpacesAndDimensionsFixTheBox) {
    Label* wrapped =
        Label::createWithTTF("one two three four five six", Label::kFallbackFontFile, 16, Size(80, 0));
    EXPECT_GT(wrapped->getStringNumLines(), 2);
    EXPECT_EQ(wrapped->getContentSize().width, 80.0f);
    Label* boxed = Label::createWithTTF("x", Label::kFallbackFontFile, 16, Size(200, 100),
                                        TextHAlignment::CENTER, TextVAlignment::CENTER);
    EXPECT_EQ(boxed->getContentSize(), Size(200, 100));
}

TEST_F(LabelTest, LettersAreSpritesExceptSpacesAndMissingFontsFallBack) {
    Label* label = Label::createWithTTF("a b\nc", "fonts/no_such_font.ttf", 30);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getResolvedFontFile(), Label::kFallbackFontFile);
    EXPECT_EQ(label->getStringLength(), 5);
    EXPECT_NE(label->getLetter(0), nullptr);
    EXPECT_EQ(label->getLetter(1), nullptr);
    EXPECT_EQ(label->getLetter(3), nullptr);
    EXPECT_NE(label->getLetter(4), nullptr);
    EXPECT_EQ(label->getLetter(5), nullptr);
    EXPECT_GT(label->getLetter(2)->getPositionX(), label->getLetter(0)->getPositionX());
    EXPECT_LT(label->getLetter(4)->getPositionY(), label->getLetter(0)->getPositionY());

    HeadlessRenderBackend backend;
    Director::getInstance()->setRenderBackend(&backend);
    scene->addChild(label);
    for (int i = 0; i < label->getStringLength(); ++i)
        if (Sprite* l = label->getLetter(i)) l->setVisible(false);
    label->getLetter(2)->setVisible(true);
    frame();
    // The letter sprites draw their own glyphs; the hidden ones draw nothing.
    int glyphs = 0;
    for (const auto& c : backend.lastList().commands)
        if (c.kind == DrawKind::Glyphs) glyphs += static_cast<int>(c.glyphs->glyphs.size());
    EXPECT_EQ(glyphs, 1);
}

TEST_F(LabelTest, LettersKeepTheLabelsColourOutlineAndShadow) {
    HeadlessRenderBackend backend;
    Director::getInstance()->setRenderBackend(&backend);
    Label* label = Label::createWithTTF("Ab", Label::kFallbackFontFile, 30);
    label->setTextColor(Color4B(10, 20, 30, 255));
    label->enableOutline(Color4B(200, 0, 0, 255), 3);
    label->enableShadow(Color4B(0, 0, 0, 128), Size(4, -4), 1);
    scene->addChild(label);
    Sprite* letter = label->getLetter(1);
    ASSERT_NE(letter, nullptr);
    auto letterRun = [&]() -> const GlyphRun& {
        static const GlyphRun none;
        auto drawn = backend.lastList().findByNode(letter);
        EXPECT_EQ(drawn.size(), 1u);
        if (drawn.empty() || drawn[0]->glyphs == nullptr) return none;
        EXPECT_EQ(drawn[0]->kind, DrawKind::Glyphs);
        return *drawn[0]->glyphs;
    };
    frame();
    const GlyphRun& run = letterRun();
    ASSERT_EQ(run.glyphs.size(), 1u);
    EXPECT_EQ(run.glyphs[0].codepoint, U'b');
    EXPECT_EQ(run.textColor, Color4B(10, 20, 30, 255));
    EXPECT_EQ(run.outlineSize, 3);
    EXPECT_EQ(run.outlineColor, Color4B(200, 0, 0, 255));
    EXPECT_TRUE(run.shadow);
    EXPECT_EQ(run.shadowColor, Color4B(0, 0, 0, 128));
    EXPECT_EQ(run.shadowOffset, Vec2(4, -4));
    EXPECT_EQ(run.shadowBlur, 1);

    // A later change of style (that keeps the layout) reaches the letter too.
    label->setTextColor(Color4B::WHITE);
    label->enableOutline(Color4B(0, 200, 0, 255), 3);
    label->enableShadow(Color4B(0, 0, 255, 255), Size(1, -1), 0);
    frame();
    const GlyphRun& later = letterRun();
    EXPECT_EQ(later.textColor, Color4B::WHITE);
    EXPECT_EQ(later.outlineColor, Color4B(0, 200, 0, 255));
    EXPECT_EQ(later.shadowColor, Color4B(0, 0, 255, 255));
    EXPECT_EQ(later.shadowOffset, Vec2(1, -1));
}

}  // namespace
