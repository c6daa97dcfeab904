#pragma once

#include <functional>
#include <vector>

#include "engine/Node.h"
#include "foundation/Types.h"

namespace Zarn {
class SinglePlayerData;
}
class ZUIElevatorButton;
class ZUIMedalBar;

// The elevator's column of floor buttons, one per level of the progress
// record, climbing diagonally in rows, with a medal bar under each floor that
// earned one and a decoration line behind each row. The first press on an
// open floor chooses it, reports it through `floorSelected`, flies the column
// up and out, and starts the level through the single-play host; from that
// press on no floor takes a press. Main thread only.
class ZUIElevatorButtonsPanel : public cocos2d::Node {
public:
    static constexpr float kStepX = 385.0f;
    static constexpr float kStepY = 50.0f;
    static constexpr float kRowStepY = 300.0f;

    static ZUIElevatorButtonsPanel* create(Zarn::SinglePlayerData* progress);
    bool init() override;

    // Builds the column with `perRow` floors a row; called once after create.
    void layoutButtons(unsigned perRow);
    void onFloorSelected(int levelIndex);
    // Re-reads every floor's lock from the progress record and highlights the
    // current floor.
    void refreshButtons();
    // The end of the take-off: starts the level, or, when it cannot be
    // brought up, leaves the player here with the floors free again.
    void startLevel(int levelIndex);

    // The button of a floor; null past the list.
    ZUIElevatorButton* buttonOf(int levelIndex) const;
    const std::vector<ZUIElevatorButton*>& getButtons() const { return buttons; }
    const std::vector<ZUIMedalBar*>& getMedalBars() const { return medalBars; }
    bool isBusy() const { return busy; }

    std::function<void(int)> floorSelected;

protected:
    void highlightCurrentFloor();
    // Whether the record has the floor open.
    bool isOpen(size_t levelIndex) const;
    // Open floors take presses while the elevator stands; none does during
    // the take-off.
    void enableOpenFloors();

    Zarn::SinglePlayerData* progress = nullptr;  // the game's record; not owned
    std::vector<ZUIElevatorButton*> buttons;     // children, by level index
    std::vector<ZUIMedalBar*> medalBars;         // children
    bool busy = false;
};
