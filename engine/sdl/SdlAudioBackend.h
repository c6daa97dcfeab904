#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "engine/AudioEngine.h"
#include "engine/AudioMixer.h"

namespace cocos2d {
namespace experimental {

// Plays sounds through SDL2_mixer's device: the mixer decodes the files
// (cached by path until the backend goes) and pulls the stream, which the
// engine's AudioMixer fills, so that many sounds at once never clip. At most
// kMaxSounds play at a time. Sounds that end by themselves are reported by
// `update` on the main thread, never from the device's thread.
//
// Main thread only; the device's thread touches nothing but the mixer, under
// mixLock_.
class SdlAudioBackend : public AudioBackend {
public:
    static constexpr int kMaxSounds = 32;

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

    int playingCount() const;

private:
    SdlAudioBackend(int rate, int channels);
    struct Chunk;
    Chunk* load(const std::string& fullPath);
    // The device's pull (SDL_mixer's music hook): the next frames of the mix.
    static void fill(void* backend, std::uint8_t* stream, int bytes);

    std::unordered_map<std::string, std::unique_ptr<Chunk>> chunks_;
    mutable std::mutex mixLock_;
    // Guarded by mixLock_. Plays from the chunks' samples.
    AudioMixer mixer_;
    int nextId_ = 0;
};

}  // namespace experimental
}  // namespace cocos2d
