#pragma once

#include <array>
#include <optional>
#include <string>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "map/records/TrapElement.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "presentation/mediators/MediatedSprite.h"

// A square hole covered by four square panels, one in each corner, that slide
// apart to open the hole and slide back to close it.

// Where each panel slides when the door opens, in units of the panel's own
// width and height, by panel mode (top left, top right, bottom left, bottom
// right). No value: every panel slides to the door's centre.
// | mode   | top left | top right | bottom left | bottom right |
// | 0      | (0, 1)   | (0, 1)    | (0, -1)     | (0, -1)      |
// | 1      | (-1, 0)  | (1, 0)    | (-1, 0)     | (1, 0)       |
// | 2      | (-1, 1)  | (1, 1)    | (-1, -1)    | (1, -1)      |
// | 3, 6   | (-1, 1)  | (1, 0)    | (0, -1)     | (1, -1)      |
// | 4, 5   | (-1, 0)  | (1, 1)    | (-1, -1)    | (0, -1)      |
using PanelSteps = std::array<std::array<int, 2>, 4>;
std::optional<PanelSteps> panelOpenSteps(u8 panelMode);

// The panels move in `move` seconds after a wait of `wait`: half is the
// length of state 0 (half the rest time; 0.15 s for scheduled doors).
struct PanelTimings {
    float move = 0.0f;
    float wait = 0.0f;
};
PanelTimings panelTimings(float half);

// What a four-panel door does when its trap enters a state:
// | new | interval door                 | scheduled door |
// | 0   | open, unless the old is 1     | open           |
// | 1   | open, unless the old is 0     | nothing        |
// | 2   | close                         | close          |
// | 3   | stop the door's moves, close  | close          |
// | 4   | explode (exploding doors)     | explode        |
enum class DoorReaction : u8 { none, open, close, stopThenClose, explode };
DoorReaction fourPanelReaction(bool scheduled, u8 oldState, u8 newState);

// The tag of the panel moves run on the door sprite.
inline constexpr int kPanelMoveTag = 0x4F50;

// The panels' frames, top left, top right, bottom left, bottom right: resting
// (plain grey) and warning (amber, hazard stripes, a chevron at the seam).
// The door shows the warning from the moment it starts to open (the whole of
// state 0, while the panels shake) until the panels have shut again.
const std::array<std::string, 4>& fourPanelRestingFrames();
const std::array<std::string, 4>& fourPanelWarningFrames();

// The panel half of the door visual: a sprite (the door's base frame) that
// builds the panel layer and its four panels. The nodes belong to the node
// tree. Main thread only.
class FourPanelTrapDoorCocos2DBase : public cocos2d::Sprite {
public:
    // Called by init once the sprite shows its frame: the panel layer (an
    // empty sprite at the door's centre) holding a clipping rectangle of the
    // door's size with the four panels in their corners (the closed
    // positions).
    void createPanels();

    MediatedSprite* getPanelLayer() const { return panelLayer_; }
    std::array<cocos2d::Sprite*, 4> getPanels() const {
        return {topLeft_, topRight_, bottomLeft_, bottomRight_};
    }

protected:
    MediatedSprite* panelLayer_ = nullptr;
    cocos2d::Sprite* topLeft_ = nullptr;
    cocos2d::Sprite* topRight_ = nullptr;
    cocos2d::Sprite* bottomLeft_ = nullptr;
    cocos2d::Sprite* bottomRight_ = nullptr;
};

// The door's visual mediator: slides the panels, plays the trapdoor sounds,
// shows and hides the door and its panel layer, and bursts an exploding door
// (type 134). The door sprite owns the mediator; the panel layer and panels
// are retained while kept.
class FourPanelTrapDoorVisualMediatorBase : public MapElement2DVisualMediator {
public:
    // record: the door's record (the trap's own or the visual's stand-by
    // copy), outliving the mediator.
    FourPanelTrapDoorVisualMediatorBase(cocos2d::Sprite* door, MapElementAnimations animations,
                                        const Zarn::FourPanelTrapDoorElement* record,
                                        cocos2d::Node* panelLayer,
                                        const std::array<cocos2d::Sprite*, 4>& panels);

    // 0: opacity 255 on the door and the panel layer; 1: opacity 0.
    void onVisibilityChanged(u8 state) override;
    // The element's show or hide on the door, then the same action on the
    // panel layer.
    void onShowHide(u32 oldState, u8 state) override;

    cocos2d::FiniteTimeAction* getOpenAction() const { return openAction_.get(); }
    cocos2d::FiniteTimeAction* getCloseAction() const { return closeAction_.get(); }
    cocos2d::FiniteTimeAction* getExplosionAction() const { return explosionAction_.get(); }

protected:
    // Builds the open and close actions for half (see panelTimings).
    void buildMoves(float half);
    // The panels show the warning frames (or the resting ones).
    void showWarning(bool warning);
    // Runs the reaction on the door sprite (clones of the stored actions).
    void react(DoorReaction reaction);
    void runTagged(const cocos2d::RefPtr<cocos2d::FiniteTimeAction>& action);
    // The explosion sprite beside the door, on the door's parent.
    void explode();

    const Zarn::FourPanelTrapDoorElement* record_;
    cocos2d::RefPtr<cocos2d::Node> panelLayer_;
    std::array<cocos2d::RefPtr<cocos2d::Sprite>, 4> panels_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> openAction_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> closeAction_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> explosionAction_;
};

// Interval doors: half is half the rest time; a door whose record starts it
// active begins opening at once.
class FPTDVisualMediator : public FourPanelTrapDoorVisualMediatorBase {
public:
    FPTDVisualMediator(cocos2d::Sprite* door, MapElementAnimations animations,
                       const Zarn::FourPanelTrapDoorElement* record, cocos2d::Node* panelLayer,
                       const std::array<cocos2d::Sprite*, 4>& panels);
    void onStateChanged(u32 oldState, u32 newState) override;
};

// Scheduled doors: half is 0.15 s; nothing runs at construction.
class FPTDScheduledVisualMediator : public FourPanelTrapDoorVisualMediatorBase {
public:
    FPTDScheduledVisualMediator(cocos2d::Sprite* door, MapElementAnimations animations,
                                const Zarn::FourPanelTrapDoorElement* record, cocos2d::Node* panelLayer,
                                const std::array<cocos2d::Sprite*, 4>& panels);
    void onStateChanged(u32 oldState, u32 newState) override;
};
