#include "presentation/audio/PositionAudioEngine.h"

#include "engine/AudioEngine.h"
#include "engine/Director.h"
#include "engine/Node.h"
#include "foundation/Error.h"
#include "presentation/audio/SoundPlayer.h"

using cocos2d::experimental::AudioEngine;

namespace {

std::unique_ptr<PositionAudioEngine>& holder() {
    static std::unique_ptr<PositionAudioEngine> engine;
    return engine;
}

// The gain of a distance for an audible distance; the full-volume radius is
// half of it.
float gainFor(float distance, float audible) {
    const float full = audible * 0.5f;
    if (distance < full) return 1.0f;
    if (distance < audible) return (audible - distance) / full;
    return 0.0f;
}

}  // namespace

float positionalGain(float distance) {
    return gainFor(distance, PositionAudioEngine::kAudibleDistance);
}

PositionAudioEngine& PositionAudioEngine::instance() {
    if (!holder()) throw Convinience::Error("positionAudioEngine not instantiated!");
    return *holder();
}

void PositionAudioEngine::createInstance() {
    if (holder()) return;
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    holder() = std::make_unique<PositionAudioEngineImpl>(
        cocos2d::Vec2(visible.width * 0.5f, visible.height * 0.5f), kAudibleDistance);
}

void PositionAudioEngine::setInstance(std::unique_ptr<PositionAudioEngine> engine) {
    holder() = std::move(engine);
}

void PositionAudioEngine::destroyInstance() {
    holder().reset();
}

PositionAudioEngineImpl::PositionAudioEngineImpl(const cocos2d::Vec2& listener, float audibleDistance)
    : audibleDistance_(audibleDistance), listener_(listener), fullVolumeRadius_(audibleDistance * 0.5f) {}

float PositionAudioEngineImpl::distanceOf(const cocos2d::Node* node) const {
    const cocos2d::Node* parent = node->getParent();
    const cocos2d::Vec2 world =
        parent != nullptr ? parent->convertToWorldSpace(node->getPosition()) : node->getPosition();
    return world.distance(listener_);
}

void PositionAudioEngineImpl::track(int id, cocos2d::Node* node) {
    tracked_[id] = Tracked{node->getParent(), cocos2d::RefPtr<cocos2d::Node>(node)};
}

int PositionAudioEngineImpl::playEffect(cocos2d::Node* node, const std::string& file, float volume) {
    if (node == nullptr || node->getParent() == nullptr) return AudioEngine::INVALID_AUDIO_ID;
    const float d = distanceOf(node);
    auto started = startedThisFrame_.find(file);
    if (started != startedThisFrame_.end()) return started->second;
    if (d >= audibleDistance_) return AudioEngine::INVALID_AUDIO_ID;
    const int id = SoundPlayer::getInstance()->playEffect(file, volume, gainFor(d, audibleDistance_));
    if (id == AudioEngine::INVALID_AUDIO_ID) return id;
    track(id, node);
    startedThisFrame_[file] = id;
    return id;
}

int PositionAudioEngineImpl::playEffectLooped(cocos2d::Node* node, const std::string& file, float volume) {
    if (node == nullptr) return AudioEngine::INVALID_AUDIO_ID;
    const float gain = gainFor(distanceOf(node), audibleDistance_);
    const int id = SoundPlayer::getInstance()->playEffectLooped(file, volume, gain);
    if (id != AudioEngine::INVALID_AUDIO_ID) track(id, node);
    return id;
}

int PositionAudioEngineImpl::playMusic(cocos2d::Node* node, const std::string& file, float volume) {
    if (node == nullptr) return AudioEngine::INVALID_AUDIO_ID;
    const float d = distanceOf(node);
    if (d >= audibleDistance_) return AudioEngine::INVALID_AUDIO_ID;
    return SoundPlayer::getInstance()->playMusic(file, volume, gainFor(d, audibleDistance_));
}

int PositionAudioEngineImpl::playMusicLooped(cocos2d::Node* node, const std::string& file, float volume) {
    if (node == nullptr) return AudioEngine::INVALID_AUDIO_ID;
    const float d = distanceOf(node);
    if (d >= audibleDistance_) return AudioEngine::INVALID_AUDIO_ID;
    return SoundPlayer::getInstance()->playMusicLooped(file, volume, gainFor(d, audibleDistance_));
}

void PositionAudioEngineImpl::reset() {
    startedThisFrame_.clear();
    tracked_.clear();
}

void PositionAudioEngineImpl::update(float) {
    if (worldNode_ != nullptr) {
        SoundPlayer& player = *SoundPlayer::getInstance();
        for (auto it = tracked_.begin(); it != tracked_.end();) {
            const int id = it->first;
            const Tracked& entry = it->second;
            const bool keep = player.effectEntryCount(id) == 1 && entry.parent == worldNode_ &&
                              entry.node->getParent() == worldNode_;
            if (!keep) {
                it = tracked_.erase(it);
                continue;
            }
            const float faded =
                player.effectBaseVolume(id) * gainFor(distanceOf(entry.node.get()), audibleDistance_);
            const float target = faded * player.getEffectsMasterVolume();
            if (target != AudioEngine::getVolume(id)) AudioEngine::setVolume(id, target);
            ++it;
        }
    }
    startedThisFrame_.clear();
}

void PositionAudioEngineImpl::stopEffect(int id) {
    SoundPlayer::getInstance()->stopEffect(id);
    tracked_.erase(id);
    std::erase_if(startedThisFrame_, [id](const auto& entry) { return entry.second == id; });
}
