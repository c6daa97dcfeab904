#include "engine/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {
namespace experimental {

namespace {
constexpr float kFullScale = 32768.0f;
// Within this distance of 1 (0.01 dB) the limiter's gain counts as 1 again,
// so that a quiet mix after a loud one is once more the plain sum; nearer to
// 1 the release steps would be lost in float rounding.
constexpr float kUnity = 1e-3f;
}  // namespace

AudioMixer::AudioMixer(int rate, int channels)
    : rate_(std::max(rate, 1)),
      channels_(std::max(channels, 1)),
      releaseStep_(1.0f - std::exp(-1.0f / (kRelease * static_cast<float>(std::max(rate, 1))))) {}

void AudioMixer::play(int id, const std::int16_t* samples, std::size_t frames, bool loop, float volume) {
    Voice& voice = voices_[id];
    voice = Voice{};
    voice.samples = samples;
    voice.frames = samples != nullptr ? frames : 0;
    voice.loop = loop;
    voice.volume = std::clamp(volume, 0.0f, 1.0f);
}

void AudioMixer::stop(int id) {
    voices_.erase(id);
    // A stop is not an end.
    std::erase(ended_, id);
}

void AudioMixer::stopAll() {
    voices_.clear();
    ended_.clear();
}

void AudioMixer::setVolume(int id, float volume) {
    auto it = voices_.find(id);
    if (it != voices_.end()) it->second.volume = std::clamp(volume, 0.0f, 1.0f);
}

void AudioMixer::setLoop(int id, bool loop) {
    auto it = voices_.find(id);
    if (it != voices_.end()) it->second.loop = loop;
}

void AudioMixer::setPaused(int id, bool paused) {
    auto it = voices_.find(id);
    if (it != voices_.end()) it->second.paused = paused;
}

void AudioMixer::mix(std::int16_t* out, std::size_t frames) {
    const std::size_t channels = static_cast<std::size_t>(channels_);
    sum_.assign(frames * channels, 0.0f);
    std::vector<int> endedNow;
    // Ids in ascending order, so that the sum is the same on every run.
    std::vector<int> ids;
    ids.reserve(voices_.size());
    for (const auto& [id, voice] : voices_) ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    for (int id : ids) {
        Voice& voice = voices_[id];
        if (voice.paused) continue;
        const float scale = voice.volume / kFullScale;
        std::size_t written = 0;
        while (written < frames) {
            if (voice.position >= voice.frames) {
                if (!voice.loop || voice.frames == 0) {
                    endedNow.push_back(id);
                    break;
                }
                voice.position = 0;
            }
            const std::size_t n = std::min(frames - written, voice.frames - voice.position);
            const std::int16_t* from = voice.samples + voice.position * channels;
            float* to = sum_.data() + written * channels;
            for (std::size_t k = 0; k < n * channels; ++k) to[k] += static_cast<float>(from[k]) * scale;
            written += n;
            voice.position += n;
        }
        // A one-shot sound that filled the block to its last frame ends now.
        if (written == frames && !voice.loop && voice.position >= voice.frames) endedNow.push_back(id);
    }
    for (int id : endedNow) {
        if (voices_.erase(id) != 0) ended_.push_back(id);
    }

    for (std::size_t f = 0; f < frames; ++f) {
        const float* frame = sum_.data() + f * channels;
        float peak = 0.0f;
        for (std::size_t c = 0; c < channels; ++c) peak = std::max(peak, std::fabs(frame[c]));
        gain_ += (1.0f - gain_) * releaseStep_;
        if (1.0f - gain_ < kUnity) gain_ = 1.0f;
        if (peak * gain_ > kCeiling) gain_ = kCeiling / peak;
        for (std::size_t c = 0; c < channels; ++c) {
            const float v = std::round(frame[c] * gain_ * kFullScale);
            out[f * channels + c] = static_cast<std::int16_t>(std::clamp(v, -kFullScale, kFullScale - 1.0f));
        }
    }
}

std::vector<int> AudioMixer::takeEnded() {
    std::vector<int> out;
    out.swap(ended_);
    return out;
}

}  // namespace experimental
}  // namespace cocos2d
