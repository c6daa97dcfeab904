#pragma once

#include <functional>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace cocos2d {
class Animate;
class CallFunc;
class FiniteTimeAction;
class Node;
class Scene;
}  // namespace cocos2d

// Helpers that the trap, boss and map element visuals share. Everything here
// runs on the main thread, inside the engine's frame.

// A one-shot frame animation: the frames, looked up by name in the engine's
// sprite-frame cache, each shown `delay` seconds. An empty list gives an
// animation of no frames and no length. Autoreleased.
cocos2d::Animate* createAnimateFromFrameNames(const std::vector<std::string>& names, float delay);
// The same with the whole animation lasting `total` seconds (total / count
// per frame).
cocos2d::Animate* createAnimateOver(const std::vector<std::string>& names, float total);

// Four jolts of 20 points, up and back (vertically) or right and back
// (horizontally), each move 0.03 s, 0.24 s in all, run on the running game
// scene. Shakes started while one runs add up; each returns to where it began.
void shakeScreenVertically();
void shakeScreenHorizontally();

// The scene the game runs in: the director's running scene, or the scene a
// running transition brings in. Null when nothing runs.
cocos2d::Scene* runningGameScene();

// Frame names prefix + n + suffix for n = first .. last (either direction),
// e.g. numberedFrames("Trap_Door_", 1, 9). With width > 0 the number is
// padded with zeros to that width ("Laser_Middle_0001.png").
std::vector<std::string> numberedFrames(const std::string& prefix, int first, int last,
                                        const std::string& suffix = ".png", int width = 0);

// Durations and counts taken from map data: a negative or NaN duration is 0;
// a count is the duration's whole part, never from a negative value, and at
// most kMaxCount.
float clampDuration(float seconds);
inline constexpr u32 kMaxCount = 1000000;
u32 wholeCount(float value);

// Sounds. A positional sound plays the file at the node through the
// positional audio engine (volume as given); an effect plays it on the sound
// player's effects channel (volume 1.0, gain 1.0; the player is made on
// first use). Both return the sound's id or -1. A failure (no positional
// audio engine: "positionAudioEngine not instantiated!") is logged once per
// text and the sound is skipped: the frame goes on.
int playPositional(cocos2d::Node* node, const std::string& file, float volume = 1.0f);
int playEffectSound(const std::string& file);
// The same as actions: a CallFunc that plays the sound when a sequence
// reaches it. The positional one keeps the node by pointer; the node runs
// (or owns the runner of) the action, so it outlives the call.
cocos2d::CallFunc* positionalSoundAction(cocos2d::Node* node, const std::string& file, float volume = 1.0f);
cocos2d::CallFunc* effectSoundAction(const std::string& file);
// A CallFunc that runs fn, logging and skipping what it throws.
cocos2d::CallFunc* guardedCall(std::function<void()> fn);

// Logs a failure that a visual met in the frame at WARN, once per distinct
// text for the run; the caller skips what failed.
void reportVisualFailure(const std::string& text);
// Runs fn; a Convinience::Error, a thrown C string or another standard
// exception is reported as above instead of leaving the frame. False when
// fn threw.
bool runGuarded(const std::function<void()>& fn);
