#pragma once

#include <unordered_map>

#include "engine/AudioEngine.h"

namespace cocos2d {
namespace experimental {

// Plays nothing. A sound "lasts" a nominal duration (looping ones until
// stopped), so that finish callbacks come as they would with real sound.
class SilentAudioBackend : public AudioBackend {
public:
    explicit SilentAudioBackend(float nominalDuration = 1.0f) : nominalDuration_(nominalDuration) {}
    int play(const std::string& fullPath, bool loop, float volume) override;
    void stop(int audioID) override { sounds_.erase(audioID); }
    void stopAll() override { sounds_.clear(); }
    void pause(int audioID) override;
    void resume(int audioID) override;
    void setVolume(int audioID, float volume) override {}
    void setLoop(int audioID, bool loop) override;
    void update(float dt, const std::function<void(int)>& finished) override;

private:
    struct Sound {
        float remaining = 0.0f;
        bool loop = false;
        bool paused = false;
    };
    float nominalDuration_;
    int nextId_ = 0;
    std::unordered_map<int, Sound> sounds_;
};

}  // namespace experimental
}  // namespace cocos2d
