#include "RoomView.h"

#include <algorithm>
#include <fstream>

#include "presentation/audio/PositionAudioEngine.h"
#include "simulation/scene/InGameScene.h"

using namespace cocos2d;

namespace zarn_test {

RoomView::RoomView(const std::string& mapFile) {
    std::ifstream in(mapFile, std::ios::binary);
    game.loadMap(in);
    game.addPlayer(0);
    infos.addClient(0);
    infos.getInfo(0).name = "Player";
    zOrder = std::make_unique<Zarn::ZOrderCalculator>(game.map.grid);

    Scene* scene = Scene::create();
    scene->addChild(LayerColor::create(Color4B(46, 58, 70, 255)));
    world = Node::create();
    world->setScale(Zarn::InGameScene::kWorldScale);
    scene->addChild(world);
    root = std::make_unique<CocosNodeMediator>(world);
    PositionAudioEngine::setInstance(std::make_unique<PositionAudioEngineImpl>(Vec2::ZERO, 750.0f));
    PositionAudioEngine::instance().setWorldNode(world);

    players = std::make_unique<CocosSteerableXDManager>(game.units, infos, *zOrder);
    players->setParent(root.get());
    players->addSteerable3D(0);

    elements.cellGrid = &game.map.grid;
    elements.zOrderCalculator = zOrder.get();
    elements.tileVisualGroups = &tiles;
    elements.numberedElements = &game.numbered;
    elements.steerableVisuals = players.get();
    elements.speakerNodes = &speakers;
    for (const std::unique_ptr<Zarn::MapElement>& record : game.map.mapElements) {
        if (elements.isSkipped(*record)) continue;
        root->addChild(elements.isTileElement(record->elementId) ? elements.createTileElement2D(*record)
                                                                 : elements.createFreeElement2D(*record));
    }
    for (Zarn::NodeMediator* mark : elements.createCellMarks(game.map)) root->addChild(mark);
    traps = std::make_unique<CocosTrap2DFactory>(&tiles, zOrder.get(), &game.units, &game.map.grid);
    traps->setWorldRoot(root.get());
    for (const std::unique_ptr<Zarn::Trap>& trap : game.traps) traps->createTrapVisual(*trap);
    for (Zarn::SteerableVisualSync* sync : players->visualSyncs()) {
        sync->updateStateAnimation();
        sync->updateTransform();
    }

    const Size visible = Director::getInstance()->getVisibleSize();
    const float k = Zarn::InGameScene::kWorldScale;
    const auto& room = game.map.grid.getProperties();
    const auto& at = game.units.getUnit(0).body().position;
    const auto axis = [k](float extent, float view, float target) {
        if (extent * k <= view) return (view - extent * k) / 2.0f;
        return std::clamp(view / 2.0f - target * k, view - extent * k, 0.0f);
    };
    world->setPosition(Vec2(axis(static_cast<float>(room.width), visible.width, at.x),
                            axis(static_cast<float>(room.height), visible.height, at.y)));
    Director::getInstance()->replaceScene(scene);
}

RoomView::~RoomView() {
    world->removeAllChildren();
    traps.reset();
    players.reset();
    PositionAudioEngine::destroyInstance();
}

}  // namespace zarn_test
