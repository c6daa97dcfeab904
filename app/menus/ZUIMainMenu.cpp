#include "app/menus/ZUIMainMenu.h"

#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "engine/Transition.h"

using namespace cocos2d;

namespace {
struct Face {
    int style;
    const char* caption;
    const char* silhouette;
};
const Face kFaces[3] = {
    {0, "STORY", "silhouette_zizad.png"},
    {1, "ARCADE", "silhouette_mei.png"},
    {2, "MULTI-\nPLAYER", "silhouette_part.png"},
};
}  // namespace

std::vector<Vec2> spreadTargets(const std::vector<Vec2>& homes, const std::vector<Vec2>& current,
                                std::size_t hovered, float hoveredWidth) {
    const float offset = hoveredWidth * 0.2f * 0.5f;
    std::vector<Vec2> targets(homes.size());
    for (std::size_t i = 0; i < homes.size(); ++i) {
        if (i == hovered) {
            targets[i] = current[i];
        } else if (current[hovered].x > current[i].x) {
            targets[i] = homes[i] + Vec2(-offset, 0);
        } else {
            targets[i] = homes[i] + Vec2(offset, 0);
        }
    }
    return targets;
}

ZUIMainMenu* ZUIMainMenu::create() {
    return createWithInit<ZUIMainMenu>();
}

bool ZUIMainMenu::init() {
    if (!Node::init()) return false;
    for (const Face& f : kFaces)
        buttons.push_back(ZUISkewedRectButton::create(skewedRectButtonStyles[f.style]));
    storyButton = buttons[0];
    arcadeButton = buttons[1];
    multiplayerButton = buttons[2];
    const float w0 = storyButton->getContentSize().width;
    const float w1 = arcadeButton->getContentSize().width;
    const float w2 = multiplayerButton->getContentSize().width;
    homePositions = {Vec2(-(w0 / 2 + w1 / 2 + kGap), 227), Vec2(0, 123), Vec2(w1 / 2 + w2 / 2 + kGap, 0)};

    // Later children draw on top: ARCADE below its neighbours.
    addChild(arcadeButton);
    addChild(storyButton);
    addChild(multiplayerButton);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        ZUISkewedRectButton* button = buttons[i];
        button->setPosition(homePositions[i]);
        button->scaleOnHover = true;
        const Vec2 centre(button->getContentSize().width / 2, button->getContentSize().height / 2);
        Sprite* silhouette = Sprite::createWithSpriteFrameName(kFaces[i].silhouette);
        silhouette->setPosition(centre);
        button->getFace()->addChild(silhouette);
        Label* caption = Label::createWithTTF(kFaces[i].caption, "fonts/riffic.ttf", 144, Size::ZERO,
                                              TextHAlignment::LEFT, TextVAlignment::TOP);
        caption->setTextColor(Color4B::WHITE);
        caption->setPosition(centre);
        button->getFace()->addChild(caption);
        button->onHover = [this, i] { spread(i); };
        button->onUnhover = [this, i] { gather(i); };
    }
    storyButton->onClick = [] {
        Director::getInstance()->replaceScene(
            TransitionMoveInT::create(0.4f, ZUISinglePlayerScene::create()));
    };
    return true;
}

void ZUIMainMenu::spread(std::size_t hovered) {
    std::vector<Vec2> current;
    for (ZUISkewedRectButton* b : buttons) current.push_back(b->getPosition());
    const std::vector<Vec2> targets =
        spreadTargets(homePositions, current, hovered, buttons[hovered]->getContentSize().width);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i == hovered) continue;
        buttons[i]->stopAllActions();
        buttons[i]->runAction(MoveTo::create(kSpreadSeconds, targets[i]));
    }
}

void ZUIMainMenu::gather(std::size_t hovered) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i == hovered) continue;
        buttons[i]->stopAllActions();
        buttons[i]->runAction(MoveTo::create(kSpreadSeconds, homePositions[i]));
    }
}
