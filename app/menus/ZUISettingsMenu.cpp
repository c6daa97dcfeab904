#include "app/menus/ZUISettingsMenu.h"

#include "app/menus/ArtSpace.h"
#include "app/menus/ZUIResolutionSelector.h"
#include "app/start/Settings.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/Label.h"
#include "engine/ui/UISlider.h"

using namespace cocos2d;

ZUISettingsMenu* ZUISettingsMenu::create() {
    return createWithInit<ZUISettingsMenu>();
}

ui::Slider* ZUISettingsMenu::addVolumeRow(const char* caption, const Vec2& labelCorner,
                                          const Vec2& sliderCorner, int percent,
                                          void (ZUISettingsMenu::*changed)(), Label*& label) {
    label = Label::createWithTTF(caption, "fonts/riffic.ttf", 100, Size::ZERO, TextHAlignment::LEFT,
                                 TextVAlignment::TOP);
    addChild(label);
    label->setTextColor(Color4B(51, 51, 51, 255));
    label->setPosition(artCorner(labelCorner, label->getContentSize()));

    ui::Slider* slider = ui::Slider::create();
    slider->loadBarTexture("Slider_Back.png", ui::TextureResType::PLIST);
    slider->loadSlidBallTextures("SliderNode_Normal.png", "SliderNode_Press.png", "SliderNode_Disable.png",
                                 ui::TextureResType::PLIST);
    slider->loadProgressBarTexture("Slider_PressBar.png", ui::TextureResType::PLIST);
    slider->setPosition(artCorner(sliderCorner, slider->getContentSize()));
    slider->addEventListener([this, changed](Ref*, ui::Slider::EventType) { (this->*changed)(); });
    slider->setPercent(percent);
    addChild(slider);
    return slider;
}

bool ZUISettingsMenu::init() {
    if (!Node::init()) return false;
    effectsSlider =
        addVolumeRow("Effects Volume", Vec2(633, 590), Vec2(763.701f, 463.626f), Settings.EFFECT_VOLUME,
                     &ZUISettingsMenu::onEffectsSliderChanged, effectsLabel);
    musicSlider = addVolumeRow("Music Volume", Vec2(633, 313), Vec2(763.701f, 162.296f),
                               Settings.MUSIC_VOLUME, &ZUISettingsMenu::onMusicSliderChanged, musicLabel);
    resolutionSelector = ZUIResolutionSelector::create();
    addChild(resolutionSelector);
    resolutionSelector->setPosition(artCorner(Vec2(633, 795), resolutionSelector->getContentSize()));
    backButton = ZUICoreButton::create(coreButtonStyles[0], "icon_back.png");
    addChild(backButton);
    return true;
}

void ZUISettingsMenu::setBackCallback(std::function<void()> callback) {
    backCallback = std::move(callback);
    backButton->callback = [this] {
        saveSettings();
        if (backCallback) backCallback();
    };
}

void ZUISettingsMenu::onEffectsSliderChanged() {
    setEffectVolume(effectsSlider->getPercent());
}

void ZUISettingsMenu::onMusicSliderChanged() {
    setMusicVolume(musicSlider->getPercent());
}
