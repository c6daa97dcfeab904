#include "simulation/scene/InGameScene.h"

#include <algorithm>
#include <cmath>

#include "foundation/Error.h"
#include "grid/MapViewport.h"
#include "map/import/GameMap.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/managers/InputManager.h"
#include "simulation/scene/CameraRegionTracker.h"
#include "simulation/scene/SteerableVisualSync.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/DialogWindow.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

// A size from the engine as a whole 16-bit number of units.
float truncated16(float v) {
    return static_cast<float>(GeometryLib::clampedPointCoordinate(v));
}

constexpr float kCameraStep = 0.2f;
constexpr float kWideMargin = 10000.0f;
// The kind of a touch the scene takes: move to that point.
constexpr u8 kMoveToPoint = 1;
constexpr u8 kContinueKey = 12;

}  // namespace

InGameScene::InGameScene(NodeMediator& root, ZarnClientInterface& client)
    : root_(root),
      client_(client),
      gameMap_(client.getGameMap()),
      traps_(client.getTraps()),
      units_(client.getSteerableUnitManager()),
      playerInfos_(client.getPlayerInfoManager()),
      inputManager_(client.getInputManager()),
      localClientID_(client.getLocalClientID()),
      dialogPlayer_(client.getDialogPlayer()),
      zOrder_(gameMap_.grid),
      dispatcher_(inputManager_, localClientID_) {}

InGameScene::~InGameScene() {
    // The client may outlive the scene: it must not call a destroyed notifier.
    if (notifier_) client_.setGameNotifier(nullptr);
}

void InGameScene::setExitHandler(std::function<void()> handler) {
    client_.setExitHandler(handler);
    exitHandler_ = std::move(handler);
}

std::unique_ptr<ZarnGameNotifier> InGameScene::makeGameNotifier() {
    return std::make_unique<BaseZarnGameNotifier>(*steerableVisuals_, exitHandler_);
}

void InGameScene::initScene() {
    const GeometryLib::FPoint visibleSize = root_.getVisibleSize();
    root_.setContentSize(visibleSize.x, visibleSize.y);
    root_.scheduleUpdate();

    loadMap();
    if (mapStream_ == nullptr) throw Convinience::Error("map file stream no loaded");
    client_.loadMap(*mapStream_);
    // The calculator was made on the empty grid; the player visuals keep a
    // reference to it, so it takes the loaded room's rows in place.
    zOrder_ = ZOrderCalculator(gameMap_.grid);

    const MapProperties properties = gameMap_.grid.getProperties();
    worldRoot_ = createWorldRoot();
    if (trapFactory_ != nullptr) trapFactory_->setWorldRoot(worldRoot_);
    worldRoot_->setContentSize(static_cast<float>(properties.width), static_cast<float>(properties.height));
    worldRoot_->setAnchorPoint(0.0f, 0.0f);
    worldRoot_->setScale(kWorldScale);
    root_.addChild(worldRoot_);

    if (steerableVisuals_ == nullptr)
        throw Convinience::Error("Steerable3DManager is null, cannot initialize steerables");
    steerableVisuals_->setParent(worldRoot_);
    units_.forEachUnit([this](u32 clientID, SteerableUnit&) { steerableVisuals_->addSteerable3D(clientID); });
    lastLocalPosition_ = steerableVisuals_->getVisualSteerable(localClientID_)->getPosition();

    if (elementFactory_ == nullptr) throw Convinience::Error("map element 2D factory is null");
    for (const std::unique_ptr<MapElement>& record : gameMap_.mapElements) {
        if (elementFactory_->isSkipped(*record)) continue;
        NodeMediator* node = nullptr;
        if (elementFactory_->isTileElement(record->elementId)) {
            node = elementFactory_->createTileElement2D(*record);
        } else if (elementFactory_->isFreeElement(record->elementId)) {
            node = elementFactory_->createFreeElement2D(*record);
        } else {
            throw Convinience::Error("no such map element id");
        }
        if (node != nullptr) worldRoot_->addChild(node);
    }
    for (NodeMediator* mark : elementFactory_->createCellMarks(gameMap_)) worldRoot_->addChild(mark);

    if (trapFactory_ == nullptr) throw Convinience::Error("trap factory is null");
    for (const std::unique_ptr<Trap>& trap : traps_) trapFactory_->createTrapVisual(*trap);

    camera_ =
        std::make_unique<MapViewport>(properties, visibleSize.x / kWorldScale, visibleSize.y / kWorldScale);
    cameraOffset_ = root_.getVisibleOrigin();
    const float marginX =
        static_cast<float>(properties.width) >= camera_->getViewWidth() ? kWideMargin : camera_->getMarginX();
    const float marginY = static_cast<float>(properties.height) >= camera_->getViewHeight()
                              ? kWideMargin
                              : camera_->getMarginY();
    camera_->setMargins(marginX, marginY);
    camera_->smoothCamera = true;
    tracker_ = std::make_unique<CameraRegionTracker>(
        gameMap_.cameraRegions.regions, gameMap_.cameraRegions.transitions, *camera_, kWorldScale);

    dialogWindow_ = createDialogWindow();
    dispatcher_.clearReceivers();
    if (dialogWindow_ != nullptr) {
        NodeMediator& node = dialogWindow_->getNode();
        node.setAnchorPoint(0.0f, 0.0f);
        node.setZOrder(kDialogZOrder);
        worldRoot_->addChild(&node);
        dispatcher_.addReceiver(dialogWindow_);
    }
    dispatcher_.addReceiver(this);

    std::unique_ptr<ZarnGameNotifier> notifier = makeGameNotifier();
    client_.setGameNotifier(notifier.get());
    notifier_ = std::move(notifier);

    setupExtra();
}

void InGameScene::update(float dt) {
    lastDelta_ = dt;
    client_.update(dt);
    updateVisuals(dt);
    if (tracker_ == nullptr) return;
    if (NodeMediator* local = localVisual()) lastLocalPosition_ = local->getPosition();
    tracker_->update(lastLocalPosition_);

    const GeometryLib::FPoint p =
        rootOffsetForViewCorner(camera_->getCameraOffset(), kWorldScale) + cameraOffset_;
    if (std::abs(p.x - lastCameraPosition_.x) < kCameraStep &&
        std::abs(p.y - lastCameraPosition_.y) < kCameraStep)
        return;
    onCameraRegionChanged(p, collectRegionRects());
    lastCameraPosition_ = p;
}

std::vector<const GeometryLib::Rect*> InGameScene::collectRegionRects() const {
    std::vector<const GeometryLib::Rect*> rects;
    const CameraRegions& regions = gameMap_.cameraRegions;
    const u32 current = tracker_->current();
    if (current != CameraRegionTracker::kNoRegion && current < regions.regions.size()) {
        rects.push_back(&regions.regions[current]);
        if (current < regions.transitions.size())
            for (const TransitionRegion& sub : regions.transitions[current]) rects.push_back(&sub.area);
    }
    if (const TransitionRegion* held = tracker_->heldTransition()) rects.push_back(&held->area);
    return rects;
}

NodeMediator* InGameScene::localVisual() const {
    return steerableVisuals_ != nullptr ? steerableVisuals_->findVisualSteerable(localClientID_) : nullptr;
}

void InGameScene::updateSteerableVisuals() {
    if (steerableVisuals_ == nullptr) return;
    for (SteerableVisualSync* sync : steerableVisuals_->visualSyncs()) {
        sync->updateStateAnimation();
        sync->updateEffects();
        sync->updateTransform();
        sync->updateMoveAnimation();
    }
}

InGameScene::SceneInputAnswer InGameScene::onInput(const GeometryLib::FPoint& point) {
    if (worldRoot_ == nullptr) return {point, false};
    const GeometryLib::FPoint local = worldRoot_->convertToNodeSpace(point);
    // The enclosing rectangle is in the parent's (scaled) space; the point is
    // in the room's, so the rectangle's size is taken back to room units.
    const GeometryLib::FRect rect = worldRoot_->getRect();
    const float scale = worldRoot_->getScale();
    if (!(scale > 0.0f)) return {point, false};
    const float width = truncated16(rect.width) / scale;
    const float height = truncated16(rect.height) / scale;
    if (0.0f <= local.x && local.x < width && 0.0f <= local.y && local.y < height) return {local, true};
    return {point, false};
}

InputAnswer InGameScene::handleInput(const GeometryLib::FPoint& position) {
    const SceneInputAnswer answer = onInput(position);
    return {answer.taken ? kMoveToPoint : u8{0}, answer.point};
}

void InGameScene::dispatchInput(const GeometryLib::FPoint& point) {
    if (dispatcher_.dispatch(point) && inputManager_.hasInput(localClientID_))
        client_.setNextLocalCommand(LocalCommandId::input);
}

void InGameScene::sendInput(u8 kind) {
    if (kind == kContinueKey) {
        const bool lastPageShown =
            dialogPlayer_.isPlaying() != 0 && dialogWindow_ != nullptr && dialogWindow_->nextPage() == 2;
        if (!lastPageShown) return;
    }
    NodeMediator* local = localVisual();
    const GeometryLib::FPoint position = local != nullptr ? local->getPosition() : lastLocalPosition_;
    inputManager_.pushInput(localClientID_, InputData(kind, position));
    if (inputManager_.hasInput(localClientID_)) client_.setNextLocalCommand(LocalCommandId::input);
}

}  // namespace Zarn
