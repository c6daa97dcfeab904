#include "simulation/achievements/LocalAchievementService.h"

#include <filesystem>
#include <fstream>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "foundation/SaveFiles.h"

namespace Zarn {
namespace {

// The file's bytes, or nothing when there is no file. Reads at most one byte
// more than a file may hold, so a huge file is never read whole. Throws
// Convinience::Error when the file is there but cannot be read.
std::vector<u8> readCapped(const std::string& path, bool& exists) {
    std::error_code ec;
    exists = std::filesystem::exists(path, ec);
    if (!exists) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Convinience::Error("cannot be opened");
    std::vector<u8> bytes(kAchievementFileMaxBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) throw Convinience::Error("cannot be read");
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace

bool isAchievementId(const std::string& id) {
    if (id.empty() || id.size() > kAchievementIdMaxLength) return false;
    for (const char c : id)
        if (c <= ' ' || c > '~') return false;
    return true;
}

std::vector<u8> achievementFileBytes(const std::set<std::string>& unlocked) {
    Convinience::Buffer buffer;
    buffer.appendU32(kAchievementFileMagic);
    buffer.appendU32(kAchievementFileVersion);
    buffer.appendU32(static_cast<u32>(unlocked.size()));
    for (const std::string& id : unlocked) Convinience::writeString(buffer, id);
    return buffer.takeBytes();
}

std::set<std::string> parseAchievementFile(const std::vector<u8>& bytes) {
    if (bytes.size() > kAchievementFileMaxBytes) throw Convinience::Error("larger than an achievements file");
    Convinience::ByteReader reader(bytes);
    if (reader.readU32() != kAchievementFileMagic) throw Convinience::Error("not an achievements file");
    if (reader.readU32() != kAchievementFileVersion) throw Convinience::Error("unknown version");
    const u32 count = reader.readCount(4 + 1);
    std::set<std::string> ids;
    for (u32 i = 0; i < count; ++i) {
        std::string id = reader.readString();
        if (!isAchievementId(id))
            throw Convinience::Error("entry " + std::to_string(i) + " is no achievement ID");
        if (!ids.empty() && id <= *ids.rbegin())
            throw Convinience::Error("entry " + std::to_string(i) + " is out of order");
        ids.insert(ids.end(), std::move(id));
    }
    if (!reader.atEnd()) throw Convinience::Error("bytes after the last entry");
    return ids;
}

LocalAchievementService::LocalAchievementService(const std::string& folder)
    : path_((std::filesystem::path(folder) / kFileName).string()) {
    load();
}

void LocalAchievementService::load() {
    try {
        bool exists = false;
        const std::vector<u8> bytes = readCapped(path_, exists);
        if (exists) unlocked_ = parseAchievementFile(bytes);
        return;
    } catch (const std::exception& fault) {
        // The damaged file goes aside whole, so the next store cannot lose it.
        std::error_code ec;
        std::filesystem::rename(path_, path_ + ".bad", ec);
        const std::string kept = ec ? "" : ", kept as " + path_ + ".bad";
        logger_.log(Convinience::severity::error, "The achievements file " + path_ + " is damaged (" +
                                                      fault.what() + ")" + kept +
                                                      "; starting with no achievement unlocked");
    }
    unlocked_.clear();
}

void LocalAchievementService::request(const std::string& id) {
    if (!onAchievement) return;
    ThirdParty::Achievement record;
    record.id = id;
    record.achieved = isUnlocked(id) ? 1 : 0;
    onAchievement(record);
}

void LocalAchievementService::unlock(const ThirdParty::Achievement& achievement) {
    if (!isAchievementId(achievement.id)) {
        logger_.log(Convinience::severity::warn, "Not an achievement ID, not unlocked: " + achievement.id);
        return;
    }
    if (!unlocked_.insert(achievement.id).second) return;
    unstored_ = true;
    logger_.log(Convinience::severity::info, "Achievement unlocked: " + achievement.id);
}

void LocalAchievementService::store() {
    if (!unstored_) return;
    if (Convinience::writeFileAtomically(path_, achievementFileBytes(unlocked_))) {
        unstored_ = false;
        return;
    }
    logger_.log(Convinience::severity::error, "Could not store the achievements in " + path_);
}

}  // namespace Zarn
