#include "engine/headless/SilentAudioBackend.h"

#include <vector>

namespace cocos2d {
namespace experimental {

int SilentAudioBackend::play(const std::string& fullPath, bool loop, float volume) {
    const int id = nextId_++;
    sounds_[id] = Sound{nominalDuration_, loop, false};
    return id;
}

void SilentAudioBackend::pause(int audioID) {
    auto it = sounds_.find(audioID);
    if (it != sounds_.end()) it->second.paused = true;
}

void SilentAudioBackend::resume(int audioID) {
    auto it = sounds_.find(audioID);
    if (it != sounds_.end()) it->second.paused = false;
}

void SilentAudioBackend::setLoop(int audioID, bool loop) {
    auto it = sounds_.find(audioID);
    if (it != sounds_.end()) it->second.loop = loop;
}

void SilentAudioBackend::update(float dt, const std::function<void(int)>& finished) {
    std::vector<int> ended;
    for (auto& [id, sound] : sounds_) {
        if (sound.loop || sound.paused) continue;
        sound.remaining -= dt;
        if (sound.remaining <= 0.0f) ended.push_back(id);
    }
    for (int id : ended) {
        sounds_.erase(id);
        finished(id);
    }
}

}  // namespace experimental
}  // namespace cocos2d
