#include "simulation/adapters/ElementVisualTables.h"

#include <optional>
#include <stdexcept>
#include <utility>

#include "map/records/ElementIds.h"

namespace Zarn {

namespace {

// The look of one row before its ID is set.
ElementVisual look(std::string frame) {
    ElementVisual v;
    v.frameName = std::move(frame);
    return v;
}

ElementVisual dynamicLook(std::string frame, u32 layer = 1, i32 zOffset = 0) {
    ElementVisual v = look(std::move(frame));
    v.dynamic = true;
    v.layer = layer;
    v.zOffset = zOffset;
    return v;
}

ElementVisual wallLook(std::string frame, u32 layer, i32 zOffset) {
    ElementVisual v = look(std::move(frame));
    v.obstacle = true;
    v.layer = layer;
    v.zOffset = zOffset;
    return v;
}

// A wall piece: eight kinds per art set, sets starting at 402, 410, 418, 426.
ElementVisual wallPiece(u32 id) {
    const int set = static_cast<int>(id - 402) / 8;
    const int kind = static_cast<int>(id - 402) % 8;
    const std::string p = "p" + std::to_string(set + 1) + "_";
    const bool lastSet = set == 3;
    switch (kind) {
        case 0:
            return wallLook(p + "wall_horizontal_end.png", 4, 10);
        case 1:
            return wallLook(p + "wall_horizontal_middle.png", 2, -10);
        case 2:
            return wallLook(p + "wall_single.png", 2, -10);
        case 3:
            return wallLook(p + "wall_vertical_middle.png", 2, -10);
        case 4:
            return wallLook(p + "wall_vertical_top.png", 2, -10);
        case 5: {
            ElementVisual v = wallLook(p + "wall_horizontal_end.png", 4, 10);
            v.flippedX = !lastSet;
            return v;
        }
        case 6: {
            ElementVisual v = wallLook(p + "wall_single.png", 2, -10);
            v.flippedX = set == 0;
            v.flippedY = set == 1 || set == 2;
            return v;
        }
        default: {
            ElementVisual v = wallLook(p + "wall_vertical_top.png", 2, -10);
            v.flippedX = !lastSet;
            return v;
        }
    }
}

std::optional<ElementVisual> tileLook(u32 id) {
    if (id >= 31 && id <= 34) {
        ElementVisual v = dynamicLook("conveyor_arrows.png");
        v.rotation = static_cast<i32>(id - 31) * 90;
        return v;
    }
    if (id >= 402 && id <= 433) return wallPiece(id);
    auto randomFloor = [](std::string frame) {
        ElementVisual v = look(std::move(frame));
        v.rotation = kRandomQuarterTurn;
        return v;
    };
    switch (id) {
        case 140:
            return dynamicLook("conveyor_arrows.png", 1, 2);
        case 42:
        case 440:
        case 441:
        case 442:
            return dynamicLook("checkpoint_t.png", 1, 2);
        // Holes and pits: drawn deadly; the dormant ones (138, 139) covered
        // by a hatch until enabled.
        case 54:
            return dynamicLook("floor_hole.png");
        case 137:
            return dynamicLook("floor_pit.png");
        case 138:
            return dynamicLook("floor_pit_off.png");
        case 139:
            return dynamicLook("floor_hole_off.png");
        case 379:
            return dynamicLook("musical_note_0.png", 2);
        case 383:
            return dynamicLook("musical_note_2.png", 2);
        case 29:
            return randomFloor("floor_new_0.png");
        case 148:
            return randomFloor("p2_floor_0.png");
        case 149:
            return randomFloor("p2_floor_1.png");
        case 150:
            return randomFloor("p3_floor_0.png");
        case 151:
            return randomFloor("p4_floor_0.png");
        case 152:
            return randomFloor("p4_floor_1.png");
        case 153:
            return randomFloor("p4_floor_2.png");
        case 434:
            return look("p1_entrance_floor.png");
        case 435:
            return look("p1_exit_floor.png");
        case 436:
            return look("p2_entrance_floor.png");
        case 437:
            return look("p2_exit_floor.png");
        case 438:
            return look("p3_entrance_floor.png");
        case 439:
            return look("p3_exit_floor.png");
        case 444:
            return look("p4_entrance_floor.png");
        case 445:
            return look("p4_exit_floor.png");
        case 155:
            return wallLook("wall_new_front_0.png", 2, -10);
        case 156:
            return wallLook("p2_wall_0.png", 2, -10);
        case 157:
            return wallLook("p3_wall_0.png", 2, -10);
        case 158:
            return wallLook("p4_wall_0.png", 2, -10);
        default:
            return std::nullopt;
    }
}

// A free row: obstacle, layer 4, z offset 0 unless said otherwise.
struct FreeLook {
    const char* frame;
    bool obstacle = true;
    u32 layer = 4;
    i32 zOffset = 0;
};

// Rows that come as an unmirrored / mirrored pair share everything but the
// mirroring of the second.
struct Pair {
    u32 plain;
    u32 mirrored;
    FreeLook look;
};

const Pair kPairs[] = {
    {204, 208, {"wall_camera.png", false, 5}},
    {205, 209, {"p3_camera_back.png", true, 4, 32}},
    {206, 210, {"p3_camera_front.png", true, 4, 32}},
    {244, 248, {"p2_monitor_0.png", true, 5, -192}},
    {245, 249, {"p2_monitor_1.png", true, 5, -192}},
    {246, 250, {"p3_monitor_0.png", true, 5, 192}},
    {247, 251, {"p3_monitor_1.png", true, 5, 192}},
    {387, 388, {"p2_coffee_cup.png", true, 5, -192}},
    {391, 394, {"p2_plant_vase_2.png", true, 5, 255}},
    {397, 398, {"p3_calculator.png", true, 5}},
    {340, 344, {"p3_sign_dne.png", true, 5, 1}},
    {341, 345, {"p3_sign_skull.png", true, 5, 1}},
    {342, 346, {"p4_sign_pee.png", true, 5, 1}},
    {343, 347, {"p4_sign_poop.png", true, 5, 1}},
    {446, 447, {"p4_sign_shock.png", true, 5, 1}},
    {332, 336, {"cat_0.png", false}},
    // Furniture.
    {172, 176, {"bean_bag_chair.png"}},
    {173, 177, {"p2_chair_0.png"}},
    {174, 178, {"p2_small_chair.png"}},
    {180, 184, {"p2_desk_0.png"}},
    {181, 185, {"p2_desk_1.png"}},
    {182, 186, {"p2_desk_2.png"}},
    {183, 187, {"p2_desk_3.png"}},
    {188, 192, {"tablet_table.png"}},
    {189, 193, {"p2_small_table_0.png"}},
    {190, 194, {"p2_small_table_1.png"}},
    {236, 240, {"p3_instrument_0.png"}},
    {237, 241, {"p3_instrument_1.png"}},
    {284, 288, {"p2_chute.png"}},
    {285, 289, {"p3_chute.png"}},
    {286, 290, {"p4_chute.png"}},
    {316, 320, {"plant_0.png"}},
    {317, 321, {"p2_plant_0.png"}},
    {318, 322, {"p3_plant_0.png"}},
    {319, 323, {"p4_plant_0.png"}},
    {324, 328, {"ping_pong_table.png"}},
    {389, 392, {"p2_plant_vase_0.png"}},
    {390, 393, {"p2_plant_vase_1.png"}},
    {395, 396, {"p2_water_cooler.png"}},
    {399, 400, {"p3_desk_0.png"}},
};

ElementVisual fromFreeLook(const FreeLook& f) {
    ElementVisual v = look(f.frame);
    v.obstacle = f.obstacle;
    v.layer = f.layer;
    v.zOffset = f.zOffset;
    return v;
}

std::optional<ElementVisual> freeLook(u32 id) {
    for (const Pair& pair : kPairs) {
        if (id != pair.plain && id != pair.mirrored) continue;
        ElementVisual v = fromFreeLook(pair.look);
        v.flippedX = id == pair.mirrored;
        return v;
    }
    switch (id) {
        case 35:
        case 59:
        case 135:
            return fromFreeLook({"lever_0001.png", false});
        case 36:
            return fromFreeLook({"door_top.png"});
        case 37:
            return fromFreeLook({"door_side.png"});
        case 164:
            return fromFreeLook({"door_big_left.png", true, 5});
        case 165:
            return fromFreeLook({"p2_door_left.png", true, 5});
        case 166:
            return fromFreeLook({"p3_door_left.png", true, 5});
        case 167:
            return fromFreeLook({"p4_door_outer.png", true, 5});
        case 348: {
            ElementVisual v = fromFreeLook({"coin_0001.png", false, 5});
            v.dynamic = true;
            return v;
        }
        case 268:
            return fromFreeLook({"big_window.png", false});
        case 269:
            return fromFreeLook({"p2_big_window.png", false, 2});
        case 270:
            return fromFreeLook({"p3_big_window.png", false, 2});
        case 212:
            return fromFreeLook({"arm_base.png", true, 2});
        case 300:
        case 302:
            return fromFreeLook({"roomba.png"});
        case 301:
            return fromFreeLook({"delivery_drone_body.png", false});
        case 374:
            return fromFreeLook({"long_cat.png", false});
        case 358:
            return fromFreeLook({"part_anim_1.png"});
        case 276:
            return fromFreeLook({"p2_whiteboard.png"});
        case 401: {
            ElementVisual v = fromFreeLook({"p3_monitor_array.png"});
            v.flippedX = true;
            return v;
        }
        default:
            return std::nullopt;
    }
}

// One row per ID of the set; an ID without a look is a programming fault.
template <class Ids, class Look>
ElementVisualTable buildTable(const Ids& ids, Look lookOf) {
    ElementVisualTable::Rows rows;
    for (u32 id : ids) {
        std::optional<ElementVisual> v = lookOf(id);
        if (!v) throw std::logic_error("element " + std::to_string(id) + " has no visual row");
        v->elementId = id;
        rows.emplace(id, std::move(*v));
    }
    return ElementVisualTable(std::move(rows));
}

}  // namespace

const ElementVisual* ElementVisualTable::find(u32 elementId) const {
    const auto it = rows_.find(elementId);
    return it == rows_.end() ? nullptr : &it->second;
}

const ElementVisualTable& tileVisualTable() {
    static const ElementVisualTable table = buildTable(tileElementIds, tileLook);
    return table;
}

const ElementVisualTable& freeVisualTable() {
    static const ElementVisualTable table = buildTable(freeElementIds, freeLook);
    return table;
}

}  // namespace Zarn
