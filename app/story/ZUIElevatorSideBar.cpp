#include "app/story/ZUIElevatorSideBar.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/menus/ZUIMainMenuScene.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/widgets/CreateConfigured.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUIElevatorToggleButton.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/Event.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "engine/Transition.h"
#include "presentation/audio/SoundPlayer.h"
#include "simulation/progress/SinglePlayerData.h"

using namespace cocos2d;

namespace {

Color4F solid(const Color3B& c) {
    return Color4F(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1.0f);
}

const Color3B kBarColour(110, 177, 161);
const Color3B kSlotColour(124, 124, 124);
const Rect kLockedSlotArea(0, 253.333f, 420.577f, 836.297f);

}  // namespace

const Vec2 ZUIElevatorSideBar::kLockedSlots[3][4] = {
    {{0, 253.333f}, {0, 505.001f}, {420.577f, 518.666f}, {407.656f, 277.248f}},
    {{0, 548}, {0, 809.333f}, {442.413f, 783.268f}, {422.034f, 554.332f}},
    {{0, 847.65f}, {0, 1089.63f}, {467.159f, 1081.65f}, {443.141f, 818.666f}}};
const Vec2 ZUIElevatorSideBar::kLockedSlotAnchors[3] = {
    {122.565f, 297.333f}, {122.565f, 582}, {122.565f, 862}};

ZUIElevatorSideBar* ZUIElevatorSideBar::create(Zarn::SinglePlayerData* progress) {
    return createConfigured<ZUIElevatorSideBar>([&](ZUIElevatorSideBar& bar) { bar.progress = progress; });
}

bool ZUIElevatorSideBar::init() {
    if (!Node::init()) return false;
    buildBar(progress->runComplete != 0 ? kWideWidth : kNarrowWidth);
    return true;
}

void ZUIElevatorSideBar::buildBar(float width) {
    const bool wide = width == kWideWidth;
    DrawNode* background = DrawNode::create(2);
    const std::vector<Vec2> shape = wide ? std::vector<Vec2>{{0, 0}, {0, 1440}, {820, 1440}, {710.768f, 0}}
                                         : std::vector<Vec2>{{0, 0}, {0, 1436}, {446, 1436}, {373, 0}};
    background->drawPolygon(shape, 4, solid(kBarColour), 5.0f, solid(kBarColour));
    setContentSize(Size(width, kHeight));
    setAnchorPoint(Vec2(0.5f, 0.5f));
    addChild(background);

    numberPlate = Sprite::createWithSpriteFrameName(wide ? "ele_number_background_large.png"
                                                         : "ele_number_background.png");
    addChild(numberPlate);
    numberPlate->setPosition(Vec2(width / 2, kHeight - (numberPlate->getContentSize().height / 2 + 50)));
    numberPlate->setColor(Color3B(239, 240, 240));

    homeButton = ZUICoreButton::create(coreButtonStyles[0], "icon_home.png");
    addChild(homeButton);
    homeButton->setPosition(Vec2(width / 2 - 30, homeButton->getContentSize().height / 2 + 50));
    homeButton->callback = [] {
        Director::getInstance()->replaceScene(TransitionMoveInB::create(0.4f, ZUIMainMenuScene::create(0)));
    };

    floorLabel = Label::createWithTTF("00", "fonts/riffic.ttf", 180);
    numberPlate->addChild(floorLabel);
    floorLabel->setTextColor(Color4B(41, 104, 104, 255));
    const Size plate = numberPlate->getContentSize();
    floorLabel->setPosition(Vec2(plate.width / 2, plate.height / 2) + Vec2(0, -30));

    if (wide)
        addModeToggles();
    else
        addLockedModeSlots();
}

void ZUIElevatorSideBar::addModeToggles() {
    limitedLivesToggle = ZUIElevatorToggleButton::create(elevatorToggleButtonConfigs[2]);
    timeAttackToggle = ZUIElevatorToggleButton::create(elevatorToggleButtonConfigs[1]);
    timerToggle = ZUIElevatorToggleButton::create(elevatorToggleButtonConfigs[0]);
    const std::pair<ZUIElevatorToggleButton*, float> placed[] = {
        {limitedLivesToggle, 252.0f}, {timeAttackToggle, 548.0f}, {timerToggle, 818.666f}};
    for (const auto& [toggle, y] : placed) {
        addChild(toggle);
        toggle->setPosition(
            Vec2(toggle->getContentSize().width / 2, toggle->getContentSize().height / 2 + y));
    }
    const std::pair<ZUIElevatorToggleButton*, Zarn::PlayMode> modes[] = {
        {timerToggle, Zarn::playMode::timer},
        {timeAttackToggle, Zarn::playMode::timeAttack},
        {limitedLivesToggle, Zarn::playMode::limitedLives}};
    const std::vector<u8> active = progress->activeModes();
    for (const auto& [toggle, mode] : modes)
        if (std::count(active.begin(), active.end(), mode) == 1) toggle->showOn();

    auto switchMode = [this](Zarn::PlayMode mode, bool on) {
        if (on)
            progress->enableMode(mode);
        else
            progress->disableMode(mode);
    };
    timerToggle->callback = [this, switchMode](bool on) {
        switchMode(Zarn::playMode::timer, on);
        writeSinglePlayerProgress(*progress);
    };
    timeAttackToggle->callback = [this, switchMode](bool on) {
        switchMode(Zarn::playMode::timeAttack, on);
        writeSinglePlayerProgress(*progress);
    };
    limitedLivesToggle->callback = [this, switchMode](bool on) {
        switchMode(Zarn::playMode::limitedLives, on);
        if (progress->lives == 0) progress->restartLives();
        writeSinglePlayerProgress(*progress);
        if (modesChanged) modesChanged();
    };
}

void ZUIElevatorSideBar::addLockedModeSlots() {
    DrawNode* slots = DrawNode::create(2);
    for (const auto& quad : kLockedSlots)
        slots->drawPolygon(quad, 4, solid(kSlotColour), 5.0f, solid(kSlotColour));
    addChild(slots);
    for (const Vec2& p : kLockedSlotAnchors) {
        Sprite* shadow = Sprite::createWithSpriteFrameName("ele_button_circle_center.png");
        Sprite* disc = Sprite::createWithSpriteFrameName("ele_button_circle_center.png");
        Sprite* lock = Sprite::createWithSpriteFrameName("ele_lock.png");
        shadow->setColor(Color3B(71, 71, 71));
        disc->setColor(Color3B(214, 214, 214));
        addChild(shadow);
        addChild(disc);
        addChild(lock);
        disc->setPosition(p + Vec2(disc->getContentSize().width / 2, disc->getContentSize().height / 2));
        shadow->setPosition(disc->getPosition() + Vec2(15, -15));
        lock->setPosition(disc->getPosition());
    }
    unlockHint =
        Label::createWithTTF("BEAT\nSINGLE\nPLAYER\nTO\nUNLOCK\nCHALLENGE\nMODES!", "fonts/riffic.ttf", 60);
    unlockHint->setVisible(false);
    unlockHint->setLineSpacing(20);
    unlockHint->enableOutline(Color4B::BLACK, 5);
    unlockHint->setAdditionalKerning(4);
    unlockHint->setHorizontalAlignment(TextHAlignment::CENTER);
    addChild(unlockHint);
    unlockHint->setPosition(Vec2(212.565f, 672));
    unlockHint->setRotation(-5);

    auto mouse = EventListenerMouse::create();
    mouse->onMouseMove = [this](EventMouse* e) { onMouseMove(e); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, this);
    auto touch = EventListenerTouchOneByOne::create();
    touch->onTouchBegan = [this](Touch* t, Event* e) { return onTouchBegan(t, e); };
    touch->onTouchEnded = [](Touch*, Event*) {};
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touch, this);
}

bool ZUIElevatorSideBar::inLockedSlots(const Vec2& point) const {
    return kLockedSlotArea.containsPoint(convertToNodeSpace(point));
}

void ZUIElevatorSideBar::onMouseMove(EventMouse* event) {
    if (unlockHint != nullptr) unlockHint->setVisible(inLockedSlots(event->getLocation()));
}

bool ZUIElevatorSideBar::onTouchBegan(Touch* touch, Event*) {
    if (unlockHint != nullptr && inLockedSlots(touch->getLocation()))
        unlockHint->setVisible(!unlockHint->isVisible());
    return true;
}

void ZUIElevatorSideBar::showFloor(int levelIndex) {
    floorLabel->setString(std::to_string(levelIndex));
    const char* sound = "sound/elevator_panel/bell.mp3";
    if (levelIndex != rememberedFloor) {
        sound = "sound/elevator_panel/transit_chime.mp3";
        rememberedFloor = levelIndex;
    }
    runAction(Sequence::create(DelayTime::create(0.3f), CallFunc::create([sound] {
                                   SoundPlayer::getInstance()->playEffect(sound, 1.0f, 1.0f);
                               })));
}
