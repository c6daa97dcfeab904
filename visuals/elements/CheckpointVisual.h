#pragma once

#include <memory>
#include <vector>

#include "engine/DrawNode.h"
#include "engine/RefPtr.h"
#include "visuals/elements/ElementNodes.h"

// One colour set of a checkpoint: the background, the dark and the lit
// colours of its four plate sprites, and the lamp light's colour.
struct CheckpointPalette {
    cocos2d::Color4B background;
    cocos2d::Color3B outlineDark, baseDark, letterDark, triangleDark;
    cocos2d::Color3B light;
    cocos2d::Color3B outlineLit, baseLit, letterLit, triangleLit;
};

// The three palettes; they differ only in the background:
// (245, 240, 223), (192, 197, 158), (147, 205, 191).
const std::vector<CheckpointPalette>& checkpointPalettes();
// The palette of a checkpoint variant (1 to 4: types 42, 440, 441, 442):
// variant - 1, with variant 4 (and anything past the palettes) taking the
// last palette.
std::size_t checkpointPaletteIndex(u32 variant);
// The colour the lit lamp pulses to and from every 2 s: (255, 217, 161) and
// the light colour of the first palette.
inline const cocos2d::Color3B kCheckpointPulse(255, 217, 161);

// A checkpoint's plate: a background rectangle under four coloured sprites
// ("checkpoint_base.png" sets the size; "checkpoint_outline.png",
// "checkpoint_t.png", "checkpoint_triangle.png"), and the lamp light
// "checkpoint_light.png", which is kept aside until the checkpoint is first
// lit and then moves under the owner node's parent (the room), drawn as a
// unit standing 60 below it would be. Main thread only.
class LitCheckpoint : public cocos2d::Sprite {
public:
    // zOrder: the scene's calculator, outlives the node.
    static LitCheckpoint* create(const Zarn::ZOrderCalculator* zOrder);
    bool initWithCalculator(const Zarn::ZOrderCalculator* zOrder);

    // Repaints for the lit flag and the palette: lit colours and the light
    // started, or dark colours with the light hidden and still; then the
    // background and the light's colour.
    void updateLight();
    // Attaches the light the first time (nothing while the owner node has no
    // parent), pulses it forever and shows it.
    void startLight();

    void setLit(bool lit) { lit_ = lit; }
    bool isLit() const { return lit_; }
    void setPaletteIndex(std::size_t index) { paletteIndex_ = index; }
    // The checkpoint's outer node; not owned.
    void setOwnerNode(cocos2d::Node* owner) { owner_ = owner; }
    cocos2d::Sprite* getLight() const { return light_.get(); }
    bool isLightAttached() const { return lightAttached_; }
    cocos2d::Sprite* getOutline() const { return outline_; }
    cocos2d::Sprite* getBase() const { return base_; }
    cocos2d::Sprite* getLetter() const { return letter_; }
    cocos2d::Sprite* getTriangle() const { return triangle_; }
    cocos2d::DrawNode* getBackground() const { return background_; }

private:
    const CheckpointPalette& palette() const;

    cocos2d::RefPtr<cocos2d::Sprite> light_;
    // Children of this node.
    cocos2d::DrawNode* background_ = nullptr;
    cocos2d::Sprite* outline_ = nullptr;
    cocos2d::Sprite* base_ = nullptr;
    cocos2d::Sprite* letter_ = nullptr;
    cocos2d::Sprite* triangle_ = nullptr;
    cocos2d::Node* owner_ = nullptr;
    bool lit_ = false;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    bool lightAttached_ = false;
    std::size_t paletteIndex_ = 0;
};

// A checkpoint's reactions, on its LitCheckpoint. New state 0 (reached):
// "sound/checkpoint/checkpoint1.mp3" and lit; 1: "sound/checkpoint/off1.mp3"
// and dark; others: nothing. Visibility 0 / 1 sets the plate's and the
// light's opacity to 255 / 0. Shown or hidden: the default show or hide on
// the plate and on the light (hiding asks for the hide sound once more).
class CheckpointVisualMediator : public ElementVisualMediator {
public:
    CheckpointVisualMediator(LitCheckpoint* light, MapElementAnimations animations);

    void onVisibilityChanged(u8 state) override;
    void onStateChanged(u32 oldState, u32 newState) override;
    void onShowHide(u32 value, u8 state) override;

private:
    LitCheckpoint* checkpoint_;
};

// The outer node of a checkpoint tile (types 42, 440, 441, 442 with variant
// 1 to 4): an empty sprite holding the LitCheckpoint, owning the checkpoint's
// mediators and adapter (destroyed: visual mediator, node mediator, adapter).
class CheckpointCocos2D : public cocos2d::Sprite {
public:
    static CheckpointCocos2D* create(Zarn::Checkpoint* checkpoint, u32 variant,
                                     MapElementAnimations animations, Zarn::TileVisualGroups* tileVisuals,
                                     const Zarn::ZOrderCalculator* zOrder);
    bool initWithCheckpoint(Zarn::Checkpoint* checkpoint, u32 variant, MapElementAnimations animations,
                            Zarn::TileVisualGroups* tileVisuals, const Zarn::ZOrderCalculator* zOrder);
    ~CheckpointCocos2D() override;

    void update(float dt) override;

    LitCheckpoint* getLight() const { return light_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    CheckpointVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    // A child of this node.
    LitCheckpoint* light_ = nullptr;
    Zarn::Checkpoint* element_ = nullptr;
    u32 variant_ = 1;
    std::unique_ptr<Zarn::Checkpoint2D> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<CheckpointVisualMediator> visual_;
};
