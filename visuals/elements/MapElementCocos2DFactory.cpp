#include "visuals/elements/MapElementCocos2DFactory.h"

#include <cmath>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/SpriteFrameCache.h"
#include "foundation/Error.h"
#include "map/import/GameMap.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/SwitchElement.h"
#include "presentation/effects/VisualRandom.h"
#include "presentation/mediators/MediatedSprite.h"
#include "simulation/scene/SteerableXDManager.h"
#include "visuals/elements/BigWindow.h"
#include "visuals/elements/CatAndRoomba.h"
#include "visuals/elements/CheckpointVisual.h"
#include "visuals/elements/CoinVisual.h"
#include "visuals/elements/ConveyorMachine.h"
#include "visuals/elements/DoorVisual.h"
#include "visuals/elements/DynamicConveyor.h"
#include "visuals/elements/ElevatorPadVisual.h"
#include "visuals/elements/KeyCells.h"
#include "visuals/elements/LeverVisual.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "visuals/elements/PartVisual.h"
#include "world/elements/Collectable.h"
#include "world/elements/Floor.h"
#include "world/elements/MusicalNote.h"
#include "world/units/SecondarySteerableUnit.h"

namespace {

constexpr float kArtScale = 0.4f;
// How often a dormant hole looks whether it has woken (seconds).
constexpr float kFloorFollowStep = 0.05f;

template <class T>
const T& recordAs(const Zarn::MapElement& record) {
    const auto* typed = dynamic_cast<const T*>(&record);
    if (typed == nullptr) throw Convinience::Error("map element record of wrong class");
    return *typed;
}

template <class N>
N* made(N* node) {
    if (node == nullptr) throw Convinience::Error("element visual could not be made");
    return node;
}

Zarn::SteerableUnit* unitOf(Zarn::SteerableIME* element) {
    return element->steerable != nullptr ? &element->steerable->unit : nullptr;
}

}  // namespace

std::string randomFloorTileName(std::mt19937& engine) {
    std::uniform_int_distribution<int> draw(0, 9);
    return draw(engine) + 1 > 7 ? "p2_floor_0.png" : "p2_floor_2.png";
}

std::string randomFloorTileName() {
    std::random_device device;
    std::mt19937 engine(device());
    return randomFloorTileName(engine);
}

std::vector<Zarn::NodeMediator*> MapElementCocos2DFactory::createCellMarks(const Zarn::GameMap& map) {
    std::vector<Zarn::NodeMediator*> marks;
    const float cell = static_cast<float>(map.grid.getCellSize());
    for (const KeyCell& key : keyCells(map)) {
        MediatedSprite* mark = made(MediatedSprite::createWithSpriteFrameName(keyCellFrame(key.kind)));
        mark->setScale(kArtScale);
        mark->setPosition((static_cast<float>(key.cell.x) + 0.5f) * cell,
                          (static_cast<float>(key.cell.y) + 0.5f) * cell);
        if (zOrderCalculator != nullptr) mark->setLocalZOrder(zOrderCalculator->rowMiddle(key.cell.y) + 1);
        marks.push_back(mark->getMediator());
    }
    return marks;
}

template <class T>
T* MapElementCocos2DFactory::numbered(u32 number) const {
    if (numberedElements == nullptr) throw Convinience::Error("No such element number");
    return Zarn::getNumberedElement<T>(*numberedElements, number);
}

cocos2d::Node* MapElementCocos2DFactory::playerVisual() const {
    if (steerableVisuals == nullptr) return nullptr;
    Zarn::NodeMediator* visual = steerableVisuals->findVisualSteerable(0);
    return visual != nullptr ? CocosNodeBase::engineSide(visual).getNode() : nullptr;
}

void MapElementCocos2DFactory::registerSpeaker(const std::string& name, cocos2d::Node* node) {
    if (speakerNodes != nullptr) (*speakerNodes)[name] = node;
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::createTileElementVisual(
    const Zarn::ElementVisual& visual, const Zarn::WholeTileMapElement& record) {
    switch (visual.elementId) {
        case 42:
        case 440:
        case 441:
        case 442:
            return makeCheckpoint(visual, record);
        case 60:
            return makeElevatorPad(record);
        case 140:
            return makeConveyorTile(record);
        case 138:
        case 139:
            return makeDormantFloor(visual, record);
        case 379:
        case 383:
        case 384:
        case 385:
        case 386:
            return makeMusicalNote(visual, record);
        default:
            return makePlainTile(visual);
    }
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::createFreeElementVisual(
    const Zarn::ElementVisual& visual, const Zarn::FreeMapElement& record) {
    const u32 id = visual.elementId;
    if (id == 35 || id == 59 || id == 135) return makeLever(visual, record);
    if (id == 36 || id == 37) return makeDoor(visual, record);
    if (id >= 164 && id <= 167) return makeAutomaticDoor(visual, record);
    if (id == 212) return makeMachine();
    if (id >= 268 && id <= 271) return makeBigWindow(visual);
    if (id == 300 || id == 302) return makeRoomba(visual, record);
    if (id == 301) return makeDrone(record);
    if (id == 332 || id == 336) return makeCat(visual);
    if (id >= 348 && id <= 355) return makeCoin(visual, record);
    if (id == 358) return makePart(record);
    if (id >= 389 && id <= 394) return makePlant(visual);
    Zarn::Sprite2DMediator* prop = makePlainTile(visual);
    if (id == 387 || id == 388) deliveryTargets_.push_back(CocosNodeBase::engineSide(prop).getNode());
    return prop;
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makePlainTile(const Zarn::ElementVisual& visual) {
    auto mediator = std::make_unique<PlainElementVisualMediator>(defaultElementAnimations());
    const u32 id = visual.elementId;
    const std::string frame = id == 148 || id == 149 ? randomFloorTileName() : visual.frameName;
    MediatedAnimatedSprite* sprite = made(MediatedAnimatedSprite::create(
        cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(frame), std::move(mediator)));
    sprite->setScale(kArtScale);
    if (id >= 31 && id <= 34) {
        cocos2d::Animate* belt = createAnimateFromFrameNames(numberedFrames("Conveyor_", 1, 5), 1.0f / 15.0f);
        sprite->runAction(cocos2d::RepeatForever::create(cocos2d::Sequence::create(belt, belt->reverse())));
    }
    return sprite->getMediator();
}

static const std::string& wokenFloorFrame(u32 elementId) {
    static const std::string pit = "floor_pit.png";
    static const std::string hole = "floor_hole.png";
    return elementId == 138 ? pit : hole;
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeDormantFloor(const Zarn::ElementVisual& visual,
                                                                   const Zarn::WholeTileMapElement& record) {
    Zarn::Sprite2DMediator* mediator = makePlainTile(visual);
    const Zarn::Floor* floor = numbered<Zarn::Floor>(recordAs<Zarn::TileNumberedMapElement>(record).number);
    cocos2d::Sprite* sprite = static_cast<cocos2d::Sprite*>(CocosNodeBase::engineSide(mediator).getNode());
    const std::string dormant = visual.frameName;
    const std::string woken = wokenFloorFrame(visual.elementId);
    // The client's floor lives on this (the main) thread as long as the level.
    auto follow = [sprite, floor, dormant, woken] {
        const std::string& want = floor->isEnabled() ? woken : dormant;
        cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(want);
        if (frame != nullptr && sprite->getSpriteFrame() != frame) sprite->setSpriteFrame(frame);
    };
    follow();
    sprite->runAction(cocos2d::RepeatForever::create(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kFloorFollowStep), cocos2d::CallFunc::create(follow))));
    return mediator;
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeCheckpoint(const Zarn::ElementVisual& visual,
                                                                 const Zarn::WholeTileMapElement& record) {
    const u32 id = visual.elementId;
    const u32 variant = id == 42 ? 1 : id - 438;
    auto* checkpoint = numbered<Zarn::Checkpoint>(recordAs<Zarn::TileNumberedMapElement>(record).number);
    CheckpointCocos2D* node = made(CheckpointCocos2D::create(checkpoint, variant, defaultElementAnimations(),
                                                             tileVisualGroups, zOrderCalculator));
    node->setScale(kArtScale);
    return node->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeElevatorPad(const Zarn::WholeTileMapElement& record) {
    auto* pad = numbered<Zarn::ElevatorPad>(recordAs<Zarn::TileNumberedMapElement>(record).number);
    ElevatorPadCocos2D* node =
        made(ElevatorPadCocos2D::create(pad, tileVisualGroups, zOrderCalculator, steerableVisuals));
    node->setScale(kArtScale);
    return node->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeConveyorTile(const Zarn::WholeTileMapElement& record) {
    const auto& belt = recordAs<Zarn::ConveyorElement>(record);
    auto* floor = numbered<Zarn::Floor>(belt.number);
    auto* tile = made(SimpleTiledIMECocos2D<Zarn::InteractiveMapElementState>::create(
        "", floor, defaultElementAnimations(), tileVisualGroups, zOrderCalculator));
    DynamicConveyor* conveyor = made(DynamicConveyor::create());
    tile->addChild(conveyor);
    conveyor->speed = belt.speed;
    const cocos2d::Size size = conveyor->getContentSize();
    conveyor->setPosition(size.width / 2.0f, size.height / 2.0f);
    tile->setContentSize(size);
    conveyor->running = true;
    conveyor->scheduleUpdate();
    if (belt.direction == 0) tile->setRotation(-90.0f);
    if (belt.direction == 1) tile->setRotation(90.0f);
    if (belt.direction == 2) tile->setRotation(-180.0f);
    tile->setScale(kArtScale);
    return tile->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeMusicalNote(const Zarn::ElementVisual& visual,
                                                                  const Zarn::WholeTileMapElement& record) {
    const auto& noteRecord = recordAs<Zarn::MusicalNoteElement>(record);
    MusicalNoteCocos2D* note = made(MusicalNoteCocos2D::create());
    note->showPitch(noteRecord.note, visual.elementId == 379);
    auto mediator = std::make_unique<MusicalNoteVisualMediator>(nullptr, note, &noteRecord);
    auto* element = numbered<Zarn::MusicalNote>(noteRecord.number);
    if (visual.elementId != 379)
        for (cocos2d::Sprite* corner : note->getCorners()) corner->setVisible(false);
    auto* tile = made(SimpleTiledIMECocos2D<Zarn::MusicalNoteIMEState>::create(
        "", element, defaultElementAnimations(), tileVisualGroups, zOrderCalculator, std::move(mediator)));
    tile->setContentSize(cocos2d::Size(160.0f, 160.0f));
    tile->addChild(note);
    note->setPosition(80.0f, 80.0f);
    tile->setScale(kArtScale);
    return tile->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeLever(const Zarn::ElementVisual& visual,
                                                            const Zarn::FreeMapElement& record) {
    auto* lever = numbered<Zarn::Lever>(recordAs<Zarn::SwitchElement>(record).number);
    LeverCocos2D* node = made(LeverCocos2D::create(lever, visual.frameName));
    node->setScale(kArtScale);
    return node->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeDoor(const Zarn::ElementVisual& visual,
                                                           const Zarn::FreeMapElement& record) {
    auto* door = numbered<Zarn::Door>(recordAs<Zarn::FreeNumberedMapElement>(record).number);
    auto mediator =
        std::make_unique<DoorVisualMediator>(nullptr, defaultElementAnimations(), door->doorRecord);
    DoorVisualMediator* doorMediator = mediator.get();
    auto* node = made(SimpleElementCocos2D<Zarn::Door, Zarn::DoorIMEState>::create(door, visual.frameName,
                                                                                   std::move(mediator)));
    doorMediator->preparePositions();
    node->setScale(kArtScale);
    return node->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeAutomaticDoor(const Zarn::ElementVisual& visual,
                                                                    const Zarn::FreeMapElement& record) {
    auto* door = numbered<Zarn::AutomaticDoor>(recordAs<Zarn::FreeNumberedMapElement>(record).number);
    AutomaticDoorCocos2D* node =
        made(AutomaticDoorCocos2D::create(door, visual.elementId - 163, defaultElementAnimations()));
    node->setScale(kArtScale);
    return node->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeMachine() {
    MediatedSprite* container = made(MediatedSprite::create());
    P3MachineSystem* machine =
        made(P3MachineSystem::create(GeometryLib::Point(8, 3), 160.0f, factoryMachineLayout()));
    const cocos2d::Size size = machine->getContentSize();
    container->setContentSize(size);
    container->addChild(machine);
    machine->setPosition(size.width / 2.0f, size.height / 2.0f);
    machine->start();
    container->setScale(kArtScale);
    return container->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeBigWindow(const Zarn::ElementVisual& visual) {
    BigWindow* window = made(BigWindow::create(static_cast<int>(visual.elementId) - 267));
    window->setScale(kArtScale);
    window->followedNode = playerVisual();
    return window->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeRoomba(const Zarn::ElementVisual& visual,
                                                             const Zarn::FreeMapElement& record) {
    using Circle = Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>;
    const u32 number = recordAs<Circle>(record).number;
    RoombaCocos2D* roomba = made(RoombaCocos2D::create(zOrderCalculator));
    auto* element = numbered<Zarn::SteerableIME>(number);
    roomba->setScale(kArtScale);
    roomba->getCat()->player = playerVisual();
    roomba->getCat()->scheduleUpdate();
    roomba->attachUnit(unitOf(element));
    if (visual.elementId == 302) registerSpeaker("Cat", roomba);
    return roomba->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeDrone(const Zarn::FreeMapElement& record) {
    using Circle = Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>;
    auto* element = numbered<Zarn::SteerableIME>(recordAs<Circle>(record).number);
    DeliveryDroneCocos2D* drone =
        made(DeliveryDroneCocos2D::create(element, zOrderCalculator, &deliveryTargets_));
    drone->setScale(kArtScale);
    return drone->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeCat(const Zarn::ElementVisual& visual) {
    MediatedSprite* container = made(MediatedSprite::create());
    CatCocos2D* cat = made(CatCocos2D::create());
    if (visual.elementId == 336 && !cat->mirrored) {
        cat->setScaleX(-std::fabs(cat->getScaleX()));
        cat->mirrored = true;
    }
    cat->player = playerVisual();
    cat->scheduleUpdate();
    const cocos2d::Size size = cat->getContentSize();
    container->setContentSize(size);
    cat->setPosition(size.width / 2.0f, size.height / 2.0f);
    container->addChild(cat);
    container->setScale(kArtScale);
    return container->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makeCoin(const Zarn::ElementVisual& visual,
                                                           const Zarn::FreeMapElement& record) {
    auto* coin = numbered<Zarn::Collectable>(recordAs<Zarn::CoinElement>(record).number);
    auto mediator = std::make_unique<CoinVisualMediator>(nullptr, defaultElementAnimations());
    CoinVisualMediator* coinMediator = mediator.get();
    auto* node = made(SimpleElementCocos2D<Zarn::Collectable, Zarn::CollectableIMEState>::create(
        coin, visual.frameName, std::move(mediator)));
    node->setScale(kArtScale);
    node->setContentSize(cocos2d::Size::ZERO);
    // The adapter reports every state but its starting copy's (lying): a coin
    // that lies already starts idling here.
    if (coin->state.value == Zarn::ECollectableState::lying) coinMediator->onStateChanged(0, 0);
    return node->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makePart(const Zarn::FreeMapElement& record) {
    using Circle = Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>;
    auto* element = numbered<Zarn::SteerableIME>(recordAs<Circle>(record).number);
    PARTCocos2D* part = made(PARTCocos2D::create(unitOf(element), zOrderCalculator));
    part->setScale(kArtScale);
    registerSpeaker("PART", part);
    return part->getMediator();
}

Zarn::Sprite2DMediator* MapElementCocos2DFactory::makePlant(const Zarn::ElementVisual& visual) {
    MediatedSprite* base = made(MediatedSprite::createWithSpriteFrameName(visual.frameName));
    const int index = visualRandomInt(0, 2);
    cocos2d::Sprite* top =
        cocos2d::Sprite::createWithSpriteFrameName("p2_plant_top_" + std::to_string(index) + ".png");
    const cocos2d::Size size = base->getContentSize();
    top->setPosition(size.width / 2.0f, size.height);
    base->addChild(top);
    base->setScale(kArtScale);
    return base->getMediator();
}
