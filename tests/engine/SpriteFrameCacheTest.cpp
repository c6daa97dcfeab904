#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/EngineFixture.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;

namespace {

class SpriteSheets : public zarn_test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        namespace fs = std::filesystem;
        root = fs::path(zarn_test::tempDir()) / "sheets";
        fs::create_directories(root / "2D");
        saved = FileUtils::getInstance()->getSearchPaths();
        FileUtils::getInstance()->setSearchPaths({root.string()});
    }
    void TearDown() override {
        FileUtils::getInstance()->setSearchPaths(saved);
        SpriteFrameCache::getInstance()->removeSpriteFrames();
        TextureCache::getInstance()->removeAllTextures();
        EngineFixture::TearDown();
    }
    // A 64 x 32 PNG header is all the engine reads of an image.
    void writePng(const std::string& name, uint32_t w, uint32_t h) {
        std::ofstream out(root / name, std::ios::binary);
        const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        out.write(reinterpret_cast<const char*>(sig), 8);
        const unsigned char ihdr[8] = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
        out.write(reinterpret_cast<const char*>(ihdr), 8);
        const unsigned char size[8] = {
            static_cast<unsigned char>(w >> 24), static_cast<unsigned char>(w >> 16),
            static_cast<unsigned char>(w >> 8),  static_cast<unsigned char>(w),
            static_cast<unsigned char>(h >> 24), static_cast<unsigned char>(h >> 16),
            static_cast<unsigned char>(h >> 8),  static_cast<unsigned char>(h)};
        out.write(reinterpret_cast<const char*>(size), 8);
    }
    std::filesystem::path root;
    std::vector<std::string> saved;
};

const char* kFormat2 = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>frames</key>
  <dict>
    <key>Spike_1.png</key>
    <dict>
      <key>frame</key><string>{{2,4},{30,40}}</string>
      <key>offset</key><string>{1,-2}</string>
      <key>rotated</key><false/>
      <key>sourceColorRect</key><string>{{0,0},{30,40}}</string>
      <key>sourceSize</key><string>{34,48}</string>
    </dict>
    <key>Spike_2.png</key>
    <dict>
      <key>frame</key><string>{{40,4},{20,10}}</string>
      <key>offset</key><string>{0,0}</string>
      <key>rotated</key><true/>
      <key>sourceSize</key><string>{20,10}</string>
    </dict>
  </dict>
  <key>metadata</key>
  <dict>
    <key>format</key><integer>2</integer>
    <key>textureFileName</key><string>traps.png</string>
    <key>size</key><string>{64,64}</string>
  </dict>
</dict>
</plist>)";

const char* kFormat3 = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>frames</key><dict>
    <key>coin_0001.png</key><dict>
      <key>aliases</key><array/>
      <key>spriteOffset</key><string>{0,0}</string>
      <key>spriteSize</key><string>{16,16}</string>
      <key>spriteSourceSize</key><string>{16,16}</string>
      <key>textureRect</key><string>{{0,0},{16,16}}</string>
      <key>textureRotated</key><false/>
    </dict>
  </dict>
  <key>metadata</key><dict><key>format</key><integer>3</integer></dict>
</dict></plist>)";

TEST_F(SpriteSheets, SheetFramesGiveSpritesTheirSizesAndTexture) {
    std::ofstream(root / "2D" / "traps.plist") << kFormat2;
    writePng("2D/traps.png", 64, 64);
    auto* cache = SpriteFrameCache::getInstance();
    cache->addSpriteFramesWithFile("2D/traps.plist");
    ASSERT_TRUE(cache->hasSpriteFrame("Spike_1.png"));
    SpriteFrame* f = cache->getSpriteFrameByName("Spike_1.png");
    EXPECT_EQ(f->getRect(), Rect(2, 4, 30, 40));
    EXPECT_EQ(f->getOffset(), Vec2(1, -2));
    EXPECT_EQ(f->getOriginalSize(), Size(34, 48));
    ASSERT_NE(f->getTexture(), nullptr);
    EXPECT_EQ(f->getTexture()->getPixelsWide(), 64);
    EXPECT_FALSE(f->getTexture()->isPlaceholder());
    EXPECT_TRUE(cache->getSpriteFrameByName("Spike_2.png")->isRotated());

    Sprite* s = Sprite::createWithSpriteFrameName("Spike_1.png");
    EXPECT_EQ(s->getContentSize(), Size(34, 48));
    EXPECT_FALSE(s->isPlaceholder());
    // Changing a cached frame's offset affects sprites given it afterwards.
    f->setOffsetInPixels(Vec2(-103, -44));
    Sprite* later = Sprite::createWithSpriteFrameName("Spike_1.png");
    EXPECT_EQ(later->getOffsetPosition(), Vec2(-103 + 2, -44 + 4));
}

TEST_F(SpriteSheets, OtherFormatsAndBadSheets) {
    auto* cache = SpriteFrameCache::getInstance();
    cache->addSpriteFramesWithFileContent(kFormat3, "2D/collectables.png");
    EXPECT_EQ(cache->getSpriteFrameByName("coin_0001.png")->getOriginalSize(), Size(16, 16));
    std::ofstream(root / "2D" / "broken.plist") << "<plist><dict><key>frames</key>";
    cache->addSpriteFramesWithFile("2D/broken.plist");
    cache->addSpriteFramesWithFile("2D/absent.plist");
    EXPECT_FALSE(cache->isSpriteFramesWithFileLoaded("2D/broken.plist"));
    EXPECT_FALSE(cache->isSpriteFramesWithFileLoaded("2D/absent.plist"));
    SpriteFrame* missing = cache->getSpriteFrameByName("nothing.png");
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->isPlaceholder());
    EXPECT_FALSE(cache->hasSpriteFrame("nothing.png"));
}

TEST_F(SpriteSheets, ImageFilesGiveTheirPixelSize) {
    writePng("2D/thank_you_splash.png", 640, 360);
    Sprite* s = Sprite::create("2D/thank_you_splash.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getContentSize(), Size(640, 360));
    EXPECT_FALSE(s->isPlaceholder());
    EXPECT_NE(s->getSpriteFrame(), nullptr);
}

}  // namespace
