#include "presentation/hud/PlayerMarkersHUD2D.h"

#include "engine/Sprite.h"
#include "simulation/scene/PlayerMarkerLocator.h"

using namespace cocos2d;

PlayerMarkersHUD2D* PlayerMarkersHUD2D::create(const Zarn::PlayerMarkerLocator& locator) {
    auto* node = new PlayerMarkersHUD2D(locator);
    if (node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

bool PlayerMarkersHUD2D::init() {
    if (!Node::init()) return false;
    scheduleUpdate();
    return true;
}

void PlayerMarkersHUD2D::addMarker(u32 clientID) {
    removeMarker(clientID);
    Sprite* marker = Sprite::createWithSpriteFrameName(kMarkerFrame);
    marker->setAnchorPoint(Vec2(0.5f, 1.0f));
    marker->setScale(kMarkerScale);
    marker->setVisible(false);
    markers_[clientID] = marker;
    addChild(marker);
}

void PlayerMarkersHUD2D::removeMarker(u32 clientID) {
    const auto found = markers_.find(clientID);
    if (found == markers_.end()) return;
    removeChild(found->second, true);
    markers_.erase(found);
}

void PlayerMarkersHUD2D::update(float) {
    for (const auto& [clientID, marker] : markers_) {
        if (locator_.isOnScreen(clientID)) {
            marker->setVisible(false);
            continue;
        }
        const Zarn::PlayerMarkerLocator::EdgePoint edge = locator_.edgePoint(clientID);
        marker->setVisible(true);
        marker->setPosition(Vec2(edge.point.x, edge.point.y));
        marker->setRotation(edge.angle);
    }
}

Sprite* PlayerMarkersHUD2D::getMarker(u32 clientID) const {
    const auto found = markers_.find(clientID);
    return found == markers_.end() ? nullptr : found->second;
}
