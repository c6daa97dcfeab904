#include <gtest/gtest.h>

#include "grid/CellGrid.h"
#include "world/units/SecondaryUnitIndex.h"

namespace Zarn {
namespace {

using GeometryLib::Point;

class SecondaryUnitIndexTest : public testing::Test {
protected:
    SecondaryUnitIndexTest() {
        grid.setProperties(MapProperties{320, 320, 32});
        grid.resize();
        for (u32 i = 0; i < 2; ++i) {
            props.push_back(std::make_unique<SecondarySteerableUnit>(kFirstSecondaryUnitHandle + i));
            props[i]->cellSize = 32;
            props[i]->radius = 10;
        }
    }
    CellGrid grid;
    std::vector<std::unique_ptr<SecondarySteerableUnit>> props;
};

TEST_F(SecondaryUnitIndexTest, PointTestsOfAProp) {
    SecondarySteerableUnit& p = *props[0];
    p.unit.body().position = {100, 100};
    EXPECT_TRUE(p.isNear({111, 100}, 2.0f));
    EXPECT_FALSE(p.isNear({112.5f, 100}, 2.0f));
    EXPECT_TRUE(p.contains({109, 100}));
    EXPECT_FALSE(p.contains({110, 100}));
    EXPECT_EQ(p.pushDirection({100, 100}), GeometryLib::FPoint(0, 0));
    EXPECT_EQ(p.pushDirection({100, 50}), GeometryLib::FPoint(0, -1));
    // box 90..110 on both axes: cells 2 and 3
    EXPECT_EQ(p.cells().size(), 4u);
}

TEST_F(SecondaryUnitIndexTest, BothMapsFollowMovesOnRefresh) {
    SecondaryUnitIndex index(grid);
    props[0]->unit.body().position = {40, 40};  // cell (1, 1) only
    props[1]->unit.body().position = {60, 40};  // cells (1, 1) and (2, 1)
    index.add(10, props[0].get());
    index.add(11, props[1].get());
    EXPECT_EQ(index.unitsInCell(Point(33, 33)).size(), 2u);
    EXPECT_EQ(index.elementsAt({33.5f, 33.5f}), (ElementNumberSet{10, 11}));
    EXPECT_EQ(index.elementsAtCell(Point(2, 1)), (ElementNumberSet{11}));

    props[1]->unit.body().position = {200, 200};
    EXPECT_EQ(index.unitsAtCell(Point(2, 1)).size(), 1u);  // not yet refreshed
    index.refresh();
    EXPECT_TRUE(index.unitsAtCell(Point(2, 1)).empty());
    EXPECT_EQ(index.unitsInCell(Point(200, 200)).size(), 1u);
    EXPECT_EQ(*index.unitsInCell(Point(40, 40)).begin(), props[0].get());

    index.remove(10);
    EXPECT_TRUE(index.unitsInCell(Point(40, 40)).empty());
    EXPECT_TRUE(index.cellsOf(10).empty());
    EXPECT_EQ(index.entries().size(), 2u);  // the entry stays; refresh files it again
    index.refresh();
    EXPECT_EQ(index.elementsAtCell(Point(1, 1)), (ElementNumberSet{10}));
}

TEST_F(SecondaryUnitIndexTest, IndexWithoutRemoveKeepsOldCells) {
    SecondaryUnitIndex index(grid);
    props[0]->unit.body().position = {40, 40};
    index.add(10, props[0].get());
    props[0]->unit.body().position = {200, 200};
    index.index(10, *props[0]);
    EXPECT_EQ(index.elementsAtCell(Point(1, 1)), (ElementNumberSet{10}));
    EXPECT_EQ(index.elementsAtCell(Point(6, 6)), (ElementNumberSet{10}));
    index.remove(99);  // never indexed
    index.add(props[1].get());
    EXPECT_EQ(index.entries().count(props[1]->handle()), 1u);
    index.remove(10);
    // Only the cells of the last indexing are unfiled.
    EXPECT_EQ(index.elementsAtCell(Point(1, 1)), (ElementNumberSet{10}));
    EXPECT_TRUE(index.elementsAtCell(Point(6, 6)).empty());
}

}  // namespace
}  // namespace Zarn
