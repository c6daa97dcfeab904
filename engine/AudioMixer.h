#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace cocos2d {
namespace experimental {

// Sums the sounds that play into one stream of interleaved signed 16-bit
// frames, the way the audio backends hand it to the device, and keeps the sum
// below full scale: a peak limiter lowers the whole mix at once when the sum
// of a frame would pass kCeiling and lets it come back over kRelease seconds.
// A mix that stays at or under kCeiling is the plain sum of its sounds, each
// at its volume, so one sound alone plays exactly as it was made.
//
// Not locked: a backend whose device pulls frames on another thread guards
// every call with one lock of its own.
class AudioMixer {
public:
    // Highest absolute sample of the mix, as a fraction of full scale (32768).
    static constexpr float kCeiling = 0.95f;
    // Seconds the limiter takes to give back about two thirds of a reduction.
    static constexpr float kRelease = 0.08f;

    // rate: frames per second; channels: samples per frame (at least 1).
    AudioMixer(int rate, int channels);

    int rate() const { return rate_; }
    int channels() const { return channels_; }

    // Starts (or restarts) the sound `id` over `frames` frames of interleaved
    // samples in the mixer's channel layout, at volume 0.0 to 1.0. The samples
    // are not copied: they must outlive the sound.
    void play(int id, const std::int16_t* samples, std::size_t frames, bool loop, float volume);
    // Unknown ids are ignored by the calls below. A stopped sound is not
    // listed as ended.
    void stop(int id);
    void stopAll();
    void setVolume(int id, float volume);
    void setLoop(int id, bool loop);
    void setPaused(int id, bool paused);
    bool isPlaying(int id) const { return voices_.count(id) != 0; }
    std::size_t playingCount() const { return voices_.size(); }

    // Writes the next `frames` frames of the mix to out (frames * channels
    // samples). A one-shot sound that reaches its end stops and is listed for
    // takeEnded.
    void mix(std::int16_t* out, std::size_t frames);
    // The sounds that ended by themselves since the last call, in the order
    // they ended.
    std::vector<int> takeEnded();
    // The limiter's current gain: 1.0 when it does not act.
    float limiterGain() const { return gain_; }

private:
    struct Voice {
        const std::int16_t* samples = nullptr;
        std::size_t frames = 0;
        std::size_t position = 0;
        float volume = 1.0f;
        bool loop = false;
        bool paused = false;
    };

    int rate_;
    int channels_;
    // Per frame, the share of the remaining reduction the limiter gives back.
    float releaseStep_;
    float gain_ = 1.0f;
    std::unordered_map<int, Voice> voices_;
    std::vector<int> ended_;
    std::vector<float> sum_;
};

}  // namespace experimental
}  // namespace cocos2d
