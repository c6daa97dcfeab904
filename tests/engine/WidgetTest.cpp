#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class WidgetTest : public zarn_test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        view = GLView::create("test", Rect(0, 0, 1024, 576));
        Director::getInstance()->setOpenGLView(view);
        for (const char* name : {"btn.png", "btn_down.png", "bar.png", "ball.png"}) {
            const float width = std::string(name) == "bar.png" ? 200.0f : 40.0f;
            SpriteFrame* f = SpriteFrame::createWithTexture(nullptr, Rect(0, 0, width, 20));
            f->setName(name);
            SpriteFrameCache::getInstance()->addSpriteFrame(f, name);
        }
    }
    void TearDown() override {
        SpriteFrameCache::getInstance()->removeSpriteFrames();
        EngineFixture::TearDown();
    }
    // Design points (y up) to a touch through the view.
    void tap(float x, float y, float endX, float endY) {
        const intptr_t id = 3;
        float fx = x, fy = 576 - y;
        view->handleTouchesBegin(1, &id, &fx, &fy);
        fx = endX;
        fy = 576 - endY;
        view->handleTouchesMove(1, &id, &fx, &fy);
        view->handleTouchesEnd(1, &id, &fx, &fy);
    }
    GLView* view = nullptr;
};

TEST_F(WidgetTest, ButtonClicksOnlyWhenReleasedInside) {
    auto* b = ui::Button::create("btn.png", "btn_down.png", "", ui::TextureResType::PLIST);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->getContentSize(), Size(40, 20));
    b->setPosition(100, 100);
    b->setPressedActionEnabled(true);
    scene->addChild(b);
    int clicks = 0;
    b->addClickEventListener([&](Ref*) { ++clicks; });
    tap(100, 100, 105, 102);
    EXPECT_EQ(clicks, 1);
    tap(100, 100, 300, 300);  // dragged off before release
    EXPECT_EQ(clicks, 1);
    tap(10, 10, 10, 10);  // outside
    EXPECT_EQ(clicks, 1);
    b->setEnabled(false);
    tap(100, 100, 100, 100);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, CheckBoxTogglesOnClickAndNotFromCode) {
    auto* c = ui::CheckBox::create("btn.png", "btn_down.png", "ball.png", "btn.png", "ball.png",
                                   ui::TextureResType::PLIST);
    c->setPosition(200, 200);
    scene->addChild(c);
    std::vector<ui::CheckBox::EventType> events;
    c->addEventListener([&](Ref*, ui::CheckBox::EventType e) { events.push_back(e); });
    c->setSelected(true);
    EXPECT_TRUE(events.empty());
    tap(200, 200, 200, 200);
    EXPECT_FALSE(c->isSelected());
    tap(200, 200, 200, 200);
    EXPECT_TRUE(c->isSelected());
    EXPECT_EQ(events, (std::vector<ui::CheckBox::EventType>{ui::CheckBox::EventType::UNSELECTED,
                                                            ui::CheckBox::EventType::SELECTED}));
}

TEST_F(WidgetTest, SliderFollowsTheTouchAlongTheBar) {
    auto* s = ui::Slider::create();
    s->loadBarTexture("bar.png", ui::TextureResType::PLIST);
    s->loadSlidBallTextures("ball.png", "ball.png", "ball.png", ui::TextureResType::PLIST);
    s->loadProgressBarTexture("bar.png", ui::TextureResType::PLIST);
    s->setPosition(512, 300);  // bar from x = 412 to 612
    scene->addChild(s);
    s->setPercent(46);
    EXPECT_EQ(s->getPercent(), 46);
    std::vector<int> seen;
    s->addEventListener([&](Ref*, ui::Slider::EventType) { seen.push_back(s->getPercent()); });
    tap(462, 300, 562, 300);
    EXPECT_EQ(s->getPercent(), 75);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 25);
    EXPECT_EQ(seen.back(), 75);
    s->setPercent(150);
    EXPECT_EQ(s->getPercent(), 100);
}

TEST_F(WidgetTest, TextFieldTakesTypedTextUpToItsMaximum) {
    auto* f = ui::TextField::create("Nickname", "fonts/riffic.ttf", 40);
    f->setMaxLengthEnabled(true);
    f->setMaxLength(5);
    f->setPosition(300, 300);
    scene->addChild(f);
    ui::IMEDispatcher::getInstance()->insertText("ignored");
    EXPECT_EQ(f->getString(), "") << "not attached yet";
    tap(300, 300, 300, 300);
    EXPECT_TRUE(f->isAttached());
    ui::IMEDispatcher::getInstance()->insertText("Ratté");
    ui::IMEDispatcher::getInstance()->insertText("x");
    EXPECT_EQ(f->getString(), "Ratté");
    ui::IMEDispatcher::getInstance()->deleteBackward();
    EXPECT_EQ(f->getString(), "Ratt");
    tap(10, 10, 10, 10);
    EXPECT_FALSE(f->isAttached());
}

TEST_F(WidgetTest, ScrollViewScrollsByPercentAndDragWithinBounds) {
    auto* v = ui::ScrollView::create();
    v->setContentSize(Size(100, 200));
    v->setInnerContainerSize(Size(100, 1000));
    v->setPosition(0, 0);
    scene->addChild(v);
    Node* item = Node::create();
    v->addChild(item);
    EXPECT_EQ(item->getParent(), v->getInnerContainer());
    EXPECT_EQ(v->getInnerContainerPosition().y, -800.0f) << "the top shows first";
    v->jumpToBottom();
    EXPECT_EQ(v->getInnerContainerPosition().y, 0.0f);
    v->scrollToPercentVertical(50.0f, 0.2f, true);
    frames(20, 0.02f);
    EXPECT_NEAR(v->getInnerContainerPosition().y, -400.0f, 1e-3);
    tap(50, 100, 50, 150);  // drag up by 50
    EXPECT_NEAR(v->getInnerContainerPosition().y, -350.0f, 1e-3);
    tap(50, 10, 50, 190);  // far past the bottom end: clamped
    EXPECT_NEAR(v->getInnerContainerPosition().y, -170.0f, 1e-3);
}

}  // namespace
