#include "engine/Transition.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/EventDispatcher.h"
#include "engine/Layer.h"

namespace cocos2d {

namespace {
constexpr int kSceneFadeTag = 0xFADEFADE;

template <typename T>
T* makeTransition(T* t, float duration, Scene* scene) {
    if (t->initWithDuration(duration, scene)) {
        t->autorelease();
        return t;
    }
    delete t;
    return nullptr;
}
}  // namespace

TransitionScene* TransitionScene::create(float duration, Scene* scene) {
    return makeTransition(new TransitionScene(), duration, scene);
}

TransitionScene::~TransitionScene() {
    CC_SAFE_RELEASE(inScene_);
    CC_SAFE_RELEASE(outScene_);
}

bool TransitionScene::initWithDuration(float duration, Scene* scene) {
    if (scene == nullptr || !Scene::init()) return false;
    duration_ = duration;
    inScene_ = scene;
    inScene_->retain();
    outScene_ = Director::getInstance()->getRunningScene();
    if (outScene_ == nullptr) {
        outScene_ = Scene::create();
        outScene_->init();
    }
    outScene_->retain();
    if (inScene_ == outScene_) return false;
    sceneOrder();
    return true;
}

void TransitionScene::onEnter() {
    Scene::onEnter();
    // A replace drops the outgoing scene at the end; a push keeps it for the
    // pop, actions and timers included.
    cleanupOutScene_ = Director::getInstance()->isSendCleanupToScene();
    eventDispatcher_->setEnabled(false);
    outScene_->onExitTransitionDidStart();
    inScene_->onEnter();
}

void TransitionScene::onExit() {
    Scene::onExit();
    eventDispatcher_->setEnabled(true);
    outScene_->onExit();
    inScene_->onEnterTransitionDidFinish();
}

void TransitionScene::cleanup() {
    Scene::cleanup();
    if (cleanupOutScene_) outScene_->cleanup();
}

void TransitionScene::finish() {
    inScene_->setVisible(true);
    inScene_->setPosition(0, 0);
    inScene_->setScale(1.0f);
    inScene_->setRotation(0.0f);
    outScene_->setVisible(false);
    outScene_->setPosition(0, 0);
    outScene_->setScale(1.0f);
    outScene_->setRotation(0.0f);
    // Hand over at the next frame, outside the action that called us.
    scheduleOnce([this](float) { Director::getInstance()->replaceScene(inScene_); }, 0.0f,
                 "transition-finish");
}

void TransitionScene::hideOutShowIn() {
    inScene_->setVisible(true);
    outScene_->setVisible(false);
}

void TransitionScene::visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!visible_) return;
    if (inSceneOnTop_) {
        outScene_->visit(context, parentTransform, parentFlags);
        inScene_->visit(context, parentTransform, parentFlags);
    } else {
        inScene_->visit(context, parentTransform, parentFlags);
        outScene_->visit(context, parentTransform, parentFlags);
    }
    // The transition's own children (the fade layer) go over both.
    Scene::visit(context, parentTransform, parentFlags);
}

// ---------------------------------------------------------------- fade

TransitionFade* TransitionFade::create(float duration, Scene* scene) {
    return create(duration, scene, Color3B::BLACK);
}

TransitionFade* TransitionFade::create(float duration, Scene* scene, const Color3B& color) {
    auto* t = new TransitionFade();
    if (t->initWithDuration(duration, scene, color)) {
        t->autorelease();
        return t;
    }
    delete t;
    return nullptr;
}

bool TransitionFade::initWithDuration(float duration, Scene* scene, const Color3B& color) {
    if (!TransitionScene::initWithDuration(duration, scene)) return false;
    color_ = Color4B(color, 0);
    return true;
}

void TransitionFade::onEnter() {
    TransitionScene::onEnter();
    LayerColor* layer = LayerColor::create(color_);
    inScene_->setVisible(false);
    addChild(layer, 2, kSceneFadeTag);
    layer->runAction(
        Sequence::create(FadeIn::create(duration_ / 2.0f), CallFunc::create([this] { hideOutShowIn(); }),
                         FadeOut::create(duration_ / 2.0f), CallFunc::create([this] { finish(); })));
}

void TransitionFade::onExit() {
    TransitionScene::onExit();
    removeChildByTag(kSceneFadeTag, false);
}

// ---------------------------------------------------------------- move in

TransitionMoveInL* TransitionMoveInL::create(float duration, Scene* scene) {
    return makeTransition(new TransitionMoveInL(), duration, scene);
}

TransitionMoveInR* TransitionMoveInR::create(float duration, Scene* scene) {
    return makeTransition(new TransitionMoveInR(), duration, scene);
}

TransitionMoveInT* TransitionMoveInT::create(float duration, Scene* scene) {
    return makeTransition(new TransitionMoveInT(), duration, scene);
}

TransitionMoveInB* TransitionMoveInB::create(float duration, Scene* scene) {
    return makeTransition(new TransitionMoveInB(), duration, scene);
}

void TransitionMoveInL::onEnter() {
    TransitionScene::onEnter();
    initScenes();
    inScene_->runAction(
        Sequence::create(EaseOut::create(action(), 2.0f), CallFunc::create([this] { finish(); })));
}

ActionInterval* TransitionMoveInL::action() {
    return MoveTo::create(duration_, Vec2(0, 0));
}

void TransitionMoveInL::initScenes() {
    inScene_->setPosition(-Director::getInstance()->getWinSize().width, 0);
}

void TransitionMoveInR::initScenes() {
    inScene_->setPosition(Director::getInstance()->getWinSize().width, 0);
}

void TransitionMoveInT::initScenes() {
    inScene_->setPosition(0, Director::getInstance()->getWinSize().height);
}

void TransitionMoveInB::initScenes() {
    inScene_->setPosition(0, -Director::getInstance()->getWinSize().height);
}

}  // namespace cocos2d
