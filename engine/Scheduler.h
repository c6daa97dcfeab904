#pragma once

#include <climits>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Ref.h"

namespace cocos2d {

// Runs per-frame updates and timed callbacks on the main thread. Each frame the
// director calls `update(dt)`: first the update callbacks by ascending
// priority (ties in order of scheduling), then the timed callbacks in order of
// scheduling, then the functions that other threads handed over.
//
// Targets are observed, not retained: a node unschedules itself when it is
// cleaned up or destroyed.
class Scheduler {
public:
    static constexpr unsigned int REPEAT_FOREVER = UINT_MAX - 1;
    static constexpr int PRIORITY_SYSTEM = INT_MIN;

    Scheduler();
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    void update(float dt);

    // A callback every `interval` seconds (every frame when 0), `repeat`
    // further times after the first (REPEAT_FOREVER: until unscheduled), the
    // first after `delay`. Calls keep the period without drift: a frame
    // longer than the interval makes every call that fell due, each told the
    // interval. Scheduling an existing key again changes its interval.
    void schedule(const std::function<void(float)>& callback, void* target, float interval,
                  unsigned int repeat, float delay, bool paused, const std::string& key);
    void schedule(const std::function<void(float)>& callback, void* target, float interval, bool paused,
                  const std::string& key);
    void schedule(SEL_SCHEDULE selector, Ref* target, float interval, unsigned int repeat, float delay,
                  bool paused);
    void unschedule(const std::string& key, void* target);
    void unschedule(SEL_SCHEDULE selector, Ref* target);
    bool isScheduled(const std::string& key, const void* target) const;
    bool isScheduled(SEL_SCHEDULE selector, const Ref* target) const;

    // `callback(dt)` every frame for the target, by priority.
    void scheduleUpdate(void* target, int priority, bool paused, std::function<void(float)> callback);
    void unscheduleUpdate(void* target);

    void unscheduleAllForTarget(void* target);
    void unscheduleAll();
    void pauseTarget(void* target);
    void resumeTarget(void* target);
    bool isTargetPaused(void* target) const;

    // Runs `function` on the main thread at the next frame. Safe from any
    // thread.
    void performFunctionInCocosThread(std::function<void()> function);
    void removeAllFunctionsToBePerformedInCocosThread();

    // Game time per real time (1: normal speed); the director applies it to
    // the actions as well.
    float getTimeScale() const { return timeScale_; }
    void setTimeScale(float scale) { timeScale_ = scale; }

private:
    struct Timer;
    struct UpdateEntry;
    std::vector<std::unique_ptr<UpdateEntry>> updates_;
    std::unordered_map<const void*, UpdateEntry*> updateByTarget_;
    std::vector<std::unique_ptr<Timer>> timers_;  // in order of scheduling
    // The timers of each target, for lookups by key (a target has few).
    std::unordered_map<const void*, std::vector<Timer*>> timersByTarget_;
    std::unordered_map<const void*, bool> pausedTargets_;
    bool updating_ = false;
    bool updatesDirty_ = false;
    float timeScale_ = 1.0f;

    std::mutex functionsMutex_;
    std::vector<std::function<void()>> functions_;

    Timer* findTimer(const void* target, const std::string& key, SEL_SCHEDULE selector) const;
    bool targetPaused(const void* target) const;
    void compact();
};

}  // namespace cocos2d
