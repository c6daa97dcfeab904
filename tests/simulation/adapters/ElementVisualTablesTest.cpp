#include <gtest/gtest.h>

#include <string>

#include "map/records/ElementIds.h"
#include "simulation/adapters/ElementVisualTables.h"

namespace {

using Zarn::ElementVisual;
using Zarn::freeVisualTable;
using Zarn::tileVisualTable;

// The tables hold one row per ID of the importer's sets and nothing else, so
// that an element the map reader accepts always finds its picture.
TEST(ElementVisualTables, HoldExactlyTheIdSetsOfTheMapReader) {
    EXPECT_EQ(tileVisualTable().size(), Zarn::tileElementIds.size());
    EXPECT_EQ(freeVisualTable().size(), Zarn::freeElementIds.size());
    for (u32 id : Zarn::tileElementIds) {
        ASSERT_NE(tileVisualTable().find(id), nullptr) << id;
        EXPECT_EQ(tileVisualTable().find(id)->elementId, id);
    }
    for (u32 id : Zarn::freeElementIds) ASSERT_NE(freeVisualTable().find(id), nullptr) << id;
    for (const auto& [id, row] : tileVisualTable()) EXPECT_TRUE(Zarn::tileElementIds.contains(id)) << id;
    for (const auto& [id, row] : freeVisualTable()) EXPECT_TRUE(Zarn::freeElementIds.contains(id)) << id;
    // Known to some record class, but refused by the reader: no row.
    for (u32 id : {60u, 141u, 142u, 443u, 271u, 349u, 355u, 384u, 386u}) {
        EXPECT_EQ(tileVisualTable().count(id) + freeVisualTable().count(id), 0u) << id;
    }
}

struct Row {
    u32 id;
    const char* frame;
    bool dynamic;
    bool obstacle;
    i32 rotation;
    bool flippedX;
    bool flippedY;
    u32 layer;
    i32 zOffset;
};

void expectRow(const ElementVisual* v, const Row& r) {
    ASSERT_NE(v, nullptr) << r.id;
    EXPECT_EQ(v->frameName, r.frame) << r.id;
    EXPECT_EQ(v->dynamic, r.dynamic) << r.id;
    EXPECT_EQ(v->obstacle, r.obstacle) << r.id;
    EXPECT_EQ(v->rotation, r.rotation) << r.id;
    EXPECT_EQ(v->flippedX, r.flippedX) << r.id;
    EXPECT_EQ(v->flippedY, r.flippedY) << r.id;
    EXPECT_EQ(v->layer, r.layer) << r.id;
    EXPECT_EQ(v->zOffset, r.zOffset) << r.id;
    EXPECT_EQ(v->opacity, 255u) << r.id;
}

TEST(ElementVisualTables, TileRowsCarryTheirLooks) {
    constexpr i32 random = Zarn::kRandomQuarterTurn;
    const Row rows[] = {
        {31, "conveyor_arrows.png", true, false, 0, false, false, 1, 0},
        {32, "conveyor_arrows.png", true, false, 90, false, false, 1, 0},
        {34, "conveyor_arrows.png", true, false, 270, false, false, 1, 0},
        {140, "conveyor_arrows.png", true, false, 0, false, false, 1, 2},
        {442, "checkpoint_t.png", true, false, 0, false, false, 1, 2},
        {54, "floor_hole.png", true, false, 0, false, false, 1, 0},
        {139, "floor_hole_off.png", true, false, 0, false, false, 1, 0},
        {379, "musical_note_0.png", true, false, 0, false, false, 2, 0},
        {383, "musical_note_2.png", true, false, 0, false, false, 2, 0},
        {29, "floor_new_0.png", false, false, random, false, false, 1, 0},
        {149, "p2_floor_1.png", false, false, random, false, false, 1, 0},
        {445, "p4_exit_floor.png", false, false, 0, false, false, 1, 0},
        {155, "wall_new_front_0.png", false, true, 0, false, false, 2, -10},
        {402, "p1_wall_horizontal_end.png", false, true, 0, false, false, 4, 10},
        {407, "p1_wall_horizontal_end.png", false, true, 0, true, false, 4, 10},
        {408, "p1_wall_single.png", false, true, 0, true, false, 2, -10},
        {416, "p2_wall_single.png", false, true, 0, false, true, 2, -10},
        {424, "p3_wall_single.png", false, true, 0, false, true, 2, -10},
        {427, "p4_wall_horizontal_middle.png", false, true, 0, false, false, 2, -10},
        {431, "p4_wall_horizontal_end.png", false, true, 0, false, false, 4, 10},
        {432, "p4_wall_single.png", false, true, 0, false, false, 2, -10},
        {433, "p4_wall_vertical_top.png", false, true, 0, false, false, 2, -10},
        {425, "p3_wall_vertical_top.png", false, true, 0, true, false, 2, -10},
    };
    for (const Row& r : rows) expectRow(tileVisualTable().find(r.id), r);
}

TEST(ElementVisualTables, FreeRowsCarryTheirLooksAndMirroredTwins) {
    const Row rows[] = {
        {35, "lever_0001.png", false, false, 0, false, false, 4, 0},
        {36, "door_top.png", false, true, 0, false, false, 4, 0},
        {167, "p4_door_outer.png", false, true, 0, false, false, 5, 0},
        {348, "coin_0001.png", true, false, 0, false, false, 5, 0},
        {269, "p2_big_window.png", false, false, 0, false, false, 2, 0},
        {208, "wall_camera.png", false, false, 0, true, false, 5, 0},
        {209, "p3_camera_back.png", false, true, 0, true, false, 4, 32},
        {212, "arm_base.png", false, true, 0, false, false, 2, 0},
        {248, "p2_monitor_0.png", false, true, 0, true, false, 5, -192},
        {250, "p3_monitor_0.png", false, true, 0, true, false, 5, 192},
        {388, "p2_coffee_cup.png", false, true, 0, true, false, 5, -192},
        {394, "p2_plant_vase_2.png", false, true, 0, true, false, 5, 255},
        {447, "p4_sign_shock.png", false, true, 0, true, false, 5, 1},
        {302, "roomba.png", false, true, 0, false, false, 4, 0},
        {301, "delivery_drone_body.png", false, false, 0, false, false, 4, 0},
        {336, "cat_0.png", false, false, 0, true, false, 4, 0},
        {358, "part_anim_1.png", false, true, 0, false, false, 4, 0},
        {401, "p3_monitor_array.png", false, true, 0, true, false, 4, 0},
        {172, "bean_bag_chair.png", false, true, 0, false, false, 4, 0},
        {176, "bean_bag_chair.png", false, true, 0, true, false, 4, 0},
        {400, "p3_desk_0.png", false, true, 0, true, false, 4, 0},
    };
    for (const Row& r : rows) expectRow(freeVisualTable().find(r.id), r);
}

// Floor tiles are what traps and pads hide: the walls, the wall pieces and
// everything that changes are not.
TEST(ElementVisualTables, OnlyStillFloorsAreFloorTilesOfTheirCells) {
    for (const auto& [id, row] : tileVisualTable()) {
        const bool wall = (id >= 155 && id <= 158) || (id >= 402 && id <= 433);
        EXPECT_EQ(row.excludedFromTiles(), wall || row.dynamic) << id;
    }
    EXPECT_FALSE(tileVisualTable().find(29)->excludedFromTiles());
    EXPECT_TRUE(freeVisualTable().find(36)->excludedFromTiles()) << "a door stands up";
    EXPECT_TRUE(freeVisualTable().find(348)->excludedFromTiles()) << "the coin changes";
}

}  // namespace
