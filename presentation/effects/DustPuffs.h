#pragma once

#include <string>
#include <vector>

namespace cocos2d {
class FiniteTimeAction;
class Node;
}  // namespace cocos2d

// Small dust clouds that puff up at a node's feet, each with its own random
// size, drift, spin and timing, drawn from the visuals' random engine. Every
// puff is a sprite on the given parent, drawn 100 above the node, placed 7
// below the node's position when its delay has passed, and removes itself
// when its motion ends (after its delay plus 0.5 to 1.6 s). The node and the
// parent are kept alive until the puffs that need them have started.
//
// Frame names: "Dust_Puff_Brown_1.png" .. 6, "Dust_Puff_White_1.png" .. 6,
// "Dust_Directional_Small_1.png" .. 7, "Dust_Directional_Large_1.png" .. 6,
// looked up once and kept. Main thread only.

// An action for the node to run: 4 to 10 puffs.
cocos2d::FiniteTimeAction* createRunStartDust(cocos2d::Node* parent, cocos2d::Node* node);
// 1 to 4 puffs.
cocos2d::FiniteTimeAction* createRunStopDust(cocos2d::Node* parent, cocos2d::Node* node);
// count puffs (none when count <= 0); each puff starts 0.01 to 0.06 s after
// the one before, the first at once.
cocos2d::FiniteTimeAction* createDustBurst(cocos2d::Node* parent, cocos2d::Node* node, int count);

// One-shot directional dust: plays its frames once in 0.4 s, then the node
// that runs it removes itself.
cocos2d::FiniteTimeAction* createDirectionalDustSmall();
cocos2d::FiniteTimeAction* createDirectionalDustLarge();

// The frame names the dust uses, in list order (brown, white, small, large).
const std::vector<std::string>& dustFrameNames();
