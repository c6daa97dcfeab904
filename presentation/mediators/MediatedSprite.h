#pragma once

#include <memory>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"

// A sprite that carries its own node mediator, whose visual reactions go to
// the shared null visual mediator. The mediator is made afresh at every
// initialisation and dies with the sprite. Main thread only.
class MediatedSprite : public cocos2d::Sprite {
public:
    static MediatedSprite* create();
    static MediatedSprite* createWithSpriteFrameName(const std::string& name);

    bool init() override;
    bool initWithSpriteFrame(cocos2d::SpriteFrame* frame) override;

    // Owned by the sprite; valid while it lives.
    CocosNode1Mediator* getMediator() const { return mediator_.get(); }

private:
    void makeMediator();
    std::unique_ptr<CocosNode1Mediator> mediator_;
};
