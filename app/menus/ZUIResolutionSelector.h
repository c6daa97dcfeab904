#pragma once

#include <string>

#include "engine/Node.h"
#include "engine/Types.h"

namespace cocos2d {
class Label;
class Ref;
namespace ui {
class Button;
class CheckBox;
}  // namespace ui
}  // namespace cocos2d

// The highest index of the resolution list whose width fits a screen of the
// given width (heights are not compared); -1 when none fits.
int resolutionMaxIndex(float screenWidth);
// An entry of the resolution list as "<width> x <height>".
std::string resolutionText(int index);

// The settings menu's block that chooses the window size and full screen:
// "Resolution" with arrows around the current entry, and above it "Full
// Screen" with a check box. The arrows step through the entries that fit the
// screen's width; every step and every tick is applied to the window at once
// and kept in Settings (RES_INDEX, FULLSCREEN); the file is written by
// whoever saves the settings. Anchor (0.5, 0.5). Main thread only.
class ZUIResolutionSelector : public cocos2d::Node {
public:
    static constexpr const char* kArrowNormal = "Triangle_Button_Normal.png";
    static constexpr const char* kArrowPressed = "Triangle_Button_Pressed.png";

    static ZUIResolutionSelector* create();
    bool init() override;

    std::string resolutionText() const { return ::resolutionText(currentIndex); }
    void onPrevious();
    void onNext();
    // The check box's listener: selected gives full screen, unselected a
    // window of the size of RES_INDEX.
    void onFullScreenChanged(bool selected);

    // Children; the node tree keeps them alive.
    cocos2d::ui::Button* leftArrow = nullptr;
    cocos2d::ui::Button* rightArrow = nullptr;
    cocos2d::Size screenSize;
    int maxIndex = 0;
    cocos2d::Label* valueLabel = nullptr;
    int currentIndex = 0;
    cocos2d::Label* fullScreenLabel = nullptr;
    cocos2d::ui::CheckBox* fullScreenCheckBox = nullptr;
    cocos2d::Label* titleLabel = nullptr;

protected:
    void step(int delta);
};
