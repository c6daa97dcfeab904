#pragma once

#include <random>
#include <string>
#include <vector>

#include "foundation/Types.h"

// The one random engine that the visuals' effects draw from (dust puffs,
// fly-apart pieces, animation variants): seeded from the random device on
// first use, seedable for reproducible tests. Main thread only (it is not
// locked; only visuals draw from it).
std::mt19937& visualRandomEngine();
void seedVisualRandomEngine(u32 seed);
// A float in [0, 1): one 32-bit draw.
float visualRandomUnit();
// a + c * (b - a) for such a float c.
float visualRandomBetween(float a, float b);
// A uniform integer in [low, high].
int visualRandomInt(int low, int high);
// A float in [-1, 1] that is never 0 (the sign of a throw is taken from it).
float visualRandomSigned();

// Which of three animation variants a draw r in [0, 1) picks: below 0.33 the
// first, below 0.66 the second, else the third.
int chooseVariant(float r);

// One set of alternative sounds (spawn, fall, explosion ...): each set draws
// with its own engine, made with the default seed 5489, so that the picks of
// a set come in the same order in every run.
class RandomSoundSet {
public:
    explicit RandomSoundSet(std::vector<std::string> files);
    const std::string& pick();
    const std::vector<std::string>& files() const { return files_; }

private:
    std::vector<std::string> files_;
    std::mt19937 engine_;
    std::uniform_int_distribution<std::size_t> index_;
};
