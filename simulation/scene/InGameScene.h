#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "simulation/client/ZarnClientInterface.h"
#include "simulation/scene/InGameSceneParts.h"
#include "simulation/scene/InputDispatcher.h"
#include "simulation/scene/SteerableXDManager.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "world/adapters/Inputable.h"
#include "world/adapters/NodeMediator.h"

namespace Zarn {

class CameraRegionTracker;
class DialogWindow;
class MapViewport;

// The engine-free half of every in-game scene: brings a level up in a fixed
// order (map stream, client, player, element and trap visuals, camera, dialog
// window, game notifier), drives the client once per frame, keeps the camera
// in the map's camera regions and turns player input into input records. The
// engine-side scene derives from it, supplies the engine parts through the
// pure operations and sets the three visual factories before initScene.
// Reaches engine nodes only through NodeMediator. Main thread only.
class InGameScene : public Inputable {
public:
    // The world root's scale.
    static constexpr float kWorldScale = 1.25f;
    // Drawing order of the dialog window among the room's nodes.
    static constexpr int kDialogZOrder = 1500000;

    // A touch as the scene takes it: the point in the world root's space when
    // taken, else unchanged.
    struct SceneInputAnswer {
        GeometryLib::FPoint point;
        bool taken = false;
    };

    // root (the host scene's mediator) and client outlive the scene.
    InGameScene(NodeMediator& root, ZarnClientInterface& client);
    ~InGameScene() override;
    InGameScene(const InGameScene&) = delete;
    InGameScene& operator=(const InGameScene&) = delete;

    // A touch at a point of the host scene: taken when it falls inside the
    // room (right and top edges excluded).
    virtual SceneInputAnswer onInput(const GeometryLib::FPoint& point);
    // Brings the level up; throws Convinience::Error with "map file stream no
    // loaded", "Steerable3DManager is null, cannot initialize steerables",
    // "map element 2D factory is null", "no such map element id" or "trap
    // factory is null"; the client's map errors pass through.
    virtual void initScene();
    // One frame; dt in seconds.
    virtual void update(float dt);
    // Passed to the client and kept for the game notifier.
    virtual void setExitHandler(std::function<void()> handler);

    // As an input receiver: a taken touch is a move to that point (kind 1).
    InputAnswer handleInput(const GeometryLib::FPoint& position) override;

    // A key of the local player: 4/5 up pressed/released, 6/7 down, 8/9
    // right, 10/11 left, 12 the continue key released. Kind 12 only turns the
    // dialog's page unless its last page was already shown.
    void sendInput(u8 kind);
    // Offers a touch to the input dispatcher's receivers (the dialog window
    // first, then the scene); an input it queues for the local player makes
    // the next local command 2.
    void dispatchInput(const GeometryLib::FPoint& point);
    InputDispatcher& getInputDispatcher() { return dispatcher_; }

    void setTrapVisualFactory(SceneTrapVisualFactory* factory) { trapFactory_ = factory; }
    void setElementVisualFactory(SceneElementVisualFactory* factory) { elementFactory_ = factory; }
    // The steerable visual manager: makes the players' visuals.
    void setSteerableVisuals(SteerableXDManager* visuals) { steerableVisuals_ = visuals; }

    // Null before initScene.
    MapViewport* getCamera() const { return camera_.get(); }
    CameraRegionTracker* getRegionTracker() const { return tracker_.get(); }
    NodeMediator* getWorldRoot() const { return worldRoot_; }
    // Null before initScene and for a scene without one.
    DialogWindow* getDialogWindow() const { return dialogWindow_; }
    ZarnGameNotifier* getGameNotifier() const { return notifier_.get(); }
    const ZOrderCalculator& getZOrderCalculator() const { return zOrder_; }
    const GeometryLib::FPoint& getCameraOffset() const { return cameraOffset_; }
    const GeometryLib::FPoint& getLastCameraPosition() const { return lastCameraPosition_; }
    float getLastDelta() const { return lastDelta_; }

protected:
    // Engine side: the player visuals' sync, then its own per-frame work.
    virtual void updateVisuals(float dt) = 0;
    // Engine side: opens the map and sets the map stream.
    virtual void loadMap() = 0;
    // Engine side: the node that holds the room, owned by the engine side.
    virtual NodeMediator* createWorldRoot() = 0;
    // Engine side: the dialog window (owned by the engine side) or null.
    virtual DialogWindow* createDialogWindow() = 0;
    // Last step of initScene.
    virtual void setupExtra() {}
    // The camera moved by at least 0.2 on an axis: cameraPosition is the
    // world root's new position, regionRects the current region's rectangle,
    // its sub-areas' and the held sub-area's (pointers into the game map).
    virtual void onCameraRegionChanged(const GeometryLib::FPoint& cameraPosition,
                                       const std::vector<const GeometryLib::Rect*>& regionRects) = 0;
    virtual std::unique_ptr<ZarnGameNotifier> makeGameNotifier();

    // Steps every 2D player visual's sync: state, effects, transform, move.
    void updateSteerableVisuals();
    // The stream stays the engine side's; it outlives initScene.
    void setMapStream(std::istream* stream) { mapStream_ = stream; }
    const std::function<void()>& exitHandler() const { return exitHandler_; }

    // The host scene's mediator and the client; both outlive the scene.
    NodeMediator& root_;
    ZarnClientInterface& client_;
    // Parts of the client, valid as long as the client.
    GameMap& gameMap_;
    TrapList& traps_;
    SteerableUnitManager& units_;
    PlayerInfoManager& playerInfos_;
    InputManager& inputManager_;
    u32 localClientID_;
    DialogPlayer& dialogPlayer_;
    ZOrderCalculator zOrder_;

    // Set by the engine side before initScene; owned there.
    SceneTrapVisualFactory* trapFactory_ = nullptr;
    SceneElementVisualFactory* elementFactory_ = nullptr;
    SteerableXDManager* steerableVisuals_ = nullptr;

private:
    std::vector<const GeometryLib::Rect*> collectRegionRects() const;

    // Owned by the engine side, which keeps it alive while the scene loads.
    std::istream* mapStream_ = nullptr;
    // Its receivers are not owned (the dialog window is the engine side's,
    // the scene is this).
    InputDispatcher dispatcher_;
    std::unique_ptr<ZarnGameNotifier> notifier_;
    std::unique_ptr<MapViewport> camera_;
    std::unique_ptr<CameraRegionTracker> tracker_;
    // Owned by the engine side; null before initScene.
    NodeMediator* worldRoot_ = nullptr;
    // The local player's visual node, looked up afresh each time: the
    // visual goes away when the local player leaves or is kicked.
    NodeMediator* localVisual() const;
    // Where the local player's visual last was (room units).
    GeometryLib::FPoint lastLocalPosition_;
    // Owned by the engine side; null when the scene has none.
    DialogWindow* dialogWindow_ = nullptr;

    GeometryLib::FPoint lastCameraPosition_;
    GeometryLib::FPoint cameraOffset_;
    float lastDelta_ = 0.0f;
    std::function<void()> exitHandler_;
};

}  // namespace Zarn
