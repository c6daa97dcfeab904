#include <gtest/gtest.h>

#include "map/records/ElevatorPadElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MapEventData.h"
#include "presentation/PresentationFrames.h"
#include "support/EveryElementRoom.h"
#include "support/FrameManifest.h"
#include "visuals/elements/CheckpointVisual.h"
#include "visuals/elements/DeliveryDrone.h"
#include "visuals/elements/DoorVisual.h"
#include "visuals/elements/ElementFrames.h"
#include "visuals/elements/ElevatorPadVisual.h"
#include "visuals/elements/LeverVisual.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/Floor.h"

namespace {

using GeometryLib::Point;

// The manifest's [elements] family is exactly the list the element visuals'
// code keeps.
TEST(ElementFrameManifest, TheElementsFamilyListsExactlyTheNamesTheCodeKeeps) {
    zarn_test::expectFamilyListsExactly(ZARN_FRAME_MANIFEST, "elements", elementVisualFrameNames());
}

// Every element visual built and run through its reactions, with every frame
// that the sprite-frame cache is asked for recorded: the element visuals ask
// for every listed name and for nothing unlisted (the dust is the
// presentation's).
class ElementFrameRequests : public zarn_test::ElementSceneFixture {
protected:
    void SetUp() override {
        ElementSceneFixture::SetUp();
        frames = std::make_unique<zarn_test::FrameRequests>();
    }
    void TearDown() override {
        frames.reset();
        ElementSceneFixture::TearDown();
    }

    template <class Record>
    void addVisual(const Zarn::ElementVisual& visual, const Record& record) {
        Zarn::NodeMediator* node = nullptr;
        if constexpr (std::is_base_of_v<Zarn::WholeTileMapElement, Record>) {
            node = elements->createTileElementVisual(visual, record);
        } else {
            node = elements->createFreeElementVisual(visual, record);
        }
        layer->addChild(node);
    }

    std::unique_ptr<zarn_test::FrameRequests> frames;
};

TEST_F(ElementFrameRequests, EveryVisualAsksForEveryListedFrameAndNoOther) {
    load(zarn_test::room::everyElement());

    // Every plain row of the tables (a random floor often enough to show both).
    const std::set<u32> numbered{42, 440, 441, 442, 140, 379, 383, 138, 139};
    for (const auto& [id, row] : Zarn::tileVisualTable()) {
        if (row.frameName.empty() || numbered.count(id)) continue;
        for (int i = 0; i < (id == 148 ? 60 : 1); ++i) addVisual(row, zarn_test::room::tile(id, Point(9, 9)));
    }
    for (const auto& [id, row] : Zarn::freeVisualTable()) {
        if (id == 35 || id == 59 || id == 135 || id == 36 || id == 37 || (id >= 164 && id <= 167) ||
            id == 348 || (id >= 300 && id <= 302) || id == 358)
            continue;
        for (int i = 0; i < (id == 389 ? 30 : 1); ++i)
            addVisual(row, zarn_test::room::prop(id, Point(600, 600)));
    }
    // The elements no map can place: the elevator pad and the fourth window.
    Zarn::ElevatorPadElement padRecord;
    padRecord.elementId = 60;
    padRecord.cell = Point(8, 8);
    padRecord.number = 60;
    Zarn::ElevatorPad pad(padRecord, nullptr);
    game.numbered.add(60, &pad);
    Zarn::ElementVisual padRow;
    padRow.elementId = 60;
    padRow.frameName = "Elevator_Tile_1.png";
    addVisual(padRow, padRecord);
    Zarn::ElementVisual window4;
    window4.elementId = 271;
    window4.frameName = "p4_big_window.png";
    addVisual(window4, zarn_test::room::prop(271, Point(10, 10)));
    // The dormant hole and pit, one of them woken.
    std::vector<std::unique_ptr<Zarn::Floor>> dormant;
    for (u32 id : {138u, 139u}) {
        Zarn::TileNumberedMapElement record;
        record.elementId = id;
        record.cell = Point(8, 8);
        record.number = 60 + id;
        dormant.push_back(std::make_unique<Zarn::Floor>(record, nullptr));
        game.numbered.add(record.number, dormant.back().get());
        addVisual(*Zarn::tileVisualTable().find(id), record);
    }
    dormant.front()->enable();
    // Every key cell's mark: the room's door plates, a goal and a teleport.
    auto mode = std::make_unique<Zarn::LevelUpModeElement>();
    mode->elementId = 443;
    mode->areaCells.insert(Point(5, 5));
    game.map.mapElements.push_back(std::move(mode));
    auto teleport = std::make_unique<Zarn::MapEventData>();
    auto at = std::make_unique<Zarn::PositionTriggerData>();
    at->triggerId = 5;
    at->cell = Point(5, 6);
    teleport->trigger = std::move(at);
    teleport->actions.push_back(std::make_unique<Zarn::MoveSteerableData>());
    teleport->actions.back()->actionId = 2;
    game.map.mapEvents.push_back(std::move(teleport));
    for (Zarn::NodeMediator* mark : elements->createCellMarks(game.map)) layer->addChild(mark);
    // Every pitch's glyph.
    for (u8 pitch = 0; pitch <= 24; ++pitch) {
        MusicalNoteCocos2D* note = MusicalNoteCocos2D::create();
        note->showPitch(pitch, false);
        world->addChild(note);
    }
    // Every belt kind of the machine.
    std::vector<MachineComponentRecord> kinds;
    for (u8 kind = 0; kind <= 15; ++kind) kinds.push_back({kind, Point(kind % 8, kind / 8)});
    world->addChild(P3MachineSystem::create(Point(8, 2), 160.0f, kinds));

    // Every reaction.
    for (auto* door : childrenOf<SimpleElementCocos2D<Zarn::Door, Zarn::DoorIMEState>>())
        for (u32 s : {0u, 1u}) door->getVisualMediator()->onStateChanged(1, s);
    for (auto* lever : childrenOf<LeverCocos2D>())
        for (u32 s : {0u, 1u}) lever->getVisualMediator()->onStateChanged(1, s);
    for (auto* checkpoint : childrenOf<CheckpointCocos2D>())
        checkpoint->getVisualMediator()->onStateChanged(1, 0);
    for (auto* note : childrenOf<SimpleTiledIMECocos2D<Zarn::MusicalNoteIMEState>>())
        for (u32 s : {1u, 3u, 4u, 4u, 4u, 4u, 4u, 6u, 8u, 10u, 0u})
            note->getVisualMediator()->onStateChanged(0, s);
    for (auto* drone : childrenOf<DeliveryDroneCocos2D>()) drone->getMediator()->onStateChanged(0, 6);
    for (auto* padNode : childrenOf<ElevatorPadCocos2D>()) padNode->getVisualMediator()->onStateChanged(0, 1);
    for (int i = 0; i < 400; ++i)
        for (auto* machine : childrenOf<P3MachineSystem>())
            if (!machine->getDispensers().empty()) machine->getDispensers().front().dispenser->dispenseItem();
    run(2.0f);

    const std::set<std::string> listed(elementVisualFrameNames().begin(), elementVisualFrameNames().end());
    const std::set<std::string> others(presentationFrameNames().begin(), presentationFrameNames().end());
    const std::set<std::string>& requested = frames->requested;
    for (const std::string& name : requested)
        EXPECT_TRUE(listed.count(name) || others.count(name)) << name << " is asked for but not listed";
    for (const std::string& name : listed)
        EXPECT_EQ(requested.count(name), 1u) << name << " is never asked for";
}

}  // namespace
