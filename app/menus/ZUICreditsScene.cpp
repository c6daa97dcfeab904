#include "app/menus/ZUICreditsScene.h"

#include "app/menus/BackButtons.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/widgets/ZUIButton.h"
#include "engine/Director.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "engine/Transition.h"

using namespace cocos2d;

namespace {

const char* const kMainCredits =
    "QUILLFEN\n"
    "\n"
    "Design, programming, levels and art\n"
    "the Quillfen team\n"
    "\n"
    "Thanks for playing!";

const char* const kLibraryCredits =
    "Made with free software\n"
    "\n"
    "SDL2, SDL_image, SDL_ttf, SDL_mixer - zlib licence\n"
    "Boost - Boost Software Licence 1.0\n"
    "FreeType - FreeType Licence\n"
    "Quicksand, Comic Neue - SIL Open Font Licence 1.1\n"
    "Liberation Sans - SIL Open Font Licence 1.1";

const char* const kClosingLine = "Every room, sound and picture of this game was made for it.";

Label* creditsBlock(const char* text, float fontSize) {
    Label* label = Label::createWithTTF(text, "fonts/arial.ttf", fontSize, Size::ZERO, TextHAlignment::CENTER,
                                        TextVAlignment::TOP);
    label->setScale(ZUICreditsScene::kTextScale);
    return label;
}

}  // namespace

ZUICreditsScene* ZUICreditsScene::create() {
    return createWithInit<ZUICreditsScene>();
}

bool ZUICreditsScene::init() {
    if (!Scene::init()) return false;
    Director* director = Director::getInstance();
    visibleSize = director->getVisibleSize();
    visibleOrigin = director->getVisibleOrigin();

    Sprite* background = Sprite::create(kBackground);
    background->setScale(visibleSize.width / background->getContentSize().width);
    background->setPosition(Vec2(visibleSize.width / 2, visibleSize.height / 2));
    background->setColor(Color3B(70, 70, 70));
    addChild(background);

    blocks[0] = creditsBlock(kMainCredits, 40);
    blocks[1] = creditsBlock(kLibraryCredits, 26);
    blocks[2] = creditsBlock(kClosingLine, 26);
    const Size first = blocks[0]->getBoundingBox().size;
    const Size second = blocks[1]->getBoundingBox().size;
    const Size closing = blocks[2]->getBoundingBox().size;
    blocks[0]->setPosition(first.width / 2 + 80, 210);
    blocks[1]->setPosition(blocks[0]->getPositionX() + first.width / 2 + second.width / 2 + 30, 210);
    blocks[2]->setPosition(visibleSize.width / 2, closing.height / 2 + 30);
    for (Label* block : blocks) addChild(block);

    backButton = addBackToMenuButton(this);
    backButton->callback = [this] { goBack(); };
    return true;
}

void ZUICreditsScene::goBack() {
    Director::getInstance()->replaceScene(TransitionMoveInB::create(0.35f, ZUIMainMenuScene::create(0)));
}
