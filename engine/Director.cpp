#include "engine/Director.h"

#include <algorithm>

#include "engine/ActionManager.h"
#include "engine/AudioEngine.h"
#include "engine/EventDispatcher.h"
#include "engine/GLView.h"
#include "engine/RenderBackend.h"
#include "engine/Scene.h"
#include "engine/Scheduler.h"
#include "engine/Transition.h"

namespace cocos2d {

namespace {
const Size kDefaultDesignSize(1024.0f, 576.0f);
}

Director* Director::getInstance() {
    // Never destroyed: nodes released during static destruction still reach
    // the scheduler and action manager through it.
    static Director* instance = new Director();
    return instance;
}

Director::Director()
    : scheduler_(std::make_unique<Scheduler>()),
      actionManager_(std::make_unique<ActionManager>()),
      eventDispatcher_(std::make_unique<EventDispatcher>()) {}

Director::~Director() = default;

void Director::runWithScene(Scene* scene) {
    if (scene == nullptr || runningScene_ != nullptr) return;
    pushScene(scene);
}

void Director::replaceScene(Scene* scene) {
    if (scene == nullptr) return;
    if (runningScene_ == nullptr) {
        runWithScene(scene);
        return;
    }
    if (scene == nextScene_) return;
    if (nextScene_ != nullptr) {
        // A scene that never ran is dropped with clean-up.
        if (nextScene_->isRunning()) nextScene_->onExit();
        nextScene_->cleanup();
        nextScene_ = nullptr;
    }
    sendCleanupToScene_ = true;
    scenesStack_.replace(scenesStack_.size() - 1, scene);
    nextScene_ = scene;
}

void Director::pushScene(Scene* scene) {
    if (scene == nullptr) return;
    sendCleanupToScene_ = false;
    scenesStack_.pushBack(scene);
    nextScene_ = scene;
}

void Director::popScene() {
    if (scenesStack_.empty()) return;
    scenesStack_.popBack();
    if (scenesStack_.empty()) {
        end();
    } else {
        sendCleanupToScene_ = true;
        nextScene_ = scenesStack_.back();
    }
}

void Director::end() {
    purgeNextLoop_ = true;
}

void Director::setNextScene() {
    const bool runningIsTransition = dynamic_cast<TransitionScene*>(runningScene_) != nullptr;
    const bool nextIsTransition = dynamic_cast<TransitionScene*>(nextScene_) != nullptr;
    if (!nextIsTransition && runningScene_ != nullptr) {
        runningScene_->onExitTransitionDidStart();
        runningScene_->onExit();
        if (sendCleanupToScene_) runningScene_->cleanup();
    }
    Scene* old = runningScene_;
    runningScene_ = nextScene_;
    eventDispatcher_->sceneGraphChanged();
    runningScene_->retain();
    nextScene_ = nullptr;
    if (old != nullptr) old->release();
    if (!runningIsTransition) {
        runningScene_->onEnter();
        runningScene_->onEnterTransitionDidFinish();
    }
}

void Director::mainLoop() {
    mainLoop(animationInterval_);
}

void Director::mainLoop(float dt) {
    if (ended_) return;
    if (purgeNextLoop_) {
        purge();
        return;
    }
    deltaTime_ = std::max(dt, 0.0f);
    if (!paused_) {
        // The scheduler's time scale slows or speeds actions and timers alike.
        actionManager_->update(deltaTime_ * scheduler_->getTimeScale());
        scheduler_->update(deltaTime_);
        experimental::AudioEngine::frameTick(deltaTime_);
    }
    if (nextScene_ != nullptr) setNextScene();
    drawScene();
    ++totalFrames_;
    PoolManager::getInstance()->getCurrentPool()->clear();
}

void Director::drawScene() {
    drawList_.clear();
    if (runningScene_ != nullptr) {
        DrawContext context(drawList_);
        runningScene_->visit(context, Mat4::IDENTITY, 0);
        // Global z orders the whole frame; equal values keep the walk's order
        // (the visit order is unique, so a plain sort needs no buffer).
        auto byGlobalZ = [](const DrawCommand& a, const DrawCommand& b) {
            return a.globalZOrder < b.globalZOrder || (a.globalZOrder == b.globalZOrder && a.order < b.order);
        };
        if (!std::is_sorted(drawList_.commands.begin(), drawList_.commands.end(), byGlobalZ))
            std::sort(drawList_.commands.begin(), drawList_.commands.end(), byGlobalZ);
    }
    if (backend_ != nullptr) backend_->render(drawList_);
}

void Director::purge() {
    if (runningScene_ != nullptr) {
        runningScene_->onExitTransitionDidStart();
        runningScene_->onExit();
        runningScene_->cleanup();
        runningScene_->release();
        runningScene_ = nullptr;
        eventDispatcher_->sceneGraphChanged();
    }
    nextScene_ = nullptr;
    scenesStack_.clear();
    purgeNextLoop_ = false;
    ended_ = true;
    drawList_.clear();
    PoolManager::getInstance()->getCurrentPool()->clear();
}

void Director::reset() {
    if (runningScene_ != nullptr || !scenesStack_.empty()) purge();
    PoolManager::getInstance()->getCurrentPool()->clear();
    actionManager_->removeAllActions();
    scheduler_->unscheduleAll();
    scheduler_->removeAllFunctionsToBePerformedInCocosThread();
    scheduler_->setTimeScale(1.0f);
    eventDispatcher_->removeAllEventListeners();
    eventDispatcher_->setEnabled(true);
    PoolManager::getInstance()->getCurrentPool()->clear();
    ended_ = false;
    paused_ = false;
    totalFrames_ = 0;
    deltaTime_ = 0.0f;
    sendCleanupToScene_ = false;
    backend_ = nullptr;
    setOpenGLView(nullptr);
    projection_ = Projection::DEFAULT;
    animationInterval_ = 1.0f / 60.0f;
}

void Director::setOpenGLView(GLView* view) {
    if (view == view_) return;
    if (view != nullptr) view->retain();
    if (view_ != nullptr) view_->release();
    view_ = view;
}

Size Director::getWinSize() const {
    return view_ != nullptr ? view_->getDesignResolutionSize() : kDefaultDesignSize;
}

Size Director::getVisibleSize() const {
    return view_ != nullptr ? view_->getVisibleSize() : kDefaultDesignSize;
}

Vec2 Director::getVisibleOrigin() const {
    return view_ != nullptr ? view_->getVisibleOrigin() : Vec2::ZERO;
}

void Director::setProjection(Projection projection) {
    projection_ = projection;
}

void Director::setProjection(Projection projection, float zNear, float zFar) {
    projection_ = projection;
    zNear_ = zNear;
    zFar_ = zFar;
}

}  // namespace cocos2d
