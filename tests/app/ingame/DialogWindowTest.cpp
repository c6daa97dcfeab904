#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../support/AppFixture.h"
#include "app/ingame/CocosDialogWindow.h"
#include "app/ingame/DialogGeometry.h"
#include "app/ingame/DialogWindowImpl.h"
#include "app/widgets/LabelEx.h"
#include "presentation/effects/VisualRandom.h"
#include "presentation/mediators/CocosNodeMediator.h"

using namespace cocos2d;

namespace {

// --- geometry ---

TEST(DialogGeometry, TheBoxFramesItsLinesAndItsCornersMoveOutward) {
    const DialogQuad box = dialogBoxCorners(100.0f, 20.0f, 2);
    EXPECT_EQ(box, (DialogQuad{Vec2(-10, -50), Vec2(-10, 30), Vec2(130, 30), Vec2(130, -50)}));
    // Draws 0.5, 0.25, 0.5, 0.25 ...: x moves by 10, y by 5, each outward.
    int draw = 0;
    const DialogQuad moved = jitterOutward(box, 20.0f, [&draw] { return (draw++ % 2 == 0) ? 0.5f : 0.25f; });
    EXPECT_EQ(draw, 8) << "one draw per coordinate";
    EXPECT_EQ(moved, (DialogQuad{Vec2(-20, -55), Vec2(-20, 35), Vec2(140, 35), Vec2(140, -55)}));
    const DialogQuad still = jitterOutward(box, 20.0f, [] { return 0.0f; });
    EXPECT_EQ(still, box);

    const DialogQuad uneven{Vec2(-12, -60), Vec2(-15, 33), Vec2(140, 31), Vec2(138, -52)};
    EXPECT_EQ(dialogQuadExtent(uneven), Size(155, 93)) << "the wider edge and the taller side";
}

TEST(DialogGeometry, TheAvatarFrameAndTheNamePlateHangOnTheUpperLeftCorner) {
    const DialogQuad box{Vec2(-10, -50), Vec2(-10, 30), Vec2(130, 30), Vec2(130, -50)};
    EXPECT_EQ(dialogAvatarFrame(box), (DialogQuad{Vec2(-45, 15), Vec2(-45, 85), Vec2(25, 85), Vec2(25, 15)}));
    EXPECT_EQ(dialogNamePlate(box, Size(80, 24)),
              (DialogQuad{Vec2(25, 30), Vec2(25, 54), Vec2(115, 54), Vec2(105, 30)}));
}

TEST(DialogGeometry, TheArrowSitsOnTheNearestInnerEdgePointingAtTheSpeaker) {
    // Inner outline: x 6..114, y -34..14.
    const DialogQuad box{Vec2(-10, -50), Vec2(-10, 30), Vec2(130, 30), Vec2(130, -50)};
    struct Case {
        const char* what;
        Vec2 speaker;
        Vec2 position;
        float rotation;
    };
    const Case cases[] = {
        {"straight above", Vec2(60, 300), Vec2(60, 14), 0.0f},
        {"straight below", Vec2(60, -300), Vec2(60, -34), 180.0f},
        {"to the right", Vec2(500, -10), Vec2(114, -10), 90.0f},
        {"to the left", Vec2(-500, -10), Vec2(6, -10), -90.0f},
        {"beyond the upper-left corner: the left edge wins the tie", Vec2(-94, 114), Vec2(6, 14), -45.0f},
        {"beyond the lower-right corner: the right edge wins the tie", Vec2(214, -134), Vec2(114, -34),
         135.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DialogArrowPlacement p = placeDialogArrow(box, c.speaker);
        EXPECT_NEAR(p.position.x, c.position.x, 1e-3f);
        EXPECT_NEAR(p.position.y, c.position.y, 1e-3f);
        EXPECT_NEAR(p.rotation, c.rotation, 1e-3f);
    }
    EXPECT_EQ(nearestPointOnSegment(Vec2(0, 0), Vec2(10, 0), Vec2(-5, 3)), Vec2(0, 0))
        << "clamped to the ends";
    EXPECT_EQ(nearestPointOnSegment(Vec2(0, 0), Vec2(10, 0), Vec2(4, 3)), Vec2(4, 0));
    EXPECT_EQ(nearestPointOnSegment(Vec2(2, 2), Vec2(2, 2), Vec2(4, 3)), Vec2(2, 2)) << "a point segment";
    EXPECT_EQ(dialogArrowFreeRect(Rect(100, 200, 50, 70)), Rect(82, 170, 50, 70));
}

TEST(DialogGeometry, ABoxOutsideTheAreaMovesInByTheLeastItNeeds) {
    const Rect area(10, 10, 1004, 556);  // x 10..1014, y 10..566
    struct Case {
        const char* what;
        Rect bounds;
        Vec2 shift;
    };
    const Case cases[] = {
        {"inside", Rect(100, 100, 300, 120), Vec2(0, 0)},
        {"touching every edge", Rect(10, 10, 1004, 556), Vec2(0, 0)},
        {"out on the left", Rect(-30, 100, 300, 120), Vec2(40, 0)},
        {"out on the right", Rect(900, 100, 300, 120), Vec2(-186, 0)},
        {"out below", Rect(100, -20, 300, 120), Vec2(0, 30)},
        {"out above", Rect(100, 500, 300, 120), Vec2(0, -54)},
        {"out of a corner", Rect(-5, -5, 300, 120), Vec2(15, 15)},
        {"wider than the area: left edges meet", Rect(300, 100, 1100, 120), Vec2(-290, 0)},
        {"taller than the area: top edges meet", Rect(100, -100, 300, 600), Vec2(0, 66)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(dialogShiftIntoArea(c.bounds, area), c.shift);
    }
    const DialogQuad box{Vec2(-10, -50), Vec2(-12, 30), Vec2(130, 33), Vec2(128, -50)};
    const DialogQuad plate{Vec2(25, 30), Vec2(25, 54), Vec2(115, 54), Vec2(105, 30)};
    EXPECT_EQ(dialogQuadBounds({box, plate}, 2.5f), Rect(-14.5f, -52.5f, 147, 109)) << "grown by the border";
}

// --- the window on screen ---

// A dialog window in a room node as the in-game scene places it, with a
// speaker node for "PART" in the room.
class DialogWindowTest : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        seedVisualRandomEngine(7);
        LabelEx::resetTickSequenceForTests();
        table[1] = Zarn::DialogEntry("Hello there&&Follow me", "PART", 1, GeometryLib::Point(300, 200));
        table[2] = Zarn::DialogEntry("One&&Two&&Three&&Four&&A much longer fifth line&&Six", "Cat", 2,
                                     GeometryLib::Point(100, 100));
        Scene* scene = Scene::create();
        room = Node::create();
        room->setScale(1.25f);
        scene->addChild(room);
        speaker = Node::create();
        speaker->setPosition(Vec2(700, 380));
        room->addChild(speaker);
        speakers["PART"] = speaker;
        window = CocosDialogWindow::create(table, player);
        window->setScale(0.6f);
        window->getImpl()->setSpeakerNodes(&speakers);
        window->setAnchorPoint(Vec2(0, 0));
        room->addChild(window, 1500000);
        run(scene);
    }
    DialogWindowImpl& impl() const { return *window->getImpl(); }
    // How many letters of a line label were drawn this frame.
    static int lettersDrawn(const Label* label) {
        int n = 0;
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.kind == DrawKind::Glyphs && c.node != nullptr && c.node->getParent() == label) ++n;
        return n;
    }
    static int visibleGlyphs(const Label* label) {
        int n = 0;
        for (int i = 0; i < label->getStringLength(); ++i)
            if (const Sprite* letter = const_cast<Label*>(label)->getLetter(i))
                n += letter->isVisible() ? 1 : 0;
        return n;
    }
    // A touch (scene space) inside the window's hit rectangle.
    Zarn::InputAnswer tapInside() {
        const GeometryLib::FRect rect = window->getMediator()->getRect();
        const GeometryLib::Point offset(
            -24, static_cast<i16>(std::trunc(20.0f - window->getContentSize().height / 2)));
        const Vec2 local(rect.origin.x + offset.x + 2.0f, rect.origin.y + offset.y + 2.0f);
        const Vec2 world = room->convertToWorldSpace(local);
        return impl().handleInput(GeometryLib::FPoint(world.x, world.y));
    }
    int plays(const std::string& file) const {
        const auto all = played();
        return static_cast<int>(std::count(all.begin(), all.end(), file));
    }

    Zarn::DialogTable table;
    Zarn::DialogPlayer player{table, 1};
    SpeakerNodes speakers;
    Node* room = nullptr;     // held by the scene
    Node* speaker = nullptr;  // held by the room
    CocosDialogWindow* window = nullptr;
};

TEST_F(DialogWindowTest, ADialogOpensBesideItsSpeakerAndTypesItsLinesOneAfterTheOther) {
    frame(0.016f);
    EXPECT_FALSE(impl().isOpen());
    ASSERT_TRUE(player.play(1));
    frame(0.016f);
    ASSERT_TRUE(impl().isOpen());
    EXPECT_EQ(window->getPosition(), Vec2(300, 200)) << "at the dialog's map position";
    EXPECT_EQ(plays(DialogWindowImpl::kShowSound), 1);
    ASSERT_EQ(impl().getLineLabels().size(), 2u);
    const LabelEx* first = impl().getLineLabels()[0];
    const LabelEx* second = impl().getLineLabels()[1];
    EXPECT_EQ(first->getString(), "Hello there");
    EXPECT_EQ(second->getString(), "Follow me");
    EXPECT_LT(second->getPositionY(), first->getPositionY()) << "lines stack downward";
    EXPECT_EQ(impl().getNameLabel()->getString(), "PART");
    ASSERT_NE(impl().getBox(), nullptr);
    EXPECT_FALSE(Director::getInstance()->getDrawList().findByNode(impl().getBox()).empty());
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame("avatar_part.png").size(), 1u);

    // Typing: one letter each 0.01 s, the second line after the first.
    int before = lettersDrawn(first);
    EXPECT_LE(before, 1);
    for (int i = 0; i < 5; ++i) frame(0.01f);
    EXPECT_GT(lettersDrawn(first), before);
    EXPECT_EQ(lettersDrawn(second), 0);
    EXPECT_TRUE(impl().isTyping());
    for (int i = 0; i < 30; ++i) frame(0.01f);
    EXPECT_EQ(visibleGlyphs(first), 10) << "\"Hello there\" has ten letters";
    EXPECT_EQ(visibleGlyphs(second), 8);
    EXPECT_EQ(lettersDrawn(second), 8);
    EXPECT_FALSE(impl().isTyping());

    // The speaker stands up and right of the box: the arrow shows, on the
    // box's inner outline, pointing at him.
    ASSERT_NE(impl().getArrow(), nullptr);
    EXPECT_TRUE(impl().getArrow()->isVisible());
    const DialogArrowPlacement expected = placeDialogArrow(
        impl().getBoxCorners(),
        impl().getBox()->convertToNodeSpace(room->convertToWorldSpace(speaker->getPosition())));
    EXPECT_EQ(impl().getArrow()->getPosition(), expected.position);
    EXPECT_FLOAT_EQ(impl().getArrow()->getRotation(), expected.rotation);

    // The speaker walks onto the box: no arrow.
    const Vec2 onBox = window->convertToWorldSpace(Vec2(impl().getBox()->getContentSize().width / 2, -10));
    speaker->setPosition(room->convertToNodeSpace(onBox));
    frame(0.016f);
    EXPECT_FALSE(impl().getArrow()->isVisible());
}

TEST_F(DialogWindowTest, TapsFinishTheTypingTurnThePagesOnTheSameBoxAndEndTheDialog) {
    ASSERT_TRUE(player.play(2));
    frame(0.016f);
    frame(0.016f);
    ASSERT_EQ(impl().getLineLabels().size(), 4u) << "four lines a page";
    EXPECT_TRUE(impl().isTyping());
    EXPECT_EQ(impl().getArrow(), nullptr) << "no node speaks for the cat";
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame("mode_star.png").size(), 1u);

    EXPECT_EQ(tapInside().kind, 3) << "a tap while typing shows everything";
    EXPECT_FALSE(impl().isTyping());
    for (const LabelEx* label : impl().getLineLabels())
        EXPECT_EQ(visibleGlyphs(label), static_cast<int>(label->getString().size()));
    EXPECT_EQ(plays(DialogWindowImpl::kPressSound), 1);

    const DialogQuad corners = impl().getBoxCorners();
    const DrawNode* box = impl().getBox();
    const Vec2 tapperAt = impl().getTapper()->getPosition();
    const Size windowSize = window->getContentSize();
    EXPECT_EQ(tapInside().kind, 3) << "the page turns";
    frame(0.016f);
    ASSERT_EQ(impl().getLineLabels().size(), 2u);
    EXPECT_EQ(impl().getLineLabels()[0]->getString(), "A much longer fifth line");
    EXPECT_EQ(impl().getBox(), box) << "the second page keeps the box";
    EXPECT_EQ(impl().getBoxCorners(), corners) << "and its jitter";
    EXPECT_EQ(impl().getTapper()->getPosition(), tapperAt);
    EXPECT_EQ(window->getContentSize(), windowSize);
    EXPECT_EQ(plays(DialogWindowImpl::kShowSound), 1) << "the show sound does not repeat";

    frames(40, 0.01f);
    EXPECT_EQ(tapInside().kind, 2) << "the last page: the dialog is over";
    EXPECT_EQ(plays(DialogWindowImpl::kPressSound), 3);

    const Zarn::InputAnswer outside = impl().handleInput(GeometryLib::FPoint(-500.0f, -500.0f));
    EXPECT_EQ(outside.kind, 0);
    EXPECT_EQ(plays(DialogWindowImpl::kPressSound), 3) << "no sound for a tap outside";

    player.stop();
    frame(0.016f);
    EXPECT_FALSE(impl().isOpen());
    EXPECT_EQ(impl().getBox(), nullptr);
    frames(3, 0.1f);
    EXPECT_TRUE(Director::getInstance()->getDrawList().findByFrame("mode_star.png").empty())
        << "the box is gone";
    EXPECT_EQ(window->getChildrenCount(), 0u);
    EXPECT_EQ(impl().handleInput(GeometryLib::FPoint(0, 0)).kind, 0) << "a closed window takes nothing";

    // The closed box removed itself; the next dialog builds its own.
    ASSERT_TRUE(player.play(1));
    frame(0.016f);
    ASSERT_TRUE(impl().isOpen());
    ASSERT_NE(impl().getBox(), nullptr);
    EXPECT_EQ(impl().getBox()->getParent(), window);
    EXPECT_EQ(plays(DialogWindowImpl::kShowSound), 2) << "a dialog opened after a closed one sounds again";
    frame(0.016f);
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame("avatar_part.png").size(), 1u);
}

TEST_F(DialogWindowTest, ANewDialogWhileOneIsOpenGetsANewBoxWithoutTheOpeningSound) {
    ASSERT_TRUE(player.play(1));
    frame(0.016f);
    const DialogQuad corners = impl().getBoxCorners();
    ASSERT_TRUE(player.play(2));
    frame(0.016f);
    EXPECT_NE(impl().getBoxCorners(), corners) << "new random offsets";
    EXPECT_EQ(impl().getNameLabel()->getString(), "Cat");
    EXPECT_EQ(impl().getArrow(), nullptr);
    EXPECT_EQ(plays(DialogWindowImpl::kShowSound), 1);
    frames(3, 0.1f);
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame("avatar_part.png").size(), 0u);
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame(DialogTapper::kTriangleFrame).size(), 1u)
        << "one tap hint";
}

TEST_F(DialogWindowTest, TheBoxStaysInsideTheVisibleAreaAndReturnsHomeWhenTheRoomAllows) {
    // A dialog at the room's lower-left corner: at the scene's origin its
    // box, name plate and avatar frame would hang off the left and bottom.
    table[3] = Zarn::DialogEntry("Welcome to the lab, little one.&&Tap the floor to walk.", "Cat", 3,
                                 GeometryLib::Point(0, 0));
    const Rect area(DialogWindowImpl::kViewMargin, DialogWindowImpl::kViewMargin,
                    1024 - 2 * DialogWindowImpl::kViewMargin, 576 - 2 * DialogWindowImpl::kViewMargin);
    const auto onScreen = [&] {
        const Rect local = impl().boxBounds();
        const Vec2 low = window->convertToWorldSpace(local.origin);
        const Vec2 high = window->convertToWorldSpace(Vec2(local.getMaxX(), local.getMaxY()));
        return Rect(low.x, low.y, high.x - low.x, high.y - low.y);
    };
    const auto inside = [&](const Rect& r) {
        constexpr float kSlack = 0.01f;
        return r.getMinX() >= area.getMinX() - kSlack && r.getMaxX() <= area.getMaxX() + kSlack &&
               r.getMinY() >= area.getMinY() - kSlack && r.getMaxY() <= area.getMaxY() + kSlack;
    };
    ASSERT_TRUE(player.play(3));
    frame(0.016f);
    ASSERT_TRUE(impl().isOpen());
    const Rect shown = onScreen();
    EXPECT_TRUE(inside(shown)) << shown.getMinX() << ", " << shown.getMinY();
    EXPECT_NEAR(shown.getMinX(), area.getMinX(), 0.01f) << "moved no further than needed";
    EXPECT_NEAR(shown.getMinY(), area.getMinY(), 0.01f);
    // The drawn box agrees.
    for (const DrawCommand* c : Director::getInstance()->getDrawList().findByNode(impl().getBox()))
        for (const ShapeVertex& v : c->shapes->triangles)
            EXPECT_GE(c->transform.transformPoint(v.position).x, 0.0f);

    // The camera moves the room up and right: the box goes back to the
    // dialog's place in the room.
    room->setPosition(Vec2(200, 150));
    frame(0.016f);
    EXPECT_EQ(window->getPosition(), Vec2(0, 0));
    EXPECT_TRUE(inside(onScreen()));
    // And left again, past the edge: it stays in.
    room->setPosition(Vec2(-300, 150));
    frame(0.016f);
    EXPECT_TRUE(inside(onScreen()));
    EXPECT_NEAR(onScreen().getMinX(), area.getMinX(), 0.01f);
}

TEST(DialogAvatars, OnlyKnownSpeakersHaveAnAvatar) {
    EXPECT_STREQ(DialogWindowImpl::avatarFrame("PART"), "avatar_part.png");
    EXPECT_STREQ(DialogWindowImpl::avatarFrame("Cat"), "mode_star.png");
    EXPECT_EQ(DialogWindowImpl::avatarFrame("Dog"), nullptr);
    EXPECT_EQ(DialogWindowImpl::avatarFrame(""), nullptr);
}

}  // namespace
