#include "visuals/traps/TrapFrames.h"

#include <algorithm>

#include "visuals/traps/FourPanelTrapDoor.h"
#include "visuals/traps/RatTrapVisual.h"
#include "visuals/traps/TrapAnimations.h"
#include "visuals/traps/VisualActions.h"
#include "visuals/traps/VortexTrapVisual.h"

const std::vector<std::string>& trapVisualFrameNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        auto add = [&all](const std::string& name) {
            if (std::find(all.begin(), all.end(), name) == all.end()) all.push_back(name);
        };
        auto addAll = [&add](const std::vector<std::string>& list) {
            for (const std::string& name : list) add(name);
        };
        add("blank.png");
        // Trap doors, spikes, the slap trap, the sign's figures, the explosion.
        addAll(numberedFrames("Trap_Door_", 1, 9));
        addAll(numberedFrames("CTrap_Door_", 1, 9));
        add("Trap_Door_Base.png");
        addAll(numberedFrames("spike_anim_", 1, 5, ".png", 4));
        addAll(spikeWarningFrames());
        add("spike_grill.png");
        addAll(numberedFrames("Spike_Trap_S", 1, 5));
        add("Spike_Trap_Grill.png");
        addAll(numberedFrames("Slap_Trap_", 1, 9));
        addAll(numberedFrames("RedGreen_", 1, 6));
        addAll(numberedFrames("Explosion_Trap_", 1, 19));
        for (const auto& [id, name] : trapFirstFrameNames()) add(name);
        // Four-panel doors.
        for (const char* name :
             {"fp_trap_door_base.png", "fp_trap_door_top_left.png", "fp_trap_door_top_right.png",
              "fp_trap_door_bottom_left.png", "fp_trap_door_bottom_right.png"})
            add(name);
        for (const std::string& name : fourPanelWarningFrames()) add(name);
        // Vortices and rat traps.
        addAll(smallVortexKind().frames);
        addAll(largeVortexKind().frames);
        for (const RatFlipFrames* flip : {&leftFlipFrames(), &rightFlipFrames()}) {
            addAll(flip->slam);
            addAll(flip->back);
        }
        // The red-green sign.
        for (const char* name : {"red_green_base.png", "red_green_hand.png", "red_green_man.png",
                                 "Progress_Red.png", "Progress_Green.png"})
            add(name);
        // The boss's eyes, brow, clamps.
        for (const char* name :
             {"p3_floor_0.png", "Eye_Bulb_1.png", "inner eye whole.png", "Eye_Pupil_Glow.png",
              "Eye_Bulb_Generic.png", "Eye_Crack_1.png", "Eye_Crack_2.png", "Eye_Crack_3.png"})
            add(name);
        addAll(numberedFrames("Eye_Cannon_Shutter_", 1, 5));
        addAll(numberedFrames("Eye_Angry_", 1, 3));
        addAll(numberedFrames("Explosion_Eye_", 1, 8));
        for (const char* name : {"clamp_top.png", "clamp_bottom.png", "clamp_arm.png", "boss_brow_normal.png",
                                 "boss_brow_angy.png", "boss_brow_damaged.png"})
            add(name);
        // The arms.
        addAll(numberedFrames("Arm_Spawn_", 1, 11));
        addAll(numberedFrames("Arm_Idle_", 1, 23));
        addAll(numberedFrames("Arm_Slam_", 1, 9));
        add("Arm_Hit_1.png");
        // Bombs.
        addAll(numberedFrames("Bomb_", 1, 3));
        add("Bomb_Marker.png");
        addAll(numberedFrames("Explosion_Bomb_", 1, 11));
        // The cannon.
        for (const char* name : {"Laser_Top_Base.png", "Laser_Top_Highlight.png", "Laser_Beam_Cap.png",
                                 "Laser_Middle_SoftShadow.png", "Laser_Middle_Highlight.png"})
            add(name);
        addAll(numberedFrames("Laser_Middle_", 1, 4, ".png", 4));
        addAll(numberedFrames("Laser_Splash_", 1, 6, ".png", 4));
        addAll(numberedFrames("Laser_Splash_B_", 1, 6, ".png", 4));
        return all;
    }();
    return names;
}
