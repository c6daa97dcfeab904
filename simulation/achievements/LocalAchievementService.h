#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "foundation/Logger.h"
#include "simulation/achievements/AchievementService.h"

namespace Zarn {

// The game's own achievement service, standing in for a platform's: the IDs
// of the unlocked achievements, kept in the file "achievements.bin" in one
// folder (the writable directory in the game).
//
// Every record is at hand from construction: ready() always holds, and a
// request is answered at once through onAchievement, with achieved 1 for an
// unlocked ID and 0 for any other. Unlocking logs the achievement the first
// time ("Achievement unlocked: ID"); store() writes the file atomically when
// something was unlocked since the last write. A file that does not read
// back is logged, moved aside to "achievements.bin.bad", and the service
// starts with nothing unlocked. Main thread only.
class LocalAchievementService : public ThirdParty::AchievementService, public ThirdParty::AchievementStore {
public:
    static constexpr const char* kFileName = "achievements.bin";

    // folder: the file's folder, with or without a trailing "/".
    explicit LocalAchievementService(const std::string& folder);

    bool ready() override { return true; }
    void request(const std::string& id) override;
    // An ID that the file could not hold (see isAchievementId) is logged at
    // WARN and not unlocked.
    void unlock(const ThirdParty::Achievement& achievement) override;
    // A failed write is logged at ERROR; the unlocks stay to be stored again.
    void store() override;

    bool isUnlocked(const std::string& id) const { return unlocked_.count(id) != 0; }
    const std::set<std::string>& unlocked() const { return unlocked_; }
    // Something was unlocked that the file does not hold yet.
    bool hasUnstoredUnlocks() const { return unstored_; }
    const std::string& path() const { return path_; }

private:
    void load();

    std::string path_;
    std::set<std::string> unlocked_;
    bool unstored_ = false;
    Convinience::Logger logger_;
};

// "achievements.bin", little-endian:
// | offset | size | field                                             |
// |--------|------|---------------------------------------------------|
// | 0      | 4    | magic 0x56484341 (the bytes "ACHV")               |
// | 4      | 4    | version, 1                                        |
// | 8      | 4    | count n                                           |
// | 12     | ...  | n IDs, ascending: u32 length, then the ID's bytes |
// Nothing follows the last ID.
inline constexpr u32 kAchievementFileMagic = 0x56484341;
inline constexpr u32 kAchievementFileVersion = 1;
// A larger file is not an achievements file; it is never read whole.
inline constexpr std::size_t kAchievementFileMaxBytes = 65536;
inline constexpr std::size_t kAchievementIdMaxLength = 64;

// 1 to kAchievementIdMaxLength bytes of printable ASCII, no space.
bool isAchievementId(const std::string& id);
std::vector<u8> achievementFileBytes(const std::set<std::string>& unlocked);
// The IDs of a whole file; throws Convinience::Error or
// Convinience::ReadPastEndError, with the fault, for bytes that are not one.
std::set<std::string> parseAchievementFile(const std::vector<u8>& bytes);

}  // namespace Zarn
