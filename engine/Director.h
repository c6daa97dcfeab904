#pragma once

#include <memory>
#include <vector>

#include "engine/DrawList.h"
#include "engine/Types.h"
#include "engine/Vector.h"

namespace cocos2d {

class ActionManager;
class EventDispatcher;
class GLView;
class RenderBackend;
class Scene;
class Scheduler;

// Owns the main loop: one frame dispatches nothing by itself (the view feeds
// input to the event dispatcher before the frame), then steps the actions,
// runs the scheduler, switches to a pending scene, walks the running scene
// into the draw list, hands the list to the render backend and drains the
// autorelease pool.
//
// One instance per process, used on the main thread only (except the
// scheduler's performFunctionInCocosThread). `reset` returns it to its first
// state for tests.
class Director {
public:
    enum class Projection { _2D, _3D, CUSTOM, DEFAULT = _3D };

    static Director* getInstance();

    // --- scenes ---
    void runWithScene(Scene* scene);
    // The scene takes over at the start of the next frame.
    void replaceScene(Scene* scene);
    void pushScene(Scene* scene);
    void popScene();
    Scene* getRunningScene() const { return runningScene_; }
    // Ends the main loop: the running scene exits and is released at the next
    // frame, after which `isEnded` holds.
    void end();
    bool isEnded() const { return ended_; }
    bool isSendCleanupToScene() const { return sendCleanupToScene_; }

    // --- frames ---
    // One frame with the given delta in seconds (tests and the main loop).
    void mainLoop(float dt);
    // One frame with the animation interval as delta.
    void mainLoop();
    void pause() { paused_ = true; }
    void resume() { paused_ = false; }
    bool isPaused() const { return paused_; }
    float getDeltaTime() const { return deltaTime_; }
    unsigned int getTotalFrames() const { return totalFrames_; }
    void setAnimationInterval(float seconds) { animationInterval_ = seconds; }
    float getAnimationInterval() const { return animationInterval_; }

    // --- view ---
    void setOpenGLView(GLView* view);
    GLView* getOpenGLView() const { return view_; }
    Size getWinSize() const;
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    // The projection and its depth range (kept for the backend; 2D drawing
    // uses the design resolution).
    void setProjection(Projection projection);
    void setProjection(Projection projection, float zNear, float zFar);
    Projection getProjection() const { return projection_; }
    float getZNear() const { return zNear_; }
    float getZFar() const { return zFar_; }

    // --- services ---
    Scheduler* getScheduler() const { return scheduler_.get(); }
    ActionManager* getActionManager() const { return actionManager_.get(); }
    EventDispatcher* getEventDispatcher() const { return eventDispatcher_.get(); }
    // The backend that draws each frame's list (not owned; null draws
    // nothing).
    void setRenderBackend(RenderBackend* backend) { backend_ = backend; }
    RenderBackend* getRenderBackend() const { return backend_; }
    // The list of the last drawn frame, sorted into drawing order.
    const DrawList& getDrawList() const { return drawList_; }
    // Walks the running scene into the draw list now (also done by mainLoop).
    void drawScene();

    // Ends every scene, drops pending work and clears the services (tests).
    void reset();

private:
    Director();
    ~Director();
    void setNextScene();
    void purge();

    std::unique_ptr<Scheduler> scheduler_;
    std::unique_ptr<ActionManager> actionManager_;
    std::unique_ptr<EventDispatcher> eventDispatcher_;
    Vector<Scene*> scenesStack_;
    Scene* runningScene_ = nullptr;  // retained
    Scene* nextScene_ = nullptr;     // held by the scene stack
    bool sendCleanupToScene_ = false;
    bool purgeNextLoop_ = false;
    bool ended_ = false;
    bool paused_ = false;
    float deltaTime_ = 0.0f;
    float animationInterval_ = 1.0f / 60.0f;
    unsigned int totalFrames_ = 0;
    GLView* view_ = nullptr;  // retained
    RenderBackend* backend_ = nullptr;
    Projection projection_ = Projection::DEFAULT;
    float zNear_ = -1024.0f;
    float zFar_ = 1024.0f;
    DrawList drawList_;
};

}  // namespace cocos2d
