#include "world/triggers/ScriptedActionRunner.h"

namespace Zarn {

void ScriptedActionRunner::setActions(std::vector<std::unique_ptr<ScriptedAction>> actions) {
    actions_ = std::move(actions);
    index_ = 0;
    running_ = !actions_.empty();
}

void ScriptedActionRunner::update(float dt) {
    if (!running_ || index_ >= actions_.size()) return;
    ScriptedAction& current = *actions_[index_];
    switch (current.status()) {
        case ScriptedActionStatus::idle:
            current.execute();
            return;
        case ScriptedActionStatus::running:
            current.update(dt);
            return;
        case ScriptedActionStatus::finished:
            if (++index_ < actions_.size()) return;
            if (loop_) {
                for (std::unique_ptr<ScriptedAction>& action : actions_) action->reset();
                index_ = 0;
            } else {
                running_ = false;
            }
            return;
    }
}

void ScriptedActionRunner::reset() {
    for (std::unique_ptr<ScriptedAction>& action : actions_) action->reset();
    index_ = 0;
    running_ = !actions_.empty();
}

}  // namespace Zarn
