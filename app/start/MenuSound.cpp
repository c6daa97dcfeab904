#include "app/start/MenuSound.h"

#include <algorithm>
#include <vector>

#include "engine/AudioEngine.h"

namespace menu_sound {
namespace {

using cocos2d::experimental::AudioEngine;

struct Channels {
    float effectsMaster = 1.0f;
    float musicMaster = 1.0f;
    std::vector<int> music;
};

Channels& channels() {
    static Channels c;
    return c;
}

}  // namespace

void playEffect(const std::string& file) {
    AudioEngine::play2d(file, false, channels().effectsMaster);
}

int playMusicLooped(const std::string& file) {
    const int id = AudioEngine::play2d(file, true, channels().musicMaster);
    if (id != AudioEngine::INVALID_AUDIO_ID) channels().music.push_back(id);
    return id;
}

void stopMusic(int id) {
    auto& music = channels().music;
    music.erase(std::remove(music.begin(), music.end(), id), music.end());
    AudioEngine::stop(id);
}

void stopAllMusic() {
    for (int id : channels().music) AudioEngine::stop(id);
    channels().music.clear();
}

void setEffectsMasterVolume(float volume) {
    channels().effectsMaster = volume;
}

void setMusicMasterVolume(float volume) {
    channels().musicMaster = volume;
    for (int id : channels().music) AudioEngine::setVolume(id, volume);
}

}  // namespace menu_sound
