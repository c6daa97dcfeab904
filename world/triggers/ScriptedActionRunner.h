#pragma once

#include <memory>
#include <vector>

#include "foundation/Interfaces.h"
#include "world/triggers/ScriptedAction.h"

namespace Zarn {

// Runs a scripted figure's actions one after another, optionally in a loop.
// Each update does one thing: start the current action when idle, advance it
// when running, or move on when it finished (the next action starts on the
// following update). Embedded in the figure; owns the actions. Used by the
// thread that owns the world.
class ScriptedActionRunner : public Convinience::Updatable {
public:
    // Takes the list (a list held before is destroyed) and starts at its
    // first action; running is set when the list is not empty.
    void setActions(std::vector<std::unique_ptr<ScriptedAction>> actions);
    void setLoop(bool loop) { loop_ = loop; }

    void update(float dt) override;
    // Every action back to idle, the first one current; running when there is one.
    void reset();

    bool isRunning() const { return running_; }
    bool isLooping() const { return loop_; }
    u32 currentIndex() const { return index_; }
    const std::vector<std::unique_ptr<ScriptedAction>>& actions() const { return actions_; }

private:
    std::vector<std::unique_ptr<ScriptedAction>> actions_;
    bool running_ = false;
    u32 index_ = 0;
    bool loop_ = false;
};

}  // namespace Zarn
