#pragma once

// A loaded fixture room whose map elements are shown by the map element
// visual factory on the headless engine: the room's world (a GameWorld,
// stepped tick by tick as the server steps it), a world node under the
// running scene that holds the pictures (map units, as the in-game scene's
// world root), the element pass of the in-game scene, and helpers that read
// the frame's draw list. Header-only.

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../../presentation/support/PlayerFixture.h"
#include "engine/DrawList.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "map/records/ActionData.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/core/GameWorld.h"
#include "support/map/MapBuilder.h"
#include "visuals/elements/ConveyorMachine.h"
#include "visuals/elements/MapElementCocos2DFactory.h"

namespace zarn_test {

// The sounds the element visuals play.
inline const std::vector<const char*> kElementSounds = {
    "sound/element/show1.mp3",
    "sound/element/hide1.mp3",
    "sound/door/open.mp3",
    "sound/door/close.mp3",
    "sound/checkpoint/checkpoint1.mp3",
    "sound/checkpoint/off1.mp3",
    "sound/lever/on1.mp3",
    "sound/lever/off1.mp3",
    "sound/musicalnote/error.mp3",
    "sound/musicalnote/correct.mp3",
    "sound/musicalnote/c0.mp3",
    "sound/musicalnote/c1.mp3",
    "sound/musicalnote/c2.mp3",
    "sound/elevator_panel/button_press.mp3",
    "sound/elevator_panel/transit_chime.mp3",
};

// A scripted action record of the figures' scripts: 36 waits `value`
// seconds, 38 sets the figure's value.
inline std::unique_ptr<Zarn::ActionData> waitAction(float seconds) {
    auto action = std::make_unique<Zarn::FloatActionData>();
    action->actionId = 36;
    action->floatValue = seconds;
    return action;
}
inline std::unique_ptr<Zarn::ActionData> setValueAction(u32 value) {
    return std::make_unique<Zarn::NumberActionData>(38, value);
}

class ElementSceneFixture : public PlayerFixture {
public:
    static constexpr float kTick = 0.03f;
    static constexpr i32 kCell = 64;

    // A 10 x 10 room of 64-unit cells, spawn point in cell (1, 1).
    static MapBuilder room() {
        MapBuilder b("elements", GeometryLib::Point(96, 96));
        b.grid(static_cast<u32>(kCell), std::vector<std::string>(10, ".........."));
        return b;
    }

protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        P3MachineSystem::resetArmCounter();
        makeFiles(soundRoot, kElementSounds);
        auto engine = std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(320.0f, 320.0f), 750.0f);
        engine->setWorldNode(world);
        PositionAudioEngine::setInstance(std::move(engine));
        // The drone's arm segments at a size that reaches its head.
        sizedFrame("delivery_drone_backarm.png", 110.0f, 20.0f);
        sizedFrame("delivery_drone_forearm.png", 110.0f, 20.0f);
    }
    void TearDown() override {
        world->removeAllChildren();
        layer.reset();
        factory.reset();
        PlayerFixture::TearDown();
    }

    // Loads the room, adds the local player (client 0) and runs the in-game
    // scene's element pass over the map's element list.
    void load(const MapBuilder& b) {
        std::istringstream in = b.stream();
        game.loadMap(in);
        player = &game.addPlayer(0);
        roomZOrder = std::make_unique<Zarn::ZOrderCalculator>(game.map.grid);
        layer = std::make_unique<CocosNodeMediator>(world);
        factory = std::make_unique<MapElementCocos2DFactory>();
        factory->cellGrid = &game.map.grid;
        factory->zOrderCalculator = roomZOrder.get();
        factory->tileVisualGroups = &tiles;
        factory->numberedElements = &game.numbered;
        factory->speakerNodes = &speakers;
        for (const std::unique_ptr<Zarn::MapElement>& record : game.map.mapElements) {
            if (factory->isSkipped(*record)) continue;
            Zarn::NodeMediator* node = factory->isTileElement(record->elementId)
                                           ? factory->createTileElement2D(*record)
                                           : factory->createFreeElement2D(*record);
            layer->addChild(node);
        }
        frame(0.0f);
    }

    // A frame of that size without art (drawn as a placeholder).
    static void sizedFrame(const std::string& name, float width, float height) {
        const cocos2d::Rect rect(0.0f, 0.0f, width, height);
        cocos2d::SpriteFrame* frame =
            cocos2d::SpriteFrame::createWithTexture(nullptr, rect, false, cocos2d::Vec2::ZERO, rect.size);
        frame->setPlaceholder(true);
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFrame(frame, name);
    }

    // One server tick, then one frame of the engine and the audio.
    void tick() {
        game.stepOnce();
        step(kTick);
    }
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
    // Puts the local player at the centre of the cell, standing.
    void standOn(GeometryLib::Point cell) {
        player->body().position =
            GeometryLib::FPoint(cell.x * kCell + kCell / 2.0f, cell.y * kCell + kCell / 2.0f);
        player->body().velocity = GeometryLib::FPoint();
    }

    template <class T>
    T& element(u32 number) {
        return game.numbered.getTyped<T>(number);
    }
    // The world node's children of class V, in the order they were added.
    template <class V>
    std::vector<V*> childrenOf() const {
        std::vector<V*> out;
        for (cocos2d::Node* child : world->getChildren())
            if (auto* v = dynamic_cast<V*>(child)) out.push_back(v);
        return out;
    }
    template <class V>
    V* only() const {
        const std::vector<V*> all = childrenOf<V>();
        return all.size() == 1 ? all[0] : nullptr;
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
    static std::size_t countVisible(const std::string& frame) {
        std::size_t n = 0;
        for (const cocos2d::DrawCommand& c : list().commands)
            n += c.frameName.str() == frame && c.opacity > 0;
        return n;
    }
    static cocos2d::Vec2 worldPositionOf(const cocos2d::DrawCommand& c) {
        return cocos2d::Vec2(c.transform.m[12], c.transform.m[13]);
    }

    Zarn::GameWorld game;
    Zarn::SteerableUnit* player = nullptr;
    std::unique_ptr<Zarn::ZOrderCalculator> roomZOrder;
    Zarn::TileVisualGroups tiles;
    std::unordered_map<std::string, cocos2d::Node*> speakers;
    std::unique_ptr<CocosNodeMediator> layer;
    std::unique_ptr<MapElementCocos2DFactory> factory;
};

}  // namespace zarn_test
