#pragma once

#include <random>
#include <unordered_map>
#include <vector>

#include "map/import/DialogImporter.h"
#include "map/records/DialogEntry.h"

namespace Zarn {

// Which dialog plays. Written by the dialog commands on the client's tick and
// read by the dialog window every frame, both on the main thread.
class DialogPlayer {
public:
    // The table belongs to the loaded map and outlives the player. The random
    // engine of playRandom is seeded once from the random device.
    explicit DialogPlayer(DialogTable& table);
    // Same, with a fixed seed for the random engine.
    DialogPlayer(DialogTable& table, u32 seed);

    // Plays the dialog when the table holds the number (and answers true);
    // otherwise nothing (false).
    bool play(u32 number);
    // The first call for a list plays its first number, each later call the
    // next one; after the last, calls do nothing. Lists are told apart by
    // identity (one list per command), not by content: the list must stay
    // alive and in place as long as the player. Throws std::out_of_range for
    // an empty list.
    void playSequenced(const std::vector<u32>& numbers);
    // Plays a number of the list chosen uniformly at random. Throws
    // std::out_of_range for an empty list.
    void playRandom(const std::vector<u32>& numbers);
    // Clears the playing flag (the stop commands).
    void stop() { playing_ = 0; }

    u32 getCurrent() const { return current_; }
    u8 isPlaying() const { return playing_; }

private:
    // Owned by the loaded map; outlives the player.
    DialogTable& table_;
    u32 current_ = 0;
    u8 playing_ = 0;
    // List identity -> index of the number last played from it.
    std::unordered_map<const std::vector<u32>*, std::size_t> progress_;
    std::mt19937 random_;
};

}  // namespace Zarn
