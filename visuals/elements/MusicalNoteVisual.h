#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "visuals/elements/ElementNodes.h"

namespace cocos2d {
class FiniteTimeAction;
}
namespace Zarn {
class MusicalNoteElement;
}

// How a musical note tile looks in one of the note's states: thirteen
// colours, outline, white tile, light ring, note sign, lights 0 to 4 and
// corners 0 to 3.
struct MusicalNoteColours {
    u8 key = 0;
    std::array<cocos2d::Color3B, 13> colours{};

    const cocos2d::Color3B& outline() const { return colours[0]; }
    const cocos2d::Color3B& whiteTile() const { return colours[1]; }
    const cocos2d::Color3B& lightRing() const { return colours[2]; }
    const cocos2d::Color3B& noteSign() const { return colours[3]; }
    const cocos2d::Color3B& light(int i) const { return colours[4 + i]; }
    const cocos2d::Color3B& corner(int i) const { return colours[9 + i]; }
};

// The looks by note state (the outline is (51, 21, 73) in every one; ring,
// sign, lights and corners share the accent):
// | key | white tile      | accent          | look   |
// | 2   | (176, 120, 209) | (99, 51, 175)   | idle   |
// | 3   | (176, 120, 209) | (255, 85, 153)  | lit    |
// | 8   | (249, 218, 255) | (255, 255, 255) | flash  |
// | 6   | (147, 0, 42)    | (28, 16, 43)    | failed |
// | 4   | (125, 82, 163)  | (205, 158, 239) | played |
// Any other key is all black. Read-only; any thread.
const MusicalNoteColours& musicalNoteColours(u8 key);

// A pitch's own colour: one hue per step of the octave (C red, then round
// the colour wheel in twelfths), at the given saturation and value (0 to 1).
cocos2d::Color3B pitchColour(u8 pitch, float saturation, float value);
// The looks of a tile that shows its pitch: idle (2) a pale tile in the
// pitch's hue with a dark sign, lit (3) the hue strong with a pale sign,
// played (4) the hue full with a white sign; the other keys as in the table.
MusicalNoteColours pitchedNoteColours(u8 key, u8 pitch);
// The pitch's glyph: its letter, a dot per octave above the lowest
// ("musical_pitch_0.png" .. "_24.png"); "musical_note_0.png" past 24.
std::string pitchGlyphFrame(u8 pitch);

// The sound of a pitch (0 to 24, a chromatic scale over two octaves):
// "sound/musicalnote/" + step + octave + ".mp3", step the (p mod 12)-th of c,
// cs, d, ds, e, f, fs, g, gs, a, as, b and octave p / 12. A pitch above 24
// throws Convinience::Error("no such audio file for musical note").
std::string musicalNoteSoundFile(u8 pitch);

// What a note tile does when its note enters a state.
enum class NoteReaction : u8 {
    none,      // 7, 9 and values past 10
    idle,      // 0, 2: tint to key 2 in 0.1 s
    lightUp,   // 1: the lights come on one by one over 0.5 s
    lit,       // 3: tint to key 3 in 0.1 s
    played,    // 4, 5: tint to key 4 in 0.1 s, a note sign pops, the pitch sounds
    failed,    // 6: tint to key 6 in 0.5 s, lightning, "sound/musicalnote/error.mp3"
    stepDone,  // 8: "sound/musicalnote/correct.mp3", then white and back twice (0.5 s)
    songDone,  // 10: tint to key 3 in 0.1 s, then the lights go out one by one over 0.5 s
};
NoteReaction noteReaction(u8 newState);

// The picture of a musical note tile: 160 x 160, thirteen layered sprites
// (white tile, light ring, note sign, five lights, four corners, the outline
// on top), coloured with the idle look. Main thread only.
class MusicalNoteCocos2D : public cocos2d::Sprite {
public:
    static MusicalNoteCocos2D* create();
    bool init() override;

    // Every child's colour from the idle look (key 2).
    void setColours();
    // From now on the tile shows the pitch: its glyph (or the loudspeaker
    // of the speaker tile that plays the tune back) as the note sign, and
    // the looks of pitchedNoteColours.
    void showPitch(u8 pitch, bool speaker);
    // Twelve targeted tints (all but the outline) to the look of key over the
    // duration: ring, sign, white tile, lights 0 to 4, corners 0 to 3.
    cocos2d::FiniteTimeAction* createTintAction(u8 key, float duration);
    // The lights one after the other (d / 5 each), the corners likewise (d /
    // 4 each), and ring, sign and tile in min(d, 0.2): up to the lit look
    // (key 3) in list order, down to the idle look (key 2) in reverse order.
    cocos2d::FiniteTimeAction* createLightUpAction(float duration);
    cocos2d::FiniteTimeAction* createLightDownAction(float duration);
    // The tint to the played look (key 4) beside a call to popNoteSign.
    cocos2d::FiniteTimeAction* createNotePopAction(float duration);
    // A black note sign (one of "musical_note_0.png" to "_2.png", drawn from
    // the visuals' random engine) pops from the centre: it sways right, left
    // and back while rising 150 and shrinking, and removes itself after 0.4 s.
    void popNoteSign();

    const std::vector<cocos2d::Sprite*>& getLights() const { return lights_; }
    const std::vector<cocos2d::Sprite*>& getCorners() const { return corners_; }
    cocos2d::Sprite* getOutline() const { return outline_; }
    cocos2d::Sprite* getWhiteTile() const { return whiteTile_; }
    cocos2d::Sprite* getLightRing() const { return lightRing_; }
    cocos2d::Sprite* getNoteSign() const { return noteSign_; }

private:
    cocos2d::FiniteTimeAction* createSweep(u8 key, float duration, bool reverse);
    MusicalNoteColours colours(u8 key) const;
    std::optional<u8> pitch_;

    // Children of this node.
    cocos2d::Sprite* outline_ = nullptr;
    cocos2d::Sprite* whiteTile_ = nullptr;
    cocos2d::Sprite* lightRing_ = nullptr;
    cocos2d::Sprite* noteSign_ = nullptr;
    std::vector<cocos2d::Sprite*> lights_;
    std::vector<cocos2d::Sprite*> corners_;
};

// A note's reactions (noteReaction), run on the host tile that holds the
// note picture; sounds play at the host. A pitch without a sound file is
// logged and the rest of the reaction still plays. Main thread only.
class MusicalNoteVisualMediator : public ElementVisualMediator {
public:
    // host: null until the maker sets it; note: the picture, a child of the
    // host; record: the note's map record (owned by the game map).
    MusicalNoteVisualMediator(cocos2d::Node* host, MusicalNoteCocos2D* note,
                              const Zarn::MusicalNoteElement* record);

    void onStateChanged(u32 oldState, u32 newState) override;

    // Plays the note's pitch at the host; throws for a pitch without a file.
    cocos2d::FiniteTimeAction* createPitchSoundAction();
    // Eight frames of "lightning_floor_zap_1.png" .. 8 at 1/24 s on a sprite
    // at the host's centre, which then removes itself.
    cocos2d::FiniteTimeAction* createZapAction();

    MusicalNoteCocos2D* getNote() const { return note_; }

private:
    MusicalNoteCocos2D* note_;
    const Zarn::MusicalNoteElement* record_;
};
