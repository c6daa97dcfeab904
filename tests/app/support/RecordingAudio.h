#pragma once

#include <string>
#include <vector>

#include "engine/AudioEngine.h"

namespace zarn_test {

// An audio backend that plays nothing and remembers every sound started, with
// its loop flag and its volume (the latest one set).
class RecordingAudioBackend : public cocos2d::experimental::AudioBackend {
public:
    struct Sound {
        std::string file;  // as resolved (a full path, or the name when missing)
        bool loop = false;
        float volume = 1.0f;
        bool stopped = false;
    };

    int play(const std::string& fullPath, bool loop, float volume) override;
    void stop(int audioID) override;
    void stopAll() override;
    void pause(int) override {}
    void resume(int) override {}
    void setVolume(int audioID, float volume) override;
    void setLoop(int, bool) override {}
    void update(float, const std::function<void(int)>&) override {}

    std::vector<Sound> sounds;
    // The files started, in order, by the last part of their path
    // ("sound/ui/button/press.mp3" for ".../assets/sound/ui/button/press.mp3").
    std::vector<std::string> played(const std::string& under = "sound/") const;
};

// Installs a recording backend in the engine's audio engine; the engine owns
// it, the pointer stays valid until the next install or AudioEngine::end.
RecordingAudioBackend* installRecordingAudio();

}  // namespace zarn_test
