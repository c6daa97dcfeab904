#include "app/ingame/MultiplayerInGameHUD.h"

#include <algorithm>

#include "app/ingame/ScoreCounterHUD.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/Director.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "foundation/Error.h"
#include "presentation/players/PlayerLooks.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scores/ScoreKeeperRegistry.h"

using namespace cocos2d;

namespace {

constexpr const char* kHeaderFont = "fonts/riffic.ttf";

// What a node covers in its parent: content size times scale.
Size extent(const Node* node) {
    const Size size = node->getContentSize();
    return Size(size.width * node->getScaleX(), size.height * node->getScaleY());
}

}  // namespace

std::string playerCountText(u32 players) {
    return std::to_string(players) + (players < 2 ? " lab rat playing" : " lab rats playing");
}

MultiplayerInGameHUD* MultiplayerInGameHUD::create(Zarn::PlayerInfoManager& players, u32 instanceNumber,
                                                   Zarn::LevelScoreMap& scores) {
    return createWithInit<MultiplayerInGameHUD>(players, instanceNumber, scores);
}

bool MultiplayerInGameHUD::init(Zarn::PlayerInfoManager& players, u32 instanceNumber,
                                Zarn::LevelScoreMap& scores) {
    if (!Node::init()) return false;
    players_ = &players;
    scores_ = &scores;
    instanceNumber_ = instanceNumber;
    scheduleUpdate();
    buildLevelsButton();
    for (const auto& [clientID, info] : players.all()) addPlayerRow(clientID);
    buildHeader();
    return true;
}

void MultiplayerInGameHUD::buildLevelsButton() {
    levelsButton_ = ZUICoreButton::create(coreButtonStyles[0], kLevelsIcon);
    levelsButton_->setOpacity(180);
    levelsButton_->setScale(0.4f);
    addChild(levelsButton_);
    const Size visible = Director::getInstance()->getVisibleSize();
    const Size size = extent(levelsButton_);
    levelsButton_->setPosition(Vec2(size.width / 2.0f + 20.0f, visible.height - size.height / 2.0f - 20.0f));
    levelsButton_->callback = [this] {
        if (leaveCallback) leaveCallback();
    };
}

void MultiplayerInGameHUD::buildHeader() {
    instanceLabel_ = Label::createWithTTF("Instance #" + std::to_string(instanceNumber_), kHeaderFont, 36.0f);
    instanceLabel_->setTextColor(Color4B::WHITE);
    instanceLabel_->enableOutline(Color4B::BLACK, 2);
    instanceLabel_->setScale(0.5f);
    addChild(instanceLabel_);
    const Size label = extent(instanceLabel_);
    const Size button = extent(levelsButton_);
    instanceLabel_->setPosition(levelsButton_->getPosition() +
                                Vec2(label.width / 2.0f + button.width / 2.0f + 10.0f, label.height / 2.0f));

    countLabel_ = Label::createWithTTF(playerCountText(0), kHeaderFont, 30.0f);
    countLabel_->setTextColor(Color4B::WHITE);
    countLabel_->enableOutline(Color4B::BLACK, 2);
    countLabel_->setScale(0.5f);
    addChild(countLabel_);
    shownCount_ = 0;
    updatePlayerCount();
}

void MultiplayerInGameHUD::updatePlayerCount() {
    if (countLabel_ == nullptr) return;
    const u32 n = static_cast<u32>(players_->all().size());
    if (n == shownCount_) return;
    shownCount_ = n;
    countLabel_->setString(playerCountText(n));
    const Size instance = extent(instanceLabel_);
    const Size count = extent(countLabel_);
    countLabel_->setPosition(
        Vec2(instanceLabel_->getPositionX() - instance.width / 2.0f + count.width / 2.0f,
             instanceLabel_->getPositionY() - instance.height / 2.0f - count.height / 2.0f));
}

void MultiplayerInGameHUD::addPlayerRow(u32 clientID) {
    const Zarn::PlayerInfo& info = players_->getInfo(clientID);
    // A player who joins again keeps one badge.
    if (badgeOf_.count(clientID) != 0) removePlayer(clientID);

    Label* name = Label::createWithTTF(info.name, kHeaderFont, 36.0f);
    name->enableOutline(Color4B::BLACK, 2);
    DeathCountHUD* badge = DeathCountHUD::create(kBadgeFrame);
    Sprite* disc = Sprite::createWithSpriteFrameName(kDiscFrame);
    const Color4B colour = playerColour(clientID);
    disc->setColor(Color3B(colour.r, colour.g, colour.b));
    disc->setPosition(Vec2(badge->getContentSize().width / 2.0f, badge->getContentSize().height / 2.0f));
    badge->addChild(disc, -1);
    badge->setScale(kBadgeScale);
    placeName(name);
    badge->addChild(name);
    addChild(badge);

    placeBadge(badge, lastBadge_);
    lastBadge_ = badge;
    badgeOf_[clientID] = badge;
    nameOf_[clientID] = name;
    badges_.push_back(badge);
    liveScores_[clientID] = &(*scores_)[clientID];
    shownScores_[clientID] = Zarn::LevelScore{};
}

void MultiplayerInGameHUD::placeName(Label* name) {
    const Size nameSize = extent(name);
    name->setPosition(Vec2(nameSize.width / 2.0f, -nameSize.height / 2.0f - 10.0f));
}

void MultiplayerInGameHUD::renamePlayer(u32 clientID) {
    const auto found = nameOf_.find(clientID);
    if (found == nameOf_.end() || !players_->hasInfo(clientID)) return;
    found->second->setString(players_->getInfo(clientID).name);
    placeName(found->second);
}

Label* MultiplayerInGameHUD::getBadgeName(u32 clientID) const {
    const auto found = nameOf_.find(clientID);
    return found == nameOf_.end() ? nullptr : found->second;
}

void MultiplayerInGameHUD::placeBadge(DeathCountHUD* badge, const DeathCountHUD* before) {
    if (before == nullptr) {
        const Size visible = Director::getInstance()->getVisibleSize();
        badge->setPosition(Vec2(visible.width - 70.0f, visible.height - extent(badge).width / 2.0f - 20.0f));
        return;
    }
    badge->setPosition(
        before->getPosition() -
        Vec2(extent(badge).width / 2.0f + before->getContentSize().width / 2.0f + kBadgeGap, 0.0f));
}

void MultiplayerInGameHUD::removePlayer(u32 clientID) {
    const auto found = badgeOf_.find(clientID);
    if (found != badgeOf_.end()) {
        DeathCountHUD* gone = found->second;
        badges_.remove(gone);
        badgeOf_.erase(found);
        nameOf_.erase(clientID);
        removeChild(gone, true);
        lastBadge_ = nullptr;
        for (DeathCountHUD* badge : badges_) {
            placeBadge(badge, lastBadge_);
            lastBadge_ = badge;
        }
    }
    liveScores_.erase(clientID);
    scores_->erase(clientID);
    shownScores_.erase(clientID);
}

DeathCountHUD* MultiplayerInGameHUD::getBadge(u32 clientID) const {
    const auto found = badgeOf_.find(clientID);
    return found == badgeOf_.end() ? nullptr : found->second;
}

void MultiplayerInGameHUD::update(float) {
    for (const auto& [clientID, live] : liveScores_) {
        if (live == nullptr) continue;
        Zarn::LevelScore& shown = shownScores_[clientID];
        if (shown.deaths == live->deaths) continue;
        shown = *live;
        if (DeathCountHUD* badge = getBadge(clientID)) badge->setValue(live->deaths);
    }
    updatePlayerCount();
}
