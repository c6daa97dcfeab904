#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/AudioEngine.h"

namespace cocos2d {
namespace experimental {

// Plays sounds with SDL2_mixer, one mixer channel per playing sound. Decoded
// files stay cached by path until the backend goes. Sounds that end by
// themselves are found by polling in `update` (main thread), never from the
// mixer's thread. Main thread only.
class SdlAudioBackend : public AudioBackend {
public:
    // Opens the default audio device; null when there is none (CI, a virtual
    // display), in which case nothing is logged as an error.
    static std::unique_ptr<SdlAudioBackend> open();
    // Installs an SDL backend in the audio engine when a device opens;
    // otherwise leaves the silent backend in place. True when installed.
    static bool install();
    ~SdlAudioBackend() override;

    int play(const std::string& fullPath, bool loop, float volume) override;
    void stop(int audioID) override;
    void stopAll() override;
    void pause(int audioID) override;
    void resume(int audioID) override;
    void setVolume(int audioID, float volume) override;
    void setLoop(int audioID, bool loop) override;
    void update(float dt, const std::function<void(int)>& finished) override;

    int playingCount() const { return static_cast<int>(channels_.size()); }

private:
    SdlAudioBackend() = default;
    struct Chunk;
    Chunk* load(const std::string& fullPath);
    int channelOf(int audioID) const;

    std::unordered_map<std::string, std::unique_ptr<Chunk>> chunks_;
    std::unordered_map<int, int> channels_;  // audio id -> mixer channel
    std::vector<int> endedUnpolled_;         // ended, not yet reported
    int nextId_ = 0;
};

}  // namespace experimental
}  // namespace cocos2d
