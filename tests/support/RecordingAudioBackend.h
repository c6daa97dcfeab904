#pragma once

// An audio backend for tests that plays nothing and writes down every call:
// which files start (as given to the engine, relative to the sound folder
// when one is set), looped or not, at which engine volume, and every later
// volume change and stop. One-shot sounds finish after a nominal duration, as
// they would with real sound. Header-only.

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/AudioEngine.h"

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
        }
    };

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
        return id;
    }
    void stop(int id) override {
        log_.stops.push_back(id);
        log_.playing.erase(id);
        remaining_.erase(id);
    }
    void stopAll() override {
        for (auto& [id, v] : log_.playing) log_.stops.push_back(id);
        log_.playing.clear();
        remaining_.clear();
    }
    void pause(int) override {}
    void resume(int) override {}
    void setVolume(int id, float volume) override {
        log_.volumeChanges.push_back({id, volume});
        if (log_.playing.count(id) != 0) log_.playing[id] = volume;
    }
    void setLoop(int id, bool loop) override {
        if (remaining_.count(id) != 0) remaining_[id] = loop ? -1.0f : nominalDuration_;
    }
    void update(float dt, const std::function<void(int)>& finished) override {
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
    Log& log_;
    std::string root_;
    float nominalDuration_;
    int nextId_ = 0;
    std::map<int, float> remaining_;
};

}  // namespace zarn_test
