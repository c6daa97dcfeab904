#pragma once

#include <exception>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "engine/RefPtr.h"
#include "presentation/scene/RegionOverlayState.h"
#include "presentation/scene/SceneVisualFactories.h"
#include "simulation/scene/InGameScene.h"

namespace cocos2d {
class ClippingNode;
class DrawNode;
class Scene;
}  // namespace cocos2d
class CocosNodeMediator;
class CocosSteerableXDManager;
class MediatedSprite;

// The engine side of every in-game scene: reads the map file, makes the world
// sprite that the camera moves and the overlay that dims everything outside
// the current camera region, the player visuals, the dialog window and the
// click cursor, and updates the visuals and the positional sound each frame.
// Not a node itself: a host scene owns it, lends it its engine scene and that
// scene's mediator, sets the exit handler, calls initScene once and update
// every frame.
//
// A frame that throws (the simulation or a visual) is caught in update: the
// failure is logged once, the scene stops updating and the failure handler
// (set by the host) takes the player out of the level.
//
// The host scene, its mediator and the client outlive this object. Main
// thread only.
class CocosInGameScene : public Zarn::InGameScene {
public:
    static constexpr float kCursorScale = 0.4f;
    static constexpr int kCursorZOrder = 1500000;
    // The overlay's drawing order in the host scene: above the world, below
    // the heads-up display and the panels.
    static constexpr int kOverlayZOrder = 1;

    // makeFactories is called once, when the world root is made (the
    // factories read the loaded room's grid), with the scene's parts.
    CocosInGameScene(CocosNodeMediator& root, cocos2d::Scene* hostScene, Zarn::ZarnClientInterface& client,
                     std::string mapName, const SceneVisualFactoryMaker& makeFactories);
    ~CocosInGameScene() override;

    // The base's answer; a taken touch also shows a click cursor there.
    SceneInputAnswer onInput(const GeometryLib::FPoint& point) override;
    // The base's frame, guarded: see the class comment. Does nothing once a
    // frame has failed.
    void update(float dt) override;

    // Set before initScene; without one the level has no dialog window.
    void setDialogWindowMaker(DialogWindowMaker maker) { makeDialogWindow_ = std::move(maker); }
    static constexpr float kDialogScale = 0.6f;

    // Called once, from update, with the failure of the frame that threw.
    void setFailureHandler(std::function<void(const std::exception&)> handler) {
        failureHandler_ = std::move(handler);
    }
    bool hasFailed() const { return failed_; }

    const std::string& getMapName() const { return mapName_; }
    // Null before initScene.
    MediatedSprite* getWorldSprite() const { return worldSprite_.get(); }
    cocos2d::ClippingNode* getRegionOverlay() const { return clipper_; }
    cocos2d::DrawNode* getRegionStencil() const { return stencil_; }
    const RegionOverlayState& getRegionOverlayState() const { return overlay_; }
    CocosSteerableXDManager& getSteerableVisuals() { return *steerables_; }
    SpeakerNodes& getSpeakerNodes() { return speakerNodes_; }
    cocos2d::Scene* getHostScene() const { return hostScene_; }

protected:
    // The player visuals' sync, then the positional sound.
    void updateVisuals(float dt) override;
    // Reads "maps/" + the map name; throws "could not open map file" when
    // the file is missing or empty.
    void loadMap() override;
    Zarn::NodeMediator* createWorldRoot() override;
    Zarn::DialogWindow* createDialogWindow() override;
    void onCameraRegionChanged(const GeometryLib::FPoint& cameraPosition,
                               const std::vector<const GeometryLib::Rect*>& regionRects) override;

    // The host scene; not owned (it owns this object).
    cocos2d::Scene* hostScene_;

private:
    void redrawStencil(const GeometryLib::FPoint& position,
                       const std::vector<const GeometryLib::Rect*>& rects);
    void clearStencil();

    std::unique_ptr<CocosSteerableXDManager> steerables_;
    Zarn::TileVisualGroups tiles_;
    SpeakerNodes speakerNodes_;
    SceneVisualFactoryMaker makeFactories_;
    DialogWindowMaker makeDialogWindow_;
    std::unique_ptr<SceneVisualFactories> factories_;

    cocos2d::RefPtr<MediatedSprite> worldSprite_;
    // Children of the host scene (through the clipping node); not owned.
    cocos2d::ClippingNode* clipper_ = nullptr;
    cocos2d::DrawNode* stencil_ = nullptr;
    RegionOverlayState overlay_;

    std::string mapName_;
    std::vector<unsigned char> mapData_;
    std::unique_ptr<std::istream> mapStream_;

    std::function<void(const std::exception&)> failureHandler_;
    bool failed_ = false;
};
