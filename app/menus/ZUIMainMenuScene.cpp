#include "app/menus/ZUIMainMenuScene.h"

#include "app/menus/ArtSpace.h"
#include "app/menus/ZUIArcadePanel.h"
#include "app/menus/ZUIBetaEndScene.h"
#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIMainMenuSplash.h"
#include "app/menus/ZUIMultiplayerPanelEx.h"
#include "app/menus/ZUIRotateButtonMenu.h"
#include "app/menus/ZUISettingsMenu.h"
#include "app/start/PlatformServices.h"
#include "app/widgets/CreateConfigured.h"
#include "app/widgets/DrawNodeEx.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Layer.h"
#include "engine/Transition.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

const MainMenuView kMenuView{Vec2(0, 0), Color3B(251, 224, 197), Color3B(241, 198, 153)};
const MainMenuView kSplashView{Vec2(0, -1440), Color3B(251, 224, 197), Color3B(241, 198, 153)};
const MainMenuView kArcadeView{Vec2(0, 1440), Color3B(192, 236, 187), Color3B(125, 188, 95)};
const MainMenuView kMultiplayerView{Vec2(-2560, 0), Color3B(238, 198, 199), Color3B(193, 104, 162)};

namespace {
const Vec2 kArcadePanelPosition(0, -1440);
const Vec2 kMultiplayerPanelPosition(2560, 0);
const Vec2 kSplashPosition(-1280, 720);
const Vec2 kMainMenuPosition(0, -125);
constexpr float kIconMargin = 50.0f;
constexpr float kSettingsGap = 50.0f;
}  // namespace

// ---------------------------------------------------------------- layer

ZUIMainMenuLayer* ZUIMainMenuLayer::create() {
    return createWithInit<ZUIMainMenuLayer>();
}

bool ZUIMainMenuLayer::init() {
    if (!Node::init()) return false;
    background = LayerColor::create(Color4B::WHITE, 2560, 1440);
    background->setColor(kMenuView.background);
    background->setPosition(-1280, -720);
    addChild(background);

    circleSplashPosition = Vec2(1780, 1400) + Vec2(-1280, -720);
    circleHomePosition = Vec2(100, -768);
    circle = DrawNodeEx::create();
    circle->drawSolidCircle(Vec2::ZERO, 1280, 0, 100, Color4F::WHITE);
    circle->setColor(kMenuView.circle);
    DrawNode* circleShadow = DrawNode::create(2.0f);
    circleShadow->drawSolidCircle(Vec2::ZERO, 1280, 0, 100, Color4F(0, 0, 0, 50.0f / 255.0f));
    circleShadow->setPosition(30, -20);
    circle->addChild(circleShadow, -1);
    circle->setPosition(circleHomePosition);
    addChild(circle);

    contentNode = Node::create();
    addChild(contentNode);
    buildMainMenu();

    const ZUICoreButtonStyle& style = coreButtonStyles[0];
    exitIcon = ZUICoreButton::create(style, "icon_exit.png");
    creditsIcon = ZUICoreButton::create(style, "icon_credits.png");
    settingsIcon = ZUICoreButton::create(style, "icon_settings.png");
    contentNode->addChild(exitIcon);
    contentNode->addChild(creditsIcon);
    contentNode->addChild(settingsIcon);
    const Size exitSize = exitIcon->getContentSize();
    exitIcon->setPosition(Vec2(1280, 720) - Vec2(kIconMargin, kIconMargin) -
                          Vec2(exitSize.width / 2, exitSize.height / 2));
    creditsIcon->setPosition(exitIcon->getPosition() - Vec2(exitSize.width + kIconMargin, 0));
    settingsIcon->setPosition(creditsIcon->getPosition() -
                              Vec2(creditsIcon->getContentSize().width + kIconMargin, 0));

    exitIcon->callback = [] { Director::getInstance()->end(); };
    creditsIcon->callback = [] {
        Director::getInstance()->replaceScene(TransitionFade::create(1.0f, ZUIBetaEndScene::create()));
    };
    settingsIcon->callback = [this] { openSettings(kSettingsGap); };
    return true;
}

void ZUIMainMenuLayer::buildMainMenu() {
    mainMenu = ZUIMainMenu::create();
    mainMenu->setPosition(kMainMenuPosition);
    contentNode->addChild(mainMenu);
    mainMenu->arcadeButton->onClick = [this] { showArcadePanel(); };
    mainMenu->multiplayerButton->onClick = [this] { showMultiplayerPanel(); };
}

void ZUIMainMenuLayer::showSplash() {
    if (splash == nullptr) {
        splash = ZUIMainMenuSplash::create();
        splash->setPosition(kSplashPosition);
        contentNode->addChild(splash);
        circle->setPosition(circleSplashPosition);
    }
    splash->start();
    contentNode->setPosition(kSplashView.contentPosition);

    auto* touch = EventListenerTouchOneByOne::create();
    touch->onTouchBegan = [](Touch*, Event*) { return true; };
    touch->onTouchEnded = [this, touch](Touch*, Event*) {
        dismissSplash();
        getEventDispatcher()->removeEventListener(touch);
    };
    auto* keyboard = EventListenerKeyboard::create();
    keyboard->onKeyPressed = [this, keyboard](EventKeyboard::KeyCode, Event*) {
        dismissSplash();
        getEventDispatcher()->removeEventListener(keyboard);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touch, this);
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(keyboard, this);
}

void ZUIMainMenuLayer::dismissSplash() {
    if (splash == nullptr) return;
    splash->finish();
    contentNode->stopAllActions();
    contentNode->runAction(Sequence::create(DelayTime::create(0.5f),
                                            EaseOut::create(MoveTo::create(kSlideSeconds, Vec2::ZERO), 3.0f),
                                            TargetedAction::create(splash, RemoveSelf::create())));
    circle->runAction(EaseInOut::create(MoveTo::create(0.9f, circleHomePosition), 3.0f));
    splash = nullptr;
}

void ZUIMainMenuLayer::slideTo(const MainMenuView& view, float contentEase) {
    contentNode->stopAllActions();
    auto* move = MoveTo::create(kSlideSeconds, view.contentPosition);
    contentNode->runAction(contentEase > 0 ? static_cast<Action*>(EaseInOut::create(move, 3.0f))
                                           : static_cast<Action*>(EaseOut::create(move, 3.0f)));
    circle->runAction(EaseInOut::create(MoveTo::create(kSlideSeconds, circleHomePosition), 3.0f));
    circle->runAction(EaseInOut::create(TintTo::create(kTintSeconds, view.circle), 3.0f));
    background->runAction(EaseInOut::create(TintTo::create(kTintSeconds, view.background), 3.0f));
}

void ZUIMainMenuLayer::showArcadePanel() {
    if (arcadePanel == nullptr) {
        arcadePanel = ZUIArcadePanel::create();
        arcadePanel->setPosition(kArcadePanelPosition);
        contentNode->addChild(arcadePanel);
        ZUIArcadePanel* panel = arcadePanel;
        panel->backButton->callback = [this, panel] {
            if (arcadePanel != panel) return;  // already leaving
            panel->carousel->collapseAll();
            returnToMenu();
            panel->runAction(Sequence::create(DelayTime::create(kSlideSeconds), RemoveSelf::create()));
            arcadePanel = nullptr;
        };
    }
    slideTo(kArcadeView, 1);
}

void ZUIMainMenuLayer::showMultiplayerPanel() {
    if (multiplayerPanel == nullptr) {
        multiplayerPanel = ZUIMultiplayerPanelEx::create();
        multiplayerPanel->setPosition(kMultiplayerPanelPosition);
        contentNode->addChild(multiplayerPanel);
        ZUIMultiplayerPanelEx* panel = multiplayerPanel;
        panel->backButton->callback = [this, panel] {
            if (multiplayerPanel != panel) return;  // already leaving
            returnToMenu();
            panel->runAction(Sequence::create(DelayTime::create(kSlideSeconds), RemoveSelf::create()));
            multiplayerPanel = nullptr;
        };
    }
    slideTo(kMultiplayerView, 1);
}

void ZUIMainMenuLayer::returnToMenu() {
    slideTo(kMenuView, 0);
}

void ZUIMainMenuLayer::openSettings(float gap) {
    if (settingsMenu != nullptr) return;
    contentNode->removeChild(mainMenu, true);
    mainMenu = nullptr;
    settingsMenu = ZUISettingsMenu::create();
    settingsMenu->backButton->setPosition(settingsIcon->getPosition() -
                                          Vec2(settingsIcon->getContentSize().width + gap, 0));
    settingsMenu->setBackCallback([this] { closeSettings(); });
    contentNode->addChild(settingsMenu);
}

void ZUIMainMenuLayer::closeSettings() {
    ZUISettingsMenu* closing = settingsMenu;
    if (closing == nullptr) return;
    settingsMenu = nullptr;
    buildMainMenu();
    closing->runAction(RemoveSelf::create());
}

void ZUIMainMenuLayer::onEnterTransitionDidFinish() {
    Node::onEnterTransitionDidFinish();
    SoundPlayer::getInstance()->stopAllMusic();
    musicId = SoundPlayer::getInstance()->playMusicLooped(kMusic, 1.0f, 1.0f);
}

void ZUIMainMenuLayer::onExitTransitionDidStart() {
    Node::onExitTransitionDidStart();
    if (musicId != -1) SoundPlayer::getInstance()->stopMusic(musicId);
}

// ---------------------------------------------------------------- scene

ZUIMainMenuScene* ZUIMainMenuScene::create(int showSplash) {
    return createConfigured<ZUIMainMenuScene>([&](ZUIMainMenuScene& n) { n.showSplash = showSplash; });
}

bool ZUIMainMenuScene::init() {
    if (!Scene::init()) return false;
    scheduleUpdate();
    layer = ZUIMainMenuLayer::create();
    layer->setScale(kMenuScale);
    addChild(layer);
    Director* director = Director::getInstance();
    const Size visible = director->getVisibleSize();
    layer->setPosition(director->getVisibleOrigin() + Vec2(visible.width / 2, visible.height / 2));
    if (showSplash == 1) layer->showSplash();
    return true;
}

void ZUIMainMenuScene::update(float dt) {
    if (PlatformServiceHook != nullptr) PlatformServiceHook->update(dt);
}
