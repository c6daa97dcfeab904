#include "presentation/scene/CocosInGameScene.h"

#include <streambuf>

#include "engine/ClippingNode.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/FileUtils.h"
#include "engine/Scene.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "map/import/GameMap.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/effects/ClickCursor.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/MediatedSprite.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/scene/CameraRegionTracker.h"

namespace {

// An input stream over bytes it does not own.
class MemoryStream : public std::istream {
public:
    MemoryStream(const unsigned char* data, std::size_t size) : std::istream(nullptr), buffer_(data, size) {
        rdbuf(&buffer_);
    }

private:
    struct Buffer : std::streambuf {
        Buffer(const unsigned char* data, std::size_t size) {
            char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
            setg(begin, begin, begin + size);
        }
    };
    Buffer buffer_;
};

const cocos2d::Color4F kDim(0.0f, 0.0f, 0.0f, 0.5f);
const cocos2d::Color4F kStencilInk(1.0f, 1.0f, 1.0f, 1.0f);

}  // namespace

CocosInGameScene::CocosInGameScene(CocosNodeMediator& root, cocos2d::Scene* hostScene,
                                   Zarn::ZarnClientInterface& client, std::string mapName,
                                   const SceneVisualFactoryMaker& makeFactories)
    : Zarn::InGameScene(root, client),
      hostScene_(hostScene),
      steerables_(std::make_unique<CocosSteerableXDManager>(units_, playerInfos_, zOrder_)),
      makeFactories_(makeFactories),
      mapName_(std::move(mapName)) {
    setSteerableVisuals(steerables_.get());
}

CocosInGameScene::~CocosInGameScene() {
    ClickCursor::releaseActions();
    // The overlay hangs on the host scene, which may outlive this object.
    if (clipper_ != nullptr) clipper_->removeFromParent();
    if (worldSprite_) worldSprite_->removeFromParent();
}

Zarn::InGameScene::SceneInputAnswer CocosInGameScene::onInput(const GeometryLib::FPoint& point) {
    const SceneInputAnswer answer = InGameScene::onInput(point);
    if (answer.taken && worldSprite_) {
        ClickCursor* cursor = ClickCursor::create();
        cursor->setScale(kCursorScale);
        cursor->setPosition(answer.point.x, answer.point.y);
        worldSprite_->addChild(cursor, kCursorZOrder);
    }
    return answer;
}

void CocosInGameScene::update(float dt) {
    if (failed_) return;
    try {
        InGameScene::update(dt);
    } catch (const std::exception& failure) {
        failed_ = true;
        Convinience::Logger().log(4, std::string("Critical error in the level's frame: ") + failure.what());
        if (failureHandler_) failureHandler_(failure);
    }
}

void CocosInGameScene::updateVisuals(float dt) {
    updateSteerableVisuals();
    PositionAudioEngine::instance().update(dt);
}

void CocosInGameScene::loadMap() {
    mapData_ = cocos2d::FileUtils::getInstance()->getDataFromFile("maps/" + mapName_);
    if (mapData_.empty()) throw Convinience::Error("could not open map file");
    mapStream_ = std::make_unique<MemoryStream>(mapData_.data(), mapData_.size());
    setMapStream(mapStream_.get());
}

Zarn::NodeMediator* CocosInGameScene::createWorldRoot() {
    factories_ = makeFactories_(SceneVisualContext{client_, zOrder_, tiles_, *steerables_, speakerNodes_});
    setTrapVisualFactory(&factories_->trapFactory());
    setElementVisualFactory(&factories_->elementFactory());

    worldSprite_ = MediatedSprite::create();

    const Zarn::MapProperties properties = gameMap_.grid.getProperties();
    stencil_ = cocos2d::DrawNode::create();
    clipper_ = cocos2d::ClippingNode::create(stencil_);
    cocos2d::DrawNode* dim = cocos2d::DrawNode::create();
    dim->drawSolidRect(
        cocos2d::Vec2(0.0f, 0.0f),
        cocos2d::Vec2(static_cast<float>(properties.width), static_cast<float>(properties.height)), kDim);
    clipper_->addChild(dim);
    clipper_->setInverted(true);
    clipper_->setScale(kWorldScale);
    hostScene_->addChild(clipper_, kOverlayZOrder);
    // Nothing is dimmed until a region is drawn.
    clearStencil();

    PositionAudioEngine::instance().setWorldNode(worldSprite_.get());
    return worldSprite_->getMediator();
}

Zarn::DialogWindow* CocosInGameScene::createDialogWindow() {
    if (!makeDialogWindow_) return nullptr;
    Zarn::DialogWindow* window = makeDialogWindow_(gameMap_.dialogs, dialogPlayer_, speakerNodes_);
    if (window != nullptr) window->getNode().setScale(kDialogScale);
    return window;
}

void CocosInGameScene::onCameraRegionChanged(const GeometryLib::FPoint& cameraPosition,
                                             const std::vector<const GeometryLib::Rect*>& regionRects) {
    const u32 current = getRegionTracker()->current();
    switch (overlay_.step(current)) {
        case RegionOverlayState::Stencil::redraw:
            redrawStencil(cameraPosition, regionRects);
            break;
        case RegionOverlayState::Stencil::clear:
            clearStencil();
            break;
        case RegionOverlayState::Stencil::keep:
            break;
    }
    worldSprite_->setPosition(cameraPosition.x, cameraPosition.y);
}

void CocosInGameScene::redrawStencil(const GeometryLib::FPoint& position,
                                     const std::vector<const GeometryLib::Rect*>& rects) {
    clipper_->setPosition(position.x, position.y);
    clipper_->setVisible(true);
    stencil_->clear();
    for (const GeometryLib::Rect* rect : rects) {
        const float x = rect->origin.x;
        const float y = rect->origin.y;
        stencil_->drawSolidRect(cocos2d::Vec2(x, y - static_cast<float>(rect->height)),
                                cocos2d::Vec2(x + static_cast<float>(rect->width), y), kStencilInk);
    }
}

void CocosInGameScene::clearStencil() {
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    stencil_->clear();
    stencil_->drawSolidRect(clipper_->convertToNodeSpace(cocos2d::Vec2(0.0f, 0.0f)),
                            clipper_->convertToNodeSpace(cocos2d::Vec2(visible.width, visible.height)),
                            kStencilInk);
    // A stencil over the whole visible area leaves nothing to dim, so the
    // overlay is not drawn at all: a backend that cannot cut an inverted
    // stencil's shape would otherwise dim the whole screen.
    clipper_->setVisible(false);
}
