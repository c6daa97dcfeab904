#include <gtest/gtest.h>

#include <set>

#include "../support/AppFixture.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"

using namespace cocos2d;
using Zarn::Medal;
using Zarn::ScoreResult;

namespace {

// The panel on a scene as the host shows it, without the drop-in.
class MedalResultTest : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        Zarn::LevelEntry level;
        level.deathGoldGoal = 0;
        level.deathSilverGoal = 2;
        level.deathBronzeGoal = 4;
        level.timeGoldGoal = 10000;
        level.timeSilverGoal = 15000;
        level.timeBronzeGoal = 30000;
        levels = {level, level, level};
        scene = Scene::create();
        below = Node::create();
        scene->addChild(below);
        auto* listener = EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [this](Touch*, Event*) {
            ++touchesBelow;
            return true;
        };
        below->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, below);
        panel = ZUIMedalResult::create();
        panel->setScale(0.4f);
        panel->setPosition(Vec2(512, 288));
        panel->getRetryButton()->callback = [this] { pressed.push_back("retry"); };
        panel->getLevelsButton()->callback = [this] { pressed.push_back("levels"); };
        if (panel->getNextButton() != nullptr)
            panel->getNextButton()->callback = [this] { pressed.push_back("next"); };
    }
    void show() {
        scene->addChild(panel);
        run(scene);
    }
    // Every text drawn this frame.
    static std::set<std::u32string> texts() {
        std::set<std::u32string> all;
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr) all.insert(c.glyphs->text);
        return all;
    }
    static std::size_t drawnFrames(const char* name) {
        return Director::getInstance()->getDrawList().findByFrame(name).size();
    }
    static bool allShownAtTheirScale(const std::vector<Node*>& nodes) {
        for (const Node* node : nodes)
            if (!node->isVisible() || node->getNumberOfRunningActions() > 0) return false;
        return true;
    }

    Zarn::LevelList levels;
    Scene* scene = nullptr;
    Node* below = nullptr;
    int touchesBelow = 0;
    ZUIMedalResult* panel = nullptr;
    std::vector<std::string> pressed;
};

TEST_F(MedalResultTest, ACompletedLevelShowsItsCardsWithMedalsHintsAndThePreviousBest) {
    Zarn::LevelStatus previous;  // no record yet
    const std::vector<ScoreResult> entries = {
        {0, Medal::Silver, "1"},
        {1, Medal::Bronze, "21.50s"},
        {7, Medal::None, "skipped"},
    };
    panel->buildMedalRows(levels, 1, previous, entries);
    EXPECT_EQ(panel->getDeathNodes().size(), 6u);
    EXPECT_EQ(panel->getTimeNodes().size(), 6u);
    EXPECT_TRUE(panel->getLivesNodes().empty()) << "no lives entry, no card";
    EXPECT_TRUE(panel->getTimeAttackNodes().empty());
    show();
    EXPECT_EQ(drawnFrames("medal_death_count_silver.png"), 0u) << "the rows wait for the reveal";

    panel->runRevealSequence();
    frame(0.0f);
    frames(12, 0.1f);
    EXPECT_EQ(panel->getNumberOfRunningActions(), 0u);
    EXPECT_TRUE(allShownAtTheirScale(panel->getDeathNodes()));
    EXPECT_TRUE(allShownAtTheirScale(panel->getTimeNodes()));
    EXPECT_FLOAT_EQ(panel->getDeathNodes()[1]->getScale(), 0.8f) << "the medal pops back to its scale";
    EXPECT_EQ(drawnFrames("medal_death_count_silver.png"), 1u);
    EXPECT_EQ(drawnFrames("medal_timer_bronze.png"), 1u);
    EXPECT_EQ(drawnFrames("medal_death_count_empty.png"), 1u) << "the previous best had no record";
    EXPECT_EQ(drawnFrames("medal_timer_empty.png"), 1u);
    EXPECT_EQ(drawnFrames("medal_screen_ribbon.png"), 2u);
    const std::set<std::u32string> shown = texts();
    for (const std::u32string& text :
         {std::u32string(U"DEATHS"), std::u32string(U"TIME"), std::u32string(U"1"), std::u32string(U"21.50s"),
          std::u32string(U"Get 0 DEATH or less for GOLD"), std::u32string(U"Get 15.00s or less\nfor SILVER"),
          std::u32string(U"None"), std::u32string(U"Your Previous Best(s)")})
        EXPECT_EQ(shown.count(text), 1u) << std::string(text.begin(), text.end());
    EXPECT_EQ(shown.count(U"skipped"), 0u);
    // A first clear has no previous best deaths to be sad about: they read
    // as the time does.
    EXPECT_EQ(shown.count(U":("), 0u);
    EXPECT_EQ(static_cast<const Label*>(panel->getDeathNodes().back())->getString(), "None");
    // The DEATHS ribbon sits on its card's top edge.
    EXPECT_EQ(panel->getDeathNodes()[0]->getPosition(),
              Vec2(439.61f + (931.82f - 439.61f) / 2.0f, 640.07f - 25.0f));
}

TEST_F(MedalResultTest, LivesAndTimeAttackCardsAndTheRevealOrder) {
    Zarn::LevelStatus previous;
    previous.fewestDeaths = 3;
    previous.bestTime = 9000;
    panel->buildMedalRows(levels, 0, previous,
                          {{3, Medal::None, "2"}, {2, Medal::None, "Time attack completed!"}});
    EXPECT_EQ(panel->getLivesNodes().size(), 3u);
    EXPECT_EQ(panel->getTimeAttackNodes().size(), 4u);
    show();
    panel->runRevealSequence();
    frame(0.0f);
    frame(0.2f);
    EXPECT_FALSE(panel->getRowsNode()->isVisible()) << "hidden during the bounce";
    EXPECT_FALSE(panel->getBestLabel()->isVisible());
    frame(0.25f);
    EXPECT_TRUE(panel->getRowsNode()->isVisible());
    frames(12, 0.1f);
    EXPECT_TRUE(allShownAtTheirScale(panel->getLivesNodes()));
    EXPECT_TRUE(allShownAtTheirScale(panel->getTimeAttackNodes()));
    EXPECT_TRUE(panel->getBestLabel()->isVisible());
    EXPECT_EQ(drawnFrames("medal_time_attack_gold.png"), 3u);
    EXPECT_EQ(drawnFrames("mode_limited_lives_angel.png"), 1u);
    EXPECT_EQ(texts().count(U"Time attack completed!"), 0u) << "the time-attack card shows no text";
    EXPECT_EQ(texts().count(U"2"), 1u);
}

TEST_F(MedalResultTest, TheGameOverFormHasNoNextButtonAndAKeyLeadsToTheLevels) {
    panel->showGameOver();
    EXPECT_EQ(panel->getNextButton(), nullptr);
    EXPECT_EQ(panel->getRowsNode(), nullptr);
    show();
    panel->runRevealSequence();
    frame(0.0f);
    pressKey(EventKeyboard::KeyCode::KEY_SPACE);
    EXPECT_TRUE(pressed.empty()) << "keys wait for the reveal";
    frames(12, 0.1f);
    const std::set<std::u32string> shown = texts();
    EXPECT_EQ(shown.count(U"GAME OVER"), 1u);
    EXPECT_EQ(shown.count(U"TRY AGAIN?"), 1u);
    EXPECT_EQ(shown.count(U"Nice try PARTner!"), 1u);
    EXPECT_EQ(drawnFrames("icon_next.png"), 0u);
    pressKey(EventKeyboard::KeyCode::KEY_A);
    EXPECT_EQ(pressed, std::vector<std::string>{"levels"});
}

TEST_F(MedalResultTest, AKeyPressesNextAndTouchesBesideTheButtonsAreSwallowed) {
    panel->buildMedalRows(levels, 0, Zarn::LevelStatus(), {{0, Medal::Gold, "0"}});
    show();
    pressKey(EventKeyboard::KeyCode::KEY_ENTER);
    EXPECT_EQ(pressed, std::vector<std::string>{"next"});
    click(Vec2(20, 20));
    EXPECT_EQ(touchesBelow, 0) << "the level behind gets no touch";
    click(centreOf(panel->getRetryButton()));
    EXPECT_EQ(pressed, (std::vector<std::string>{"next", "retry"}));
    panel->getNextButton()->callback = nullptr;
    pressKey(EventKeyboard::KeyCode::KEY_ENTER);
    EXPECT_EQ(pressed.size(), 2u) << "an empty callback does nothing";
}

// Keys and clicks that one frame's input holds press a button once; the
// next frame takes them again.
TEST_F(MedalResultTest, OneFramesKeysAndClicksPressAButtonOnce) {
    panel->buildMedalRows(levels, 0, Zarn::LevelStatus(), {{0, Medal::Gold, "0"}});
    show();
    pressKey(EventKeyboard::KeyCode::KEY_ENTER);
    pressKey(EventKeyboard::KeyCode::KEY_R);
    click(centreOf(panel->getNextButton()));
    EXPECT_EQ(pressed, std::vector<std::string>{"next"});
    frame(1.0f / 60);
    click(centreOf(panel->getNextButton()));
    pressKey(EventKeyboard::KeyCode::KEY_SPACE);
    EXPECT_EQ(pressed, (std::vector<std::string>{"next", "next"}));
}

}  // namespace
