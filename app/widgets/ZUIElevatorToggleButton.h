#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "app/widgets/ZUIPressableNode.h"
#include "engine/Types.h"

namespace cocos2d {
class DrawNode;
class Label;
class Sprite;
}  // namespace cocos2d

// Shape, badge, icon and caption of one elevator mode switch, off and on.
struct ZUIElevatorToggleButtonConfig {
    cocos2d::Vec2 p0, p1, p2, p3;
    cocos2d::Color3B shapeOff, shapeOn;
    // The badge's and icon's position minus (90, 90).
    cocos2d::Vec2 badgeOffset;
    cocos2d::Color3B badgeOff, badgeOn;
    std::string iconOff, iconOn;
    // The caption's position minus half its size.
    cocos2d::Vec2 captionOffset;
    std::string caption;
    cocos2d::Color3B captionOff, captionOn;
};

// The three mode switches (0 timer, 1 time attack, 2 limited lives), filled at
// static initialisation.
extern std::unordered_map<int, ZUIElevatorToggleButtonConfig> elevatorToggleButtonConfigs;

// An on/off switch of the elevator's side bar: a slanted quadrilateral with a
// round badge holding a mode icon, and a caption. A press that starts inside
// flips it at once; hovering grows it to 1.1; releasing inside reports the
// new state to `callback`. It plays no sound. Anchor (0.5, 0.5). Main thread
// only.
class ZUIElevatorToggleButton : public ZUIPressableNode {
public:
    static constexpr const char* kBadgeFrame = "ele_button_circle_center.png";
    static constexpr float kHoverScale = 1.1f;
    static constexpr float kHoverSeconds = 0.05f;

    static ZUIElevatorToggleButton* create(const ZUIElevatorToggleButtonConfig& config);
    bool init() override;

    void showOff();
    void showOn();
    bool isToggled() const { return toggled; }

    cocos2d::Node* getContainer() const { return container; }
    cocos2d::Sprite* getIcon() const { return icon; }
    cocos2d::Sprite* getBadge() const { return badge; }
    cocos2d::Label* getCaption() const { return caption; }
    cocos2d::DrawNode* getShape() const { return shape; }

    // Called with the new state after a release inside; assigned by the
    // creator.
    std::function<void(bool)> callback;

protected:
    void onPressEvent(PressEvent event) override;
    void show(bool on);

    ZUIElevatorToggleButtonConfig config;
    // Children; the node tree keeps them alive.
    cocos2d::Node* container = nullptr;
    cocos2d::DrawNode* shape = nullptr;
    cocos2d::Sprite* icon = nullptr;
    cocos2d::Sprite* badge = nullptr;
    cocos2d::Label* caption = nullptr;
    bool toggled = false;
};
