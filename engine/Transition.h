#pragma once

#include "engine/Scene.h"

namespace cocos2d {

class ActionInterval;

// A scene that shows the running scene giving way to a new one over a
// duration, then hands over to the new scene. While it runs, the dispatcher
// delivers no input. Order of calls: the outgoing scene gets
// onExitTransitionDidStart and the incoming one onEnter when the transition
// starts; at the end the outgoing scene gets onExit (and clean-up), the
// incoming one onEnterTransitionDidFinish. A transition that replaces a scene
// cleans the outgoing one up; one that is pushed leaves it as it is (its
// actions and timers resume when it is popped).
class TransitionScene : public Scene {
public:
    static TransitionScene* create(float duration, Scene* scene);
    ~TransitionScene() override;
    bool initWithDuration(float duration, Scene* scene);

    // Called when the transition's animation has ended.
    void finish();
    void hideOutShowIn();
    Scene* getInScene() const { return inScene_; }
    Scene* getOutScene() const { return outScene_; }
    float getDuration() const { return duration_; }

    void onEnter() override;
    void onExit() override;
    void cleanup() override;
    void visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) override;

public:
    TransitionScene() = default;

protected:
    virtual void sceneOrder() { inSceneOnTop_ = true; }

    Scene* inScene_ = nullptr;   // retained
    Scene* outScene_ = nullptr;  // retained
    float duration_ = 0.0f;
    bool inSceneOnTop_ = true;
    bool cleanupOutScene_ = true;  // the transition replaces rather than pushes
};

// Fades to a colour, swaps the scenes, fades back.
class TransitionFade : public TransitionScene {
public:
    static TransitionFade* create(float duration, Scene* scene);
    static TransitionFade* create(float duration, Scene* scene, const Color3B& color);
    bool initWithDuration(float duration, Scene* scene, const Color3B& color);
    void onEnter() override;
    void onExit() override;

public:
    TransitionFade() = default;

protected:
    Color4B color_;
};

// The new scene slides in over the old one from one side.
class TransitionMoveInL : public TransitionScene {
public:
    static TransitionMoveInL* create(float duration, Scene* scene);
    void onEnter() override;

public:
    TransitionMoveInL() = default;

protected:
    // Where the new scene starts.
    virtual void initScenes();
    ActionInterval* action();
};

class TransitionMoveInR : public TransitionMoveInL {
public:
    static TransitionMoveInR* create(float duration, Scene* scene);

protected:
    void initScenes() override;
};

// From the top.
class TransitionMoveInT : public TransitionMoveInL {
public:
    static TransitionMoveInT* create(float duration, Scene* scene);

protected:
    void initScenes() override;
};

// From the bottom.
class TransitionMoveInB : public TransitionMoveInL {
public:
    static TransitionMoveInB* create(float duration, Scene* scene);

protected:
    void initScenes() override;
};

}  // namespace cocos2d
