#include "app/menus/ZUIResolutionSelector.h"

#include "app/start/Settings.h"
#include "engine/Director.h"
#include "engine/GLView.h"
#include "engine/Label.h"
#include "engine/ui/UIButton.h"
#include "engine/ui/UICheckBox.h"

using namespace cocos2d;

namespace {
const Color4B kTextColour(51, 51, 51, 255);

Label* settingsLabel(const std::string& text) {
    Label* label = Label::createWithTTF(text, "fonts/riffic.ttf", 100, Size::ZERO, TextHAlignment::LEFT,
                                        TextVAlignment::TOP);
    label->setTextColor(kTextColour);
    return label;
}

GLView* view() {
    return Director::getInstance()->getOpenGLView();
}

void showWindowed(int index) {
    if (index < 0 || index >= static_cast<int>(resolutionList.size())) return;
    if (GLView* v = view()) v->setWindowed(resolutionList[index].width, resolutionList[index].height);
}
}  // namespace

int resolutionMaxIndex(float screenWidth) {
    int last = -1;
    for (std::size_t i = 0; i < resolutionList.size(); ++i) {
        if (static_cast<float>(resolutionList[i].width) <= screenWidth) last = static_cast<int>(i);
    }
    return last;
}

std::string resolutionText(int index) {
    if (index < 0 || index >= static_cast<int>(resolutionList.size())) return "?";
    const Resolution& r = resolutionList[static_cast<std::size_t>(index)];
    return std::to_string(r.width) + " x " + std::to_string(r.height);
}

ZUIResolutionSelector* ZUIResolutionSelector::create() {
    return createWithInit<ZUIResolutionSelector>();
}

bool ZUIResolutionSelector::init() {
    if (!Node::init()) return false;
    screenSize = view() != nullptr ? view()->getMonitorSize() : Size::ZERO;
    currentIndex = Settings.RES_INDEX;
    maxIndex = resolutionMaxIndex(screenSize.width);

    leftArrow = ui::Button::create(kArrowNormal, kArrowPressed, kArrowNormal, ui::TextureResType::PLIST);
    addChild(leftArrow);
    rightArrow = ui::Button::create(kArrowNormal, kArrowPressed, kArrowNormal, ui::TextureResType::PLIST);
    rightArrow->setFlippedX(true);
    addChild(rightArrow);
    leftArrow->addClickEventListener([this](Ref*) { onPrevious(); });
    rightArrow->addClickEventListener([this](Ref*) { onNext(); });

    titleLabel = settingsLabel("Resolution");
    valueLabel = settingsLabel(resolutionText());
    addChild(titleLabel);
    titleLabel->setPosition(
        Vec2(titleLabel->getContentSize().width / 2, titleLabel->getContentSize().height / 2));
    addChild(valueLabel);
    const Size titleSize = titleLabel->getContentSize();
    leftArrow->setPosition(titleLabel->getPosition() +
                           Vec2(titleSize.width / 2 + leftArrow->getContentSize().width / 2 + 70, 0));
    valueLabel->setPosition(leftArrow->getPosition() + Vec2(375, 0));
    rightArrow->setPosition(leftArrow->getPosition() + Vec2(rightArrow->getContentSize().width / 2 + 770, 0));

    fullScreenLabel = settingsLabel("Full Screen");
    fullScreenCheckBox =
        ui::CheckBox::create("CheckBox_Normal.png", "CheckBox_Press.png", "CheckBoxNode_Normal.png",
                             "CheckBox_Disable.png", "CheckBoxNode_Disabled.png", ui::TextureResType::PLIST);
    const Size labelSize = fullScreenLabel->getContentSize();
    const float rowY = titleLabel->getPositionY() + titleSize.height / 2 + labelSize.height / 2 + 50;
    fullScreenLabel->setPosition(Vec2(labelSize.width / 2, rowY));
    fullScreenCheckBox->setPosition(Vec2(fullScreenLabel->getPositionX() + labelSize.width / 2 +
                                             fullScreenCheckBox->getContentSize().width / 2 + 300,
                                         rowY));
    fullScreenCheckBox->addEventListener([this](Ref*, ui::CheckBox::EventType type) {
        onFullScreenChanged(type == ui::CheckBox::EventType::SELECTED);
    });
    fullScreenCheckBox->setSelected(Settings.FULLSCREEN);
    addChild(fullScreenLabel);
    addChild(fullScreenCheckBox);

    setContentSize(Size(rightArrow->getPositionX() + rightArrow->getContentSize().width,
                        fullScreenLabel->getPositionY() + labelSize.height / 2));
    setAnchorPoint(Vec2(0.5f, 0.5f));
    return true;
}

void ZUIResolutionSelector::step(int delta) {
    currentIndex += delta;
    valueLabel->setString(resolutionText());
    Settings.RES_INDEX = currentIndex;
    Settings.FULLSCREEN = false;
    showWindowed(currentIndex);
    fullScreenCheckBox->setSelected(false);
}

void ZUIResolutionSelector::onPrevious() {
    if (currentIndex <= 0) return;
    step(-1);
}

void ZUIResolutionSelector::onNext() {
    if (currentIndex >= maxIndex) return;
    step(+1);
}

void ZUIResolutionSelector::onFullScreenChanged(bool selected) {
    if (selected) {
        Settings.FULLSCREEN = true;
        if (GLView* v = view()) v->setFullscreen();
    } else {
        Settings.FULLSCREEN = false;
        showWindowed(Settings.RES_INDEX);
    }
}
