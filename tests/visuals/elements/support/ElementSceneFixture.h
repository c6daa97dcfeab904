#pragma once

// The trap visuals' scene fixture (a loaded fixture room on the headless
// engine, stepped tick by tick, with its draw-list helpers) with the map
// element visual factory beside the trap factory: loading a room also runs
// the in-game scene's element pass over the map's element list. Header-only.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../../traps/support/TrapSceneFixture.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "visuals/elements/ConveyorMachine.h"
#include "visuals/elements/MapElementCocos2DFactory.h"

namespace zarn_test {

// The sounds the element visuals play.
inline const std::vector<const char*> kElementSounds = {
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

// A scripted action record of the figures' scripts: 36 waits, 38 sets the
// figure's value.
inline std::unique_ptr<Zarn::ActionData> waitAction(float seconds) {
    auto action = std::make_unique<Zarn::FloatActionData>();
    action->actionId = 36;
    action->floatValue = seconds;
    return action;
}
inline std::unique_ptr<Zarn::ActionData> setValueAction(u32 value) {
    return std::make_unique<Zarn::NumberActionData>(38, value);
}

class ElementSceneFixture : public TrapSceneFixture {
public:
    using TrapSceneFixture::room;

protected:
    void SetUp() override {
        TrapSceneFixture::SetUp();
        P3MachineSystem::resetArmCounter();
        makeFiles(soundRoot, kElementSounds);
        // The drone's arm segments at a size that reaches its head.
        sizedFrame("delivery_drone_backarm.png", 110.0f, 20.0f);
        sizedFrame("delivery_drone_forearm.png", 110.0f, 20.0f);
    }
    void TearDown() override {
        world->removeAllChildren();
        elements.reset();
        TrapSceneFixture::TearDown();
    }

    // The traps' load (room, local player, trap pictures), then the element
    // pass.
    void load(const MapBuilder& b) {
        TrapSceneFixture::load(b);
        showElements();
    }
    void load(std::istream& in) {
        TrapSceneFixture::load(in);
        showElements();
    }

    // The in-game scene's element pass over the loaded map's element list.
    void showElements() {
        player = &game.units.getUnit(0);
        elements = std::make_unique<MapElementCocos2DFactory>();
        elements->cellGrid = &game.map.grid;
        elements->zOrderCalculator = roomZOrder.get();
        elements->tileVisualGroups = &tiles;
        elements->numberedElements = &game.numbered;
        elements->speakerNodes = &speakers;
        for (const std::unique_ptr<Zarn::MapElement>& record : game.map.mapElements) {
            if (elements->isSkipped(*record)) continue;
            Zarn::NodeMediator* node = elements->isTileElement(record->elementId)
                                           ? elements->createTileElement2D(*record)
                                           : elements->createFreeElement2D(*record);
            layer->addChild(node);
        }
        for (Zarn::NodeMediator* mark : elements->createCellMarks(game.map)) layer->addChild(mark);
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
    // The one child of class V of the world node, or null.
    template <class V>
    V* only() const {
        const std::vector<V*> all = childrenOf<V>();
        return all.size() == 1 ? all[0] : nullptr;
    }

    Zarn::SteerableUnit* player = nullptr;
    std::unordered_map<std::string, cocos2d::Node*> speakers;
    std::unique_ptr<MapElementCocos2DFactory> elements;
};

}  // namespace zarn_test
