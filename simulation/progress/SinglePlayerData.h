#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/Serializable.h"
#include "simulation/progress/LevelStatus.h"
#include "simulation/scores/LevelScore.h"

namespace Zarn {

// The play modes of the story mode; the same numbers as the score keeper
// kinds. Only timer, time attack and limited lives have a saved flag.
using PlayMode = u8;
namespace playMode {
inline constexpr PlayMode deaths = 0;
inline constexpr PlayMode timer = 1;
inline constexpr PlayMode timeAttack = 2;
inline constexpr PlayMode limitedLives = 3;
}  // namespace playMode

// The 268-byte head of "singleplayer.bin": u32 version (written as 1), u32
// magic 0x13371337, u32 body size, 256 reserved bytes (written as zeros).
class SinglePlayerDataHeader : public Convinience::Serializable {
public:
    static constexpr u32 kMagic = 0x13371337u;
    static constexpr u32 kVersion = 1;
    static constexpr u32 kReservedSize = 256;
    static constexpr u32 kSize = 12 + kReservedSize;

    SinglePlayerDataHeader() = default;
    explicit SinglePlayerDataHeader(u32 bodySize) : bodySize(bodySize) {}
    explicit SinglePlayerDataHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    u32 version = kVersion;
    u32 magic = kMagic;
    u32 bodySize = 0;
};

// The story mode's progress: which levels are reachable and their best
// results, the play modes, where the normal and the limited-lives runs stand,
// lives and money. The game keeps one instance (singlePlayerProgress()); every
// change is followed by a save by the caller. Main thread only.
//
// Body of "singleplayer.bin" (little-endian, after the header):
//
// | offset | size   | field                                   |
// |--------|--------|-----------------------------------------|
// | 0      | 4      | level count n                           |
// | 4      | 4      | normal level                            |
// | 8      | 4      | current level                           |
// | 12     | 1      | run complete                            |
// | 13     | 1      | limited-lives mode flag                 |
// | 14     | 1      | time-attack mode flag                   |
// | 15     | 1      | timer mode flag                         |
// | 16     | 4      | lives                                   |
// | 20     | 4      | lives at completion (0xFFFFFFFF = never) |
// | 24     | 4      | limited-lives level                     |
// | 28     | 4      | money                                   |
// | 32     | 14 x n | level statuses (LevelStatus)            |
class SinglePlayerData : public Convinience::Serializable {
public:
    static constexpr u32 kFixedSize = 32;
    static constexpr u32 kNoLivesAtCompletion = 0xFFFFFFFFu;

    // No levels; every other field as after resetAll.
    SinglePlayerData() { resetAll(); }
    // Reads a body; throws Convinience::ReadPastEndError when the bytes are
    // short or the level count does not fit them.
    explicit SinglePlayerData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kFixedSize + LevelStatus::kSize * levelCount(); }

    u32 levelCount() const { return static_cast<u32>(levelStatuses.size()); }

    // A copy of the level's status; throws "no such level" past the list.
    LevelStatus getLevelStatus(u32 level) const;
    // Makes the level the furthest level: it and every level before it are
    // unlocked, every later one locked. Stored as the limited-lives level when
    // that mode is active, else as the normal level. Throws "no such level".
    void selectLevel(u32 level);
    // After a level was beaten: advances the run when the current level is
    // the furthest level; beating the last level completes the run.
    void completeLevel();
    // Keeps the best values of a beaten level. Throws "no such level".
    void recordLevelResult(u32 level, const LevelScore& score);
    void enableMode(PlayMode mode);
    void disableMode(PlayMode mode);
    bool isModeActive(PlayMode mode) const;
    // Starts the limited-lives run again: level 0, 3 lives.
    void restartLives();
    // The active modes in the order in which they were switched on.
    std::vector<u8> activeModes() const { return activeModeSet; }
    // Resizes the level list; new levels get the default (locked) status,
    // except that a list that was empty comes out with its first level open.
    void setLevelCount(u32 count);
    void resetLevels();
    // resetLevels, then every other saved field to its default. The active
    // modes are kept.
    void resetAll();

    // Reads a whole "singleplayer.bin" from the stream. A wrong magic, a
    // short or inconsistent file, or a saved position (the run's level or the
    // current level) past the level list leaves the progress as after
    // resetAll and answers false.
    bool load(std::istream& in);
    // Writes header and body in one write; answers whether the stream is
    // still good.
    bool save(std::ostream& out) const;

    // Loads the named file under the writable directory. A file that exists
    // but does not load is copied to name + ".bad" first, so that the save
    // that follows the reset does not lose it. A missing file answers false
    // and resets.
    bool loadFromSaveFile(const std::string& name);
    // Saves to the named file under the writable directory; the old file is
    // replaced only when every byte was written.
    bool writeToSaveFile(const std::string& name) const;

    u32 normalLevel = 0;
    u32 currentLevel = 0;  // the level being played or played next
    u8 runComplete = 0;
    u32 money = 0;
    u8 limitedLivesMode = 0;
    u8 timeAttackMode = 0;
    u8 timerMode = 0;
    u32 lives = 0;
    u32 limitedLivesLevel = 0;
    u32 livesAtCompletion = kNoLivesAtCompletion;
    std::vector<LevelStatus> levelStatuses;

    // Not saved: rebuilt from the saved flags and positions when loading.
    std::vector<u8> activeModeSet;
    u32 furthestLevel = 0;

private:
    void storeRunPosition(u32 level);
    bool loadBytes(const std::vector<u8>& bytes);
};

// The game's progress record. Built on first use with no levels and default
// values; the application sets its level count. Main thread only.
SinglePlayerData& singlePlayerProgress();

}  // namespace Zarn
