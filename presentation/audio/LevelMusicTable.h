#pragma once

#include <map>
#include <string>
#include <vector>

// One row of the story mode's music table: levels first..last share the
// track (an empty file: no music there), played at the volume.
struct MusicTrack {
    int firstLevel = 0;
    int lastLevel = 0;
    std::string file;
    float volume = 1.0f;

    bool operator==(const MusicTrack&) const = default;
};

// Which track plays in which story level, and whether entering a level needs
// another track than the one playing, so that walking on within a run of
// levels leaves the music running. Main thread only.
class LevelMusicTable {
public:
    // The game's rows, in order.
    static const std::vector<MusicTrack>& tracks();
    // The process-wide table the level host and the level select share.
    static LevelMusicTable& instance();

    explicit LevelMusicTable(const std::vector<MusicTrack>& rows = tracks());

    // The row whose range holds the level, or the empty row (0, 0, "", 1.0).
    MusicTrack findTrack(int level) const;
    // True when no music is playing, else when the level's file differs from
    // the current level's.
    bool needsTrackChange(int level) const;
    // Starting a level's music: when it needs a change, the level becomes the
    // current one, all music stops and the level's track (if any) starts
    // looping through the sound player at its volume. Returns the new sound
    // id, or -1 when nothing was started.
    int playLevelMusic(int level);

    // Cleared by the level select, so that the next level starts its track.
    bool musicPlaying = false;
    int currentLevel = 0;

private:
    // Each row under its first level and, when different, its last level.
    std::map<int, MusicTrack> byEnd_;
};

// The track and volume of an online map by its file name ("multi_lv1.map");
// false for a map without music.
bool onlineMapMusic(const std::string& mapName, std::string& track, float& volume);
