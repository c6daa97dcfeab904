#include "app/menus/ZUIMultiplayerPanel.h"

#include <cmath>
#include <vector>

#include "app/menus/ArtSpace.h"
#include "app/menus/BackButtons.h"
#include "app/start/Settings.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/ui/UISlider.h"
#include "engine/ui/UITextField.h"

using namespace cocos2d;

namespace {

const char* const kFont = "fonts/riffic.ttf";
const Color4B kDarkGrey(51, 51, 51, 255);
const Color4B kPlum(147, 58, 120, 255);
const Color4B kFieldText(117, 103, 114, 255);

// Where an element goes so that its own origin sits on `origin` of the canvas.
Vec2 artOrigin(const Vec2& origin) {
    return Vec2(origin.x - kArtWidth / 2, origin.y - kArtHeight / 2);
}

void fillQuad(DrawNode* node, const std::vector<Vec2>& corners, const Color4F& colour) {
    node->drawPolygon(corners, static_cast<int>(corners.size()), colour, 5.0f, colour);
}

}  // namespace

int latencySliderPercent(u32 latencyMs) {
    const double percent =
        (static_cast<double>(latencyMs) - kMinSliderLatencyMs) / kSliderLatencySpanMs * 100.0;
    if (percent <= 0.0) return 0;
    if (percent >= 100.0) return 100;
    return static_cast<int>(percent);
}

u32 latencyFromSliderPercent(int percent) {
    const float latency = static_cast<float>(percent) / 100.0f * static_cast<float>(kSliderLatencySpanMs) +
                          static_cast<float>(kMinSliderLatencyMs);
    return static_cast<u32>(latency);
}

std::string latencyText(u32 latencyMs) {
    return std::to_string(latencyMs) + "ms";
}

ZUIMultiplayerPanel::~ZUIMultiplayerPanel() {
    saveSettings();
}

bool ZUIMultiplayerPanel::init() {
    if (!Node::init()) return false;
    referenceSize = Size(kArtWidth, kArtHeight);
    coopButton = addModeButton("Co-op", 3, Vec2(62.667f, 730.107f), Vec2(0, 0));
    joinGameButton = addModeButton("Join\nGame", 5, Vec2(758.667f, 618.667f), Vec2(30, 0));
    raceButton = addModeButton("Race", 4, Vec2(105.794f, -49.172f), Vec2(0, 0));
    customGameButton = addModeButton("Custom\nGame", 6, Vec2(847.127f, -34.505f), Vec2(0, 0));
    addNetworkInfoBox();
    nicknameField = addTextField("Nickname", Vec2(1641.31f, 977.233f), 14);
    instanceField = addTextField("Instance #", Vec2(1641.31f, 734.567f), 8);
    addLatencySlider();
    backButton = addTopRightBackIcon(this);
    return true;
}

ZUISkewedRectButton* ZUIMultiplayerPanel::addModeButton(const char* text, int styleId, const Vec2& corner,
                                                        const Vec2& labelOffset) {
    ZUISkewedRectButton* button = ZUISkewedRectButton::create(skewedRectButtonStyles[styleId]);
    addChild(button);
    button->setPosition(artCorner(corner, button->getContentSize()));
    Label* label = Label::createWithTTF(text, kFont, 144);
    button->getFace()->addChild(label);
    const Size size = button->getContentSize();
    label->setPosition(Vec2(size.width / 2, size.height / 2) + labelOffset);
    label->setTextColor(kDarkGrey);
    label->setRotation(-5.0f);
    button->onHover = [label] { label->setTextColor(Color4B::WHITE); };
    button->onUnhover = [label] { label->setTextColor(kDarkGrey); };
    return button;
}

void ZUIMultiplayerPanel::addNetworkInfoBox() {
    DrawNode* box = DrawNode::create(2.0f);
    fillQuad(box, {Vec2(83.459f, 0), Vec2(0, 517.12f), Vec2(801.332f, 449.333f), Vec2(830.665f, 0)},
             Color4F(Color3B(130, 56, 158), 1.0f));
    fillQuad(box, {Vec2(114.696f, 0), Vec2(30.354f, 642.436f), Vec2(965.333f, 617.333f), Vec2(965.333f, 0)},
             Color4F(Color3B(239, 223, 237), 1.0f));
    addChild(box);
    box->setPosition(artOrigin(Vec2(1594.66f, 0)));

    Label* title = Label::createWithTTF("Network Info", kFont, 120);
    addChild(title);
    title->setPosition(artCorner(Vec2(1763.18f, 466.71f), title->getContentSize()));
    title->setTextColor(kPlum);
}

DrawNode* ZUIMultiplayerPanel::makeFieldBackdrop() {
    DrawNode* backdrop = DrawNode::create(2.0f);
    fillQuad(backdrop, {Vec2(27.596f, 7.243f), Vec2(0, 189.537f), Vec2(855.08f, 189.239f), Vec2(849.11f, 0)},
             Color4F(1.0f, 1.0f, 1.0f, 200.0f / 255.0f));
    return backdrop;
}

ui::TextField* ZUIMultiplayerPanel::addTextField(const char* placeholder, const Vec2& backdropOrigin,
                                                 int maxLength) {
    DrawNode* backdrop = makeFieldBackdrop();
    addChild(backdrop);
    backdrop->setPosition(artOrigin(backdropOrigin));
    ui::TextField* field = ui::TextField::create(placeholder, kFont, 120);
    addChild(field);
    field->setPosition(backdrop->getPosition() + Vec2(400, 80));
    field->setTextColor(kFieldText);
    field->setCursorEnabled(true);
    field->setMaxLengthEnabled(true);
    field->setMaxLength(maxLength);
    return field;
}

void ZUIMultiplayerPanel::addLatencySlider() {
    Label* title = Label::createWithTTF("Network Latency", kFont, 60);
    addChild(title);
    title->setTextColor(kPlum);
    title->setPosition(artCorner(Vec2(1855, 141), title->getContentSize()));

    latencyLabel = Label::createWithTTF(latencyText(Settings.NETWORK_LATENCY), kFont, 45);
    addChild(latencyLabel);
    latencyLabel->setTextColor(kDarkGrey);

    latencySlider = ui::Slider::create();
    latencySlider->setScale(0.5f);
    latencySlider->loadBarTexture("Slider_Back.png", ui::TextureResType::PLIST);
    latencySlider->loadSlidBallTextures("SliderNode_Normal.png", "SliderNode_Press.png",
                                        "SliderNode_Disable.png", ui::TextureResType::PLIST);
    latencySlider->loadProgressBarTexture("Slider_PressBar.png", ui::TextureResType::PLIST);
    latencySlider->setPosition(title->getPosition() + Vec2(0, -75));
    latencySlider->addEventListener([this](Ref*, ui::Slider::EventType) { onLatencyChanged(); });
    latencySlider->setPercent(latencySliderPercent(Settings.NETWORK_LATENCY));
    addChild(latencySlider);
    latencyLabel->setPosition(latencySlider->getPosition() + Vec2(0, -60));
}

void ZUIMultiplayerPanel::onLatencyChanged() {
    const u32 latency = latencyFromSliderPercent(latencySlider->getPercent());
    Settings.NETWORK_LATENCY = latency;
    latencyLabel->setString(latencyText(latency));
}
