#pragma once

#include <memory>
#include <vector>

#include "foundation/Command.h"
#include "foundation/Geometry.h"
#include "foundation/GridCells.h"
#include "foundation/Interfaces.h"

namespace Zarn {

class CellGrid;
class DialogPlayer;
class ScriptedSteerableIME;
class SteerableProximity;
class SteerableUnit;
class SteerableUnitManager;

// Progress of a scripted action.
enum class ScriptedActionStatus : u8 { idle = 0, running = 1, finished = 2 };

// One step of a scripted figure's script. `execute` starts it (status
// running unless the action says otherwise), `update` advances it while it
// runs, `reset` returns it to idle. Owned by the figure's runner; used by the
// thread that owns the world.
class ScriptedAction : public Convinience::Updatable, public Convinience::Command {
public:
    ScriptedActionStatus status() const { return status_; }
    virtual void reset() { status_ = ScriptedActionStatus::idle; }

protected:
    bool isRunning() const { return status_ == ScriptedActionStatus::running; }

    ScriptedActionStatus status_ = ScriptedActionStatus::idle;
};

// Told of every unit that touches a scripted figure (its contact listener).
class ScriptedNotifier {
public:
    virtual ~ScriptedNotifier() = default;
    virtual void notify(SteerableUnit& unit) = 0;
};

// Walks the figure's unit along a route (map units), waypoint radius 16;
// finished once the unit arrives on the last point. The walk is handed to the
// unit only while the unit may move (no waited dialog plays); otherwise it is
// dropped and the action keeps running without end. The unit belongs to the
// figure and outlives the action; the walk it owns tells the action of its
// arrival through a shared flag, so it never reaches an action that is gone
// or was reset since.
class ScriptedPathedMoveAction : public ScriptedAction {
public:
    static constexpr float kWaypointRadius = 16.0f;

    ScriptedPathedMoveAction(SteerableUnit& unit, std::vector<GeometryLib::FPoint> route)
        : unit_(unit), route_(std::move(route)) {}

    // Only when idle.
    void execute() override;
    void update(float dt) override;
    void reset() override;

    const std::vector<GeometryLib::FPoint>& route() const { return route_; }

private:
    SteerableUnit& unit_;
    std::vector<GeometryLib::FPoint> route_;
    // Set by the walk of the current run; replaced at each start and reset.
    std::shared_ptr<u8> arrived_ = std::make_shared<u8>(0);
};

// Waits the given number of seconds from its start.
class ScriptedWaitAction : public ScriptedAction {
public:
    explicit ScriptedWaitAction(float duration) : duration_(duration) {}

    void execute() override { status_ = ScriptedActionStatus::running; }
    // Finished once the elapsed time reaches the duration (>=).
    void update(float dt) override;
    void reset() override;

    float elapsed() const { return elapsed_; }

private:
    float elapsed_ = 0.0f;
    float duration_;
};

// Plays a dialog and waits until it is stopped or another dialog replaces it.
// A number without dialog finishes on the first update (unless that number
// was already current). The dialog player belongs to the world's owner and
// outlives the action.
class ScriptedDialogAction : public ScriptedAction {
public:
    ScriptedDialogAction(DialogPlayer& player, u32 number) : player_(player), number_(number) {}

    void execute() override;
    void update(float dt) override;

private:
    DialogPlayer& player_;
    u32 number_;
};

// Waits until a unit that touches the figure stands on one of the target
// cells (the builder files those cells for the figure in the position-element
// trigger, so the figure is told whenever a unit stands there). Becomes the
// figure's contact listener when started and ignores what it is told while
// not running. Figure and grid belong to the world and outlive the action.
class ScriptedWaitForArrival : public ScriptedAction, public ScriptedNotifier {
public:
    ScriptedWaitForArrival(ScriptedSteerableIME& figure, const std::vector<GeometryLib::Point>& cells,
                           const CellGrid& grid);

    void execute() override;
    void update(float) override {}
    void notify(SteerableUnit& unit) override;

private:
    ScriptedSteerableIME& figure_;
    GeometryLib::CellSet targets_;
    const CellGrid& grid_;
};

// Waits until a player who touched the figure comes within the figure's
// radius + 4 map units of its centre. Touching units are recorded in the
// contact record by their cell; units that left that cell or the game are
// pruned each update. Becomes the figure's contact listener when started.
// Figure, grid and unit manager belong to the world and outlive the action;
// the contact record is owned.
class ScriptedWaitForContact : public ScriptedAction, public ScriptedNotifier {
public:
    static constexpr float kReach = 4.0f;

    ScriptedWaitForContact(ScriptedSteerableIME& figure, const CellGrid& grid,
                           std::unique_ptr<SteerableProximity> contacts, const SteerableUnitManager& units);
    ~ScriptedWaitForContact() override;

    void execute() override;
    void update(float dt) override;
    void notify(SteerableUnit& unit) override;

private:
    ScriptedSteerableIME& figure_;
    const CellGrid& grid_;
    std::unique_ptr<SteerableProximity> contacts_;
    const SteerableUnitManager& units_;
};

// Puts a value into the figure's state (its value byte) on the first update
// after its start, then finishes. The figure outlives the action.
class ScriptedSetSecondarySteerableGenericStateAction : public ScriptedAction {
public:
    ScriptedSetSecondarySteerableGenericStateAction(ScriptedSteerableIME& figure, u8 value)
        : figure_(figure), value_(value) {}

    void execute() override { status_ = ScriptedActionStatus::running; }
    void update(float dt) override;

private:
    ScriptedSteerableIME& figure_;
    u8 value_;
};

}  // namespace Zarn
