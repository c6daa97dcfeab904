#pragma once

#include <functional>

#include "engine/Node.h"

namespace cocos2d {
class Label;
namespace ui {
class Slider;
}
}  // namespace cocos2d
class ZUICoreButton;
class ZUIResolutionSelector;

// The settings page of the main menu: the effects and music volume sliders,
// the resolution selector and a back icon. Every change takes effect at once
// and is kept in Settings; the back icon writes the settings file and then
// runs the owner's callback. The owner places the back icon. Main thread
// only.
class ZUISettingsMenu : public cocos2d::Node {
public:
    static ZUISettingsMenu* create();
    bool init() override;

    // Stores the owner's action and makes the back icon save the settings and
    // then run it.
    void setBackCallback(std::function<void()> callback);
    void onEffectsSliderChanged();
    void onMusicSliderChanged();

    // Children; the node tree keeps them alive.
    cocos2d::Label* effectsLabel = nullptr;
    cocos2d::Label* musicLabel = nullptr;
    cocos2d::ui::Slider* effectsSlider = nullptr;
    cocos2d::ui::Slider* musicSlider = nullptr;
    ZUIResolutionSelector* resolutionSelector = nullptr;
    ZUICoreButton* backButton = nullptr;

protected:
    cocos2d::ui::Slider* addVolumeRow(const char* caption, const cocos2d::Vec2& labelCorner,
                                      const cocos2d::Vec2& sliderCorner, int percent,
                                      void (ZUISettingsMenu::*changed)(), cocos2d::Label*& label);

    std::function<void()> backCallback;
};
