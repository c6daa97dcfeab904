#pragma once

// An audio backend for tests that writes down every call: which files start
// (as given to the engine, relative to the sound folder when one is set),
// looped or not, at which engine volume, and every later volume change and
// stop. One-shot sounds finish after a nominal duration, as they would with
// real sound. With the log's recordMix set, it also plays what it can (16-bit
// WAV files at kMixRate) through the engine's mixer, as the window's backend
// does, and keeps the stereo mix of each update's frames. Header-only.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/AudioEngine.h"
#include "engine/AudioMixer.h"
#include "support/WavSamples.h"

namespace zarn_test {

class RecordingAudioBackend : public cocos2d::experimental::AudioBackend {
public:
    struct Play {
        int id = -1;
        std::string file;
        bool loop = false;
        float volume = 0.0f;
    };
    struct VolumeChange {
        int id = -1;
        float volume = 0.0f;
    };
    // What the test reads; the engine owns the backend, the log outlives it.
    struct Log {
        std::vector<Play> plays;
        std::vector<VolumeChange> volumeChanges;
        std::vector<int> stops;
        // Sounds playing now, by id: their current engine volume.
        std::map<int, float> playing;
        // Set before the sounds start: the mix is recorded.
        bool recordMix = false;
        // The recorded mix: interleaved stereo frames at kMixRate.
        std::vector<std::int16_t> mix;

        // The largest absolute sample of the mix (32768 for the lowest).
        int mixPeak() const {
            int peak = 0;
            for (std::int16_t v : mix) peak = std::max(peak, std::abs(static_cast<int>(v)));
            return peak;
        }
        // The samples of the mix at full scale (-32768 or 32767): clipped ones.
        std::size_t clippedSamples() const {
            return static_cast<std::size_t>(std::count_if(
                mix.begin(), mix.end(), [](std::int16_t v) { return v == INT16_MIN || v == INT16_MAX; }));
        }

        // The plays of one file, in order.
        std::vector<Play> playsOf(const std::string& file) const {
            std::vector<Play> out;
            std::copy_if(plays.begin(), plays.end(), std::back_inserter(out),
                         [&](const Play& p) { return p.file == file; });
            return out;
        }
        std::size_t count(const std::string& file) const { return playsOf(file).size(); }
        // The files started, in order.
        std::vector<std::string> files() const {
            std::vector<std::string> out;
            for (const Play& p : plays) out.push_back(p.file);
            return out;
        }
        void clear() {
            plays.clear();
            volumeChanges.clear();
            stops.clear();
            mix.clear();
        }
    };

    static constexpr int kMixRate = 44100;
    static constexpr int kMixChannels = 2;

    // root: the prefix cut from full paths ("" keeps them whole).
    RecordingAudioBackend(Log& log, std::string root, float nominalDuration = 1.0f)
        : log_(log), root_(std::move(root)), nominalDuration_(nominalDuration) {}

    int play(const std::string& fullPath, bool loop, float volume) override {
        const int id = nextId_++;
        std::string file = fullPath;
        if (!root_.empty() && file.rfind(root_, 0) == 0) file = file.substr(root_.size());
        log_.plays.push_back({id, file, loop, volume});
        log_.playing[id] = volume;
        remaining_[id] = loop ? -1.0f : nominalDuration_;
        if (log_.recordMix) {
            if (const std::vector<std::int16_t>* samples = decoded(fullPath)) {
                mixer_.play(id, samples->data(), samples->size() / kMixChannels, loop, volume);
            }
        }
        return id;
    }
    void stop(int id) override {
        log_.stops.push_back(id);
        log_.playing.erase(id);
        remaining_.erase(id);
        mixer_.stop(id);
    }
    void stopAll() override {
        for (auto& [id, v] : log_.playing) log_.stops.push_back(id);
        log_.playing.clear();
        remaining_.clear();
        mixer_.stopAll();
    }
    void pause(int id) override { mixer_.setPaused(id, true); }
    void resume(int id) override { mixer_.setPaused(id, false); }
    void setVolume(int id, float volume) override {
        log_.volumeChanges.push_back({id, volume});
        if (log_.playing.count(id) != 0) log_.playing[id] = volume;
        mixer_.setVolume(id, volume);
    }
    void setLoop(int id, bool loop) override {
        if (remaining_.count(id) != 0) remaining_[id] = loop ? -1.0f : nominalDuration_;
        mixer_.setLoop(id, loop);
    }
    void update(float dt, const std::function<void(int)>& finished) override {
        if (log_.recordMix) {
            // Whole frames of the time passed; the fraction is carried on.
            owedFrames_ += static_cast<double>(dt) * kMixRate;
            const auto frames = static_cast<std::size_t>(std::floor(owedFrames_));
            owedFrames_ -= static_cast<double>(frames);
            const std::size_t at = log_.mix.size();
            log_.mix.resize(at + frames * kMixChannels);
            mixer_.mix(log_.mix.data() + at, frames);
            mixer_.takeEnded();
        }
        std::vector<int> done;
        for (auto& [id, left] : remaining_) {
            if (left < 0.0f) continue;
            left -= dt;
            if (left <= 0.0f) done.push_back(id);
        }
        for (int id : done) {
            remaining_.erase(id);
            log_.playing.erase(id);
            finished(id);
        }
    }

private:
    // The file's samples laid out for the mix; null when it is not a 16-bit
    // WAV file at kMixRate (it then plays silent).
    const std::vector<std::int16_t>* decoded(const std::string& fullPath) {
        auto it = decoded_.find(fullPath);
        if (it == decoded_.end()) {
            std::unique_ptr<std::vector<std::int16_t>> samples;
            const std::optional<WavSamples> wav = readWav(fullPath);
            if (wav && wav->rate == kMixRate) {
                if (auto laid = samplesFor(*wav, kMixChannels))
                    samples = std::make_unique<std::vector<std::int16_t>>(std::move(*laid));
            }
            it = decoded_.emplace(fullPath, std::move(samples)).first;
        }
        return it->second.get();
    }

    Log& log_;
    std::string root_;
    float nominalDuration_;
    int nextId_ = 0;
    std::map<int, float> remaining_;
    cocos2d::experimental::AudioMixer mixer_{kMixRate, kMixChannels};
    // By full path; the mixer plays from these samples.
    std::map<std::string, std::unique_ptr<std::vector<std::int16_t>>> decoded_;
    double owedFrames_ = 0.0;
};

}  // namespace zarn_test
