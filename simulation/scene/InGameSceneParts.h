#pragma once

#include <functional>
#include <vector>

#include "foundation/Types.h"
#include "simulation/client/ZarnGameNotifier.h"
#include "simulation/scene/SteerableXDManager.h"

namespace Zarn {

class MapElement;
struct GameMap;
class NodeMediator;
class Trap;

// The engine-free faces of the engine-side parts that an in-game scene builds
// the room's visuals with. The engine-side scene owns the implementations and
// sets them on the scene before its set-up; all of it runs on the main thread.

// Makes the visuals of the room's map elements from their records. The
// returned nodes are owned by the factory's visuals.
class SceneElementVisualFactory {
public:
    virtual ~SceneElementVisualFactory() = default;
    // Records that get no visual of their own.
    virtual bool isSkipped(const MapElement& record) = 0;
    virtual bool isTileElement(u32 elementID) = 0;
    virtual bool isFreeElement(u32 elementID) = 0;
    virtual NodeMediator* createTileElement2D(const MapElement& record) = 0;
    virtual NodeMediator* createFreeElement2D(const MapElement& record) = 0;
    // The marks of cells that matter without a picture of their own (door
    // plates, goals, teleports), made once after the elements; the scene
    // adds each under its world root.
    virtual std::vector<NodeMediator*> createCellMarks(const GameMap&) { return {}; }
};

// Makes the visuals of the room's traps; they live under the world root.
class SceneTrapVisualFactory {
public:
    virtual ~SceneTrapVisualFactory() = default;
    // Not owned; set before the first visual is made.
    virtual void setWorldRoot(NodeMediator* worldRoot) = 0;
    // The visual of one trap of the client's trap list, kept by the factory.
    virtual void createTrapVisual(Trap& trap) = 0;
};

// Hands players joining, changing and leaving to the steerable visual
// manager, and the confirmed exit to the scene's exit handler.
class BaseZarnGameNotifier : public ZarnGameNotifier {
public:
    // visuals belong to the engine-side scene and outlive the notifier.
    BaseZarnGameNotifier(SteerableXDManager& visuals, std::function<void()> exitHandler)
        : visuals_(visuals), exitHandler_(std::move(exitHandler)) {}

    // An empty exit handler throws std::bad_function_call.
    void gameNotification() override { exitHandler_(); }
    void playerJoined(u32 clientID) override { visuals_.addSteerable3D(clientID); }
    void playerLeft(u32 clientID) override { visuals_.removeSteerable3D(clientID); }
    // The player's visual takes its new name.
    void playerChanged(u32 clientID) override { visuals_.playerChanged(clientID); }

protected:
    SteerableXDManager& visuals_;
    std::function<void()> exitHandler_;
};

}  // namespace Zarn
