#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIResolutionSelector.h"
#include "app/widgets/LabelEx.h"
#include "app/widgets/PressState.h"
#include "app/widgets/ScrollViewEx.h"
#include "app/widgets/ZUIButton.h"
#include "app/widgets/ZUISkewedRectButton.h"

using cocos2d::Size;
using cocos2d::Vec2;

namespace {

TEST(LabelButtonSize, FortyWiderTwentyTallerUnlessAMinimumWins) {
    struct Case {
        Size label;
        float minWidth, minHeight;
        Size expected;
    };
    const std::vector<Case> cases = {
        {{100, 30}, 0, 0, {140, 50}},   {{100, 30}, 120, 0, {140, 50}},  // exactly tw + 20: no jump yet
        {{100, 30}, 121, 0, {121, 50}},                                  // tw + 21 wins
        {{100, 30}, 300, 0, {300, 50}}, {{100, 30}, 0, 50, {140, 50}},   // the height has no jump
        {{100, 30}, 0, 51, {140, 51}},  {{0, 0}, 0, 0, {40, 20}},
    };
    for (const Case& c : cases) {
        const Size got = labelButtonSize(c.label, c.minWidth, c.minHeight);
        EXPECT_FLOAT_EQ(got.width, c.expected.width) << c.minWidth;
        EXPECT_FLOAT_EQ(got.height, c.expected.height) << c.minHeight;
    }
}

TEST(SkewedButtonShape, BoxIsTheWiderEdgeAndTheTallerSide) {
    for (const auto& [id, style] : skewedRectButtonStyles) {
        const Size s = skewedButtonSize(style.p0, style.p1, style.p2, style.p3);
        EXPECT_FLOAT_EQ(s.width, std::max(style.p2.x - style.p1.x, style.p3.x - style.p0.x)) << id;
        EXPECT_FLOAT_EQ(s.height, std::max(style.p2.y - style.p3.y, style.p1.y - style.p0.y)) << id;
    }
    const Size story =
        skewedButtonSize(Vec2(27.5f, 0), Vec2(0, 884.5f), Vec2(641.4f, 884.5f), Vec2(688.5f, 11));
    EXPECT_FLOAT_EQ(story.width, 661.0f);
    EXPECT_FLOAT_EQ(story.height, 884.5f);
    const auto points = skewedButtonPoints(Vec2(10, 0), Vec2(5, 68), Vec2(125, 75), Vec2(113, 3));
    EXPECT_FLOAT_EQ(points[0].x, 5.8f);
    EXPECT_FLOAT_EQ(points[3].y, -1.2f);
}

// One pointer script through a press state; each step is a hit or a miss,
// in a frame (0 unless said). Key stands for a click from elsewhere than the
// pointer (Click when it may act), Disable switches the widget off.
struct Step {
    enum Kind { Move, Begin, End, Key, Disable } kind;
    bool hit;
    PressEvent event;
    bool claimed = true;  // for Begin
    unsigned frame = 0;
};

void runScript(PressRules rules, bool enabled, const std::vector<Step>& steps, const char* name) {
    PressState s;
    s.rules = rules;
    s.enabled = enabled;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        PressEvent got = PressEvent::None;
        if (step.kind == Step::Move) got = s.mouseMoved(step.hit);
        if (step.kind == Step::End) got = s.touchEnded(step.hit, step.frame);
        if (step.kind == Step::Key) got = s.takeClick(step.frame) ? PressEvent::Click : PressEvent::None;
        if (step.kind == Step::Disable) s.enabled = false;
        if (step.kind == Step::Begin) {
            EXPECT_EQ(s.touchBegan(step.hit, step.frame, got), step.claimed) << name << " step " << i;
        }
        EXPECT_EQ(got, step.event) << name << " step " << i;
    }
}

TEST(PressStateMachine, PressStartsInsideAndClicksOnlyWhenItEndsInside) {
    const PressRules plain;
    runScript(plain, true,
              {{Step::Move, true, PressEvent::HoverIn},
               {Step::Move, true, PressEvent::None},
               {Step::Begin, true, PressEvent::Press},
               {Step::Move, false, PressEvent::None},  // hover frozen while pressed
               {Step::End, true, PressEvent::Click},
               {Step::Move, true, PressEvent::None},  // release kept hovered
               {Step::Move, false, PressEvent::HoverOut}},
              "click inside");
    runScript(plain, true,
              {{Step::Begin, true, PressEvent::Press},
               {Step::End, false, PressEvent::Release},
               {Step::End, true, PressEvent::None}},
              "release outside");
    runScript(plain, true,
              {{Step::Begin, false, PressEvent::None, false}, {Step::End, true, PressEvent::None}},
              "press outside is not claimed");
}

// However many clicks one frame's input holds, a widget acts once: a press
// that begins after its click in the same frame is swallowed and starts
// nothing (no press look or sound); the next frame takes presses again. Keys
// standing for the widget count against the same frame.
TEST(PressStateMachine, AWidgetClicksAtMostOnceAFrame) {
    const PressRules plain;
    runScript(plain, true,
              {{Step::Begin, true, PressEvent::Press, true, 7},
               {Step::End, true, PressEvent::Click, true, 7},
               {Step::Begin, true, PressEvent::None, true, 7},
               {Step::End, true, PressEvent::None, true, 7},
               {Step::Key, true, PressEvent::None, true, 7},
               {Step::Begin, true, PressEvent::Press, true, 8},
               {Step::End, true, PressEvent::Click, true, 8}},
              "two clicks in a frame, one in the next");
    runScript(plain, true,
              {{Step::Key, true, PressEvent::Click, true, 3},
               {Step::Key, true, PressEvent::None, true, 3},
               {Step::Begin, true, PressEvent::None, true, 3},
               {Step::Begin, false, PressEvent::None, false, 3},  // a miss still passes by
               {Step::Key, true, PressEvent::Click, true, 4}},
              "keys and the pointer share the frame's one click");
    runScript(plain, true,
              {{Step::Begin, true, PressEvent::Press, true, 1},
               {Step::End, false, PressEvent::Release, true, 1},
               {Step::Begin, true, PressEvent::Press, true, 1},
               {Step::End, true, PressEvent::Click, true, 1}},
              "a press released outside was no click");
    runScript(plain, true,
              {{Step::Begin, true, PressEvent::Press},
               {Step::Disable, true, PressEvent::None},
               {Step::End, true, PressEvent::Release}},
              "a widget switched off while pressed does not click");
}

TEST(PressStateMachine, DisabledWidgetsClaimOrPassByTheirRules) {
    PressRules passThrough;
    passThrough.claimWhileDisabled = false;
    runScript(PressRules{}, false,
              {{Step::Begin, true, PressEvent::None, true},
               {Step::Move, true, PressEvent::None},
               {Step::End, true, PressEvent::None}},
              "claims with no effect");
    runScript(passThrough, false,
              {{Step::Begin, true, PressEvent::None, false}, {Step::Move, true, PressEvent::None}},
              "lets the touch through");
}

TEST(PressStateMachine, ExpandableHoversWhilePressedAndReleaseClearsHover) {
    PressRules rules;
    rules.hoverWhilePressed = true;
    rules.releaseClearsHover = true;
    runScript(rules, true,
              {{Step::Move, true, PressEvent::HoverIn},
               {Step::Begin, true, PressEvent::Press},
               {Step::Move, false, PressEvent::HoverOut},
               {Step::Move, true, PressEvent::HoverIn},
               {Step::End, true, PressEvent::Click},
               {Step::Move, true, PressEvent::HoverIn}},  // hover shows again at once
              "expandable");
}

TEST(WheelScroll, OneHundredFiftyUnitsAStepClampedToTheRange) {
    struct Case {
        float inner, view, innerY, steps;
        float percent;
    };
    const std::vector<Case> cases = {
        {1000, 400, -600, 1, 100.0f * (1.0f - 450.0f / 600.0f)},  // from the top, one step down
        {1000, 400, -600, -1, 0},                                 // already at the top
        {1000, 400, 0, 1, 100},                                   // already at the bottom
        {1000, 400, -300, 1, 100.0f - 150.0f * 100.0f / 600.0f},
        {1000, 400, -100, 5, 100},  // clamped at the bottom
        {400, 400, 0, 1, -1},       // nothing to scroll
        {300, 400, 0, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(wheelScrollPercent(c.inner, c.view, c.innerY, c.steps), c.percent, 1e-3)
            << c.inner << " " << c.innerY << " " << c.steps;
    }
}

TEST(ResolutionRules, MaxIndexFollowsTheScreenWidthOnly) {
    struct Case {
        float width;
        int maxIndex;
    };
    for (const Case& c : std::vector<Case>{
             {1920, 8}, {2560, 11}, {3840, 12}, {5120, 12}, {1023, -1}, {1024, 0}, {1366, 3}, {1365.5f, 2}}) {
        EXPECT_EQ(resolutionMaxIndex(c.width), c.maxIndex) << c.width;
    }
    EXPECT_EQ(resolutionText(1), "1280 x 720");
    EXPECT_EQ(resolutionText(12), "3840 x 2160");
}

TEST(TypewriterRule, EveryFourthLetterWithAGlyphTicks) {
    std::vector<int> ticks;
    const std::string text = "abc defg hijk";
    for (int i = 0; i < static_cast<int>(text.size()); ++i)
        if (typewriterTicks(i + 1, text[i] != ' ')) ticks.push_back(i + 1);
    // Positions 4 and 9 are spaces; 4 would tick.
    EXPECT_EQ(ticks, (std::vector<int>{8, 12}));
}

TEST(MainMenuSpread, OthersMoveATenthOfTheHoveredWidthAwayFromIt) {
    const std::vector<Vec2> homes = {Vec2(-700, 227), Vec2(0, 123), Vec2(750, 0)};
    const auto arcade = spreadTargets(homes, homes, 1, 800);
    EXPECT_EQ(arcade[0], Vec2(-780, 227));
    EXPECT_EQ(arcade[1], homes[1]);
    EXPECT_EQ(arcade[2], Vec2(830, 0));
    const auto story = spreadTargets(homes, homes, 0, 600);
    EXPECT_EQ(story[1], Vec2(60, 123));
    EXPECT_EQ(story[2], Vec2(810, 0));
}

}  // namespace
