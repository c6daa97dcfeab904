#include "app/menus/ZUIBetaEndScene.h"

#include <cstring>

#include "app/menus/ZUIMainMenuScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/Application.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "engine/Transition.h"
#include "engine/ui/UIButton.h"
#include "foundation/Logger.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"

using namespace cocos2d;

// The game has no pages of its own yet.
const std::vector<EndSceneLink> endSceneLinks = {};

namespace {

constexpr int kBonusStyle = 11;
constexpr float kBackScale = 0.4f;
constexpr float kCornerInset = 30.0f;
constexpr float kBonusLift = 60.0f;
constexpr float kBonusFade = 1.5f;

Size boxOf(const Node* node) {
    return Size(node->getContentSize().width * node->getScaleX(),
                node->getContentSize().height * node->getScaleY());
}

void openPage(const char* address) {
    Application* app = Application::getInstance();
    if (app == nullptr || !app->openURL(address))
        Convinience::Logger().log(3, std::string("Could not open ") + address);
}

}  // namespace

void placeRightOf(Node* node, const Node* anchor, float gap) {
    const float dx = boxOf(anchor).width * 0.5f + boxOf(node).width * 0.5f + gap;
    node->setPosition(anchor->getPosition() + Vec2(dx, 0.0f));
}

ZUIBetaEndScene* ZUIBetaEndScene::create() {
    return createWithInit<ZUIBetaEndScene>();
}

ZUIBetaEndScene* ZUIBetaEndScene::create(const std::vector<EndSceneLink>& links) {
    return createWithMethod<ZUIBetaEndScene>(&ZUIBetaEndScene::initWithLinks, links);
}

bool ZUIBetaEndScene::init() {
    return initWithLinks(endSceneLinks);
}

bool ZUIBetaEndScene::initWithLinks(const std::vector<EndSceneLink>& links) {
    if (!Scene::init()) return false;
    Director* director = Director::getInstance();
    const Size visible = director->getVisibleSize();
    const Vec2 origin = director->getVisibleOrigin();

    Sprite* splash = Sprite::create(kSplash);
    const float splashWidth = boxOf(splash).width;
    if (splashWidth > 0.0f) splash->setScale(visible.width / splashWidth);
    splash->setPosition(origin + Vec2(visible.width / 2, visible.height / 2));
    addChild(splash);

    // The row: the first icon at (kRowX, kRowY), each next one to the right
    // of the one before, with a black dot under each.
    dots_ = DrawNode::create(2.0f);
    for (const EndSceneLink& link : links) {
        ui::Button* button =
            ui::Button::create(link.frameName, link.frameName, "", ui::TextureResType::PLIST);
        button->setPressedActionEnabled(true);
        const char* address = link.address;
        button->addClickEventListener([address](Ref*) { openPage(address); });
        if (linkButtons_.empty()) {
            button->setPosition(origin + Vec2(kRowX, kRowY));
        } else {
            placeRightOf(button, linkButtons_.back(), kRowGap);
        }
        dots_->drawDot(button->getPosition(), kDotRadius, Color4F::BLACK);
        if (std::strcmp(link.frameName, "website.png") == 0) websiteButton = button;
        linkButtons_.push_back(button);
    }
    addChild(dots_);
    for (ui::Button* button : linkButtons_) addChild(button);

    backButton = ZUICoreButton::create(coreButtonStyles[0], "icon_back.png");
    backButton->setScale(kBackScale);
    addChild(backButton);
    const Size back = boxOf(backButton);
    backButton->setPosition(
        origin + Vec2(back.width * 0.5f + kCornerInset, visible.height - back.height * 0.5f - kCornerInset));
    backButton->callback = [] {
        Director::getInstance()->replaceScene(TransitionMoveInB::create(0.35f, ZUIMainMenuScene::create(0)));
    };
    return true;
}

void ZUIBetaEndScene::addBonusChallenges() {
    if (bonusButton != nullptr) return;
    Director* director = Director::getInstance();
    const Size visible = director->getVisibleSize();
    bonusButton = ZUISkewedRectButton::create(skewedRectButtonStyles[kBonusStyle]);
    addChild(bonusButton);
    bonusButton->setPosition(director->getVisibleOrigin() +
                             Vec2(visible.width - boxOf(bonusButton).width * 0.5f - kCornerInset,
                                  boxOf(backButton).height * 0.5f + kBonusLift));

    Label* label = Label::createWithTTF("Bonus\nChallenges", "fonts/riffic.ttf", 40.0f);
    label->setHorizontalAlignment(TextHAlignment::CENTER);
    label->setTextColor(Color4B::BLACK);
    label->setScale(0.5f);
    const Size face = bonusButton->getContentSize();
    label->setPosition(Vec2(face.width / 2, face.height / 2));
    bonusButton->getFace()->addChild(label);
    bonusButton->onClick = [this] { startBonusChallenges(); };
}

void ZUIBetaEndScene::startBonusChallenges() {
    const Zarn::LevelList& levels = Zarn::LevelList::instance();
    if (levels.size() < 5) return;
    const u32 first = static_cast<u32>(levels.size() - 5);
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    // The level being played (the elevator's glue names the mapping).
    progress.currentLevel = first;
    // One start only: a second press during the fade would bring up a
    // second level and its server.
    if (PlayTestSceneNode::startLevel(levels[first].mapName + ".map", &progress, levels, kBonusFade) &&
        bonusButton != nullptr)
        bonusButton->state.enabled = false;
}
