#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"

namespace cocos2d {
class ClippingNode;
class Action;
}  // namespace cocos2d

// The frame and the opening of a big window variant (1 to 4, types 268 to
// 271; any other variant is variant 1): a rectangle (lower-left, upper-right)
// or a hexagon in the mask's space, given the frame's size (w, h); variant 4
// has no opening.
// | variant | frame                | opening                                               |
// | 1       | big_window.png       | (20 - w/2, 20 - h/2) to (w/2 - 40, h/2 - 40)          |
// | 2       | p2_big_window.png    | (55 - w/2, 20 - h/2) to (w/2 - 65, h/2 - 40)          |
// | 3       | p3_big_window.png    | hexagon (26, 263), (26, 114), (153, 18), (1086, 18),  |
// |         |                      | (1186, 114), (1186, 263), each minus (w/2, h/2)       |
// | 4       | p4_big_window.png    | none                                                  |
struct BigWindowLook {
    std::string frame;
    // Empty: no opening; two points: a rectangle; six: a polygon.
    std::vector<cocos2d::Vec2> opening;
};
BigWindowLook bigWindowLook(int variant, const cocos2d::Size& frameSize);

// Where the two scenery layers stand for a followed point q (the window's
// space, y already 0) and the back layer's half size c: back at
// (q - c - (0, 100)) x 0.01, front at q x 0.01 - (0, 100).
struct BigWindowParallax {
    cocos2d::Vec2 back;
    cocos2d::Vec2 front;
};
BigWindowParallax bigWindowParallax(const cocos2d::Vec2& q, const cocos2d::Vec2& backHalfSize);

// A big window prop: a frame over a clipped outdoor scene of two layers
// ("image5073.png" behind, "p0_winbg_layer_3.png" in front) with drifting
// clouds and saucers, two hovering billboards and a logo, shifted slightly by
// the followed node's horizontal place. Drawn from the visuals' random
// engine. Its node mediator answers to no state. Main thread only.
class BigWindow : public cocos2d::Sprite {
public:
    static BigWindow* create(int variant);
    bool initWithVariant(int variant);
    ~BigWindow() override;

    void update(float dt) override;
    void setParallax(const cocos2d::Vec2& offset);

    // The node whose place shifts the scene (the local player's visual), or
    // null; not owned (the player visuals outlive the room's props).
    cocos2d::Node* followedNode = nullptr;

    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    cocos2d::Sprite* getBackLayer() const { return backLayer_; }
    cocos2d::Sprite* getFrontLayer() const { return frontLayer_; }
    cocos2d::Sprite* getWindowFrame() const { return windowFrame_; }
    cocos2d::ClippingNode* getMask() const { return mask_; }

private:
    void makeScenery();
    // One drifting cloud or saucer: frame prefix + i, its start in band i
    // above baseY, in a layer drawn at random; it crosses the layer at
    // (U[0, 9) + W / speedDivisor) units a second, waiting a drawn pause
    // (U[2, 5) s) off to the right before each crossing when `pauses`.
    void addDrifter(const std::string& prefix, int i, float baseY, float speedDivisor, bool pauses);
    cocos2d::Sprite* layerByDraw();
    cocos2d::Action* createHoverAction();

    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    cocos2d::Sprite* backLayer_ = nullptr;
    cocos2d::Sprite* frontLayer_ = nullptr;
    cocos2d::Sprite* windowFrame_ = nullptr;
    cocos2d::ClippingNode* mask_ = nullptr;
    int variant_ = 1;
};
