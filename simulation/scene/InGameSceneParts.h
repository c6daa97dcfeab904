#pragma once

#include <functional>
#include <vector>

#include "foundation/Types.h"
#include "simulation/client/ZarnGameNotifier.h"

namespace Zarn {

class MapElement;
class NodeMediator;
class Trap;

// The engine-free faces of the engine-side parts that an in-game scene builds
// the room's visuals with. The engine-side scene owns the implementations and
// sets them on the scene before its set-up; all of it runs on the main thread.

// The per-frame sync of one player visual with its unit: the four steps the
// scene runs, in this order, for every 2D player visual.
class SceneVisualSync {
public:
    virtual ~SceneVisualSync() = default;
    virtual void updateStateAnimation() = 0;
    virtual void updateEffects() = 0;
    virtual void updateTransform() = 0;
    virtual void updateMoveAnimation() = 0;
};

// The player visuals of a scene, one per client ID.
class SceneSteerableVisuals {
public:
    virtual ~SceneSteerableVisuals() = default;
    // The node the player visuals hang under (the world root); not owned.
    virtual void setParent(NodeMediator* parent) = 0;
    // Makes the client's visual and hangs it under the parent.
    virtual void addSteerable(u32 clientID) = 0;
    virtual void removeSteerable(u32 clientID) = 0;
    // The client's visual node, owned by the visual; throws "not valid visual
    // steerable client" for a client without one.
    virtual NodeMediator* getVisualSteerable(u32 clientID) = 0;
    // The same, or null for a client without one.
    virtual NodeMediator* findVisualSteerable(u32 clientID) = 0;
    // The syncs the scene steps every frame, in order; owned by the visuals.
    virtual const std::vector<SceneVisualSync*>& visualSyncs() = 0;
};

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

// Hands players joining and leaving to the player visuals, and the
// confirmed exit to the scene's exit handler.
class BaseZarnGameNotifier : public ZarnGameNotifier {
public:
    // visuals belong to the engine-side scene and outlive the notifier.
    BaseZarnGameNotifier(SceneSteerableVisuals& visuals, std::function<void()> exitHandler)
        : visuals_(visuals), exitHandler_(std::move(exitHandler)) {}

    // An empty exit handler throws std::bad_function_call.
    void gameNotification() override { exitHandler_(); }
    void playerJoined(u32 clientID) override { visuals_.addSteerable(clientID); }
    void playerLeft(u32 clientID) override { visuals_.removeSteerable(clientID); }

protected:
    SceneSteerableVisuals& visuals_;
    std::function<void()> exitHandler_;
};

}  // namespace Zarn
