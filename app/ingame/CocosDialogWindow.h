#pragma once

#include <memory>

#include "engine/Sprite.h"
#include "presentation/scene/SceneVisualFactories.h"
#include "world/adapters/VisualNodeMediator.h"
#include "world/triggers/DialogPlayer.h"

class CocosNode1Mediator;
class DialogWindowImpl;

// The dialog window's node: a sprite without an image that owns a mediator
// of itself and the DialogWindowImpl that draws into it. The in-game scene
// creates it, sets its speaker table and scale 0.6, and hands the scene logic
// getImpl() as its Zarn::DialogWindow; the logic puts the node into the room.
// Main thread only.
class CocosDialogWindow : public cocos2d::Sprite {
public:
    static constexpr int kLinesPerPage = 4;

    // The table belongs to the loaded map and the player to the client; both
    // outlive the window.
    static CocosDialogWindow* create(Zarn::DialogTable& table, const Zarn::DialogPlayer& player);
    ~CocosDialogWindow() override;
    bool init() override;
    // Runs the implementation's update.
    void update(float dt) override;

    DialogWindowImpl* getImpl() const { return impl_.get(); }
    CocosNode1Mediator* getMediator() const { return mediator_.get(); }

private:
    CocosDialogWindow(Zarn::DialogTable& table, const Zarn::DialogPlayer& player)
        : table_(table), player_(player) {}

    Zarn::NullVisualNodeMediator nullDelegate_;
    Zarn::DialogTable& table_;
    const Zarn::DialogPlayer& player_;
    // Destroyed in this order: the mediator, then the implementation.
    std::unique_ptr<DialogWindowImpl> impl_;
    std::unique_ptr<CocosNode1Mediator> mediator_;
};

// The in-game scenes' dialog window maker: a CocosDialogWindow that speaks
// through the scene's speaker nodes.
DialogWindowMaker cocosDialogWindowMaker();
