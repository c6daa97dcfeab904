#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/widgets/DrawNodeEx.h"
#include "app/widgets/LabelEx.h"
#include "app/widgets/ScrollViewEx.h"
#include "app/widgets/ZUIButton.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUIElevatorToggleButton.h"
#include "app/widgets/ZUISkewedExpandableButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

class Widgets : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        scene = Scene::create();
        run(scene);
    }
    // The colour of the first vertex of a draw node's entry in the last frame.
    Color4F vertexColour(const Node* node) const {
        const DrawList& list = Director::getInstance()->getDrawList();
        const auto found = list.findByNode(node);
        if (found.empty() || found[0]->shapes == nullptr || found[0]->shapes->triangles.empty())
            return Color4F();
        return found[0]->shapes->triangles[0].color;
    }
    static Color3B rgb(const Color4F& c) { return Color3B(c); }
    Scene* scene = nullptr;
};

TEST_F(Widgets, LabelButtonHoversPressesAndClicksOnlyOnReleaseInside) {
    ZUIButton* button = ZUIButton::create("Back", "fonts/loaded.ttf", 24, 0, 0);
    button->setPosition(500, 300);
    scene->addChild(button);
    int clicks = 0;
    button->callback = [&] { ++clicks; };
    frame();
    EXPECT_EQ(rgb(vertexColour(button->getFace())), Color3B(255, 155, 17));
    EXPECT_EQ(rgb(vertexColour(button->getShadow())), Color3B(188, 74, 1));
    const Size label = button->getLabel()->getBoundingBox().size;
    EXPECT_FLOAT_EQ(button->getContentSize().width, label.width + 40);

    mouseTo(Vec2(500, 300));
    frame();
    EXPECT_EQ(rgb(vertexColour(button->getFace())), Color3B(255, 201, 109));
    EXPECT_EQ(button->getLabel()->getTextColor(), Color4B(214, 191, 134, 255));

    touchDown(Vec2(500, 300));
    frame();
    EXPECT_EQ(rgb(vertexColour(button->getFace())), Color3B(255, 232, 194));
    EXPECT_EQ(button->getLabel()->getPosition(), Vec2(3, -3));
    touchUp(Vec2(900, 50));  // released outside
    frame();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(rgb(vertexColour(button->getFace())), Color3B(255, 155, 17));
    EXPECT_EQ(button->getLabel()->getPosition(), Vec2::ZERO);

    click(Vec2(500, 300));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(played(), (std::vector<std::string>{"sound/ui/button/rollover.mp3", "sound/ui/button/press.mp3",
                                                  "sound/ui/button/press.mp3"}));
}

TEST_F(Widgets, APressOutsideAButtonReachesTheNodesBelow) {
    Node* below = Node::create();
    scene->addChild(below);
    int belowTouches = 0;
    auto* listener = EventListenerTouchOneByOne::create();
    listener->onTouchBegan = [&](Touch*, Event*) {
        ++belowTouches;
        return true;
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, below);
    ZUICoreButton* core = ZUICoreButton::create(coreButtonStyles[0], "icon_exit.png");
    core->setPosition(200, 200);
    scene->addChild(core);
    ZUISkewedRectButton* skewed = ZUISkewedRectButton::create(skewedRectButtonStyles[11]);
    skewed->setPosition(600, 200);
    scene->addChild(skewed);
    frame();
    click(Vec2(400, 400));
    EXPECT_EQ(belowTouches, 1);
    click(Vec2(200, 200));
    EXPECT_EQ(belowTouches, 1);  // the core button took it

    // A disabled skewed button lets touches through and keeps its look.
    skewed->state.enabled = false;
    skewed->showDisabled();
    click(Vec2(600, 200));
    EXPECT_EQ(belowTouches, 2);
    frame();
    EXPECT_EQ(rgb(vertexColour(skewed->getFace())), Color3B(211, 211, 211));
    skewed->state.enabled = true;
    frame();
    EXPECT_EQ(rgb(vertexColour(skewed->getFace())), Color3B(211, 211, 211));  // until the caller shows normal
}

TEST_F(Widgets, CoreButtonSlidesItsFaceOntoTheShadowAndOnlyAPressSounds) {
    ZUICoreButton* core = ZUICoreButton::create(coreButtonStyles[1], "icon_settings.png");
    core->setPosition(300, 300);
    scene->addChild(core);
    frame();
    mouseTo(Vec2(300, 300));
    EXPECT_EQ(core->getFace()->getColor(), Color3B(176, 176, 176));  // style 1 keeps its face on hover
    EXPECT_EQ(core->getIcon()->getColor(), Color3B(255, 248, 15));
    EXPECT_TRUE(played().empty());
    touchDown(Vec2(300, 300));
    frame();
    frame(0.03f);
    EXPECT_EQ(core->getFace()->getPosition(), core->getFaceHome() + Vec2(10, -10));
    EXPECT_EQ(core->getFace()->getColor(), Color3B(163, 163, 163));
    touchUp(Vec2(300, 300));
    frame();
    frame(0.03f);
    EXPECT_EQ(core->getFace()->getPosition(), core->getFaceHome());
    EXPECT_EQ(played(), std::vector<std::string>{"sound/ui/button/press.mp3"});
}

TEST_F(Widgets, SkewedButtonGrowsOnHoverAndReportsHoverAndClick) {
    ZUISkewedRectButton* button = ZUISkewedRectButton::create(skewedRectButtonStyles[1]);
    button->scaleOnHover = true;
    button->setScale(0.4f);
    button->setPosition(500, 300);
    scene->addChild(button);
    std::vector<std::string> log;
    button->onHover = [&] { log.push_back("hover"); };
    button->onUnhover = [&] { log.push_back("unhover"); };
    button->onClick = [&] { log.push_back("click"); };
    frame();
    // The content box's corner beside the slanted side takes touches too.
    const Rect box = button->getBoundingBox();
    mouseTo(box.origin + Vec2(2, box.size.height - 2));
    frame();
    frame(0.05f);
    EXPECT_FLOAT_EQ(button->getFace()->getScale(), 1.2f);
    EXPECT_EQ(rgb(vertexColour(button->getFace())), Color3B(143, 230, 89));
    click(box.origin + Vec2(2, box.size.height - 2));
    mouseTo(Vec2(10, 10));
    frame();
    frame(0.05f);
    EXPECT_FLOAT_EQ(button->getFace()->getScale(), 1.0f);
    EXPECT_EQ(log, (std::vector<std::string>{"hover", "click", "unhover"}));
}

TEST_F(Widgets, ExpandableButtonStretchesUpwardsOnceAndTakesTouchesOverItsShape) {
    ZUISkewedExpandableButton* button = ZUISkewedExpandableButton::create(skewedExpandableButtonStyles[8]);
    button->setPosition(500, 100);
    button->setScale(0.4f);
    scene->addChild(button);
    int expands = 0;
    button->onExpand = [&] { ++expands; };
    frame();
    const float height = button->getContentSize().height;
    Node* runner = Node::create();
    scene->addChild(runner);
    runner->runAction(button->expand());
    FiniteTimeAction* again = button->expand();
    EXPECT_FLOAT_EQ(again->getDuration(), 0.0f);
    EXPECT_EQ(expands, 1);
    frame();
    frame(0.1f);
    EXPECT_FLOAT_EQ(button->getFace()->getScaleY(), 3.0f);
    EXPECT_FLOAT_EQ(button->getContentSize().height, height * 3.0f);
    EXPECT_EQ(button->container->getPosition(), button->getExpandedPosition());
    frame();
    EXPECT_EQ(rgb(vertexColour(button->getFace())), Color3B(255, 207, 3));
    // The stretched top now takes a click.
    int clicks = 0;
    button->onClick = [&] { ++clicks; };
    const Rect box = button->getBoundingBox();
    click(Vec2(box.getMidX(), box.getMaxY() - 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->isHovered());  // a release clears hover
    runner->runAction(button->collapse());
    frame();
    frame(0.1f);
    EXPECT_FLOAT_EQ(button->getFace()->getScaleY(), 1.0f);
    EXPECT_FLOAT_EQ(button->collapse()->getDuration(), 0.0f);
}

TEST_F(Widgets, ToggleFlipsAtThePressAndReportsOnlyOnReleaseInside) {
    ZUIElevatorToggleButton* toggle = ZUIElevatorToggleButton::create(elevatorToggleButtonConfigs[0]);
    toggle->setScale(0.4f);
    toggle->setPosition(400, 300);
    scene->addChild(toggle);
    std::vector<bool> reports;
    toggle->callback = [&](bool on) { reports.push_back(on); };
    frame();
    touchDown(Vec2(400, 300));
    EXPECT_TRUE(toggle->isToggled());
    EXPECT_EQ(toggle->getBadge()->getColor(), Color3B(255, 255, 255));
    touchUp(Vec2(10, 10));
    EXPECT_TRUE(reports.empty());
    click(Vec2(400, 300));
    frame();
    click(Vec2(400, 300));
    EXPECT_EQ(reports, (std::vector<bool>{false, true}));
    frame();
    EXPECT_FALSE(Director::getInstance()->getDrawList().findByFrame("mode_timer_toggled.png").empty());
    mouseTo(Vec2(400, 300));
    frame();
    frame(0.05f);
    EXPECT_FLOAT_EQ(toggle->getContainer()->getScale(), 1.1f);
    EXPECT_TRUE(audioLog.plays.empty());
}

TEST_F(Widgets, DrawNodeExShapesTakeTheNodesColourAndFollowATint) {
    DrawNodeEx* circle = DrawNodeEx::create();
    circle->drawSolidCircle(Vec2::ZERO, 100, 0, 30, Color4F(0, 0, 1, 1));
    circle->setPosition(500, 300);
    circle->setColor(Color3B(251, 224, 197));
    scene->addChild(circle);
    frame();
    EXPECT_EQ(rgb(vertexColour(circle)), Color3B(251, 224, 197));
    circle->runAction(TintTo::create(1.0f, Color3B(51, 0, 197)));
    frame();
    frame(0.5f);
    EXPECT_EQ(rgb(vertexColour(circle)), Color3B(151, 112, 197));
    circle->setOpacity(128);
    frame();
    EXPECT_NEAR(vertexColour(circle).a, 128 / 255.0f, 1e-3);
}

TEST_F(Widgets, TypewriterTypesAChainLetterByLetterWithTicksOnEveryFourthLetter) {
    LabelEx::resetTickSequenceForTests();
    LabelEx* first = LabelEx::create("ab cdefgh", "fonts/riffic.ttf", 20, Size::ZERO);
    LabelEx* second = LabelEx::create("xyz", "fonts/riffic.ttf", 20, Size::ZERO);
    LabelEx* empty = LabelEx::create("", "fonts/riffic.ttf", 20, Size::ZERO);
    for (LabelEx* l : {first, second, empty}) {
        scene->addChild(l);
        for (int i = 0; i < l->getStringLength(); ++i)
            if (Sprite* s = l->getLetter(i)) s->setVisible(false);
    }
    first->next = second;
    second->next = empty;
    first->startTyping();
    frame(0.0f);
    EXPECT_TRUE(first->getLetter(0)->isVisible());
    EXPECT_FALSE(first->getLetter(1)->isVisible());
    EXPECT_FALSE(second->getLetter(0)->isVisible());
    frames(30, 1.0f / 60.0f);
    for (int i = 0; i < first->getStringLength(); ++i)
        if (Sprite* s = first->getLetter(i)) {
            EXPECT_TRUE(s->isVisible()) << i;
        }
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(second->getLetter(i)->isVisible()) << i;
    // Positions 4 and 8 of "ab cdefgh" have glyphs ("c" at 4, "g" at 8); "xyz"
    // has no fourth letter.
    const auto ticks = played();
    ASSERT_EQ(ticks.size(), 2u);
    // The fixed sequence of an mt19937 seeded with 5489 over {0, 1}.
    std::mt19937 reference(5489u);
    std::uniform_int_distribution<int> pick(0, 1);
    for (const std::string& tick : ticks) EXPECT_EQ(tick, LabelEx::kTickSounds[pick(reference)]);
}

TEST_F(Widgets, ScrollViewLetsTapsThroughAndScrollsOnlyPastTenUnits) {
    ScrollViewEx* view = ScrollViewEx::create();
    view->setContentSize(Size(300, 200));
    view->setInnerContainerSize(Size(300, 1000));
    view->setAnchorPoint(Vec2::ZERO);
    view->setPosition(400, 200);
    scene->addChild(view);
    ZUICoreButton* inside = ZUICoreButton::create(coreButtonStyles[0], "icon_back.png");
    inside->setPosition(50, 950);
    view->addChild(inside);
    view->jumpToTop();
    int clicks = 0;
    inside->callback = [&] { ++clicks; };
    frame();
    const float startY = view->getInnerContainerPosition().y;
    click(centreOf(inside));
    EXPECT_EQ(clicks, 1);

    // A drag over the view: nothing moves within 10 units, then it scrolls,
    // also back inside the 10-unit circle, and its end is swallowed.
    const Vec2 at(600, 300);
    touchDown(at);
    EXPECT_FALSE(view->isSwallowTouches());
    touchMove(at + Vec2(0, 9));
    EXPECT_EQ(view->getInnerContainerPosition().y, startY);
    EXPECT_FALSE(view->hasMoved());
    touchMove(at + Vec2(0, 40));
    EXPECT_TRUE(view->hasMoved());
    const float dragged = view->getInnerContainerPosition().y;
    EXPECT_GT(dragged, startY);
    touchMove(at + Vec2(0, 5));
    EXPECT_LT(view->getInnerContainerPosition().y, dragged);
    touchUp(at + Vec2(0, 5));
    EXPECT_TRUE(view->isSwallowTouches());
    EXPECT_FALSE(view->hasMoved());
}

TEST_F(Widgets, WheelScrollsOnlyOverTheViewAndNotPastItsEnds) {
    ScrollViewEx* view = ScrollViewEx::create();
    view->setContentSize(Size(300, 200));
    view->setInnerContainerSize(Size(300, 1000));
    view->setAnchorPoint(Vec2::ZERO);
    view->setPosition(100, 100);
    scene->addChild(view);
    view->jumpToTop();
    frame();
    const float top = view->getInnerContainerPosition().y;
    mouseTo(Vec2(700, 500));
    this->view->handleMouseScroll(0, 1);
    frames(20, 0.05f);
    EXPECT_EQ(view->getInnerContainerPosition().y, top);
    mouseTo(Vec2(200, 200));
    this->view->handleMouseScroll(0, 1);
    frames(20, 0.05f);
    EXPECT_NEAR(view->getInnerContainerPosition().y, top + 150, 0.5f);
    this->view->handleMouseScroll(0, -5);
    frames(20, 0.05f);
    EXPECT_NEAR(view->getInnerContainerPosition().y, top, 0.5f);
}

}  // namespace
