#pragma once

// A loaded fixture room whose traps are shown by the trap visual factory on
// the headless engine: the room's world (a GameWorld, stepped tick by tick as
// the server steps it), a world node under the running scene that holds the
// trap pictures (map units, as the in-game scene's world root), the tile
// table with a recording floor visual on chosen cells, and helpers that read
// the frame's draw list. Header-only.

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../../presentation/support/PlayerFixture.h"
#include "engine/DrawList.h"
#include "map/records/ActionData.h"
#include "map/records/MapEventData.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/TriggerData.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/core/GameWorld.h"
#include "support/map/MapBuilder.h"
#include "support/map/RoomRecords.h"
#include "visuals/traps/CocosTrap2DFactory.h"

namespace zarn_test {

// The sounds the trap visuals play.
inline const std::vector<const char*> kTrapSounds = {
    "sound/element/show1.mp3",
    "sound/element/show2.mp3",
    "sound/element/hide1.mp3",
    "sound/trapdoor/open.mp3",
    "sound/trapdoor/close.mp3",
    "sound/spike/up1.mp3",
    "sound/spike/up2.mp3",
    "sound/spike/up3.mp3",
    "sound/spike/down1.mp3",
    "sound/spike/down2.mp3",
    "sound/spike/down3.mp3",
    "sound/boss/bomb/explosion.mp3",
    "sound/boss/bomb/fire_burst.mp3",
    "sound/boss/bomb/fall.mp3",
    "sound/redgreen/stop.mp3",
    "sound/redgreen/go.mp3",
    "sound/vortex/vortex2.mp3",
    "sound/rattrap/squeak.mp3",
    "sound/rattrap/board_hit.mp3",
    "sound/rattrap/board_down.mp3",
    "sound/boss/eye/raise.mp3",
    "sound/boss/eye/lower.mp3",
    "sound/boss/eye/cannon_transform.mp3",
    "sound/boss/eye/shutter_open.mp3",
    "sound/boss/eye/shutter_close.mp3",
    "sound/boss/eye/shutter_calibrating.mp3",
    "sound/boss/eye/shutter_rise.mp3",
    "sound/boss/eye/happy.mp3",
    "sound/boss/eye/crack.mp3",
    "sound/boss/eye/fire.mp3",
    "sound/boss/eye/hurt_0.mp3",
    "sound/boss/arm/transform_up.mp3",
    "sound/boss/arm/transform_down.mp3",
    "sound/boss/arm/arm_raise.mp3",
    "sound/boss/arm/slam.mp3",
    "sound/boss/cannon/blast.mp3",
    "sound/music/boss1.mp3",
    "sound/music/boss2.mp3",
    "sound/music/boss3.mp3",
    "sound/music/boss4.mp3",
};

// A floor tile's visual that notes what the adapters tell it.
class RecordingFloor : public Zarn::VisualNodeMediator {
public:
    void onVisibilityChanged(u8 state) override { calls.push_back("visibility " + std::to_string(state)); }
    void onStateChanged(u32 o, u32 n) override {
        calls.push_back("state " + std::to_string(o) + " " + std::to_string(n));
    }
    void onShowHide(u32 value, u8 state) override {
        calls.push_back("showHide " + std::to_string(value) + " " + std::to_string(state));
    }
    std::vector<std::string> calls;
};

class TrapSceneFixture : public PlayerFixture {
protected:
    static constexpr float kTick = 0.03f;
    static constexpr i32 kCell = 64;

    void SetUp() override {
        PlayerFixture::SetUp();
        makeFiles(soundRoot, kTrapSounds);
        auto engine = std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(320.0f, 320.0f), 750.0f);
        engine->setWorldNode(world);
        PositionAudioEngine::setInstance(std::move(engine));
    }
    void TearDown() override {
        world->removeAllChildren();
        factory.reset();
        layer.reset();
        PlayerFixture::TearDown();
    }

    // A 10 x 10 room of 64-unit cells, spawn point in cell (1, 1).
    static MapBuilder room() {
        MapBuilder b("traps", GeometryLib::Point(96, 96));
        b.grid(static_cast<u32>(kCell), std::vector<std::string>(10, ".........."));
        return b;
    }

    // A start event that enables the traps numbered.
    static void enableAtStart(MapBuilder& b, std::initializer_list<u32> numbers) {
        Zarn::MapEventData e;
        e.eventId = 1;
        e.trigger = std::make_unique<Zarn::TriggerData>();
        e.trigger->triggerId = 1;
        for (u32 n : numbers) e.actions.push_back(std::make_unique<Zarn::NumberActionData>(0, n));
        b.event(e);
    }
    // The interval state value of a trap with an interval state.
    static u8 valueOf(Zarn::Trap& trap) {
        return static_cast<u8>(static_cast<Zarn::IntervalTrapIMEState&>(trap.getState()).value);
    }

    // A scheduled trap on a looping timetable: harmless for 1.0 s with its
    // warning in the last 0.3 s, then lethal for 0.6 s.
    static Zarn::ScheduledTrapElement scheduledAt(u32 id, u32 number, GeometryLib::Point cell) {
        Zarn::ScheduledTrapElement r;
        r.elementId = id;
        r.trapNumber = number;
        r.position = cell;
        r.coveredCells = Zarn::PointSet{cell};
        r.loop = 1;
        r.warningLead = 0.3f;
        r.entries = {Zarn::ScheduledTrapEntry(0.0f, 0, 1.0f), Zarn::ScheduledTrapEntry(1.0f, 1, 0.6f)};
        return r;
    }
    // Ticks `count` times; after each tick calls fn(now, before, heldFor): the
    // trap's interval value after and before the tick and how long it has
    // held the value now (0 on the tick it changed).
    void watchPhases(Zarn::Trap& trap, int count, const std::function<void(u8, u8, float)>& fn) {
        u8 before = valueOf(trap);
        float heldFor = 0.0f;
        for (int i = 0; i < count; ++i) {
            tick();
            const u8 now = valueOf(trap);
            heldFor = now == before ? heldFor + kTick : 0.0f;
            fn(now, before, heldFor);
            before = now;
        }
    }

    // Loads the room, adds the local player (client 0) and makes the picture
    // of every trap of the world's list.
    void load(const MapBuilder& b) {
        std::istringstream in = b.stream();
        load(in);
    }
    // The same for the bytes of a map file.
    void load(std::istream& in) {
        game.loadMap(in);
        game.addPlayer(0);
        roomZOrder = std::make_unique<Zarn::ZOrderCalculator>(game.map.grid);
        layer = std::make_unique<CocosNodeMediator>(world);
        factory = std::make_unique<CocosTrap2DFactory>(&tiles, roomZOrder.get(), &game.units, &game.map.grid);
        factory->setWorldRoot(layer.get());
        for (const std::unique_ptr<Zarn::Trap>& trap : game.traps) factory->createTrapVisual(*trap);
        frame(0.0f);
    }

    // The floor visual of a cell, registered in the tile table.
    RecordingFloor& floorAt(GeometryLib::Point cell) {
        floors.push_back(std::make_unique<RecordingFloor>());
        tiles[cell].push_back(floors.back().get());
        return *floors.back();
    }

    // One server tick, then one frame of the engine and the audio.
    void tick() {
        game.stepOnce();
        step(kTick);
        for (const cocos2d::DrawCommand& c : list().commands)
            if (!c.frameName.empty() && c.opacity > 0) seen.insert(c.frameName.str());
    }
    // Ticks until done() holds; false when it did not within seconds.
    bool runUntil(const std::function<bool()>& done, float seconds) {
        for (float t = 0.0f; t < seconds; t += kTick) {
            tick();
            if (done()) return true;
        }
        return false;
    }
    void run(float seconds) {
        runUntil([] { return false; }, seconds);
    }

    Zarn::Trap& trapNumbered(u32 number) {
        for (const std::unique_ptr<Zarn::Trap>& trap : game.traps)
            if (trap->trapRecord->trapNumber == number) return *trap;
        throw std::runtime_error("no trap " + std::to_string(number));
    }
    // The world node's children of class V, in the order they were added.
    template <class V>
    std::vector<V*> childrenOf() const {
        std::vector<V*> out;
        for (cocos2d::Node* child : world->getChildren())
            if (auto* v = dynamic_cast<V*>(child)) out.push_back(v);
        return out;
    }

    static const cocos2d::DrawList& list() { return cocos2d::Director::getInstance()->getDrawList(); }
    // The node's own draw command this frame, or null.
    static const cocos2d::DrawCommand* drawn(const cocos2d::Node* node) {
        for (const cocos2d::DrawCommand& c : list().commands)
            if (c.node == node) return &c;
        return nullptr;
    }
    static std::string frameOf(const cocos2d::Node* node) {
        const cocos2d::DrawCommand* c = drawn(node);
        return c == nullptr ? std::string() : c->frameName.str();
    }
    // Drawn and not transparent.
    static bool shows(const cocos2d::Node* node) {
        const cocos2d::DrawCommand* c = drawn(node);
        return c != nullptr && c->opacity > 0;
    }
    static std::size_t countVisible(const std::string& prefix) {
        std::size_t n = 0;
        for (const cocos2d::DrawCommand& c : list().commands)
            n += c.frameName.str().rfind(prefix, 0) == 0 && c.opacity > 0;
        return n;
    }
    static cocos2d::Vec2 worldPositionOf(const cocos2d::DrawCommand& c) {
        return cocos2d::Vec2(c.transform.m[12], c.transform.m[13]);
    }

    Zarn::GameWorld game;
    std::unique_ptr<Zarn::ZOrderCalculator> roomZOrder;
    Zarn::TileVisualGroups tiles;
    std::vector<std::unique_ptr<RecordingFloor>> floors;
    std::unique_ptr<CocosNodeMediator> layer;
    std::unique_ptr<CocosTrap2DFactory> factory;
    // Every frame name drawn visibly so far.
    std::set<std::string> seen;
};

}  // namespace zarn_test
