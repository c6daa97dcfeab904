#include "visuals/elements/ConveyorMachine.h"

#include <cmath>

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "foundation/Error.h"
#include "presentation/effects/VisualRandom.h"
#include "visuals/traps/VisualActions.h"

using cocos2d::Vec2;

namespace {
// The first timer of the next arm; main thread only.
float armCounter = 0.0f;

const cocos2d::Color3B kBeltFill(108, 125, 132);

// Moves the node from its parent to the new parent, keeping its place on
// screen.
void moveKeepingPlace(cocos2d::Node* node, cocos2d::Node* newParent) {
    const Vec2 world = node->getParent()->convertToWorldSpace(node->getPosition());
    const int z = node->getLocalZOrder();
    node->retain();
    node->removeFromParentAndCleanup(false);
    newParent->addChild(node, z);
    node->release();
    node->setPosition(newParent->convertToNodeSpace(world));
}
}  // namespace

MachineComponentKind machineComponentKind(u8 kind) {
    MachineComponentKind k;
    if (kind > 15) throw Convinience::Error("no such component");
    if (kind == 12) {
        k.type = MachineComponentKind::Type::dispenser;
        return k;
    }
    if (kind >= 13) {
        static const char* const tips[3] = {"arm_tip_claw.png", "arm_tip_torch.png", "arm_tip_weld.png"};
        k.type = MachineComponentKind::Type::arm;
        k.frame = tips[kind - 13];
        return k;
    }
    if (kind <= 3) {
        k.frame = "conveyor_middle.png";
        k.reversed = kind == 1;
        k.rotation = kind == 2 ? -90.0f : kind == 3 ? 90.0f : 0.0f;
    } else if (kind <= 7) {
        k.frame = "conveyor_horizontal_end.png";
        k.stencilUpperRight = Vec2(-3.0f, -4.0f);
        k.reversed = kind >= 6;
        k.flipped = kind == 5 || kind == 7;
    } else {
        k.frame = "conveyor_vertical_end.png";
        k.stencilLowerLeft = Vec2(0.0f, 4.0f);
        k.stencilUpperRight = Vec2(-3.0f, -4.0f);
        k.rotation = kind % 2 == 0 ? -90.0f : 90.0f;
        k.reversed = kind >= 10;
    }
    return k;
}

const std::vector<MachineComponentRecord>& factoryMachineLayout() {
    using GeometryLib::Point;
    static const std::vector<MachineComponentRecord> layout = {
        {12, Point(0, 1)}, {0, Point(1, 1)},  {0, Point(2, 1)}, {0, Point(3, 1)},  {0, Point(4, 1)},
        {0, Point(5, 1)},  {4, Point(6, 1)},  {6, Point(6, 3)}, {1, Point(5, 3)},  {1, Point(4, 3)},
        {1, Point(3, 3)},  {1, Point(2, 3)},  {7, Point(1, 3)}, {15, Point(2, 2)}, {14, Point(3, 2)},
        {13, Point(4, 2)}, {13, Point(5, 2)},
    };
    return layout;
}

const std::vector<std::string>& conveyorItemFrameNames() {
    static const std::vector<std::string> names = {
        "arm_tip_claw.png",
        "arm_tip_torch.png",
        "arm_tip_weld.png",
        "p2_coffee_cup.png",
        "p2_monitor_0.png",
        "p2_plant_vase_2.png",
        "p3_calculator.png",
        "roomba.png",
        "fp_trap_door_bottom_left.png",
        "fp_trap_door_bottom_right.png",
        "fp_trap_door_top_left.png",
        "fp_trap_door_top_right.png",
        "arm_backarm.png",
        "arm_forearm.png",
        "arm_base.png",
        "delivery_drone_shoulder_inner.png",
        "delivery_drone_wheels_1.png",
        "p2_plant_vase_2.png",
        "p3_calculator.png",
        "arm_base.png",
        "delivery_drone_forearm.png",
        "delivery_drone_head.png",
        "delivery_drone_body.png",
    };
    return names;
}

float machineBeltScrollStep(float offset, float speed, float dt, bool forward) {
    const float step = speed * dt / 0.4f;
    offset += forward ? step : -step;
    if (std::fabs(offset) > 160.0f) offset += forward ? -160.0f : 160.0f;
    return offset;
}

MachineItemStep machineItemStep(float speed, float travelled, float dt, float x, bool inDispenser) {
    MachineItemStep s;
    const float step = speed * dt / 0.4f;
    s.travelled = travelled + step;
    const bool backPastStart = speed < 0.0f && x < 80.0f;
    s.leavesReach = s.travelled > 920.0f || backPastStart;
    if (s.travelled > 1120.0f || backPastStart) {
        s.move = MachineItemStep::Move::fall;
    } else if (s.travelled > 130.0f && inDispenser) {
        s.move = MachineItemStep::Move::enterMachine;
    } else {
        s.dx = step;
    }
    return s;
}

MachineArmAct stepMachineArm(MachineArmState& arm, float dt, const std::function<bool()>& partInReach) {
    arm.timer += dt;
    if (arm.phase == 0 && arm.timer >= 1.5f) {
        if (!partInReach()) return MachineArmAct::none;
        arm.timer = 0.0f;
        if (arm.kind == 13) {
            arm.phase = 1;
            return MachineArmAct::grab;
        }
        arm.phase = 3;
        return MachineArmAct::turnTowards;
    }
    if (arm.phase == 1 && arm.timer >= 0.6f) {
        arm.phase = 3;
        arm.timer = 0.0f;
        return MachineArmAct::drop;
    }
    if (arm.phase == 3 && arm.timer >= 0.6f) {
        arm.phase = 0;
        arm.timer = 0.0f;
        return MachineArmAct::rest;
    }
    return MachineArmAct::none;
}

// Belt pieces.

P3Conveyor* P3Conveyor::create(const cocos2d::Color3B& fill, const std::string& pieceFrame,
                               const Vec2& stencilLowerLeft, const Vec2& stencilUpperRight) {
    return cocos2d::createWithMethod<P3Conveyor>(&P3Conveyor::initWithLook, fill, pieceFrame,
                                                 stencilLowerLeft, stencilUpperRight);
}

bool P3Conveyor::initWithLook(const cocos2d::Color3B& fill, const std::string& pieceFrame,
                              const Vec2& stencilLowerLeft, const Vec2& stencilUpperRight) {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    piece_ = Sprite::createWithSpriteFrameName(pieceFrame);
    if (piece_ == nullptr) return false;
    const Size s = piece_->getContentSize();
    const Vec2 half(s.width / 2.0f, s.height / 2.0f);
    setContentSize(s);
    piece_->setPosition(half);
    fill_ = DrawNode::create(2.0f);
    fill_->drawSolidRect(-half, half, Color4F(fill, 1.0f));
    stencil_ = DrawNode::create(2.0f);
    stencil_->drawSolidRect(-half + stencilLowerLeft, half + stencilUpperRight, Color4F::BLACK);
    clip_ = ClippingNode::create(stencil_);
    clip_->setPosition(half);
    addChild(clip_);
    addChild(piece_);
    lines_ = Sprite::createWithSpriteFrameName("p3_conveyor_lines.png");
    clip_->addChild(fill_);
    clip_->addChild(lines_);
    linesBase_ = Vec2((s.width - lines_->getContentSize().width) * 0.5f, 0.0f);
    lines_->setPosition(linesBase_);
    return true;
}

void P3Conveyor::setReversed() {
    forward_ = false;
    scrollOffset_ = 0.0f;
    linesBase_ = Vec2((lines_->getContentSize().width - piece_->getContentSize().width) * 0.5f, 0.0f);
    lines_->setPosition(linesBase_);
}

void P3Conveyor::setFlipped() {
    piece_->setFlippedX(true);
    stencil_->setScaleX(-1.0f);
}

void P3Conveyor::addWheels() {
    wheels_ = cocos2d::Sprite::createWithSpriteFrameName("conveyor_wheels_1.png");
    addChild(wheels_);
    wheels_->setPosition(piece_->getContentSize().width * 0.5f,
                         3.0f - wheels_->getContentSize().height * 0.5f);
    wheelAnimation_ = createAnimateFromFrameNames(numberedFrames("conveyor_wheels_", 1, 3), 1.0f / 12.0f);
}

void P3Conveyor::start() {
    running_ = true;
    scheduleUpdate();
    if (wheels_ != nullptr) wheels_->runAction(cocos2d::RepeatForever::create(wheelAnimation_->clone()));
}

void P3Conveyor::update(float dt) {
    if (!running_) return;
    scrollOffset_ = machineBeltScrollStep(scrollOffset_, speed_, dt, forward_);
    lines_->setPositionX(linesBase_.x + scrollOffset_);
}

// The dispenser.

ConveyorDispenser* ConveyorDispenser::create() {
    return cocos2d::createWithMethod<ConveyorDispenser>(&ConveyorDispenser::init);
}

bool ConveyorDispenser::init() {
    using namespace cocos2d;
    if (!initWithSpriteFrameName("conveyor_item_dispenser_back.png")) return false;
    Sprite* front = Sprite::createWithSpriteFrameName("conveyor_item_dispenser.png");
    addChild(front, 2);
    front->setPosition(getContentSize().width / 2.0f, getContentSize().height / 2.0f);
    flap_ = Sprite::createWithSpriteFrameName("conveyor_flap_1.png");
    addChild(flap_, 3);
    flap_->setPosition(Vec2(130.0f, 15.0f) +
                       Vec2(flap_->getContentSize().width / 2.0f, flap_->getContentSize().height / 2.0f));
    std::vector<std::string> frames = numberedFrames("conveyor_flap_", 1, 11);
    frames.push_back("conveyor_flap_1.png");
    flapAnimation_ = createAnimateFromFrameNames(frames, 1.0f / 12.0f);
    return true;
}

cocos2d::Sprite* ConveyorDispenser::dispenseItem() {
    const std::vector<std::string>& frames = conveyorItemFrameNames();
    const int index = visualRandomInt(0, static_cast<int>(frames.size()) - 1);
    cocos2d::Sprite* item =
        cocos2d::Sprite::createWithSpriteFrameName(frames[static_cast<std::size_t>(index)]);
    addChild(item, 1);
    item->setPosition(flap_->getPosition() + Vec2(-50.0f, -40.0f));
    flap_->runAction(flapAnimation_->clone());
    return item;
}

// Hydraulic arms.

HydrolicArm* HydrolicArm::create() {
    return cocos2d::createWithMethod<HydrolicArm>(&HydrolicArm::init);
}

bool HydrolicArm::init() {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    base_ = Sprite::createWithSpriteFrameName("arm_base.png");
    backArm_ = Sprite::createWithSpriteFrameName("arm_backarm.png");
    forearm_ = Sprite::createWithSpriteFrameName("arm_forearm.png");
    addChild(base_);
    base_->setPosition(Vec2::ZERO);
    backArm_->setAnchorPoint(Vec2(0.93f, 0.5f));
    backArm_->setPosition(0.0f, 15.0f);
    addChild(backArm_);
    forearm_->setAnchorPoint(Vec2(0.93f, 0.5f));
    backArm_->addChild(forearm_);
    forearm_->setPosition(0.0f, 15.0f);
    backArmReach_ = backArm_->getContentSize().width - 30.0f;
    forearmReach_ = forearm_->getContentSize().width + 20.0f;
    return true;
}

TwoBoneAngles HydrolicArm::solveAngles(const Vec2& worldTarget) const {
    const Vec2 target = convertToNodeSpace(worldTarget);
    TwoBoneAngles angles = solveTwoBoneArm(target - backArm_->getPosition(), backArmReach_, forearmReach_);
    if (!angles.solved) {
        angles.upper = backArm_->getRotation();
        angles.lower = forearm_->getRotation();
    }
    return angles;
}

float HydrolicArm::distanceTo(const Vec2& worldPoint) const {
    return convertToNodeSpace(worldPoint).distance(backArm_->getPosition());
}

void HydrolicArm::turnTowards(const Vec2& worldTarget) {
    const TwoBoneAngles angles = solveAngles(worldTarget);
    forearm_->runAction(cocos2d::RotateTo::create(0.4f, angles.lower));
    backArm_->runAction(cocos2d::RotateTo::create(0.4f, angles.upper));
}

void HydrolicArm::reachAndGrab(const Vec2& worldTarget, MachineItem* item) {
    turnTowards(worldTarget);
    runAction(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(0.4f), cocos2d::CallFunc::create([this, item] {
                                      moveKeepingPlace(item->sprite, forearm_);
                                      heldItem_ = item;
                                      item->speed = 0.0f;
                                      item->travelled = 0.0f;
                                      item->claimed = false;
                                  })));
}

void HydrolicArm::moveAndDrop(const Vec2& worldTarget, cocos2d::Node* machine) {
    if (heldItem_ == nullptr) return;
    turnTowards(worldTarget);
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.4f),
                                        cocos2d::CallFunc::create([this, machine] {
                                            if (heldItem_ == nullptr) return;
                                            heldItem_->speed = -100.0f;
                                            moveKeepingPlace(heldItem_->sprite, machine);
                                            heldItem_ = nullptr;
                                        })));
}

// The machine.

void P3MachineSystem::resetArmCounter() {
    armCounter = 0.0f;
}

P3MachineSystem* P3MachineSystem::create(GeometryLib::Point gridSize, float cellSize,
                                         const std::vector<MachineComponentRecord>& components) {
    return cocos2d::createWithMethod<P3MachineSystem>(&P3MachineSystem::initWithLayout, gridSize, cellSize,
                                                      components);
}

bool P3MachineSystem::initWithLayout(GeometryLib::Point gridSize, float cellSize,
                                     const std::vector<MachineComponentRecord>& components) {
    if (!Sprite::init()) return false;
    gridSize_ = gridSize;
    cellSize_ = cellSize;
    layout_ = components;
    setContentSize(cocos2d::Size(gridSize.x * cellSize, gridSize.y * cellSize));
    for (const MachineComponentRecord& record : layout_) createComponent(record);
    return true;
}

Vec2 P3MachineSystem::cellCentre(const GeometryLib::Point& cell) const {
    return Vec2((cell.x + 0.5f) * cellSize_, (cell.y + 0.5f) * cellSize_);
}

void P3MachineSystem::createComponent(const MachineComponentRecord& record) {
    const MachineComponentKind kind = machineComponentKind(record.kind);
    const Vec2 centre = cellCentre(record.cell);
    switch (kind.type) {
        case MachineComponentKind::Type::belt: {
            P3Conveyor* belt =
                P3Conveyor::create(kBeltFill, kind.frame, kind.stencilLowerLeft, kind.stencilUpperRight);
            if (kind.reversed) belt->setReversed();
            belt->setRotation(kind.rotation);
            if (kind.flipped) belt->setFlipped();
            belt->setPosition(centre);
            if (kind.rotation == 0.0f) belt->addWheels();
            addChild(belt);
            belts_.push_back(belt);
            return;
        }
        case MachineComponentKind::Type::dispenser: {
            ConveyorDispenser* dispenser = ConveyorDispenser::create();
            dispensers_.push_back({dispenser, 0.0f});
            dispenser->setPosition(centre + Vec2(-15.0f, 45.0f));
            addChild(dispenser, 1);
            return;
        }
        case MachineComponentKind::Type::arm: {
            HydrolicArm* arm = HydrolicArm::create();
            cocos2d::Sprite* tip = cocos2d::Sprite::createWithSpriteFrameName(kind.frame);
            tip->setAnchorPoint(Vec2(0.95f, 0.5f));
            arm->getForearm()->addChild(tip);
            tip->setPosition(10.0f, arm->getForearm()->getContentSize().height * 0.5f);
            arm->setTip(tip);
            arms_.push_back({arm, MachineArmState{record.kind, armCounter, 0}});
            armCounter += 1.0f;
            arm->setPosition(centre);
            addChild(arm, 2);
            return;
        }
    }
}

void P3MachineSystem::start() {
    for (P3Conveyor* belt : belts_) belt->start();
    for (ArmSlot& slot : arms_) {
        const Vec2 at = convertToWorldSpace(slot.arm->getPosition()) + Vec2(50.0f, 50.0f);
        slot.arm->turnTowards(at);
    }
    scheduleUpdate();
}

void P3MachineSystem::update(float dt) {
    frameTime_ = dt;
    for (DispenserSlot& slot : dispensers_) {
        slot.timer += dt;
        if (slot.timer < 0.85f) continue;
        items_.emplace(nextSerial_++, MachineItem{slot.dispenser->dispenseItem(), 100.0f, 0.0f});
        slot.timer = 0.0f;
    }
    stepItems(dt);
    stepArms(dt);
}

void P3MachineSystem::stepItems(float dt) {
    for (auto it = items_.begin(); it != items_.end();) {
        MachineItem& item = it->second;
        const bool inDispenser = item.sprite->getParent() != this;
        const MachineItemStep step =
            machineItemStep(item.speed, item.travelled, dt, item.sprite->getPositionX(), inDispenser);
        item.travelled = step.travelled;
        if (step.leavesReach) reachable_.erase(it->first);
        MachineItemStep::Move move = step.move;
        if (move == MachineItemStep::Move::fall && item.claimed) move = MachineItemStep::Move::carry;
        switch (move) {
            case MachineItemStep::Move::fall:
                dropItem(it->first, item);
                it = items_.erase(it);
                continue;
            case MachineItemStep::Move::enterMachine:
                moveKeepingPlace(item.sprite, this);
                reachable_.insert(it->first);
                break;
            case MachineItemStep::Move::carry:
                item.sprite->setPositionX(item.sprite->getPositionX() + step.dx);
                break;
        }
        ++it;
    }
}

void P3MachineSystem::dropItem(u64 serial, MachineItem& item) {
    using namespace cocos2d;
    reachable_.erase(serial);
    const float r = visualRandomUnit() * 180.0f - 90.0f;
    item.sprite->runAction(Sequence::create(
        EaseOut::create(Spawn::create(MoveBy::create(0.1f, Vec2(-20.0f, -20.0f)), RotateBy::create(0.1f, r)),
                        3.0f),
        DelayTime::create(10.0f), RemoveSelf::create(true)));
}

void P3MachineSystem::stepArms(float dt) {
    for (ArmSlot& slot : arms_) {
        HydrolicArm* arm = slot.arm;
        u64 chosen = 0;
        Vec2 aim;
        const auto partInReach = [&] {
            for (u64 serial : reachable_) {
                const MachineItem& item = items_.at(serial);
                const Vec2 candidate = convertToWorldSpace(item.sprite->getPosition() + Vec2(100.0f, 0.0f));
                if (arm->distanceTo(candidate) < arm->reach()) {
                    chosen = serial;
                    aim = candidate;
                    return true;
                }
            }
            return false;
        };
        switch (stepMachineArm(slot.state, dt, partInReach)) {
            case MachineArmAct::grab: {
                reachable_.erase(chosen);
                MachineItem& item = items_.at(chosen);
                item.claimed = true;
                arm->reachAndGrab(aim, &item);
                break;
            }
            case MachineArmAct::turnTowards:
                arm->turnTowards(aim);
                break;
            case MachineArmAct::drop:
                arm->moveAndDrop(convertToWorldSpace(arm->getPosition() + Vec2(160.0f, 160.0f)), this);
                break;
            case MachineArmAct::rest:
                arm->turnTowards(convertToWorldSpace(arm->getPosition()) + Vec2(20.0f, 20.0f));
                break;
            case MachineArmAct::none:
                break;
        }
    }
}
