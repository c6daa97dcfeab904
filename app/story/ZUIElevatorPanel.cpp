#include "app/story/ZUIElevatorPanel.h"

#include <string>

#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIElevatorButton.h"
#include "app/story/ZUIElevatorButtonsPanel.h"
#include "app/story/ZUIElevatorSideBar.h"
#include "app/widgets/CreateConfigured.h"
#include "app/widgets/ScrollViewEx.h"
#include "engine/Label.h"
#include "presentation/audio/SoundPlayer.h"
#include "simulation/progress/SinglePlayerData.h"

using namespace cocos2d;

float elevatorScrollPercent(float buttonY, float innerHeight) {
    float p = innerHeight > 0 ? buttonY / innerHeight * 100.0f : 0.0f;
    if (p < 10) p = 0;
    if (p > 90) p = 100;
    return 100.0f - p;
}

ZUIElevatorPanel* ZUIElevatorPanel::create() {
    return createConfigured<ZUIElevatorPanel>(
        [](ZUIElevatorPanel& panel) { panel.progress = &Zarn::singlePlayerProgress(); });
}

bool ZUIElevatorPanel::init() {
    if (!Node::init()) return false;
    SoundPlayer::getInstance()->playEffect("sound/ui/whoosh.mp3", 1.0f, 1.0f);

    buttonsPanel = ZUIElevatorButtonsPanel::create(progress);
    buttonsPanel->layoutButtons(progress->runComplete != 0 ? 4 : 5);

    const int current = static_cast<int>(elevatorCurrentFloor(*progress));
    sideBar = ZUIElevatorSideBar::create(progress);
    sideBar->getFloorLabel()->setString(std::to_string(current));
    sideBar->rememberedFloor = current;
    sideBar->modesChanged = [this] { buttonsPanel->refreshButtons(); };
    sideBar->setPosition(Vec2(sideBar->getContentSize().width / 2, sideBar->getContentSize().height / 2));
    buttonsPanel->floorSelected = [this](int floor) { sideBar->showFloor(floor); };

    scrollView = ScrollViewEx::create();
    scrollView->setScrollBarEnabled(true);
    const Size inner = buttonsPanel->getContentSize();
    scrollView->setInnerContainerSize(Size(inner.width + 100, inner.height));
    scrollView->setContentSize(Size(inner.width, sideBar->getContentSize().height));
    scrollView->setPosition(Vec2(sideBar->getPositionX() + sideBar->getContentSize().width / 2 - 100, 4));
    scrollView->addChild(buttonsPanel);
    buttonsPanel->setPosition(Vec2(100, 0));
    scrollView->jumpToBottom();
    scrollView->setSwallowTouches(false);

    // A stored floor past the column highlights nothing and shows the bottom.
    if (ZUIElevatorButton* button = buttonsPanel->buttonOf(current)) {
        button->highlight();
        scrollView->jumpToPercentVertical(
            elevatorScrollPercent(button->getPositionY(), scrollView->getInnerContainerSize().height));
    }
    addChild(scrollView);
    addChild(sideBar);
    return true;
}
