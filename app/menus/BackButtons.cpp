#include "app/menus/BackButtons.h"

#include "app/menus/ArtSpace.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/widgets/ZUIButton.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/Director.h"
#include "engine/Scene.h"
#include "engine/Transition.h"

using namespace cocos2d;

ZUICoreButton* addTopRightBackIcon(Node* page) {
    ZUICoreButton* back = ZUICoreButton::create(coreButtonStyles[0], "icon_back.png");
    page->addChild(back);
    const Size size = back->getContentSize();
    back->setPosition(Vec2(kArtWidth / 2, kArtHeight / 2) - Vec2(50, 50) -
                      Vec2(size.width / 2, size.height / 2));
    return back;
}

ZUIButton* addBackToMenuButton(Scene* scene) {
    ZUIButton* back = ZUIButton::create("Back", "fonts/loaded.ttf", 24, 0, 0);
    scene->addChild(back);
    back->callback = [] {
        Director::getInstance()->replaceScene(TransitionMoveInB::create(0.35f, ZUIMainMenuScene::create(0)));
    };
    Director* director = Director::getInstance();
    const Size visible = director->getVisibleSize();
    const Size size = back->getContentSize();
    back->setPosition(director->getVisibleOrigin() + Vec2(visible.width - size.width, size.height * 1.5f));
    return back;
}
