#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/ClippingNode.h"
#include "engine/DrawNode.h"
#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "foundation/Geometry.h"
#include "visuals/elements/ArmSolver.h"

namespace cocos2d {
class Animate;
}

// The conveyor machine (element type 212): a decorative factory line. A
// dispenser drops random parts onto a lower belt; two claw arms move parts to
// an upper belt that runs back; a welding and a torch arm reach towards
// passing parts; parts that reach a belt's end fall off and vanish. It runs
// in the engine's frame and actions only and shows nothing of the world.
// Distances are in the machine's unscaled space (160 per cell); the factory
// shows it at scale 0.4. Main thread only.

// One entry of a machine layout: a component kind (0 to 15) at a cell.
struct MachineComponentRecord {
    u8 kind = 0;
    GeometryLib::Point cell;
};

// What a component kind builds:
// | kind  | component   | frame                         | rotation  | stencil offsets    | reversed | flipped
// | | 0, 1  | belt piece  | conveyor_middle.png           | 0         | (0,0), (0,0)       | 1        | no |
// | 2, 3  | belt piece  | conveyor_middle.png           | -90, 90   | (0,0), (0,0)       | no       | no | |
// 4-7   | belt piece  | conveyor_horizontal_end.png   | 0         | (0,0), (-3,-4)     | 6, 7     | 5, 7    |
// | 8-11  | belt piece  | conveyor_vertical_end.png     | -90, 90.. | (0,4), (-3,-4)     | 10, 11   | no | |
// 12    | dispenser   |                               |           |                    |          |         |
// | 13-15 | hydraulic arm with the tip "arm_tip_claw.png", "arm_tip_torch.png", "arm_tip_weld.png" |
// A kind above 15 throws Convinience::Error("no such component").
struct MachineComponentKind {
    enum class Type : u8 { belt, dispenser, arm };
    Type type = Type::belt;
    std::string frame;
    float rotation = 0.0f;
    cocos2d::Vec2 stencilLowerLeft;
    cocos2d::Vec2 stencilUpperRight;
    bool reversed = false;
    bool flipped = false;
};
MachineComponentKind machineComponentKind(u8 kind);

// The layout of the factory's machine: 8 x 3 cells, the dispenser at (0, 1),
// the lower belt along row 1, the reversed upper belt along row 3, the weld,
// torch and two claw arms in row 2.
const std::vector<MachineComponentRecord>& factoryMachineLayout();

// The 23 frames a dispensed part is drawn from (three stand twice).
const std::vector<std::string>& conveyorItemFrameNames();

// A belt piece's scroll: forward pieces move their lines by +speed x dt /
// 0.4, reversed ones by minus that; past 160 either way the offset is
// brought back by 160 once.
float machineBeltScrollStep(float offset, float speed, float dt, bool forward);

// One frame of a part on the belts.
struct MachineItemStep {
    enum class Move : u8 { carry, enterMachine, fall };
    float travelled = 0.0f;
    // The part may no longer be taken by an arm.
    bool leavesReach = false;
    Move move = Move::carry;
    // Carry: the move along x in the part's parent.
    float dx = 0.0f;
};
// step = speed x dt / 0.4 is added to travelled. Past 920 travelled, or
// moving back (speed < 0) left of x = 80, the part leaves the reach; past
// 1120, or moving back left of 80, it falls; else still in the dispenser
// and past 130 it enters the machine (without moving this frame); else it
// moves by step.
MachineItemStep machineItemStep(float speed, float travelled, float dt, float x, bool inDispenser);

// An arm's phase: 0 resting (at least 1.5 s), 1 a claw holding a part
// (0.6 s), 3 working (0.6 s).
struct MachineArmState {
    u8 kind = 13;
    float timer = 0.0f;
    u32 phase = 0;
};
enum class MachineArmAct : u8 { none, grab, turnTowards, drop, rest };
// Adds dt to the timer and applies the first rule that holds: resting for
// 1.5 s with a part in reach (asked only then): a claw grabs it (phase 1),
// another arm turns towards it (phase 3); holding for 0.6 s: drop (phase 3);
// working for 0.6 s: back to rest (phase 0). Each change restarts the timer.
MachineArmAct stepMachineArm(MachineArmState& arm, float dt, const std::function<bool()>& partInReach);

// A part on the belts: its sprite, speed along x (a frame moves it by
// speed x dt / 0.4) and the distance travelled.
struct MachineItem {
    cocos2d::Sprite* sprite = nullptr;
    float speed = 0.0f;
    float travelled = 0.0f;
    // An arm reaches for it: it does not fall before the arm has it.
    bool claimed = false;
};

// A belt piece: the piece frame over a grey fill, with the clipped belt
// lines "p3_conveyor_lines.png" that scroll while running, and (unrotated
// pieces) wheels "conveyor_wheels_1.png" .. 3 turning at 1/12 s a frame.
class P3Conveyor : public cocos2d::Sprite {
public:
    static P3Conveyor* create(const cocos2d::Color3B& fill, const std::string& pieceFrame,
                              const cocos2d::Vec2& stencilLowerLeft, const cocos2d::Vec2& stencilUpperRight);
    bool initWithLook(const cocos2d::Color3B& fill, const std::string& pieceFrame,
                      const cocos2d::Vec2& stencilLowerLeft, const cocos2d::Vec2& stencilUpperRight);

    void update(float dt) override;
    // Reversed: the lines run the other way from the far end.
    void setReversed();
    void setFlipped();
    void addWheels();
    // Runs the belt (and the wheels) and schedules the update.
    void start();

    cocos2d::Sprite* getPiece() const { return piece_; }
    cocos2d::Sprite* getLines() const { return lines_; }
    cocos2d::Sprite* getWheels() const { return wheels_; }
    float getScrollOffset() const { return scrollOffset_; }
    bool isForward() const { return forward_; }

private:
    cocos2d::Sprite* piece_ = nullptr;
    cocos2d::DrawNode* fill_ = nullptr;
    cocos2d::ClippingNode* clip_ = nullptr;
    cocos2d::DrawNode* stencil_ = nullptr;
    cocos2d::Sprite* lines_ = nullptr;
    cocos2d::Sprite* wheels_ = nullptr;
    cocos2d::RefPtr<cocos2d::Animate> wheelAnimation_;
    cocos2d::Vec2 linesBase_;
    bool running_ = false;
    bool forward_ = true;
    float scrollOffset_ = 0.0f;
    float speed_ = 100.0f;
};

// The part dispenser: back "conveyor_item_dispenser_back.png", front
// "conveyor_item_dispenser.png" and the flap "conveyor_flap_1.png" that
// swings (frames 1 to 11 and 1 again, 1/12 s each) when a part drops.
class ConveyorDispenser : public cocos2d::Sprite {
public:
    static ConveyorDispenser* create();
    bool init() override;

    // A new part sprite (a frame drawn from the visuals' random engine) inside
    // the dispenser under the flap; the flap swings.
    cocos2d::Sprite* dispenseItem();

    cocos2d::Sprite* getFlap() const { return flap_; }

private:
    cocos2d::Sprite* flap_ = nullptr;
    cocos2d::RefPtr<cocos2d::Animate> flapAnimation_;
};

// A hydraulic arm: base "arm_base.png", back arm "arm_backarm.png" and
// forearm "arm_forearm.png" (both anchored at 0.93 of their width), and a
// tip the machine adds to the forearm.
class HydrolicArm : public cocos2d::Sprite {
public:
    static HydrolicArm* create();
    bool init() override;

    // The rotations (upper: back arm, lower: forearm) that reach the world
    // point; the current ones when there is no solution.
    TwoBoneAngles solveAngles(const cocos2d::Vec2& worldTarget) const;
    // Turns both segments to the solution over 0.4 s.
    void turnTowards(const cocos2d::Vec2& worldTarget);
    // Turns towards the target, and after 0.4 s takes the part onto the
    // forearm (same place on screen); the part stops.
    void reachAndGrab(const cocos2d::Vec2& worldTarget, MachineItem* item);
    // Holding a part: turns towards the target, and after 0.4 s sets the part
    // back onto the machine (same place on screen) moving back at speed 100.
    void moveAndDrop(const cocos2d::Vec2& worldTarget, cocos2d::Node* machine);
    // Distance from the back arm's pivot to the world point, in the arm's space.
    float distanceTo(const cocos2d::Vec2& worldPoint) const;
    float reach() const { return backArmReach_ + forearmReach_; }

    void setTip(cocos2d::Sprite* tip) { tip_ = tip; }
    cocos2d::Sprite* getBackArm() const { return backArm_; }
    cocos2d::Sprite* getForearm() const { return forearm_; }
    cocos2d::Sprite* getTip() const { return tip_; }
    MachineItem* getHeldItem() const { return heldItem_; }

private:
    cocos2d::Sprite* base_ = nullptr;
    cocos2d::Sprite* backArm_ = nullptr;
    cocos2d::Sprite* forearm_ = nullptr;
    cocos2d::Sprite* tip_ = nullptr;
    // An entry of the machine's item map (stable while held), or null.
    MachineItem* heldItem_ = nullptr;
    float backArmReach_ = 0.0f;
    float forearmReach_ = 0.0f;
};

// The machine: builds its components from a layout, then dispenses parts
// every 0.85 s per dispenser, moves them along the belts, lets the arms work
// and drops parts at the belts' ends. Parts are kept in the order they were
// made, so that the arms choose alike in every run.
class P3MachineSystem : public cocos2d::Sprite {
public:
    static P3MachineSystem* create(GeometryLib::Point gridSize, float cellSize,
                                   const std::vector<MachineComponentRecord>& components);
    bool initWithLayout(GeometryLib::Point gridSize, float cellSize,
                        const std::vector<MachineComponentRecord>& components);

    // Runs the belts and wheels, turns each arm towards a point up and right
    // of it, and schedules the machine's update.
    void start();
    void update(float dt) override;

    struct ArmSlot {
        HydrolicArm* arm = nullptr;
        MachineArmState state;
    };
    struct DispenserSlot {
        ConveyorDispenser* dispenser = nullptr;
        float timer = 0.0f;
    };

    const std::vector<ArmSlot>& getArms() const { return arms_; }
    const std::vector<DispenserSlot>& getDispensers() const { return dispensers_; }
    const std::vector<P3Conveyor*>& getBelts() const { return belts_; }
    const std::map<u64, MachineItem>& getItems() const { return items_; }
    const std::set<u64>& getReachable() const { return reachable_; }

    // The first timer of the next arm made in the run: each arm takes it and
    // adds 1 s, so that the arms of one machine start 1 s apart. Main thread
    // only; tests put it back to 0.
    static void resetArmCounter();

private:
    void createComponent(const MachineComponentRecord& record);
    cocos2d::Vec2 cellCentre(const GeometryLib::Point& cell) const;
    void stepItems(float dt);
    void stepArms(float dt);
    void dropItem(u64 serial, MachineItem& item);

    std::vector<DispenserSlot> dispensers_;
    std::vector<ArmSlot> arms_;
    // Parts by the serial they were made with, oldest first.
    std::map<u64, MachineItem> items_;
    std::vector<P3Conveyor*> belts_;
    std::vector<MachineComponentRecord> layout_;
    float cellSize_ = 160.0f;
    GeometryLib::Point gridSize_;
    float frameTime_ = 0.0f;
    std::set<u64> reachable_;
    u64 nextSerial_ = 0;
};
