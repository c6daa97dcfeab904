#include "simulation/progress/SinglePlayerData.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "foundation/Error.h"
#include "foundation/SaveFiles.h"

namespace Zarn {
namespace {

constexpr const char* kNoSuchLevel = "no such level";

std::vector<u8> readAll(std::istream& in) {
    return std::vector<u8>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

SinglePlayerDataHeader::SinglePlayerDataHeader(Convinience::ByteReader& reader)
    : version(reader.readU32()), magic(reader.readU32()), bodySize(reader.readU32()) {
    reader.skip(kReservedSize);
}

void SinglePlayerDataHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(version);
    buffer.appendU32(magic);
    buffer.appendU32(bodySize);
    const u8 reserved[kReservedSize] = {};
    buffer.append(reserved, kReservedSize);
}

SinglePlayerData::SinglePlayerData(Convinience::ByteReader& reader) {
    const u32 count = reader.readU32();
    normalLevel = reader.readU32();
    currentLevel = reader.readU32();
    runComplete = reader.readU8();
    limitedLivesMode = reader.readU8();
    timeAttackMode = reader.readU8();
    timerMode = reader.readU8();
    lives = reader.readU32();
    livesAtCompletion = reader.readU32();
    limitedLivesLevel = reader.readU32();
    money = reader.readU32();
    reader.require(static_cast<std::size_t>(count) * LevelStatus::kSize);
    levelStatuses.reserve(count);
    for (u32 i = 0; i < count; ++i) levelStatuses.emplace_back(reader);
}

void SinglePlayerData::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(levelCount());
    buffer.appendU32(normalLevel);
    buffer.appendU32(currentLevel);
    buffer.appendU8(runComplete);
    buffer.appendU8(limitedLivesMode);
    buffer.appendU8(timeAttackMode);
    buffer.appendU8(timerMode);
    buffer.appendU32(lives);
    buffer.appendU32(livesAtCompletion);
    buffer.appendU32(limitedLivesLevel);
    buffer.appendU32(money);
    for (const LevelStatus& status : levelStatuses) status.serialize(buffer);
}

LevelStatus SinglePlayerData::getLevelStatus(u32 level) const {
    if (level >= levelCount()) throw Convinience::Error(kNoSuchLevel);
    return levelStatuses[level];
}

void SinglePlayerData::storeRunPosition(u32 level) {
    if (isModeActive(playMode::limitedLives)) {
        limitedLivesLevel = level;
    } else {
        normalLevel = level;
    }
}

void SinglePlayerData::selectLevel(u32 level) {
    if (level >= levelCount()) throw Convinience::Error(kNoSuchLevel);
    furthestLevel = level;
    for (u32 i = 0; i < levelCount(); ++i) levelStatuses[i].locked = i <= level ? 0 : 1;
    storeRunPosition(level);
}

void SinglePlayerData::completeLevel() {
    if (currentLevel != furthestLevel) return;
    if (static_cast<u64>(furthestLevel) + 1 < levelCount()) {
        ++furthestLevel;
        levelStatuses[furthestLevel].locked = 0;
        storeRunPosition(furthestLevel);
        return;
    }
    runComplete = 1;
    if (isModeActive(playMode::limitedLives)) livesAtCompletion = lives;
}

void SinglePlayerData::recordLevelResult(u32 level, const LevelScore& score) {
    if (level >= levelCount()) throw Convinience::Error(kNoSuchLevel);
    LevelStatus& status = levelStatuses[level];
    status.fewestDeaths = std::min(status.fewestDeaths, score.deaths);
    if (isModeActive(playMode::timer)) status.bestTime = std::min(status.bestTime, score.time);
    if (isModeActive(playMode::timeAttack)) status.timeAttackDone = 1;
}

bool SinglePlayerData::isModeActive(PlayMode mode) const {
    return std::find(activeModeSet.begin(), activeModeSet.end(), mode) != activeModeSet.end();
}

void SinglePlayerData::enableMode(PlayMode mode) {
    if (mode > playMode::limitedLives) return;
    if (!isModeActive(mode)) activeModeSet.push_back(mode);
    switch (mode) {
        case playMode::timer:
            timerMode = 1;
            break;
        case playMode::timeAttack:
            timeAttackMode = 1;
            break;
        case playMode::limitedLives:
            limitedLivesMode = 1;
            break;
        default:
            break;
    }
    if (isModeActive(playMode::limitedLives)) selectLevel(limitedLivesLevel);
}

void SinglePlayerData::disableMode(PlayMode mode) {
    if (mode > playMode::limitedLives) return;
    std::erase(activeModeSet, mode);
    switch (mode) {
        case playMode::timer:
            timerMode = 0;
            break;
        case playMode::timeAttack:
            timeAttackMode = 0;
            break;
        case playMode::limitedLives:
            limitedLivesMode = 0;
            selectLevel(normalLevel);
            break;
        default:
            break;
    }
}

void SinglePlayerData::restartLives() {
    limitedLivesLevel = 0;
    lives = 3;
    currentLevel = 0;
    if (isModeActive(playMode::limitedLives)) selectLevel(0);
}

void SinglePlayerData::setLevelCount(u32 count) {
    const bool wasEmpty = levelStatuses.empty();
    levelStatuses.resize(count);
    // A list that had no levels (the progress before its first load, or after
    // a failed one) must not come out with every level locked.
    if (wasEmpty && count > 0) levelStatuses[0].locked = 0;
}

void SinglePlayerData::resetLevels() {
    std::fill(levelStatuses.begin(), levelStatuses.end(), LevelStatus());
    if (!levelStatuses.empty()) levelStatuses[0].locked = 0;
    furthestLevel = 0;
}

void SinglePlayerData::resetAll() {
    resetLevels();
    runComplete = 0;
    limitedLivesMode = 0;
    timeAttackMode = 0;
    timerMode = 0;
    currentLevel = 0;
    lives = 0;
    normalLevel = 0;
    limitedLivesLevel = 0;
    money = 0;
    livesAtCompletion = kNoLivesAtCompletion;
}

namespace {

// Parses a whole file into a fresh record with its run position selected;
// throws on anything that does not fit.
bool parseProgress(const std::vector<u8>& bytes, SinglePlayerData& out) {
    Convinience::ByteReader reader(bytes);
    const SinglePlayerDataHeader header(reader);
    if (header.magic != SinglePlayerDataHeader::kMagic) return false;
    Convinience::ByteReader body = reader.sub(header.bodySize);
    SinglePlayerData loaded(body);
    if (loaded.timerMode) loaded.activeModeSet.push_back(playMode::timer);
    if (loaded.limitedLivesMode) loaded.activeModeSet.push_back(playMode::limitedLives);
    if (loaded.timeAttackMode) loaded.activeModeSet.push_back(playMode::timeAttack);
    loaded.selectLevel(loaded.isModeActive(playMode::limitedLives) ? loaded.limitedLivesLevel
                                                                   : loaded.normalLevel);
    if (loaded.currentLevel >= loaded.levelCount()) throw Convinience::Error(kNoSuchLevel);
    out = std::move(loaded);
    return true;
}

}  // namespace

bool SinglePlayerData::load(std::istream& in) {
    return loadBytes(readAll(in));
}

bool SinglePlayerData::loadBytes(const std::vector<u8>& bytes) {
    bool loaded = false;
    try {
        loaded = parseProgress(bytes, *this);
    } catch (const std::exception&) {
        loaded = false;
    }
    if (!loaded) resetAll();
    return loaded;
}

bool SinglePlayerData::save(std::ostream& out) const {
    Convinience::Buffer buffer(64);
    SinglePlayerDataHeader(serializedSize()).serialize(buffer);
    serialize(buffer);
    out.write(reinterpret_cast<const char*>(buffer.bytes().data()),
              static_cast<std::streamsize>(buffer.size()));
    out.flush();
    return out.good();
}

bool SinglePlayerData::loadFromSaveFile(const std::string& name) {
    if (!Convinience::saveFileExists(name)) {
        resetAll();
        return false;
    }
    std::vector<u8> bytes;
    if (std::unique_ptr<std::istream> in = Convinience::openSaveFileForRead(name); in && !in->fail()) {
        bytes = readAll(*in);
    }
    if (loadBytes(bytes)) return true;
    std::unique_ptr<Convinience::SaveFileStream> backup = Convinience::openSaveFileForWrite(name + ".bad");
    backup->write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    backup->commit();
    return false;
}

bool SinglePlayerData::writeToSaveFile(const std::string& name) const {
    std::unique_ptr<Convinience::SaveFileStream> out = Convinience::openSaveFileForWrite(name);
    return save(*out) && out->commit();
}

SinglePlayerData& singlePlayerProgress() {
    static SinglePlayerData progress;
    return progress;
}

}  // namespace Zarn
