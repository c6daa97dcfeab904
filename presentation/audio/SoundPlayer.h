#pragma once

#include <memory>
#include <string>
#include <unordered_map>

// The one place through which the program starts and stops sounds. Two
// channels, effects and music, each with a master volume that is applied on
// top of every sound of the channel, also to sounds already playing.
//
// A channel remembers, per sound id, the volume its caller asked for (the base
// volume, without gain and master), from the play call until the sound
// finishes by itself or is stopped. Ids the engine refuses (-1) are not
// remembered.
//
// Main thread only: callers run in the engine's frame, and the audio engine
// reports finished sounds on the main thread. Volumes, gains and masters are
// 0.0 to 1.0; files are paths below the resource folders ("sound/...").
class SoundPlayer {
public:
    // The process-wide instance, made on first use.
    static SoundPlayer* getInstance();
    static std::unique_ptr<SoundPlayer> create();
    // Replaces (and destroys) the held instance; null empties the holder, so
    // that the next getInstance starts afresh (tests).
    static void setInstance(std::unique_ptr<SoundPlayer> instance);

    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Each starts the file at volume * gain * the channel's master and
    // returns the engine's sound id (-1 when the engine cannot play it).
    int playEffect(const std::string& file, float volume, float gain);
    int playEffectLooped(const std::string& file, float volume, float gain);
    int playMusic(const std::string& file, float volume, float gain);
    int playMusicLooped(const std::string& file, float volume, float gain);

    // Forget the id in its channel, then stop it in the engine (also when the
    // channel did not hold it).
    void stopEffect(int id);
    void stopMusic(int id);
    // Stop every sound of the channel and empty it.
    void stopAllEffects();
    void stopAllMusic();

    // Sets every playing sound of the channel to base volume * master, then
    // keeps the master for later sounds. The gain a sound started with is not
    // applied again (the positional engine restores it on its next update).
    void setEffectsMasterVolume(float volume);
    void setMusicMasterVolume(float volume);
    float getEffectsMasterVolume() const;
    float getMusicMasterVolume() const;

    // How many entries the effects channel holds for the id, and the base
    // volume of its first one (0.0 when none).
    std::size_t effectEntryCount(int id) const;
    float effectBaseVolume(int id) const;
    std::size_t musicEntryCount(int id) const;

private:
    struct Channel {
        std::unordered_multimap<int, float> sounds;
        float master = 1.0f;
    };

    // shared_ptr so that an engine finish callback that outlives this player
    // finds its channel gone instead of dangling.
    int play(const std::shared_ptr<Channel>& channel, const std::string& file, bool loop, float volume,
             float gain);
    static void stop(Channel& channel, int id);
    static void stopAll(Channel& channel);
    static void setMaster(Channel& channel, float volume);

    std::shared_ptr<Channel> effects_;
    std::shared_ptr<Channel> music_;
};
