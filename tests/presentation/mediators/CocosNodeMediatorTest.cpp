#include <gtest/gtest.h>

#include "../../simulation/support/SceneFakes.h"
#include "../support/PresentationFixture.h"
#include "foundation/Error.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "presentation/mediators/MediatedSprite.h"

namespace {

using cocos2d::Node;
using cocos2d::Vec2;
using GeometryLib::FPoint;

class CocosNodeMediatorTest : public zarn_test::PresentationFixture {};

// A node put on the child's node before the child had a parent moves up into
// the parent at the same world point and apparent size; removing the child
// takes it away again.
TEST_F(CocosNodeMediatorTest, LiftedNodesKeepTheirPlaceAndSizeAndLeaveWithTheirChild) {
    Node* parentNode = Node::create();
    parentNode->setPosition(20.0f, 30.0f);
    scene->addChild(parentNode);
    Node* childNode = Node::create();
    childNode->setPosition(100.0f, 50.0f);
    childNode->setScale(2.0f);
    Node* lifted = Node::create();
    lifted->setPosition(10.0f, 0.0f);
    lifted->setScale(0.5f);
    childNode->addChild(lifted);
    CocosNodeMediator parent(parentNode);
    CocosNodeMediator child(childNode);
    child.liftList.emplace_back(lifted);

    parent.addChild(&child);
    EXPECT_EQ(childNode->getParent(), parentNode);
    EXPECT_EQ(lifted->getParent(), parentNode);
    EXPECT_EQ(lifted->getPosition(), Vec2(120.0f, 50.0f));
    EXPECT_EQ(parentNode->convertToWorldSpace(lifted->getPosition()), Vec2(140.0f, 80.0f));
    EXPECT_FLOAT_EQ(lifted->getScale(), 1.0f);
    EXPECT_TRUE(child.liftList.empty());
    ASSERT_EQ(child.liftedList.size(), 1u);

    parent.removeChild(&child);
    EXPECT_EQ(lifted->getParent(), nullptr);
    EXPECT_EQ(childNode->getParent(), nullptr);
    EXPECT_TRUE(child.liftedList.empty());
}

TEST_F(CocosNodeMediatorTest, AChildWithoutLiftListIsOnlyAddedAnd3DParentsDoNotLift) {
    Node* parentNode = Node::create();
    scene->addChild(parentNode);
    CocosNodeMediator parent(parentNode);
    Node* plain = Node::create();
    CocosNodeMediator child(plain);
    parent.addChild(&child);
    EXPECT_EQ(parentNode->getChildrenCount(), 1u);

    cocos2d::Sprite3D* model = cocos2d::Sprite3D::create();
    scene->addChild(model);
    Cocos3DNode1Mediator model3D(model, &Zarn::NullVisualNodeMediator::instance());
    Node* other = Node::create();
    Node* kept = Node::create();
    other->addChild(kept);
    CocosNodeMediator second(other);
    second.liftList.emplace_back(kept);
    model3D.addChild(&second);
    EXPECT_EQ(kept->getParent(), other) << "no lifting under a 3D parent";
    second.liftedList.emplace_back(kept);
    model3D.removeChild(&second);
    EXPECT_EQ(other->getParent(), nullptr);
    EXPECT_EQ(kept->getParent(), other) << "a 3D parent leaves lifted nodes where they are";
}

TEST_F(CocosNodeMediatorTest, ChildrenOfAnotherImplementationAreRefusedAndNothingChanges) {
    Node* parentNode = Node::create();
    CocosNodeMediator parent(parentNode);
    cocos2d::Sprite3D* model = cocos2d::Sprite3D::create();
    Cocos3DNode1Mediator model3D(model, &Zarn::NullVisualNodeMediator::instance());
    zarn_test::scene::FakeNode foreign{"not an engine node"};
    for (Zarn::NodeMediator* m :
         {static_cast<Zarn::NodeMediator*>(&parent), static_cast<Zarn::NodeMediator*>(&model3D)}) {
        for (bool add : {true, false}) {
            try {
                add ? m->addChild(&foreign) : m->removeChild(&foreign);
                ADD_FAILURE() << "accepted a foreign child";
            } catch (const Convinience::Error& e) {
                EXPECT_STREQ(e.what(), "Cannot add child of wrong derivied mediator!");
            }
        }
    }
    EXPECT_EQ(parentNode->getChildrenCount(), 0u);
}

// Mirroring of plain and 3D nodes goes through the scale's sign; sprites use
// their own mirror. 3D orders move the model along z.
TEST_F(CocosNodeMediatorTest, FlipsOrdersAndRotationsByKindOfNode) {
    Node* node = Node::create();
    node->setScale(-2.0f, 3.0f);
    CocosNodeMediator plain(node);
    plain.setFlippedX(true);
    EXPECT_FLOAT_EQ(node->getScaleX(), -2.0f);
    plain.setFlippedX(false);
    EXPECT_FLOAT_EQ(node->getScaleX(), 2.0f);
    plain.setFlippedY(true);
    EXPECT_FLOAT_EQ(node->getScaleY(), -3.0f);
    plain.setZOrder(7);
    plain.setGlobalZOrder(9);
    EXPECT_EQ(node->getLocalZOrder(), 7);
    EXPECT_FLOAT_EQ(node->getGlobalZOrder(), 9.0f);

    cocos2d::Sprite* sprite = cocos2d::Sprite::create();
    CocosNode1Mediator sprite1(sprite, &Zarn::NullVisualNodeMediator::instance());
    sprite1.setFlippedX(true);
    sprite1.setFlippedY(true);
    EXPECT_TRUE(sprite->isFlippedX());
    EXPECT_TRUE(sprite->isFlippedY());
    EXPECT_FLOAT_EQ(sprite->getScaleX(), 1.0f);

    cocos2d::Sprite3D* model = cocos2d::Sprite3D::create();
    model->setRotation3D(cocos2d::Vec3(15.0f, 0.0f, 30.0f));
    model->setScaleX(-0.25f);
    Cocos3DNode1Mediator m3(model, &Zarn::NullVisualNodeMediator::instance());
    m3.setFlippedX(true);
    EXPECT_FLOAT_EQ(model->getScaleX(), -0.25f);
    m3.setZOrder(1000042);
    EXPECT_EQ(model->getLocalZOrder(), 0);
    EXPECT_FLOAT_EQ(model->getPositionZ(), 1000042.0f);
    m3.setGlobalZOrder(5);
    EXPECT_FLOAT_EQ(model->getPositionZ(), 5.0f);
    m3.setRotation(90.0f);
    EXPECT_EQ(model->getRotation3D(), cocos2d::Vec3(15.0f, 90.0f, 0.0f));
}

TEST_F(CocosNodeMediatorTest, SizesPositionsAndRectanglesCrossAsPoints) {
    Node* a = Node::create();
    Node* b = Node::create();
    a->setContentSize(cocos2d::Size(40.0f, 20.0f));
    a->setPosition(5.0f, 6.0f);
    a->setScale(2.0f);
    CocosNodeMediator ma(a);
    CocosNodeMediator mb(b);
    EXPECT_EQ(ma.getVisibleSize(), mb.getVisibleSize());
    EXPECT_EQ(ma.getVisibleOrigin(), mb.getVisibleOrigin());
    EXPECT_EQ(ma.getContentSize(), FPoint(40.0f, 20.0f));
    EXPECT_EQ(ma.getPosition(), FPoint(5.0f, 6.0f));
    const GeometryLib::FRect r = ma.getRect();
    EXPECT_FLOAT_EQ(r.width, 80.0f);
    EXPECT_FLOAT_EQ(r.height, 40.0f);
    EXPECT_EQ(r.origin, FPoint(5.0f, 6.0f));
    EXPECT_EQ(ma.convertToNodeSpace(FPoint(25.0f, 16.0f)), FPoint(10.0f, 5.0f));
    ma.setAnchorPoint(0.5f, 0.0f);
    EXPECT_EQ(a->getAnchorPoint(), Vec2(0.5f, 0.0f));
}

class RecordingVisual final : public CocosVisualNodeMediator {
public:
    void onVisibilityChanged(u8 s) override { calls.push_back("visibility" + std::to_string(s)); }
    void onStateChanged(u32 o, u32 n) override {
        calls.push_back("state" + std::to_string(o) + std::to_string(n));
    }
    void onShowHide(u32 v, u8 s) override {
        calls.push_back("showhide" + std::to_string(v) + std::to_string(s));
    }
    std::vector<std::string> calls;
};

TEST_F(CocosNodeMediatorTest, SpriteMediatorsForwardTheVisualReactionsToTheirDelegate) {
    RecordingVisual visual;
    cocos2d::Sprite* sprite = cocos2d::Sprite::create();
    CocosNode1Mediator m(sprite, &visual);
    m.onVisibilityChanged(1);
    m.onStateChanged(2, 3);
    m.onShowHide(4, 0);
    Cocos3DNode1Mediator m3(cocos2d::Sprite3D::create(), &visual);
    m3.onStateChanged(5, 6);
    EXPECT_EQ(visual.calls, (std::vector<std::string>{"visibility1", "state23", "showhide40", "state56"}));

    MediatedSprite* mediated = MediatedSprite::create();
    ASSERT_NE(mediated, nullptr);
    ASSERT_NE(mediated->getMediator(), nullptr);
    EXPECT_EQ(mediated->getMediator()->getNode(), mediated);
    EXPECT_EQ(mediated->getMediator()->getDelegate(), &Zarn::NullVisualNodeMediator::instance());
    MediatedSprite* framed = MediatedSprite::createWithSpriteFrameName("blank.png");
    ASSERT_NE(framed, nullptr);
    EXPECT_EQ(framed->getMediator()->getNode(), framed);
}

// Owners may hold mediators by the world's interfaces and delete them there
// (the address sanitizer reports a delete through a base without a virtual
// destructor).
TEST_F(CocosNodeMediatorTest, MediatorsAreDeletedThroughTheWorldsInterfaces) {
    cocos2d::Sprite* sprite = cocos2d::Sprite::create();
    std::vector<std::unique_ptr<Zarn::NodeMediator>> nodes;
    nodes.push_back(std::make_unique<CocosNode1Mediator>(sprite, &Zarn::NullVisualNodeMediator::instance()));
    nodes.push_back(std::make_unique<Cocos3DNode1Mediator>(cocos2d::Sprite3D::create(),
                                                           &Zarn::NullVisualNodeMediator::instance()));
    nodes.push_back(std::make_unique<CocosNodeMediator>(Node::create()));
    std::unique_ptr<Zarn::VisualNodeMediator> visual =
        std::make_unique<MapElement2DVisualMediator>(sprite, MapElementAnimations{});
    nodes.clear();
    visual.reset();
}

class MapElementVisualTest : public zarn_test::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        zarn_test::makeFiles(soundRoot, {"sound/element/show1.mp3", "sound/element/hide1.mp3"});
        world = Node::create();
        scene->addChild(world);
        element = Node::create();
        world->addChild(element);
    }
    void TearDown() override {
        PositionAudioEngine::destroyInstance();
        PresentationFixture::TearDown();
    }
    Node* world = nullptr;
    Node* element = nullptr;
};

TEST_F(MapElementVisualTest, ShowsAndHidesWithSoundAndACloneOfItsAction) {
    MapElementAnimations animations;
    animations.showAction = cocos2d::FadeIn::create(0.3f);
    MapElement2DVisualMediator visual(element, animations);
    try {
        visual.onShowHide(0, 0);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "positionAudioEngine not instantiated!");
    }
    EXPECT_EQ(element->getNumberOfRunningActions(), 0u) << "nothing started without the audio engine";

    PositionAudioEngine::setInstance(std::make_unique<PositionAudioEngineImpl>(Vec2(0, 0), 750.0f));
    element->setOpacity(0);
    visual.onShowHide(7, 0);
    EXPECT_EQ(audio.files(), std::vector<std::string>{"sound/element/show1.mp3"});
    EXPECT_EQ(element->getNumberOfRunningActions(), 1u);
    frames(2, 0.3f);
    EXPECT_EQ(element->getOpacity(), 255);
    EXPECT_EQ(animations.showAction->getTarget(), nullptr) << "the template itself never runs";

    visual.onShowHide(0, 1);
    visual.onShowHide(0, 2);
    EXPECT_EQ(audio.files().back(), "sound/element/hide1.mp3");
    EXPECT_EQ(audio.plays.size(), 2u);
    EXPECT_EQ(element->getNumberOfRunningActions(), 0u) << "no hide action held";

    visual.onVisibilityChanged(1);
    EXPECT_EQ(element->getOpacity(), 0);
    visual.onVisibilityChanged(5);
    EXPECT_EQ(element->getOpacity(), 0);
    visual.onVisibilityChanged(0);
    EXPECT_EQ(element->getOpacity(), 255);
    EXPECT_THROW(visual.onStateChanged(0, 1), Convinience::Error);
}

}  // namespace
