#include "visuals/elements/MusicalNoteVisual.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "foundation/Error.h"
#include "map/records/MusicalNoteElement.h"
#include "presentation/effects/VisualRandom.h"

using cocos2d::Color3B;
using cocos2d::Vec2;

namespace {

MusicalNoteColours makeColours(u8 key, Color3B whiteTile, Color3B accent) {
    MusicalNoteColours c;
    c.key = key;
    c.colours.fill(accent);
    c.colours[0] = Color3B(51, 21, 73);
    c.colours[1] = whiteTile;
    return c;
}

// Lower-left corners of the children in the tile's 160 x 160 space.
const Vec2 kRingCorner(17.38f, 15.562f);
const Vec2 kLightCorners[5] = {Vec2(81.328f, 94.694f), Vec2(105.224f, 32.269f), Vec2(48.606f, 21.213f),
                               Vec2(25.085f, 34.969f), Vec2(28.005f, 93.918f)};
const Vec2 kCornerCorners[4] = {Vec2(8.0f, 113.18f), Vec2(113.318f, 113.18f), Vec2(107.325f, 7.719f),
                                Vec2(9.827f, 7.719f)};
const char* const kCornerFrames[4] = {"musical_top_left_corner.png", "musical_top_right_corner.png",
                                      "musical_bottom_right_corner.png", "musical_bottom_left_corner.png"};
const Vec2 kCentre(80.0f, 80.0f);

void placeByCorner(cocos2d::Sprite* sprite, const Vec2& corner) {
    const cocos2d::Size& size = sprite->getContentSize();
    sprite->setPosition(corner + Vec2(size.width / 2.0f, size.height / 2.0f));
}

cocos2d::FiniteTimeAction* tint(cocos2d::Node* target, float duration, const Color3B& colour) {
    return cocos2d::TargetedAction::create(target, cocos2d::TintTo::create(duration, colour));
}

}  // namespace

Color3B pitchColour(u8 pitch, float saturation, float value) {
    const float hue = static_cast<float>(pitch % 12) / 12.0f * 6.0f;
    const int sector = static_cast<int>(hue) % 6;
    const float f = hue - static_cast<float>(static_cast<int>(hue));
    const float p = value * (1.0f - saturation);
    const float q = value * (1.0f - saturation * f);
    const float t = value * (1.0f - saturation * (1.0f - f));
    // Red, green and blue in each sixth of the wheel.
    const float rgb[6][3] = {{value, t, p}, {q, value, p}, {p, value, t},
                             {p, q, value}, {t, p, value}, {value, p, q}};
    const float* c = rgb[sector];
    auto byte = [](float x) { return static_cast<u8>(std::lround(std::clamp(x, 0.0f, 1.0f) * 255.0f)); };
    return Color3B(byte(c[0]), byte(c[1]), byte(c[2]));
}

MusicalNoteColours pitchedNoteColours(u8 key, u8 pitch) {
    switch (key) {
        case 2:
            return makeColours(2, pitchColour(pitch, 0.35f, 0.9f), pitchColour(pitch, 0.9f, 0.45f));
        case 3:
            return makeColours(3, pitchColour(pitch, 0.75f, 1.0f), pitchColour(pitch, 0.2f, 1.0f));
        case 4:
            return makeColours(4, pitchColour(pitch, 1.0f, 0.95f), Color3B(255, 255, 255));
        default:
            return musicalNoteColours(key);
    }
}

std::string pitchGlyphFrame(u8 pitch) {
    return pitch <= 24 ? "musical_pitch_" + std::to_string(pitch) + ".png" : "musical_note_0.png";
}

const MusicalNoteColours& musicalNoteColours(u8 key) {
    static const std::map<u8, MusicalNoteColours> table = {
        {2, makeColours(2, Color3B(176, 120, 209), Color3B(99, 51, 175))},
        {3, makeColours(3, Color3B(176, 120, 209), Color3B(255, 85, 153))},
        {8, makeColours(8, Color3B(249, 218, 255), Color3B(255, 255, 255))},
        {6, makeColours(6, Color3B(147, 0, 42), Color3B(28, 16, 43))},
        {4, makeColours(4, Color3B(125, 82, 163), Color3B(205, 158, 239))},
    };
    static const MusicalNoteColours black{};
    const auto it = table.find(key);
    return it == table.end() ? black : it->second;
}

std::string musicalNoteSoundFile(u8 pitch) {
    static const char* const steps[12] = {"c", "cs", "d", "ds", "e", "f", "fs", "g", "gs", "a", "as", "b"};
    if (pitch > 24) throw Convinience::Error("no such audio file for musical note");
    return std::string("sound/musicalnote/") + steps[pitch % 12] + std::to_string(pitch / 12) + ".mp3";
}

NoteReaction noteReaction(u8 newState) {
    switch (newState) {
        case 0:
        case 2:
            return NoteReaction::idle;
        case 1:
            return NoteReaction::lightUp;
        case 3:
            return NoteReaction::lit;
        case 4:
        case 5:
            return NoteReaction::played;
        case 6:
            return NoteReaction::failed;
        case 8:
            return NoteReaction::stepDone;
        case 10:
            return NoteReaction::songDone;
        default:
            return NoteReaction::none;
    }
}

MusicalNoteCocos2D* MusicalNoteCocos2D::create() {
    return cocos2d::createWithMethod<MusicalNoteCocos2D>(&MusicalNoteCocos2D::init);
}

bool MusicalNoteCocos2D::init() {
    using cocos2d::Sprite;
    if (!Sprite::init()) return false;
    setContentSize(cocos2d::Size(160.0f, 160.0f));
    outline_ = Sprite::createWithSpriteFrameName("musical_outline.png");
    whiteTile_ = Sprite::createWithSpriteFrameName("general_white_tile.png");
    lightRing_ = Sprite::createWithSpriteFrameName("musical_light_ring.png");
    for (int i = 0; i < 5; ++i)
        lights_.push_back(Sprite::createWithSpriteFrameName("musical_light_" + std::to_string(i) + ".png"));
    for (const char* frame : kCornerFrames) corners_.push_back(Sprite::createWithSpriteFrameName(frame));
    noteSign_ = Sprite::createWithSpriteFrameName("musical_note_0.png");
    addChild(whiteTile_);
    addChild(lightRing_);
    addChild(noteSign_);
    for (Sprite* light : lights_) addChild(light);
    for (Sprite* corner : corners_) addChild(corner);
    addChild(outline_);
    outline_->setPosition(kCentre);
    whiteTile_->setPosition(kCentre);
    noteSign_->setPosition(kCentre);
    placeByCorner(lightRing_, kRingCorner);
    for (int i = 0; i < 5; ++i) placeByCorner(lights_[i], kLightCorners[i]);
    for (int i = 0; i < 4; ++i) placeByCorner(corners_[i], kCornerCorners[i]);
    setColours();
    return true;
}

void MusicalNoteCocos2D::showPitch(u8 pitch, bool speaker) {
    pitch_ = pitch;
    noteSign_->setSpriteFrame(speaker ? std::string("musical_speaker.png") : pitchGlyphFrame(pitch));
    setColours();
}

MusicalNoteColours MusicalNoteCocos2D::colours(u8 key) const {
    return pitch_ ? pitchedNoteColours(key, *pitch_) : musicalNoteColours(key);
}

void MusicalNoteCocos2D::setColours() {
    const MusicalNoteColours c = colours(2);
    outline_->setColor(c.outline());
    whiteTile_->setColor(c.whiteTile());
    lightRing_->setColor(c.lightRing());
    noteSign_->setColor(c.noteSign());
    for (int i = 0; i < 5; ++i) lights_[i]->setColor(c.light(i));
    for (int i = 0; i < 4; ++i) corners_[i]->setColor(c.corner(i));
}

cocos2d::FiniteTimeAction* MusicalNoteCocos2D::createTintAction(u8 key, float duration) {
    const MusicalNoteColours c = colours(key);
    std::vector<cocos2d::FiniteTimeAction*> parts{tint(lightRing_, duration, c.lightRing()),
                                                  tint(noteSign_, duration, c.noteSign()),
                                                  tint(whiteTile_, duration, c.whiteTile())};
    for (int i = 0; i < 5; ++i) parts.push_back(tint(lights_[i], duration, c.light(i)));
    for (int i = 0; i < 4; ++i) parts.push_back(tint(corners_[i], duration, c.corner(i)));
    return cocos2d::Spawn::create(parts);
}

cocos2d::FiniteTimeAction* MusicalNoteCocos2D::createSweep(u8 key, float duration, bool reverse) {
    const MusicalNoteColours c = colours(key);
    std::vector<cocos2d::FiniteTimeAction*> lightSteps;
    for (int i = 0; i < 5; ++i) {
        const int at = reverse ? 4 - i : i;
        lightSteps.push_back(tint(lights_[at], duration / 5.0f, c.light(at)));
    }
    std::vector<cocos2d::FiniteTimeAction*> cornerSteps;
    for (int i = 0; i < 4; ++i) {
        const int at = reverse ? 3 - i : i;
        cornerSteps.push_back(tint(corners_[at], duration / 4.0f, c.corner(at)));
    }
    const float quick = std::min(duration, 0.2f);
    return cocos2d::Spawn::create(
        cocos2d::Sequence::create(lightSteps), cocos2d::Sequence::create(cornerSteps),
        tint(lightRing_, quick, c.lightRing()), tint(noteSign_, quick, c.noteSign()),
        tint(whiteTile_, quick, c.whiteTile()));
}

cocos2d::FiniteTimeAction* MusicalNoteCocos2D::createLightUpAction(float duration) {
    return createSweep(3, duration, false);
}

cocos2d::FiniteTimeAction* MusicalNoteCocos2D::createLightDownAction(float duration) {
    return createSweep(2, duration, true);
}

cocos2d::FiniteTimeAction* MusicalNoteCocos2D::createNotePopAction(float duration) {
    return cocos2d::Spawn::create(createTintAction(4, duration),
                                  cocos2d::CallFunc::create([this] { popNoteSign(); }));
}

void MusicalNoteCocos2D::popNoteSign() {
    using namespace cocos2d;
    const int n = visualRandomInt(0, 2);
    Sprite* sign = Sprite::createWithSpriteFrameName("musical_note_" + std::to_string(n) + ".png");
    sign->setColor(Color3B::BLACK);
    addChild(sign);
    sign->setPosition(kCentre);
    sign->runAction(
        Spawn::create(Sequence::create(EaseOut::create(MoveBy::create(0.1f, Vec2(50.0f, 0.0f)), 3.0f),
                                       EaseInOut::create(MoveBy::create(0.2f, Vec2(-90.0f, 0.0f)), 3.0f),
                                       EaseOut::create(MoveBy::create(0.1f, Vec2(40.0f, 0.0f)), 3.0f),
                                       RemoveSelf::create(true)),
                      EaseBounceInOut::create(ScaleBy::create(0.4f, 0.8f)),
                      EaseOut::create(MoveBy::create(0.4f, Vec2(0.0f, 150.0f)), 2.0f)));
}

MusicalNoteVisualMediator::MusicalNoteVisualMediator(cocos2d::Node* host, MusicalNoteCocos2D* note,
                                                     const Zarn::MusicalNoteElement* record)
    : ElementVisualMediator(host, defaultElementAnimations()), note_(note), record_(record) {}

cocos2d::FiniteTimeAction* MusicalNoteVisualMediator::createPitchSoundAction() {
    return positionalSoundAction(node_, musicalNoteSoundFile(record_->note), 1.0f);
}

cocos2d::FiniteTimeAction* MusicalNoteVisualMediator::createZapAction() {
    cocos2d::Node* host = node_;
    return cocos2d::CallFunc::create([host] {
        using namespace cocos2d;
        Sprite* zap = Sprite::create();
        host->addChild(zap);
        zap->setPosition(kCentre);
        zap->runAction(Sequence::create(
            createAnimateFromFrameNames(numberedFrames("lightning_floor_zap_", 1, 8), 1.0f / 24.0f),
            RemoveSelf::create(true)));
    });
}

void MusicalNoteVisualMediator::onStateChanged(u32, u32 newState) {
    using namespace cocos2d;
    if (newState > 255) return;
    switch (noteReaction(static_cast<u8>(newState))) {
        case NoteReaction::none:
            return;
        case NoteReaction::idle:
            node_->runAction(note_->createTintAction(2, 0.1f));
            return;
        case NoteReaction::lightUp:
            node_->runAction(note_->createLightUpAction(0.5f));
            return;
        case NoteReaction::lit:
            node_->runAction(note_->createTintAction(3, 0.1f));
            return;
        case NoteReaction::played: {
            FiniteTimeAction* pop = note_->createNotePopAction(0.1f);
            FiniteTimeAction* pitch = nullptr;
            runGuarded([&] { pitch = createPitchSoundAction(); });
            node_->runAction(pitch != nullptr ? Spawn::create(pop, pitch) : pop);
            return;
        }
        case NoteReaction::failed:
            node_->runAction(Spawn::create(note_->createTintAction(6, 0.5f), createZapAction(),
                                           positionalSoundAction(node_, "sound/musicalnote/error.mp3")));
            return;
        case NoteReaction::stepDone:
            node_->runAction(
                Sequence::create(positionalSoundAction(node_, "sound/musicalnote/correct.mp3"),
                                 note_->createTintAction(8, 0.125f), note_->createTintAction(2, 0.125f),
                                 note_->createTintAction(8, 0.125f), note_->createTintAction(2, 0.125f)));
            return;
        case NoteReaction::songDone:
            node_->runAction(
                Sequence::create(note_->createTintAction(3, 0.1f), note_->createLightDownAction(0.5f)));
            return;
    }
}
