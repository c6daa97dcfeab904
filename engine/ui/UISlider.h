#pragma once

#include <functional>
#include <string>

#include "engine/ui/UIWidget.h"

namespace cocos2d {
namespace ui {

// A horizontal bar with a ball: pressing or dragging sets the percent
// (0 .. max) from the touch's x along the bar; the part of the progress image
// left of the ball is shown. Changing the percent by code reports nothing.
class Slider : public Widget {
public:
    enum class EventType { ON_PERCENTAGE_CHANGED, ON_SLIDEBALL_DOWN, ON_SLIDEBALL_UP, ON_SLIDEBALL_CANCEL };
    using ccSliderCallback = std::function<void(Ref*, EventType)>;

    static Slider* create();
    bool init() override;

    void loadBarTexture(const std::string& file, TextureResType texType = TextureResType::LOCAL);
    void loadSlidBallTextures(const std::string& normal, const std::string& pressed = "",
                              const std::string& disabled = "",
                              TextureResType texType = TextureResType::LOCAL);
    void loadProgressBarTexture(const std::string& file, TextureResType texType = TextureResType::LOCAL);
    void setPercent(int percent);
    int getPercent() const { return percent_; }
    void setMaxPercent(int percent) { maxPercent_ = percent > 0 ? percent : 1; }
    int getMaxPercent() const { return maxPercent_; }
    void addEventListener(const ccSliderCallback& callback) { callback_ = callback; }
    Node* getSlidBallRenderer() const { return ball_; }

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;
    void onTouchCancelled(Touch* touch, Event* event) override;

protected:
    void onPressStateChangedToNormal() override;
    void onPressStateChangedToPressed() override;
    void onPressStateChangedToDisabled() override;
    int percentAt(const Vec2& worldPoint) const;
    void layout();
    void report(EventType type);

    // Children of the slider; the ball images are children of the ball node.
    Sprite* bar_ = nullptr;
    Sprite* progress_ = nullptr;
    Node* ball_ = nullptr;
    Sprite* ballNormal_ = nullptr;
    Sprite* ballPressed_ = nullptr;
    Sprite* ballDisabled_ = nullptr;
    int percent_ = 0;
    int maxPercent_ = 100;
    ccSliderCallback callback_;
};

}  // namespace ui
}  // namespace cocos2d
