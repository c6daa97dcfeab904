#include "RecordingAudio.h"

#include <memory>

namespace zarn_test {

int RecordingAudioBackend::play(const std::string& fullPath, bool loop, float volume) {
    sounds.push_back({fullPath, loop, volume, false});
    return static_cast<int>(sounds.size()) - 1;
}

void RecordingAudioBackend::stop(int audioID) {
    if (audioID >= 0 && audioID < static_cast<int>(sounds.size())) sounds[audioID].stopped = true;
}

void RecordingAudioBackend::stopAll() {
    for (Sound& s : sounds) s.stopped = true;
}

void RecordingAudioBackend::setVolume(int audioID, float volume) {
    if (audioID >= 0 && audioID < static_cast<int>(sounds.size())) sounds[audioID].volume = volume;
}

std::vector<std::string> RecordingAudioBackend::played(const std::string& under) const {
    std::vector<std::string> names;
    for (const Sound& s : sounds) {
        const auto at = s.file.rfind(under);
        names.push_back(at == std::string::npos ? s.file : s.file.substr(at));
    }
    return names;
}

RecordingAudioBackend* installRecordingAudio() {
    auto backend = std::make_unique<RecordingAudioBackend>();
    RecordingAudioBackend* raw = backend.get();
    cocos2d::experimental::AudioEngine::setBackend(std::move(backend));
    return raw;
}

}  // namespace zarn_test
