#include "presentation/audio/SoundPlayer.h"

#include "engine/AudioEngine.h"

using cocos2d::experimental::AudioEngine;

namespace {

std::unique_ptr<SoundPlayer>& holder() {
    static std::unique_ptr<SoundPlayer> instance;
    return instance;
}

}  // namespace

SoundPlayer* SoundPlayer::getInstance() {
    if (!holder()) setInstance(create());
    return holder().get();
}

std::unique_ptr<SoundPlayer> SoundPlayer::create() {
    return std::make_unique<SoundPlayer>();
}

void SoundPlayer::setInstance(std::unique_ptr<SoundPlayer> instance) {
    holder() = std::move(instance);
}

SoundPlayer::SoundPlayer() : effects_(std::make_shared<Channel>()), music_(std::make_shared<Channel>()) {}

SoundPlayer::~SoundPlayer() = default;

int SoundPlayer::play(const std::shared_ptr<Channel>& channel, const std::string& file, bool loop,
                      float volume, float gain) {
    const int id =
        AudioEngine::play2d(file, loop, volume * gain * channel->master, AudioEngine::getDefaultProfile());
    if (id == AudioEngine::INVALID_AUDIO_ID) return id;
    channel->sounds.emplace(id, volume);
    std::weak_ptr<Channel> weak = channel;
    AudioEngine::setFinishCallback(id, [weak](int finished, const std::string&) {
        if (std::shared_ptr<Channel> c = weak.lock()) c->sounds.erase(finished);
    });
    return id;
}

int SoundPlayer::playEffect(const std::string& file, float volume, float gain) {
    return play(effects_, file, false, volume, gain);
}

int SoundPlayer::playEffectLooped(const std::string& file, float volume, float gain) {
    return play(effects_, file, true, volume, gain);
}

int SoundPlayer::playMusic(const std::string& file, float volume, float gain) {
    return play(music_, file, false, volume, gain);
}

int SoundPlayer::playMusicLooped(const std::string& file, float volume, float gain) {
    return play(music_, file, true, volume, gain);
}

void SoundPlayer::stop(Channel& channel, int id) {
    channel.sounds.erase(id);
    AudioEngine::stop(id);
}

void SoundPlayer::stopEffect(int id) {
    stop(*effects_, id);
}

void SoundPlayer::stopMusic(int id) {
    stop(*music_, id);
}

void SoundPlayer::stopAll(Channel& channel) {
    for (const auto& [id, volume] : channel.sounds) AudioEngine::stop(id);
    channel.sounds.clear();
}

void SoundPlayer::stopAllEffects() {
    stopAll(*effects_);
}

void SoundPlayer::stopAllMusic() {
    stopAll(*music_);
}

void SoundPlayer::setMaster(Channel& channel, float volume) {
    for (const auto& [id, base] : channel.sounds) AudioEngine::setVolume(id, base * volume);
    channel.master = volume;
}

void SoundPlayer::setEffectsMasterVolume(float volume) {
    setMaster(*effects_, volume);
}

void SoundPlayer::setMusicMasterVolume(float volume) {
    setMaster(*music_, volume);
}

float SoundPlayer::getEffectsMasterVolume() const {
    return effects_->master;
}

float SoundPlayer::getMusicMasterVolume() const {
    return music_->master;
}

std::size_t SoundPlayer::effectEntryCount(int id) const {
    return effects_->sounds.count(id);
}

float SoundPlayer::effectBaseVolume(int id) const {
    auto it = effects_->sounds.find(id);
    return it == effects_->sounds.end() ? 0.0f : it->second;
}

std::size_t SoundPlayer::musicEntryCount(int id) const {
    return music_->sounds.count(id);
}
