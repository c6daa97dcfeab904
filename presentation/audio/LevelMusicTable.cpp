#include "presentation/audio/LevelMusicTable.h"

#include "presentation/audio/SoundPlayer.h"

const std::vector<MusicTrack>& LevelMusicTable::tracks() {
    static const std::vector<MusicTrack> rows{
        {0, 7, "sound/music/phase0.mp3", 0.4f},
        {8, 15, "sound/music/phase1.mp3", 0.4f},
        {16, 16, "sound/music/intermission.mp3", 1.0f},
        {17, 25, "sound/music/phase1.mp3", 0.4f},
        {26, 26, "", 0.75f},
        {27, 31, "sound/music/phase2.mp3", 0.75f},
    };
    return rows;
}

LevelMusicTable& LevelMusicTable::instance() {
    static LevelMusicTable table;
    return table;
}

LevelMusicTable::LevelMusicTable(const std::vector<MusicTrack>& rows) {
    for (const MusicTrack& row : rows) {
        byEnd_.emplace(row.firstLevel, row);
        if (row.lastLevel != row.firstLevel) byEnd_.emplace(row.lastLevel, row);
    }
}

MusicTrack LevelMusicTable::findTrack(int level) const {
    auto it = byEnd_.lower_bound(level);
    if (it != byEnd_.end() && it->second.firstLevel <= level && level <= it->second.lastLevel)
        return it->second;
    return MusicTrack{0, 0, "", 1.0f};
}

bool LevelMusicTable::needsTrackChange(int level) const {
    if (!musicPlaying) return true;
    return findTrack(level).file != findTrack(currentLevel).file;
}

int LevelMusicTable::playLevelMusic(int level) {
    if (!needsTrackChange(level)) return -1;
    currentLevel = level;
    musicPlaying = true;
    const MusicTrack track = findTrack(level);
    SoundPlayer& player = *SoundPlayer::getInstance();
    player.stopAllMusic();
    if (track.file.empty()) return -1;
    return player.playMusicLooped(track.file, track.volume, 1.0f);
}

namespace {

struct MapMusic {
    const char* mapName;
    const char* track;
    float volume;
};
constexpr MapMusic kMapMusic[] = {
    {"multi_lv0.map", "sound/music/phase2.mp3", 0.75f},
    {"multi_lv1.map", "sound/music/phase2.mp3", 0.4f},
    {"lv2.map", "sound/music/lv2.mp3", 0.4f},
};

}  // namespace

bool onlineMapMusic(const std::string& mapName, std::string& track, float& volume) {
    for (const MapMusic& m : kMapMusic) {
        if (mapName != m.mapName) continue;
        track = m.track;
        volume = m.volume;
        return true;
    }
    return false;
}
