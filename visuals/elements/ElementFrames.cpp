#include "visuals/elements/ElementFrames.h"

#include <algorithm>

#include "simulation/adapters/ElementVisualTables.h"
#include "visuals/elements/ConveyorMachine.h"
#include "visuals/elements/KeyCells.h"
#include "visuals/traps/VisualActions.h"

const std::vector<std::string>& elementVisualFrameNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        auto add = [&all](const std::string& name) {
            if (std::find(all.begin(), all.end(), name) == all.end()) all.push_back(name);
        };
        auto addAll = [&add](const std::vector<std::string>& list) {
            for (const std::string& name : list) add(name);
        };
        // The tables' frames, but the two that no visual shows.
        for (const Zarn::ElementVisualTable* table : {&Zarn::tileVisualTable(), &Zarn::freeVisualTable()})
            for (const auto& [id, row] : *table)
                if (!row.frameName.empty() && row.frameName != "p2_floor_1.png" &&
                    row.frameName != "p4_door_outer.png")
                    add(row.frameName);
        // Floors, holes, belts, doors, the key cells' marks.
        add("p2_floor_2.png");
        addAll(keyCellFrames());
        addAll(numberedFrames("Conveyor_", 1, 5));
        for (const char* name : {"door_big_right.png", "p2_door_right.png", "p3_door_right.png"}) add(name);
        // Checkpoints, levers, coins.
        for (const char* name : {"checkpoint_outline.png", "checkpoint_base.png", "checkpoint_triangle.png",
                                 "checkpoint_light.png"})
            add(name);
        addAll(numberedFrames("lever_", 1, 6, ".png", 4));
        addAll(numberedFrames("coin_", 1, 5, ".png", 4));
        // Musical notes.
        for (const char* name : {"musical_outline.png", "general_white_tile.png", "musical_light_ring.png",
                                 "musical_top_left_corner.png", "musical_top_right_corner.png",
                                 "musical_bottom_right_corner.png", "musical_bottom_left_corner.png"})
            add(name);
        addAll(numberedFrames("musical_light_", 0, 4));
        addAll(numberedFrames("musical_note_", 0, 2));
        addAll(numberedFrames("musical_pitch_", 0, 24));
        add("musical_speaker.png");
        addAll(numberedFrames("lightning_floor_zap_", 1, 8));
        // The conveyor machine.
        for (const char* name :
             {"conveyor_middle.png", "conveyor_horizontal_end.png", "conveyor_vertical_end.png",
              "p3_conveyor_lines.png", "conveyor_item_dispenser_back.png", "conveyor_item_dispenser.png",
              "arm_backarm.png", "arm_forearm.png", "arm_tip_claw.png", "arm_tip_torch.png",
              "arm_tip_weld.png"})
            add(name);
        addAll(numberedFrames("conveyor_wheels_", 1, 3));
        addAll(numberedFrames("conveyor_flap_", 1, 11));
        addAll(conveyorItemFrameNames());
        // PART, the drone, the elevator pad.
        addAll(numberedFrames("part_anim_", 1, 8));
        for (const char* name : {"delivery_drone_head.png", "delivery_drone_shoulder_inner.png",
                                 "delivery_drone_shoulder_outer.png", "delivery_drone_backarm.png",
                                 "delivery_drone_forearm.png"})
            add(name);
        addAll(numberedFrames("delivery_drone_wheels_", 1, 3));
        addAll(numberedFrames("Elevator_Tile_", 1, 3));
        for (const char* name : {"Elevator_Back.png", "Elevator_Box.png"}) add(name);
        addAll(numberedFrames("Elevator_Arrow_", 1, 2));
        // Big windows and plants.
        for (const char* name : {"p4_big_window.png", "image5073.png", "p0_winbg_layer_3.png",
                                 "p0_winbg_bill_0.png", "p0_winbg_bill_1.png", "p0_winbg_logo.png"})
            add(name);
        addAll(numberedFrames("p0_winbg_cloud_", 0, 4));
        addAll(numberedFrames("p0_winbg_ufo_", 0, 1));
        addAll(numberedFrames("p2_plant_top_", 0, 2));
        return all;
    }();
    return names;
}
