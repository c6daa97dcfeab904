#include "app/story/ZUIElevatorButtonsPanel.h"

#include "app/play/PlayTestSceneNode.h"
#include "app/story/MedalRules.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIElevatorButton.h"
#include "app/story/ZUIMedalBar.h"
#include "app/widgets/CreateConfigured.h"
#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/DrawNode.h"
#include "engine/Sprite.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"

using namespace cocos2d;

ZUIElevatorButtonsPanel* ZUIElevatorButtonsPanel::create(Zarn::SinglePlayerData* progress) {
    return createConfigured<ZUIElevatorButtonsPanel>(
        [&](ZUIElevatorButtonsPanel& p) { p.progress = progress; });
}

bool ZUIElevatorButtonsPanel::init() {
    if (!Node::init()) return false;
    setCascadeOpacityEnabled(true);  // the take-off fades the whole column
    return true;
}

ZUIElevatorButton* ZUIElevatorButtonsPanel::buttonOf(int levelIndex) const {
    if (levelIndex < 0 || static_cast<size_t>(levelIndex) >= buttons.size()) return nullptr;
    return buttons[static_cast<size_t>(levelIndex)];
}

void ZUIElevatorButtonsPanel::layoutButtons(unsigned perRow) {
    const u32 count = progress->levelCount();
    const unsigned rows = (count + perRow - 1) / perRow;
    const bool storyComplete = progress->runComplete != 0;
    const Zarn::LevelList& levels = Zarn::LevelList::instance();
    float x = 50;
    float y = 250;
    for (unsigned r = 0; r < rows; ++r) {
        for (unsigned column = 0; column < perRow; ++column) {
            const u32 index = r * perRow + column;
            if (index >= count) break;
            ZUIElevatorButton* button = ZUIElevatorButton::create(
                static_cast<int>(index), elevatorColourSets[elevatorColourSetOf(index)]);
            addChild(button);
            const Size size = button->getContentSize();
            button->setPosition(Vec2(x, y) + Vec2(size.width / 2, size.height / 2));
            button->pressedCallback = [this](int floor) { onFloorSelected(floor); };
            buttons.push_back(button);

            const Zarn::LevelStatus& status = progress->levelStatuses[index];
            const Zarn::Medal deathMedal =
                index < levels.size() ? deathMedalOf(levels[index], status.fewestDeaths) : Zarn::Medal::None;
            if (status.locked != 0) button->setLocked();
            if ((storyComplete || deathMedal != Zarn::Medal::None) && index < levels.size()) {
                ZUIMedalBar* bar = ZUIMedalBar::create(index, &status);
                if (storyComplete) {
                    bar->initBoxedMedals();
                    bar->setPosition(button->getPosition() -
                                     Vec2(0, size.height / 2 + bar->getContentSize().height / 2 + 50));
                } else {
                    bar->initDeathMedalOnly();
                    bar->setPosition(button->getPosition() -
                                     Vec2(-5, size.height / 2 + bar->getContentSize().height / 2 - 60));
                }
                addChild(bar);
                medalBars.push_back(bar);
            }
            x += kStepX;
            y += kStepY;
        }
        DrawNode* line = createElevatorDecorationLine();
        addChild(line, -1);
        line->setPosition(Vec2(-100, y));
        x = r % 2 == 0 ? 200 : 50;
        y += kRowStepY;
    }
    if (!buttons.empty()) {
        const Size first = buttons.front()->getContentSize();
        setContentSize(
            Size(static_cast<float>(perRow) * first.width + static_cast<float>(perRow - 1) * kStepX + 200,
                 (y - kRowStepY) + first.height));
    }
}

void ZUIElevatorButtonsPanel::highlightCurrentFloor() {
    if (ZUIElevatorButton* button = buttonOf(static_cast<int>(elevatorCurrentFloor(*progress))))
        button->highlight();
}

void ZUIElevatorButtonsPanel::onFloorSelected(int levelIndex) {
    if (busy) return;
    progress->enableMode(Zarn::playMode::deaths);
    if (ZUIElevatorButton* current = buttonOf(static_cast<int>(elevatorCurrentFloor(*progress))))
        current->setUnlockedLook();
    if (ZUIElevatorButton* chosen = buttonOf(levelIndex)) chosen->highlight();
    chooseElevatorFloor(*progress, static_cast<u32>(levelIndex));
    busy = true;
    enableOpenFloors();
    if (floorSelected) floorSelected(levelIndex);
    runAction(Sequence::create(
        DelayTime::create(1.0f), CallFunc::create([] { playElevatorTakeoffSound(); }),
        Spawn::create(EaseBackIn::create(MoveBy::create(1.0f, Vec2(0, 1.2f * getContentSize().height))),
                      EaseIn::create(FadeOut::create(1.0f), 2.0f)),
        CallFunc::create([this, levelIndex] { startLevel(levelIndex); })));
}

void ZUIElevatorButtonsPanel::startLevel(int levelIndex) {
    // A mode switched during the take-off may have moved the record's level
    // (a lives run restarted): the record names the floor that is played.
    chooseElevatorFloor(*progress, static_cast<u32>(levelIndex));
    writeSinglePlayerProgress(*progress);
    if (PlayTestSceneNode::startLevel(Zarn::levelMapFileName(static_cast<u32>(levelIndex)), progress,
                                      Zarn::LevelList::instance(), 0.5f))
        return;
    // The level did not come up: the column comes back and takes presses again.
    setPositionY(getPositionY() - 1.2f * getContentSize().height);
    setOpacity(255);
    busy = false;
    enableOpenFloors();
}

bool ZUIElevatorButtonsPanel::isOpen(size_t levelIndex) const {
    return levelIndex < progress->levelStatuses.size() && progress->levelStatuses[levelIndex].locked == 0;
}

void ZUIElevatorButtonsPanel::enableOpenFloors() {
    for (size_t i = 0; i < buttons.size(); ++i) buttons[i]->setEnabled(!busy && isOpen(i));
}

void ZUIElevatorButtonsPanel::refreshButtons() {
    for (size_t i = 0; i < buttons.size(); ++i) {
        ZUIElevatorButton* button = buttons[i];
        if (isOpen(i)) {
            button->getLock()->setVisible(false);
            button->setUnlockedLook();
        } else {
            button->setLocked();
        }
    }
    enableOpenFloors();
    highlightCurrentFloor();
}
