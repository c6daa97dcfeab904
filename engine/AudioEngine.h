#pragma once

#include <functional>
#include <memory>
#include <string>

namespace cocos2d {
namespace experimental {

struct AudioProfile {
    std::string name;
    unsigned int maxInstances = 0;
    double minDelay = 0.0;
};

// What actually plays sounds. The engine starts with a silent backend; the
// program installs a real one at start-up. Called on the main thread only.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // A new sound id (>= 0), or AudioEngine::INVALID_AUDIO_ID when the file
    // cannot be played. `fullPath` is already resolved through FileUtils.
    virtual int play(const std::string& fullPath, bool loop, float volume) = 0;
    virtual void stop(int audioID) = 0;
    virtual void stopAll() = 0;
    virtual void pause(int audioID) = 0;
    virtual void resume(int audioID) = 0;
    virtual void setVolume(int audioID, float volume) = 0;
    virtual void setLoop(int audioID, bool loop) = 0;
    // Once per frame; reports sounds that ended by themselves through
    // `finished(id)`.
    virtual void update(float dt, const std::function<void(int)>& finished) = 0;
};

// The engine's audio interface: static calls that play, stop and adjust
// sounds by id, with callbacks when a sound ends by itself. Main thread only.
class AudioEngine {
public:
    enum class AudioState { ERROR = -1, INITIALIZING, PLAYING, PAUSED };
    static constexpr int INVALID_AUDIO_ID = -1;
    static constexpr float TIME_UNKNOWN = -1.0f;

    static bool lazyInit();
    // Stops everything and drops the backend (a silent one takes its place).
    static void end();
    static void setBackend(std::unique_ptr<AudioBackend> backend);
    static AudioBackend* getBackend();

    // INVALID_AUDIO_ID when the file does not exist or cannot be played.
    static int play2d(const std::string& filePath, bool loop = false, float volume = 1.0f,
                      const AudioProfile* profile = nullptr);
    static void setLoop(int audioID, bool loop);
    static bool isLoop(int audioID);
    static void setVolume(int audioID, float volume);
    // 1.0 for an id that is not playing.
    static float getVolume(int audioID);
    static void pause(int audioID);
    static void pauseAll();
    static void resume(int audioID);
    static void resumeAll();
    static void stop(int audioID);
    static void stopAll();
    static AudioState getState(int audioID);
    static const std::string* getFilePath(int audioID);
    // Called once, on the main thread, when the sound ends by itself (not when
    // stopped).
    static void setFinishCallback(int audioID, const std::function<void(int, const std::string&)>& callback);
    static int getPlayingAudioCount();
    // The profile used when play2d is given none.
    static AudioProfile* getDefaultProfile();
    static void preload(const std::string& filePath) {}
    static void uncache(const std::string& filePath) {}
    static void uncacheAll() {}

    // The director's per-frame call.
    static void frameTick(float dt);
};

}  // namespace experimental
}  // namespace cocos2d
