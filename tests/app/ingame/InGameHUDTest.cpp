#include <gtest/gtest.h>

#include "../support/AppFixture.h"
#include "app/ingame/InGameHUD.h"
#include "app/ingame/ScoreCounterHUD.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/ProgressTimer.h"
#include "visuals/traps/RedGreenSign.h"

using namespace cocos2d;

namespace {

TEST(TimeAttackGauge, ShowsTheRemainingTimeAsAShareOfTheLargestSeen) {
    struct Step {
        u64 remaining;
        bool shown;
        float percentage;
    };
    const Step steps[] = {
        {0, false, 0.0f},       // nothing received yet: nothing to show
        {30000, true, 100.0f},  // the first value is full
        {30000, false, 0.0f},   // unchanged
        {15000, true, 50.0f},   //
        {0, true, 0.0f},        // the countdown ran out
        {30000, true, 100.0f},  // a new countdown starts full again
        {45000, true, 100.0f},  // a longer one becomes the largest
        {30000, true, 66.666664f},
    };
    TimeAttackGauge gauge;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.remaining);
        float percentage = -1.0f;
        EXPECT_EQ(gauge.take(s.remaining, percentage), s.shown);
        if (s.shown) {
            EXPECT_FLOAT_EQ(percentage, s.percentage);
        }
    }
}

TEST(TimerHUD, FormatsMinutesSecondsAndHundredthsZeroFilled) {
    const std::pair<u64, const char*> cases[] = {
        {0, "00:00:00"},     {9, "00:00:00"},     {10, "00:00:01"},       {65070, "01:05:07"},
        {59999, "00:59:99"}, {60000, "01:00:00"}, {6000000, "100:00:00"}, {3599990, "59:59:99"},
    };
    for (const auto& [ms, text] : cases) EXPECT_EQ(TimerHUD::formatTime(ms), text) << ms;
}

class InGameHUDTest : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        Scene* scene = Scene::create();
        hud = InGameHUD::create();
        scene->addChild(hud);
        run(scene);
    }
    // The texts drawn by a counter's label this frame.
    static std::u32string textOf(const ScoreCounterHUD* counter) {
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.node == counter->getLabel() && c.glyphs != nullptr) return c.glyphs->text;
        return U"<not drawn>";
    }
    static bool pulsing(const Node* counter) { return counter->getNumberOfRunningActions() > 0; }

    InGameHUD* hud = nullptr;  // held by the scene
    Zarn::LevelScore score;
    u64 remaining = 0;
};

TEST_F(InGameHUDTest, TheRowStartsWithTheDeathCounterAtTheRightEdgeAndGrowsLeftwards) {
    const Size visible = Director::getInstance()->getVisibleSize();
    hud->addScoreHUD(1);
    ASSERT_NE(hud->getDeathCounter(), nullptr) << "the death counter comes first";
    ASSERT_NE(hud->getTimer(), nullptr);
    const float rowY = visible.height - hud->getDeathCounter()->getContentSize().height * 0.3f * 0.5f - 20.0f;
    EXPECT_EQ(hud->getDeathCounter()->getPosition(), Vec2(visible.width - 70.0f, rowY));
    EXPECT_EQ(hud->getTimer()->getPosition(), Vec2(visible.width - 200.0f, rowY));
    hud->addScoreHUD(4);
    hud->addScoreHUD(3);
    EXPECT_EQ(hud->getMoneyCounter()->getPosition(), Vec2(visible.width - 300.0f, rowY));
    EXPECT_EQ(hud->getLivesCounter()->getPosition(), Vec2(visible.width - 400.0f, rowY));
    EXPECT_FLOAT_EQ(hud->getLivesCounter()->getScale(), 0.3f);

    const std::size_t children = hud->getChildrenCount();
    hud->addScoreHUD(0);
    hud->addScoreHUD(1);
    hud->addScoreHUD(9);
    EXPECT_EQ(hud->getChildrenCount(), children) << "a present kind or an unknown one adds nothing";

    hud->addScoreHUD(2);
    RGProgressBar* bar = hud->getTimeAttackBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getPosition(), Vec2(visible.width * 0.5f, visible.height - bar->getContentSize().height));
    EXPECT_FLOAT_EQ(bar->getScaleX(), 1.5f);
    EXPECT_EQ(hud->getLivesCounter()->getPosition().x, visible.width - 400.0f) << "the bar is not in the row";

    frame();
    const auto icons = Director::getInstance()->getDrawList().findByFrame(InGameHUD::kDeathIcon);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(textOf(hud->getDeathCounter()), U"x 0");
    EXPECT_EQ(textOf(hud->getTimer()), U"00:00:00");
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame(InGameHUD::kLevelsIcon).size(), 1u);
}

TEST_F(InGameHUDTest, CountersChangeTheirTextAndPulseOnlyWhenTheirValueChanges) {
    hud->addScoreHUD(4);
    hud->addScoreHUD(0);
    hud->addScoreHUD(1);
    hud->addScoreHUD(3);
    frame(0.016f);
    EXPECT_EQ(textOf(hud->getDeathCounter()), U"x 0") << "nothing is shown before a score is watched";

    score.deaths = 2;
    hud->watch(&score, &remaining);
    frame(0.016f);
    EXPECT_EQ(textOf(hud->getDeathCounter()), U"x 2");
    EXPECT_TRUE(pulsing(hud->getDeathCounter()));
    EXPECT_FALSE(pulsing(hud->getMoneyCounter()));
    EXPECT_FALSE(pulsing(hud->getTimer())) << "the time did not change";
    frames(4, 0.06f);
    EXPECT_FALSE(pulsing(hud->getDeathCounter()));
    EXPECT_FLOAT_EQ(hud->getDeathCounter()->getScale(), 0.3f) << "the pulse ends on the base scale";

    score.deaths = 3;
    score.money = 12;
    score.lives = 2;
    frame(0.016f);
    EXPECT_EQ(textOf(hud->getDeathCounter()), U"x 3");
    EXPECT_EQ(textOf(hud->getMoneyCounter()), U"x 12");
    EXPECT_EQ(textOf(hud->getLivesCounter()), U"x 2");
    EXPECT_TRUE(pulsing(hud->getDeathCounter()));
    const Label* deaths = hud->getDeathCounter()->getLabel();
    EXPECT_FLOAT_EQ(deaths->getPositionX(), hud->getDeathCounter()->getContentSize().width +
                                                deaths->getContentSize().width * 0.5f + 20.0f);
    frames(4, 0.06f);

    frame(0.016f);
    EXPECT_FALSE(pulsing(hud->getDeathCounter())) << "an unchanged count neither rewrites nor pulses";

    score.time = 61230;
    frame(0.016f);
    EXPECT_EQ(textOf(hud->getTimer()), U"01:01:23");
    EXPECT_FALSE(pulsing(hud->getTimer())) << "the timer pulses on whole minutes only";
    score.time = 120000;
    frame(0.016f);
    EXPECT_EQ(textOf(hud->getTimer()), U"02:00:00");
    EXPECT_TRUE(pulsing(hud->getTimer()));
    EXPECT_EQ(hud->getShownScore(), score);
    frames(4, 0.06f);
    hud->getTimer()->setTime(0);
    EXPECT_TRUE(pulsing(hud->getTimer())) << "0 ms is a whole minute";
}

TEST_F(InGameHUDTest, TheTimeAttackBarFollowsTheCountdownWithoutTouchingTheCachedScore) {
    hud->addScoreHUD(2);
    hud->watch(&score, &remaining);
    ProgressTimer* timer = hud->getTimeAttackBar()->getTimer();
    const std::pair<u64, float> steps[] = {{30000, 100.0f}, {15000, 50.0f}, {0, 0.0f}, {30000, 100.0f}};
    for (const auto& [ms, percent] : steps) {
        remaining = ms;
        frame(0.016f);
        EXPECT_FLOAT_EQ(timer->getPercentage(), percent) << ms;
    }
    EXPECT_EQ(hud->getShownScore(), Zarn::LevelScore{})
        << "a change of the remaining time alone is not cached";
    score.time = 500;
    frame(0.016f);
    EXPECT_EQ(hud->getShownScore(), Zarn::LevelScore{})
        << "no timer counter: nothing changed, nothing cached";
}

TEST_F(InGameHUDTest, TheLevelButtonLeadsBackToTheLevelSelect) {
    ZUICoreButton* button = hud->getLevelButton();
    const Size size = button->getContentSize() * 0.4f;
    EXPECT_EQ(button->getPosition(),
              Vec2(size.width * 0.5f + 20.0f,
                   Director::getInstance()->getVisibleSize().height - size.height * 0.5f - 20.0f));
    EXPECT_EQ(button->getOpacity(), 180);
    click(centreOf(button));
    frame(0.0f);
    frames(4, 0.1f);
    EXPECT_EQ(dynamic_cast<ZUISinglePlayerScene*>(Director::getInstance()->getRunningScene()), nullptr)
        << "moving in from the top for 0.4 s";
    frames(3, 0.1f);
    EXPECT_NE(dynamic_cast<ZUISinglePlayerScene*>(Director::getInstance()->getRunningScene()), nullptr);
}

}  // namespace
