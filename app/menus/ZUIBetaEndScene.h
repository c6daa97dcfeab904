#pragma once

#include <string>
#include <vector>

#include "engine/Scene.h"

namespace cocos2d {
class DrawNode;
class Node;
namespace ui {
class Button;
}
}  // namespace cocos2d
class ZUICoreButton;
class ZUISkewedRectButton;

// A round link icon of the end-of-levels scene and the web page it opens.
struct EndSceneLink {
    const char* frameName;
    const char* address;
};
// The game's own pages, left to right. Services the game has no page on get
// no icon; while the game has no site the row is empty.
extern const std::vector<EndSceneLink> endSceneLinks;

// Places `node` at the anchor's height, to its right, with `gap` units
// between their boxes (content size times scale, in the parent).
void placeRightOf(cocos2d::Node* node, const cocos2d::Node* anchor, float gap);

// The thank-you scene of the story: a splash across the visible width, a row
// of link icons along the bottom (each on a black dot) that open the game's
// pages in the desktop's browser, and a back icon to the main menu. Shown
// after the last level and from the main menu's credits icon; after the
// level before the bonus challenges it also carries the button that starts
// the first of them. Created anew each time it is shown; keeps no state.
// Main thread only.
class ZUIBetaEndScene : public cocos2d::Scene {
public:
    static constexpr const char* kSplash = "2D/thank_you_splash.png";
    // The first link icon's centre; the others follow to its right.
    static constexpr float kRowX = 160.0f;
    static constexpr float kRowY = 40.0f;
    static constexpr float kRowGap = 30.0f;
    static constexpr float kDotRadius = 45.0f;

    // The scene with the game's pages (endSceneLinks), or with the links given.
    static ZUIBetaEndScene* create();
    static ZUIBetaEndScene* create(const std::vector<EndSceneLink>& links);
    bool init() override;
    bool initWithLinks(const std::vector<EndSceneLink>& links);

    // Adds the bonus-challenge button in the bottom-right corner.
    void addBonusChallenges();
    // The bonus button's click: the first bonus challenge (index count - 5
    // of the level list) becomes the level being played and starts through
    // the single-play host with a 1.5 s fade. Does nothing when the list has
    // fewer than five levels; a level that cannot be brought up leaves this
    // scene running.
    void startBonusChallenges();

    // Children of the scene (the node tree keeps them alive). The web site's
    // icon is null while the links hold no "website.png".
    cocos2d::ui::Button* websiteButton = nullptr;
    ZUICoreButton* backButton = nullptr;
    // Null until addBonusChallenges runs.
    ZUISkewedRectButton* bonusButton = nullptr;

    // In the order of endSceneLinks.
    const std::vector<cocos2d::ui::Button*>& getLinkButtons() const { return linkButtons_; }
    cocos2d::DrawNode* getDots() const { return dots_; }

private:
    std::vector<cocos2d::ui::Button*> linkButtons_;
    cocos2d::DrawNode* dots_ = nullptr;
};
