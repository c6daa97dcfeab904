#include "engine/AudioEngine.h"

#include <unordered_map>

#include "engine/EngineLog.h"
#include "engine/FileUtils.h"
#include "engine/headless/SilentAudioBackend.h"

namespace cocos2d {
namespace experimental {

namespace {

struct SoundInfo {
    std::string filePath;
    float volume = 1.0f;
    bool loop = false;
    AudioEngine::AudioState state = AudioEngine::AudioState::PLAYING;
    std::function<void(int, const std::string&)> finishCallback;
};

struct EngineAudioState {
    std::unique_ptr<AudioBackend> backend;
    std::unordered_map<int, SoundInfo> sounds;
};

EngineAudioState& state() {
    static EngineAudioState* s = new EngineAudioState();
    return *s;
}

AudioBackend& backend() {
    EngineAudioState& s = state();
    if (!s.backend) s.backend = std::make_unique<SilentAudioBackend>();
    return *s.backend;
}

SoundInfo* find(int id) {
    auto it = state().sounds.find(id);
    return it == state().sounds.end() ? nullptr : &it->second;
}

}  // namespace

bool AudioEngine::lazyInit() {
    backend();
    return true;
}

void AudioEngine::end() {
    if (state().backend) state().backend->stopAll();
    state().sounds.clear();
    state().backend.reset();
}

void AudioEngine::setBackend(std::unique_ptr<AudioBackend> newBackend) {
    if (state().backend) state().backend->stopAll();
    state().sounds.clear();
    state().backend = std::move(newBackend);
}

AudioBackend* AudioEngine::getBackend() {
    return &backend();
}

int AudioEngine::play2d(const std::string& filePath, bool loop, float volume, const AudioProfile* profile) {
    const std::string full = FileUtils::getInstance()->fullPathForFilename(filePath);
    if (full.empty()) {
        logMissingAssetOnce(loop ? "music" : "sound", filePath);
        return INVALID_AUDIO_ID;
    }
    if (volume < 0.0f) volume = 0.0f;
    if (volume > 1.0f) volume = 1.0f;
    const int id = backend().play(full, loop, volume);
    if (id == INVALID_AUDIO_ID) return id;
    SoundInfo info;
    info.filePath = filePath;
    info.volume = volume;
    info.loop = loop;
    state().sounds[id] = std::move(info);
    return id;
}

void AudioEngine::setLoop(int audioID, bool loop) {
    if (SoundInfo* s = find(audioID)) {
        s->loop = loop;
        backend().setLoop(audioID, loop);
    }
}

bool AudioEngine::isLoop(int audioID) {
    const SoundInfo* s = find(audioID);
    return s != nullptr && s->loop;
}

void AudioEngine::setVolume(int audioID, float volume) {
    if (SoundInfo* s = find(audioID)) {
        if (volume < 0.0f) volume = 0.0f;
        if (volume > 1.0f) volume = 1.0f;
        s->volume = volume;
        backend().setVolume(audioID, volume);
    }
}

float AudioEngine::getVolume(int audioID) {
    const SoundInfo* s = find(audioID);
    return s != nullptr ? s->volume : 1.0f;
}

void AudioEngine::pause(int audioID) {
    if (SoundInfo* s = find(audioID)) {
        s->state = AudioState::PAUSED;
        backend().pause(audioID);
    }
}

void AudioEngine::pauseAll() {
    for (auto& [id, s] : state().sounds) pause(id);
}

void AudioEngine::resume(int audioID) {
    if (SoundInfo* s = find(audioID)) {
        s->state = AudioState::PLAYING;
        backend().resume(audioID);
    }
}

void AudioEngine::resumeAll() {
    for (auto& [id, s] : state().sounds) resume(id);
}

void AudioEngine::stop(int audioID) {
    if (find(audioID) == nullptr) return;
    backend().stop(audioID);
    state().sounds.erase(audioID);
}

void AudioEngine::stopAll() {
    backend().stopAll();
    state().sounds.clear();
}

AudioEngine::AudioState AudioEngine::getState(int audioID) {
    const SoundInfo* s = find(audioID);
    return s != nullptr ? s->state : AudioState::ERROR;
}

const std::string* AudioEngine::getFilePath(int audioID) {
    const SoundInfo* s = find(audioID);
    return s != nullptr ? &s->filePath : nullptr;
}

void AudioEngine::setFinishCallback(int audioID,
                                    const std::function<void(int, const std::string&)>& callback) {
    if (SoundInfo* s = find(audioID)) s->finishCallback = callback;
}

AudioProfile* AudioEngine::getDefaultProfile() {
    static AudioProfile profile{"audioengine_defaultProfile", 0, 0.0};
    return &profile;
}

int AudioEngine::getPlayingAudioCount() {
    return static_cast<int>(state().sounds.size());
}

void AudioEngine::frameTick(float dt) {
    if (!state().backend) return;
    state().backend->update(dt, [](int id) {
        auto it = state().sounds.find(id);
        if (it == state().sounds.end()) return;
        SoundInfo info = std::move(it->second);
        state().sounds.erase(it);
        if (info.finishCallback) info.finishCallback(id, info.filePath);
    });
}

}  // namespace experimental
}  // namespace cocos2d
