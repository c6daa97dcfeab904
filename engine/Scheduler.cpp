#include "engine/Scheduler.h"

#include <algorithm>

namespace cocos2d {

namespace {
// Frame times add up with rounding errors: a call falls due this much early
// rather than a frame late (six frames of 1/60 s make 0.1 s).
constexpr double kDueSlack = 1e-6;
}  // namespace

struct Scheduler::Timer {
    void* target = nullptr;
    std::string key;
    SEL_SCHEDULE selector = nullptr;
    std::function<void(float)> callback;
    float interval = 0.0f;
    float delay = 0.0f;
    unsigned int repeat = REPEAT_FOREVER;
    unsigned int timesExecuted = 0;
    double elapsed = -1.0;  // seconds since the last call fell due; < 0: not started
    bool useDelay = false;
    bool removed = false;

    // Advances by dt and makes the calls that fell due: after the delay the
    // first (told the delay), then one per interval, each told the interval,
    // as many as the time covers, so that the period does not drift and a
    // long frame catches up. An interval of 0 calls once per frame with the
    // frame's time. Returns true when the timer has run its course.
    bool step(float dt) {
        if (elapsed < 0.0) {
            elapsed = 0.0;
            timesExecuted = 0;
            return false;
        }
        elapsed += dt;
        if (useDelay) {
            if (elapsed + kDueSlack < delay) return false;
            elapsed -= delay;
            useDelay = false;
            if (fire(delay)) return true;
            if (interval <= 0.0f) {
                elapsed = 0.0;
                return false;
            }
        }
        if (interval <= 0.0f) {
            const auto time = static_cast<float>(elapsed);
            elapsed = 0.0;
            return fire(time);
        }
        while (!removed && elapsed + kDueSlack >= interval) {
            elapsed -= interval;
            if (fire(interval)) return true;
        }
        return false;
    }
    // Makes one call; true when that was the last one.
    bool fire(float dt) {
        ++timesExecuted;
        if (selector != nullptr) {
            (static_cast<Ref*>(target)->*selector)(dt);
        } else {
            callback(dt);
        }
        return repeat != REPEAT_FOREVER && timesExecuted > repeat;
    }
};

struct Scheduler::UpdateEntry {
    void* target = nullptr;
    int priority = 0;
    std::function<void(float)> callback;
    bool removed = false;
};

Scheduler::Scheduler() = default;
Scheduler::~Scheduler() = default;

bool Scheduler::targetPaused(const void* target) const {
    auto it = pausedTargets_.find(target);
    return it != pausedTargets_.end() && it->second;
}

Scheduler::Timer* Scheduler::findTimer(const void* target, const std::string& key,
                                       SEL_SCHEDULE selector) const {
    auto it = timersByTarget_.find(target);
    if (it == timersByTarget_.end()) return nullptr;
    for (Timer* t : it->second) {
        if (t->removed) continue;
        if (selector != nullptr ? t->selector == selector : (t->selector == nullptr && t->key == key))
            return t;
    }
    return nullptr;
}

void Scheduler::schedule(const std::function<void(float)>& callback, void* target, float interval,
                         unsigned int repeat, float delay, bool paused, const std::string& key) {
    if (!pausedTargets_.count(target)) pausedTargets_[target] = paused;
    if (Timer* existing = findTimer(target, key, nullptr)) {
        existing->interval = interval;
        return;
    }
    auto t = std::make_unique<Timer>();
    t->target = target;
    t->key = key;
    t->callback = callback;
    t->interval = interval;
    t->repeat = repeat;
    t->delay = delay;
    t->useDelay = delay > 0.0f;
    timersByTarget_[target].push_back(t.get());
    timers_.push_back(std::move(t));
}

void Scheduler::schedule(const std::function<void(float)>& callback, void* target, float interval,
                         bool paused, const std::string& key) {
    schedule(callback, target, interval, REPEAT_FOREVER, 0.0f, paused, key);
}

void Scheduler::schedule(SEL_SCHEDULE selector, Ref* target, float interval, unsigned int repeat, float delay,
                         bool paused) {
    if (!pausedTargets_.count(target)) pausedTargets_[target] = paused;
    if (Timer* existing = findTimer(target, {}, selector)) {
        existing->interval = interval;
        return;
    }
    auto t = std::make_unique<Timer>();
    t->target = target;
    t->selector = selector;
    t->interval = interval;
    t->repeat = repeat;
    t->delay = delay;
    t->useDelay = delay > 0.0f;
    timersByTarget_[target].push_back(t.get());
    timers_.push_back(std::move(t));
}

void Scheduler::unschedule(const std::string& key, void* target) {
    if (Timer* t = findTimer(target, key, nullptr)) {
        t->removed = true;
        updatesDirty_ = true;
    }
}

void Scheduler::unschedule(SEL_SCHEDULE selector, Ref* target) {
    if (Timer* t = findTimer(target, {}, selector)) {
        t->removed = true;
        updatesDirty_ = true;
    }
}

bool Scheduler::isScheduled(const std::string& key, const void* target) const {
    return findTimer(target, key, nullptr) != nullptr;
}

bool Scheduler::isScheduled(SEL_SCHEDULE selector, const Ref* target) const {
    return findTimer(target, {}, selector) != nullptr;
}

void Scheduler::scheduleUpdate(void* target, int priority, bool paused, std::function<void(float)> callback) {
    if (!pausedTargets_.count(target)) pausedTargets_[target] = paused;
    auto it = updateByTarget_.find(target);
    if (it != updateByTarget_.end()) {
        if (!it->second->removed) return;
        updateByTarget_.erase(it);
    }
    auto entry = std::make_unique<UpdateEntry>();
    entry->target = target;
    entry->priority = priority;
    entry->callback = std::move(callback);
    UpdateEntry* raw = entry.get();
    // Keep the list sorted by priority; equal priorities in order of arrival.
    auto pos = std::upper_bound(updates_.begin(), updates_.end(), priority,
                                [](int p, const std::unique_ptr<UpdateEntry>& e) { return p < e->priority; });
    if (updating_) {
        // Inserting while iterating would shift the walk: append and sort after.
        updates_.push_back(std::move(entry));
        updatesDirty_ = true;
    } else {
        updates_.insert(pos, std::move(entry));
    }
    updateByTarget_[target] = raw;
}

void Scheduler::unscheduleUpdate(void* target) {
    auto it = updateByTarget_.find(target);
    if (it == updateByTarget_.end()) return;
    it->second->removed = true;
    updateByTarget_.erase(it);
    updatesDirty_ = true;
}

void Scheduler::unscheduleAllForTarget(void* target) {
    auto it = timersByTarget_.find(target);
    if (it != timersByTarget_.end()) {
        for (Timer* t : it->second) t->removed = true;
        updatesDirty_ = true;
    }
    unscheduleUpdate(target);
    pausedTargets_.erase(target);
}

void Scheduler::unscheduleAll() {
    for (auto& t : timers_) t->removed = true;
    for (auto& u : updates_) u->removed = true;
    updateByTarget_.clear();
    pausedTargets_.clear();
    updatesDirty_ = true;
    if (!updating_) compact();
}

void Scheduler::pauseTarget(void* target) {
    auto it = pausedTargets_.find(target);
    if (it != pausedTargets_.end()) it->second = true;
}

void Scheduler::resumeTarget(void* target) {
    auto it = pausedTargets_.find(target);
    if (it != pausedTargets_.end()) it->second = false;
}

bool Scheduler::isTargetPaused(void* target) const {
    return targetPaused(target);
}

void Scheduler::compact() {
    updates_.erase(std::remove_if(updates_.begin(), updates_.end(), [](const auto& e) { return e->removed; }),
                   updates_.end());
    std::stable_sort(updates_.begin(), updates_.end(),
                     [](const auto& a, const auto& b) { return a->priority < b->priority; });
    for (const auto& t : timers_) {
        if (!t->removed) continue;
        auto it = timersByTarget_.find(t->target);
        if (it == timersByTarget_.end()) continue;
        auto& own = it->second;
        own.erase(std::remove(own.begin(), own.end(), t.get()), own.end());
        if (own.empty()) timersByTarget_.erase(it);
    }
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [](const auto& t) { return t->removed; }),
                  timers_.end());
    updatesDirty_ = false;
}

void Scheduler::update(float dt) {
    dt *= timeScale_;
    updating_ = true;
    // A callback that throws leaves the walk; the lists are tidied next time.
    struct WalkGuard {
        Scheduler& s;
        ~WalkGuard() {
            if (s.updating_) {
                s.updating_ = false;
                s.updatesDirty_ = true;
            }
        }
    } guard{*this};
    // Entries added during the walk start next frame.
    const std::size_t updateCount = updates_.size();
    for (std::size_t i = 0; i < updateCount; ++i) {
        UpdateEntry* e = updates_[i].get();
        if (e->removed || targetPaused(e->target)) continue;
        e->callback(dt);
    }
    const std::size_t timerCount = timers_.size();
    for (std::size_t i = 0; i < timerCount; ++i) {
        Timer* t = timers_[i].get();
        if (t->removed || targetPaused(t->target)) continue;
        if (t->step(dt)) t->removed = true;
        if (t->removed) updatesDirty_ = true;
    }
    updating_ = false;
    if (updatesDirty_) compact();

    std::vector<std::function<void()>> functions;
    {
        std::lock_guard<std::mutex> lock(functionsMutex_);
        functions.swap(functions_);
    }
    for (auto& f : functions) f();
}

void Scheduler::performFunctionInCocosThread(std::function<void()> function) {
    std::lock_guard<std::mutex> lock(functionsMutex_);
    functions_.push_back(std::move(function));
}

void Scheduler::removeAllFunctionsToBePerformedInCocosThread() {
    std::lock_guard<std::mutex> lock(functionsMutex_);
    functions_.clear();
}

}  // namespace cocos2d
