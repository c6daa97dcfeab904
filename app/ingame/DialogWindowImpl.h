#pragma once

#include <string>
#include <vector>

#include "app/ingame/DialogGeometry.h"
#include "engine/Node.h"
#include "engine/RefPtr.h"
#include "presentation/scene/SceneVisualFactories.h"
#include "world/triggers/DialogWindow.h"

namespace cocos2d {
class DrawNode;
class Label;
class Sprite;
}  // namespace cocos2d
class LabelEx;

// The bobbing triangle that hints that a tap continues the dialog.
class DialogTapper : public cocos2d::Node {
public:
    static constexpr const char* kTriangleFrame = "Triangle_Button_Normal.png";

    static DialogTapper* create();
    bool init() override;
    // Repeats forever: the triangle shrinks to 0.6 and back to 0.7 while it
    // rises 20 and falls back, 0.3 s each way.
    void startBounce();
    cocos2d::Sprite* getTriangle() const { return triangle_; }

private:
    cocos2d::Sprite* triangle_ = nullptr;  // a child
};

// The drawn dialog box over the dialog logic: a white box whose corners are
// jittered afresh for each dialog, a name plate with the speaker's name, an
// avatar for known speakers, an arrow toward the speaker's node, the lines
// typed letter by letter, and the tap hint. Sounds when it opens and when a
// tap is taken. All nodes are children of the window node (the
// CocosDialogWindow); removing that node removes them. Main thread only.
class DialogWindowImpl : public Zarn::DialogWindow {
public:
    static constexpr const char* kLineFont = "fonts/boogaloo.ttf";
    static constexpr float kLineFontSize = 36.0f;
    static constexpr const char* kNameFont = "fonts/riffic.ttf";
    static constexpr float kNameFontSize = 64.0f;
    static constexpr const char* kShowSound = "sound/voice/show_dialog.mp3";
    static constexpr const char* kPressSound = "sound/voice/dialog_press.mp3";
    static constexpr float kPopSeconds = 0.15f;
    // The least gap (design units) between the box and the visible area's
    // edges when the box is moved to stay inside it.
    static constexpr float kViewMargin = 10.0f;

    // The avatar frame of a speaker, or null for a speaker without one.
    static const char* avatarFrame(const std::string& speaker);

    // window: the mediator of the window node (whose engine node it wraps);
    // the mediator, the table and the player outlive this object.
    DialogWindowImpl(Zarn::NodeMediator& window, Zarn::DialogTable& table, const Zarn::DialogPlayer& player);
    ~DialogWindowImpl() override;

    // A touch at a point of the scene (design space): taken inside the box
    // while it is shown; a taken touch plays the press sound.
    Zarn::InputAnswer handleInput(const GeometryLib::FPoint& position) override;
    // Follows the dialog player, keeps the open box inside the visible area
    // (moving the window from the dialog's map position as little as that
    // needs), then turns the arrow toward the speaker.
    void update() override;

    void showLines(const std::vector<const std::string*>& page) override;
    void clearLines() override;
    bool isOpening() override;
    bool isTyping() override;
    void completeTyping() override;
    // The tap hint shows (a tap during the pop-in).
    void finishOpening() override;
    void hideWindow() override;

    // The speaking characters' nodes by speaker name ("PART"); null: no
    // arrows. Owned by the in-game scene, which outlives the window.
    void setSpeakerNodes(const SpeakerNodes* nodes) { speakerNodes_ = nodes; }

    bool isOpen() const { return open_; }
    cocos2d::DrawNode* getBox() const { return box_; }
    cocos2d::DrawNode* getArrow() const { return arrow_; }
    cocos2d::Label* getNameLabel() const { return nameLabel_; }
    DialogTapper* getTapper() const { return tapper_; }
    const std::vector<LabelEx*>& getLineLabels() const { return lineLabels_; }
    const DialogQuad& getBoxCorners() const { return corners_; }
    // What the open box covers, with its name plate, avatar frame and tap
    // hint, in the window node's space.
    cocos2d::Rect boxBounds() const;

private:
    void buildLineLabels(const std::vector<const std::string*>& page);
    void removeLineLabels();
    void buildBox();
    void placeArrow();
    void keepInView();

    // The window node (the mediator's), which owns every node below.
    cocos2d::Node* window_;
    DialogTapper* tapper_ = nullptr;
    bool open_ = false;
    std::vector<LabelEx*> lineLabels_;
    cocos2d::DrawNode* box_ = nullptr;
    cocos2d::DrawNode* arrow_ = nullptr;
    cocos2d::Label* nameLabel_ = nullptr;
    // The speaking character's node, held while the box points at it; null
    // when the speaker has none.
    cocos2d::RefPtr<cocos2d::Node> speakerNode_;
    DialogQuad corners_{};
    DialogQuad plateCorners_{};
    DialogQuad frameCorners_{};
    // Where the dialog put the window (its map position), taken when a box
    // is built; the window stands there or as near as the view allows.
    cocos2d::Vec2 home_;
    const SpeakerNodes* speakerNodes_ = nullptr;
};
