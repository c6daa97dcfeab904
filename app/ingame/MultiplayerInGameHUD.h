#pragma once

#include <functional>
#include <list>
#include <string>
#include <unordered_map>

#include "engine/Node.h"
#include "simulation/scores/LevelScore.h"

namespace cocos2d {
class Label;
}
namespace Zarn {
class LevelScoreMap;
class PlayerInfoManager;
}  // namespace Zarn
class DeathCountHUD;
class ZUICoreButton;

// "1 lab rat playing", "2 lab rats playing" (and "0 lab rats playing").
std::string playerCountText(u32 players);

// The heads-up display of online play: at the top left a button with the
// levels icon (it runs the leave callback), the game instance's number
// ("Instance #7") and the number of players; along the top right edge, from
// right to left in joining order, one badge per player: the player's deaths
// on a disc in the player's colour, the name under it. Each frame it
// refreshes a badge only when that player's deaths changed and the count
// only when the number of players changed. A child of the online scene, in
// design coordinates of the visible area.
//
// The player infos and the score table belong to the client and outlive the
// display. Main thread only.
class MultiplayerInGameHUD : public cocos2d::Node {
public:
    static constexpr const char* kLevelsIcon = "icon_levels.png";
    static constexpr const char* kBadgeFrame = "hud_multi_death_front.png";
    static constexpr const char* kDiscFrame = "hud_multi_death_back.png";
    static constexpr float kBadgeScale = 0.3f;
    static constexpr float kBadgeGap = 40.0f;

    static MultiplayerInGameHUD* create(Zarn::PlayerInfoManager& players, u32 instanceNumber,
                                        Zarn::LevelScoreMap& scores);
    // The levels button, a badge for every player the infos hold (in their
    // order), then the header.
    bool init(Zarn::PlayerInfoManager& players, u32 instanceNumber, Zarn::LevelScoreMap& scores);

    // A badge for a player that joined, left of the last one. Throws
    // Convinience::Error "no such player info" (adding nothing) for a client
    // the infos do not know.
    void addPlayerRow(u32 clientID);
    // The player's badge goes (the others close up from the right edge) with
    // its score entries; a client without a badge only loses its entries.
    void removePlayer(u32 clientID);
    // The player's info changed: its badge shows the new name. A client
    // without a badge or info is ignored.
    void renamePlayer(u32 clientID);
    void update(float dt) override;

    // Run by the levels button; empty: the button does nothing.
    std::function<void()> leaveCallback;

    ZUICoreButton* getLevelsButton() const { return levelsButton_; }
    cocos2d::Label* getInstanceLabel() const { return instanceLabel_; }
    cocos2d::Label* getPlayerCountLabel() const { return countLabel_; }
    // The client's badge, or null.
    DeathCountHUD* getBadge(u32 clientID) const;
    // The name under the client's badge, or null.
    cocos2d::Label* getBadgeName(u32 clientID) const;
    // Right to left, in joining order.
    const std::list<DeathCountHUD*>& getBadges() const { return badges_; }

private:
    void buildLevelsButton();
    void buildHeader();
    void updatePlayerCount();
    // Puts the badge at the right edge (no badge before it) or left of the
    // one before.
    void placeBadge(DeathCountHUD* badge, const DeathCountHUD* before);
    // Under the badge, its left edge at the badge's origin.
    static void placeName(cocos2d::Label* name);

    Zarn::PlayerInfoManager* players_ = nullptr;
    Zarn::LevelScoreMap* scores_ = nullptr;
    // Children of this node; the node tree keeps them alive.
    DeathCountHUD* lastBadge_ = nullptr;
    std::unordered_map<u32, DeathCountHUD*> badgeOf_;
    std::unordered_map<u32, cocos2d::Label*> nameOf_;
    std::list<DeathCountHUD*> badges_;
    // Records inside the score table (its nodes stay put while it grows).
    std::unordered_map<u32, const Zarn::LevelScore*> liveScores_;
    std::unordered_map<u32, Zarn::LevelScore> shownScores_;
    ZUICoreButton* levelsButton_ = nullptr;
    cocos2d::Label* instanceLabel_ = nullptr;
    cocos2d::Label* countLabel_ = nullptr;
    u32 instanceNumber_ = 0;
    u32 shownCount_ = 0;
};
