#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "AssetNames.h"
#include "SheetPixels.h"
#include "engine/FileUtils.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"

using namespace cocos2d;

namespace {

// A pixel this opaque (of 255) on a frame's edge shows where the drawing is
// cut off; fainter ones cannot be told from the floor behind.
constexpr int kVisibleAlpha = 16;

// How many visible pixels lie on each edge of a frame.
struct EdgeCounts {
    int top = 0, bottom = 0, left = 0, right = 0;
    int total() const { return top + bottom + left + right; }
};

EdgeCounts visibleOnEdges(const zarn_test::SheetPixels& pixels, const Rect& r) {
    const int x0 = static_cast<int>(r.origin.x), y0 = static_cast<int>(r.origin.y);
    const int x1 = x0 + static_cast<int>(r.size.width) - 1, y1 = y0 + static_cast<int>(r.size.height) - 1;
    EdgeCounts n;
    for (int x = x0; x <= x1; ++x) {
        n.top += pixels.alpha(x, y0) >= kVisibleAlpha;
        n.bottom += pixels.alpha(x, y1) >= kVisibleAlpha;
    }
    for (int y = y0; y <= y1; ++y) {
        n.left += pixels.alpha(x0, y) >= kVisibleAlpha;
        n.right += pixels.alpha(x1, y) >= kVisibleAlpha;
    }
    return n;
}

std::string describe(const EdgeCounts& n) {
    std::ostringstream out;
    const char* sep = "";
    for (const auto& [edge, count] :
         {std::pair{"top", n.top}, {"bottom", n.bottom}, {"left", n.left}, {"right", n.right}})
        if (count > 0) {
            out << sep << count << " px on the " << edge;
            sep = ", ";
        }
    return out.str();
}

class FrameBorders : public ::testing::Test {
protected:
    zarn_test::LoadedSheets sheets;
};

// A frame that is not a tile (floors, walls, belts and beams are drawn to
// meet their neighbours; the generator lists them) keeps a clear border:
// a visible pixel on its outermost row or column is a drawing cut off.
TEST_F(FrameBorders, OnlyTilesReachTheirEdges) {
    const std::vector<std::string> tileList =
        zarn_test::reportLines(std::string(ZARN_ASSETS_DIR) + "/2D/tiles.txt");
    const std::set<std::string> tiles(tileList.begin(), tileList.end());
    const std::set<std::string> names = zarn_test::allFrameNames();
    ASSERT_GT(tiles.size(), 20u) << "the generator lists no tiles";
    for (const std::string& tile : tiles) EXPECT_TRUE(names.count(tile)) << tile << " is in no family";

    auto* cache = SpriteFrameCache::getInstance();
    std::map<std::string, std::unique_ptr<zarn_test::SheetPixels>> sheets;
    int checked = 0;
    for (const std::string& name : names) {
        if (tiles.count(name)) continue;
        SpriteFrame* frame = cache->getSpriteFrameByName(name);
        ASSERT_NE(frame, nullptr) << name;
        ASSERT_NE(frame->getTexture(), nullptr) << name;
        auto& pixels = sheets[frame->getTexture()->getPath()];
        if (!pixels) pixels = std::make_unique<zarn_test::SheetPixels>(frame->getTexture()->getPath());
        ASSERT_NE(pixels->surface, nullptr) << frame->getTexture()->getPath();
        const EdgeCounts edges = visibleOnEdges(*pixels, frame->getRect());
        EXPECT_EQ(edges.total(), 0) << name << " is cut off: " << describe(edges);
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

}  // namespace
