#include <gtest/gtest.h>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class NodeTransform : public zarn_test::EngineFixture {};

void expectNear(const Vec2& actual, const Vec2& expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

void expectRect(const Rect& actual, const Rect& expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
    EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
    EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

TEST_F(NodeTransform, AnchorScaleAndRotationPlaceTheContentBox) {
    Node* n = Node::create();
    n->setContentSize(Size(40, 20));
    n->setAnchorPoint(Vec2(0.5f, 0.5f));
    n->setPosition(100, 50);
    expectRect(n->getBoundingBox(), Rect(80, 40, 40, 20));
    n->setScale(2.0f, 3.0f);
    expectRect(n->getBoundingBox(), Rect(60, 20, 80, 60));
    n->setScale(1.0f);
    n->setRotation(90);  // clockwise: the wide box turns tall
    expectRect(n->getBoundingBox(), Rect(90, 30, 20, 40));
    // The top-left corner of the content goes to the top-right, clockwise.
    expectNear(n->convertToWorldSpace(Vec2(0, 20)), Vec2(110, 70));
}

TEST_F(NodeTransform, NestedNodesConvertBothWays) {
    Node* parent = Node::create();
    parent->setPosition(200, 100);
    parent->setScale(2.0f);
    parent->setRotation(-90);  // counter-clockwise
    scene->addChild(parent);
    Node* child = Node::create();
    child->setContentSize(Size(10, 10));
    child->setPosition(5, 0);
    parent->addChild(child);
    // child's origin: parent's x axis points up after a -90 turn, scaled 2.
    expectNear(child->convertToWorldSpace(Vec2::ZERO), Vec2(200, 110));
    expectNear(child->convertToWorldSpace(Vec2(10, 0)), Vec2(200, 130));
    for (const Vec2& p : {Vec2(0, 0), Vec2(3, -7), Vec2(123.5f, 44.25f)}) {
        expectNear(child->convertToNodeSpace(child->convertToWorldSpace(p)), p);
    }
    // Moving the scene (a screen shake) moves everything on it.
    scene->setPosition(0, 20);
    expectNear(child->convertToWorldSpace(Vec2::ZERO), Vec2(200, 130));
    // The parent's bounding box of the child is in the parent's space.
    expectRect(child->getBoundingBox(), Rect(5, 0, 10, 10));
}

TEST_F(NodeTransform, IgnoredAnchorAndSkew) {
    Layer* layer = Layer::create();
    layer->setContentSize(Size(100, 100));
    layer->setPosition(10, 10);
    expectRect(layer->getBoundingBox(), Rect(10, 10, 100, 100));
    Node* n = Node::create();
    n->setContentSize(Size(10, 10));
    n->setSkewX(45);  // x' = x + y
    expectNear(n->convertToWorldSpace(Vec2(0, 10)), Vec2(10, 10));
}

TEST_F(NodeTransform, OpacityAndColourCascadeOnlyWhenEnabled) {
    Node* parent = Node::create();
    Node* child = Node::create();
    parent->addChild(child);
    parent->setOpacity(128);
    EXPECT_EQ(child->getDisplayedOpacity(), 255);
    parent->setCascadeOpacityEnabled(true);
    EXPECT_EQ(child->getDisplayedOpacity(), 128);
    child->setOpacity(128);
    EXPECT_EQ(child->getDisplayedOpacity(), 64);
    Node* late = Node::create();
    parent->addChild(late);
    EXPECT_EQ(late->getDisplayedOpacity(), 128) << "a child added later takes the cascade";
    parent->setCascadeColorEnabled(true);
    parent->setColor(Color3B(255, 0, 0));
    child->setColor(Color3B(255, 255, 0));
    EXPECT_EQ(child->getDisplayedColor(), Color3B(255, 0, 0));
    parent->setCascadeOpacityEnabled(false);
    EXPECT_EQ(child->getDisplayedOpacity(), 128);
}

// Counts the sorts that had something to do.
class SortCountingNode : public Node {
public:
    void sortAllChildren() override {
        if (reorderChildDirty_) ++sorts;
        Node::sortAllChildren();
    }
    int sorts = 0;
};

TEST_F(NodeTransform, ChildrenSortByZThenArrival) {
    auto* parent = createWithInit<SortCountingNode>();
    Node* a = Node::create();
    Node* b = Node::create();
    Node* c = Node::create();
    Node* d = Node::create();
    parent->addChild(a, 1);
    parent->addChild(b, 0);
    parent->addChild(c, 1);
    parent->addChild(d, -1);
    parent->sortAllChildren();
    EXPECT_EQ(parent->getChildren().asStdVector(), (std::vector<Node*>{d, b, a, c}));
    // Setting the z a node already has changes nothing (players set theirs
    // every frame); a new z moves it behind the siblings of that z.
    const int sorts = parent->sorts;
    a->setLocalZOrder(1);
    parent->sortAllChildren();
    EXPECT_EQ(parent->getChildren().asStdVector(), (std::vector<Node*>{d, b, a, c}));
    EXPECT_EQ(parent->sorts, sorts);
    b->setLocalZOrder(1);
    parent->sortAllChildren();
    EXPECT_EQ(parent->getChildren().asStdVector(), (std::vector<Node*>{d, a, c, b}));
    parent->reorderChild(d, 5);
    parent->sortAllChildren();
    EXPECT_EQ(parent->getChildren().asStdVector(), (std::vector<Node*>{a, c, b, d}));
    EXPECT_EQ(parent->getChildByTag(Node::INVALID_TAG), a);
    c->setTag(3);
    c->setName("c");
    EXPECT_EQ(parent->getChildByTag(3), c);
    EXPECT_EQ(parent->getChildByName("c"), c);
    parent->removeChildByTag(3);
    EXPECT_EQ(parent->getChildByName("c"), nullptr);
}

}  // namespace
