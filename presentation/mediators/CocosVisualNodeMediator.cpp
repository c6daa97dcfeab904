#include "presentation/mediators/CocosVisualNodeMediator.h"

#include "engine/Node.h"
#include "foundation/Error.h"
#include "presentation/audio/PositionAudioEngine.h"

MapElement2DVisualMediator::MapElement2DVisualMediator(cocos2d::Node* node, MapElementAnimations animations)
    : node_(node), animations_(std::move(animations)) {}

void MapElement2DVisualMediator::onVisibilityChanged(u8 state) {
    if (state == 0) node_->setOpacity(255);
    if (state == 1) node_->setOpacity(0);
}

void MapElement2DVisualMediator::onStateChanged(u32, u32) {
    throw Convinience::Error("MapElement currently does not have states");
}

void MapElement2DVisualMediator::onShowHide(u32, u8 state) {
    if (state != 0 && state != 1) return;
    PositionAudioEngine& audio = PositionAudioEngine::instance();
    audio.playEffect(node_, state == 0 ? "sound/element/show1.mp3" : "sound/element/hide1.mp3", 1.0f);
    const cocos2d::RefPtr<cocos2d::Action>& action =
        state == 0 ? animations_.showAction : animations_.hideAction;
    if (action) node_->runAction(action->clone());
}
