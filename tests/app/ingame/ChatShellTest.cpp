#include <gtest/gtest.h>

#include "../support/AppFixture.h"
#include "app/ingame/ChatShell.h"
#include "simulation/core/ChatLineQueue.h"

using namespace cocos2d;

namespace {

class ChatShellTest : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        Zarn::chatLineQueue().clear();
        scene = Scene::create();
        run(scene);
    }
    void TearDown() override {
        Zarn::chatLineQueue().clear();
        AppFixture::TearDown();
    }
    void addShell() {
        shell = ChatShell::create();
        scene->addChild(shell);
    }
    // The chat labels drawn this frame, top to bottom, with their opacity.
    static std::vector<std::pair<std::u32string, const DrawCommand*>> lines() {
        std::vector<std::pair<std::u32string, const DrawCommand*>> out;
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr) out.emplace_back(c.glyphs->text, &c);
        return out;
    }

    Scene* scene = nullptr;
    ChatShell* shell = nullptr;  // held by the scene
};

TEST_F(ChatShellTest, LinesQueuedBeforeTheShellStackDownwardInQueueOrderAndFadeTogether) {
    Zarn::chatLineQueue().post("ann joined the game");
    Zarn::chatLineQueue().post("bob joined the game");
    addShell();
    frame(0.016f);
    EXPECT_TRUE(Zarn::chatLineQueue().empty());
    auto shown = lines();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, U"ann joined the game");
    EXPECT_EQ(shown[1].first, U"bob joined the game");
    const auto& children = shell->getChildren();
    ASSERT_EQ(children.size(), 2u);
    const Node* first = children.at(0);
    const Node* second = children.at(1);
    EXPECT_FLOAT_EQ(first->getPositionY(), 0.0f);
    EXPECT_FLOAT_EQ(first->getPositionX(), first->getContentSize().width / 2.0f) << "left-aligned at x 0";
    EXPECT_FLOAT_EQ(second->getPositionY(),
                    -first->getContentSize().height / 2.0f - second->getContentSize().height / 2.0f);
    EXPECT_EQ(static_cast<const Label*>(first)->getTextColor(), Color4B(0, 255, 255, 255));

    // Three seconds shown at full opacity, then a one-second fade.
    frames(29, 0.1f);
    EXPECT_EQ(shell->getOpacity(), 255);
    frames(6, 0.1f);
    EXPECT_LT(shell->getOpacity(), 255);
    EXPECT_GT(shell->getOpacity(), 0);
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_LT(lines()[0].second->opacity, 255) << "the labels fade with the shell";

    // A line during the fade: every label fully visible again, one timer.
    Zarn::chatLineQueue().post("cy left the game");
    frame(0.016f);
    EXPECT_EQ(shell->getOpacity(), 255);
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_EQ(lines()[0].second->opacity, 255);
    frames(45, 0.1f);
    EXPECT_TRUE(lines().empty()) << "gone after 3 s and the 1 s fade";
    EXPECT_EQ(shell->getLastLine(), nullptr);

    Zarn::chatLineQueue().post("dee joined the game");
    frame(0.016f);
    ASSERT_NE(shell->getLastLine(), nullptr);
    EXPECT_FLOAT_EQ(shell->getLastLine()->getPositionY(), 0.0f) << "a new stack starts at the top";
}

}  // namespace
