#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/Command.h"
#include "world/elements/LeverEffect.h"
#include "grid/CellGrid.h"
#include "world/triggers/ActionFactory.h"

namespace zarn_test {

// A command that writes its name into a shared list when it runs.
class RecordingCommand : public Convinience::Command {
public:
    RecordingCommand(std::vector<std::string>& ran, std::string name) : ran_(&ran), name_(std::move(name)) {}
    void execute() override { ran_->push_back(name_); }

private:
    std::vector<std::string>* ran_;
    std::string name_;
};

inline Zarn::ActionCommands recordingActions(std::vector<std::string>& ran,
                                             const std::vector<std::string>& names) {
    Zarn::ActionCommands actions;
    for (const auto& n : names) actions.push_back(std::make_unique<RecordingCommand>(ran, n));
    return actions;
}

// Makes a recording command for every action: its name is "action " and the action ID.
class RecordingActionFactory : public Zarn::ActionFactory {
public:
    std::vector<std::unique_ptr<Convinience::Command>> makeCommands(
        const std::vector<const Zarn::ActionData*>& actions) override {
        std::vector<std::unique_ptr<Convinience::Command>> out;
        for (const auto* a : actions) out.push_back(makeCommand(*a));
        return out;
    }
    std::unique_ptr<Convinience::Command> makeCommand(const Zarn::ActionData& action) override {
        return std::make_unique<RecordingCommand>(ran, "action " + std::to_string(action.actionId));
    }
    std::vector<std::string> ran;
};

// An empty room of columns x rows cells.
inline void openRoom(Zarn::CellGrid& grid, u32 columns, u32 rows, u32 cellSize) {
    grid.setProperties(Zarn::MapProperties{columns * cellSize, rows * cellSize, cellSize});
    grid.resize();
}

}  // namespace zarn_test
