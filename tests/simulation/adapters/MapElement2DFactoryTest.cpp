#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../support/FakeVisual.h"
#include "foundation/Error.h"
#include "grid/CellGrid.h"
#include "simulation/adapters/MapElement2DFactory.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using zarn_test::FakeVisual;

// Makes a fake picture per request and notes which table row it was asked
// for.
class FakeElementFactory : public Zarn::MapElement2DFactory {
public:
    Zarn::Sprite2DMediator* createTileElementVisual(const Zarn::ElementVisual& visual,
                                                    const Zarn::WholeTileMapElement&) override {
        return make(visual);
    }
    Zarn::Sprite2DMediator* createFreeElementVisual(const Zarn::ElementVisual& visual,
                                                    const Zarn::FreeMapElement&) override {
        return make(visual);
    }

    FakeVisual& last() { return *pictures.back(); }

    FPoint size{160.0f, 160.0f};
    float scale = 0.4f;
    std::vector<std::unique_ptr<FakeVisual>> pictures;
    std::vector<std::string> log;

private:
    FakeVisual* make(const Zarn::ElementVisual& visual) {
        pictures.push_back(std::make_unique<FakeVisual>(std::to_string(visual.elementId), log));
        pictures.back()->contentSize = size;
        pictures.back()->scale = scale;
        return pictures.back().get();
    }
};

class MapElement2DFactoryTest : public ::testing::Test {
protected:
    MapElement2DFactoryTest() {
        grid.setProperties(Zarn::MapProperties{1600, 1600, 160});
        grid.resize();
        factory.cellGrid = &grid;
        factory.zOrderCalculator = &zOrder;
        factory.tileVisualGroups = &tiles;
    }
    static Zarn::WholeTileMapElement tile(u32 id, Point cell, u32 zOffset = 0, u8 flag = 0) {
        Zarn::WholeTileMapElement r;
        r.elementId = id;
        r.cell = cell;
        r.extra = zOffset;
        r.flag = flag;
        return r;
    }
    static Zarn::FreeMapElement free(u32 id, Point at, u32 zOffset = 0) {
        Zarn::FreeMapElement r;
        r.elementId = id;
        r.position = at;
        r.extra = zOffset;
        return r;
    }

    Zarn::CellGrid grid;
    Zarn::ZOrderCalculator zOrder{160, 10};
    Zarn::TileVisualGroups tiles;
    FakeElementFactory factory;
};

TEST_F(MapElement2DFactoryTest, FloorTileIsPlacedTurnedAndFiledUnderItsCell) {
    factory.scale = 1.0f;
    const auto record = tile(29, Point(2, 3), 5);
    Zarn::NodeMediator* picture = factory.createTileElement2D(record);
    FakeVisual& fake = factory.last();
    EXPECT_EQ(picture, &fake);
    EXPECT_EQ(fake.position, FPoint(400.0f, 560.0f));
    const std::set<float> quarters{0.0f, 90.0f, 180.0f, 270.0f};
    EXPECT_EQ(quarters.count(fake.rotation), 1u) << fake.rotation;
    EXPECT_EQ(fake.zOrder, zOrder.rowMiddle(3) + 5);
    EXPECT_EQ(factory.log, (std::vector<std::string>{"29: position 400 560", "29: opacity 255",
                                                     "29: z " + std::to_string(zOrder.rowMiddle(3) + 5)}));
    ASSERT_EQ(tiles[Point(2, 3)].size(), 1u);
    EXPECT_EQ(tiles[Point(2, 3)][0], &fake);
}

// Walls and the changing tiles are not floor: no rotation call for a
// rotation of 0 and no filing; a dynamic row with a rotation still turns.
TEST_F(MapElement2DFactoryTest, WallsAndChangingTilesAreNotFiledAndKeepTheirRotation) {
    for (u32 id : {155u, 408u, 42u, 140u}) {
        factory.createTileElement2D(tile(id, Point(1, 1)));
        EXPECT_TRUE(std::isnan(factory.last().rotation)) << id;
    }
    EXPECT_TRUE(factory.last().flippedX == false);
    EXPECT_EQ(tiles.count(Point(1, 1)), 0u);
    factory.createTileElement2D(tile(32, Point(1, 1)));
    EXPECT_EQ(factory.last().rotation, 90.0f);
    factory.createTileElement2D(tile(408, Point(1, 1)));
    EXPECT_TRUE(factory.last().flippedX);
    factory.createTileElement2D(tile(416, Point(1, 1)));
    EXPECT_TRUE(factory.last().flippedY);
    EXPECT_EQ(tiles.count(Point(1, 1)), 0u);
}

TEST_F(MapElement2DFactoryTest, FlagByteKeepsThePicturesOwnOpacityAndTwoFloorsShareACell) {
    factory.createTileElement2D(tile(434, Point(0, 0), 0, 1));
    factory.createTileElement2D(tile(435, Point(0, 0)));
    EXPECT_EQ(factory.log[1], "434: z " + std::to_string(zOrder.rowMiddle(0))) << "no opacity call";
    EXPECT_EQ(factory.log[3], "435: opacity 255");
    ASSERT_EQ(tiles[Point(0, 0)].size(), 2u);
    EXPECT_EQ(tiles[Point(0, 0)][0], factory.pictures[0].get());
    EXPECT_EQ(tiles[Point(0, 0)][1], factory.pictures[1].get());
}

// A free element stands with its lower-left corner on its point; its band
// follows its height, and a drawing band 4 puts lower things in front.
TEST_F(MapElement2DFactoryTest, FreeElementIsPlacedAtItsPointInItsBand) {
    factory.createFreeElement2D(free(172, Point(330, 500), 3));
    FakeVisual& desk = factory.last();
    EXPECT_EQ(desk.position, FPoint(330.0f + 32.0f, 500.0f + 32.0f));
    EXPECT_EQ(desk.rotation, 0.0f) << "free elements always take the row's rotation";
    EXPECT_EQ(desk.zOrder, zOrder.highY(500.0f) + 3);
    EXPECT_EQ(tiles.count(Point(2, 3)), 0u) << "furniture is no floor";

    factory.createFreeElement2D(free(348, Point(10, 10)));
    EXPECT_EQ(factory.last().zOrder, zOrder.highYTop(10.0f));
    factory.createFreeElement2D(free(204, Point(330, 500)));
    EXPECT_TRUE(factory.last().flippedX == false);
    EXPECT_EQ(factory.last().zOrder, zOrder.highYTop(500.0f));
    ASSERT_EQ(tiles[Point(2, 3)].size(), 1u) << "the still camera is filed under the cell of its point";
}

TEST_F(MapElement2DFactoryTest, LayersMapToTheCalculatorsBands) {
    struct Case {
        u32 layer;
        int row;
        int atY;
    };
    const Case cases[] = {
        {0, zOrder.rowBase(4), zOrder.yBase(700.0f)},
        {1, zOrder.rowMiddle(4), zOrder.yMiddle(700.0f)},
        {2, zOrder.rowTop(4), zOrder.yTop(700.0f)},
        {3, zOrder.highRowBase(4), zOrder.highYBase(700.0f)},
        {4, zOrder.highRowMiddle(4), zOrder.highY(700.0f)},
        {5, zOrder.highRowTop(4), zOrder.highYTop(700.0f)},
        {7, zOrder.rowMiddle(4), zOrder.highY(700.0f)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Zarn::zOrderOfLayer(zOrder, c.layer, 4), c.row) << c.layer;
        EXPECT_EQ(Zarn::zOrderOfLayerAtY(zOrder, c.layer, 700.0f), c.atY) << c.layer;
    }
}

TEST_F(MapElement2DFactoryTest, ElementPassSkipsAndRefuses) {
    EXPECT_FALSE(factory.isSkipped(tile(139, Point(0, 0)))) << "a dormant hole has its hatch";
    EXPECT_TRUE(factory.isSkipped(tile(141, Point(0, 0)))) << "logical";
    EXPECT_FALSE(factory.isSkipped(tile(29, Point(0, 0))));
    EXPECT_TRUE(factory.isTileElement(29));
    EXPECT_TRUE(factory.isFreeElement(301));
    EXPECT_FALSE(factory.isTileElement(60));

    auto expectThrow = [](const std::function<void()>& fn, const std::string& text) {
        try {
            fn();
            ADD_FAILURE() << "no throw, expected " << text;
        } catch (const Convinience::Error& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
    };
    const Zarn::FreeMapElement prop = free(172, Point(0, 0));
    expectThrow([&] { factory.createTileElement2D(prop); }, "element is not tile");
    const Zarn::WholeTileMapElement floor = tile(29, Point(0, 0));
    expectThrow([&] { factory.createFreeElement2D(floor); }, "element is not freeMapElement");
    expectThrow([&] { factory.createTileElement2D(tile(60, Point(0, 0))); }, "no such map element id");
    EXPECT_TRUE(factory.pictures.empty());
}

TEST(RandomQuarterTurn, GivesEveryQuarterAndNothingElse) {
    std::set<float> seen;
    for (int i = 0; i < 200; ++i) seen.insert(Zarn::randomQuarterTurn());
    EXPECT_EQ(seen, (std::set<float>{0.0f, 90.0f, 180.0f, 270.0f}));
}

}  // namespace
