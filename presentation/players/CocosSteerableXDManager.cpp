#include "presentation/players/CocosSteerableXDManager.h"

#include "engine/DrawNode.h"
#include "foundation/Error.h"
#include "presentation/players/PlayerLooks.h"
#include "simulation/managers/PlayerInfo.h"
#include "world/units/SteerableUnitManager.h"

using namespace cocos2d;

CocosSteerableXDManager::CocosSteerableXDManager(Zarn::SteerableUnitManager& units,
                                                 Zarn::PlayerInfoManager& playerInfos,
                                                 Zarn::ZOrderCalculator& zOrder)
    : SteerableXDManager(units, playerInfos, zOrder) {}

CocosSteerableXDManager::~CocosSteerableXDManager() {
    for (auto& [id, visual] : visuals2D_) visual->removeFromParentAndCleanup(true);
    for (auto& [id, visual] : visuals3D_) visual->removeFromParentAndCleanup(true);
}

SteerableCocos2D* CocosSteerableXDManager::find2D(u32 clientID) const {
    auto it = visuals2D_.find(clientID);
    return it == visuals2D_.end() ? nullptr : it->second.get();
}

CocosSteerableXDManager::Visual3D* CocosSteerableXDManager::find3D(u32 clientID) const {
    auto it = visuals3D_.find(clientID);
    return it == visuals3D_.end() ? nullptr : it->second.get();
}

Zarn::VisualSteerablePair CocosSteerableXDManager::createSteerable2D(const Zarn::PlayerInfo& info,
                                                                     const Zarn::Player2DAssets& assets) {
    Zarn::SteerableUnit& unit = units_.getUnit(info.clientID);
    SteerableCocos2D* visual = SteerableCocos2D::create(&unit, &zOrder_, assets);
    if (visual == nullptr) throw Convinience::Error("No such asset");
    visuals2D_[info.clientID] = visual;
    visual->setScale(k2DScale);
    visual->setAnchorPoint(Vec2(assets.anchor.x, assets.anchor.y));
    const Size size = visual->getContentSize();
    placeNameTag(visual, info, false);
    DrawNode* shadow = DrawNode::create();
    shadow->drawSolidCircle(Vec2::ZERO, 35.0f, 0.0f, 30, 1.0f, 0.5f, Color4F(playerColour(info.clientID)));
    visual->addChild(shadow, -1);
    shadow->setPosition(size.width / 2.0f, 10.0f);
    return {visual->getMediator(), visual->getSync()};
}

Zarn::VisualSteerablePair CocosSteerableXDManager::createSteerable3D(const Zarn::PlayerInfo& info,
                                                                     const Zarn::Player3DAssets& assets) {
    Zarn::SteerableUnit& unit = units_.getUnit(info.clientID);
    factories_.push_back(std::make_unique<Steerable3DSubsituteFactoryImpl>(&unit, &zOrder_, assets));
    Visual3D* visual = Visual3D::create(&unit, &zOrder_, assets, factories_.back().get());
    if (visual == nullptr) throw Convinience::Error("No such asset");
    visuals3D_[info.clientID] = visual;
    visual->scheduleUpdate();
    visual->setScale(k3DScale);
    visual->setContentSize(Size(160.0f, 160.0f));
    visual->setAnchorPoint(Vec2(0.0f, 0.3f));
    placeNameTag(visual, info, true);
    return {visual->getMediator(), visual->getSync()};
}

void CocosSteerableXDManager::placeNameTag(Node* visual, const Zarn::PlayerInfo& info, bool threeD) {
    const auto old = nameTags_.find(info.clientID);
    if (old != nameTags_.end()) {
        old->second->removeFromParentAndCleanup(true);
        nameTags_.erase(old);
    }
    if (info.name.empty()) return;
    Node* tag = createNameTag(info.name, info.platformCode);
    visual->addChild(tag);
    if (threeD) {
        const AABB box = static_cast<Visual3D*>(visual)->getAABBRecursively();
        tag->setPositionY((box._max.y - box._min.y) * 4.0f + 20.0f);
    } else {
        const Size size = visual->getContentSize();
        tag->setPosition(size.width / 2.0f, size.height + 20.0f);
    }
    nameTags_[info.clientID] = tag;
}

void CocosSteerableXDManager::onPlayerChanged(const Zarn::PlayerInfo& info) {
    if (SteerableCocos2D* visual = find2D(info.clientID)) {
        placeNameTag(visual, info, false);
    } else if (Visual3D* visual3D = find3D(info.clientID)) {
        placeNameTag(visual3D, info, true);
    }
}

Node* CocosSteerableXDManager::findNameTag(u32 clientID) const {
    const auto it = nameTags_.find(clientID);
    return it == nameTags_.end() ? nullptr : it->second;
}

void CocosSteerableXDManager::removeSteerable(u32 clientID) {
    visuals3D_.erase(clientID);
    visuals2D_.erase(clientID);
    nameTags_.erase(clientID);
}
