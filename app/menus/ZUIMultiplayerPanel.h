#pragma once

#include <string>

#include "engine/Node.h"
#include "foundation/Types.h"

namespace cocos2d {
class DrawNode;
class Label;
namespace ui {
class Slider;
class TextField;
}  // namespace ui
}  // namespace cocos2d
class ZUICoreButton;
class ZUISkewedRectButton;

// The network latency slider's scale: 0 % is 50 ms, 100 % is 300 ms.
inline constexpr u32 kMinSliderLatencyMs = 50;
inline constexpr u32 kSliderLatencySpanMs = 250;

// The slider position of a latency, truncated, within 0 to 100 (a latency
// below 50 ms, only possible from a hand-edited file, shows at 0 %).
int latencySliderPercent(u32 latencyMs);
// The latency a slider position chooses: floor(percent / 100 x 250 + 50) in
// single precision, so 46 % gives 165 and 47 % gives 167.
u32 latencyFromSliderPercent(int percent);
// "166ms".
std::string latencyText(u32 latencyMs);

// The multiplayer page of the main menu: four slanted mode buttons ("Co-op",
// "Join\nGame", "Race", "Custom\nGame") whose labels turn white under the
// pointer, the network info box, the nickname and instance-number fields,
// the network latency slider and a back icon, laid out on the 2560 x 1440
// art space with the node's origin at its centre. The slider reads and writes
// Settings.NETWORK_LATENCY; destroying the panel writes the settings file.
// The page itself gives the mode buttons, fields and back icon no action
// (ZUIMultiplayerPanelEx and the main menu do). Main thread only.
class ZUIMultiplayerPanel : public cocos2d::Node {
public:
    ~ZUIMultiplayerPanel() override;
    bool init() override;

    // The slider moved (any slider event): store and show its latency.
    void onLatencyChanged();

    // Children (or children of a child); the node tree keeps them alive.
    ZUISkewedRectButton* coopButton = nullptr;
    ZUISkewedRectButton* raceButton = nullptr;
    ZUISkewedRectButton* joinGameButton = nullptr;
    ZUISkewedRectButton* customGameButton = nullptr;
    ZUICoreButton* backButton = nullptr;
    cocos2d::Size referenceSize;
    cocos2d::ui::TextField* instanceField = nullptr;
    cocos2d::ui::TextField* nicknameField = nullptr;
    cocos2d::ui::Slider* latencySlider = nullptr;
    cocos2d::Label* latencyLabel = nullptr;

protected:
    ZUISkewedRectButton* addModeButton(const char* text, int styleId, const cocos2d::Vec2& corner,
                                       const cocos2d::Vec2& labelOffset);
    void addNetworkInfoBox();
    cocos2d::DrawNode* makeFieldBackdrop();
    cocos2d::ui::TextField* addTextField(const char* placeholder, const cocos2d::Vec2& backdropOrigin,
                                         int maxLength);
    void addLatencySlider();
};
