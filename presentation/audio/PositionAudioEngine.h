#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "engine/RefPtr.h"
#include "engine/Types.h"

namespace cocos2d {
class Node;
}

// Gain of a sound heard at a distance (world units) from the listener: 1.0
// up to 375, then falling linearly to 0.0 at 750 and beyond.
float positionalGain(float distance);

// Sounds of things in the room, played "at" the engine node that shows the
// thing: the farther the node is from the centre of the view, the quieter,
// and beyond kAudibleDistance not heard at all. Every sound goes through the
// sound player's effects or music channel.
//
// One instance for the whole run, reached through `instance()`. Main thread
// only; no locks.
class PositionAudioEngine {
public:
    static constexpr float kAudibleDistance = 750.0f;

    // The published engine; throws Convinience::Error("positionAudioEngine
    // not instantiated!") when none was made.
    static PositionAudioEngine& instance();
    // Makes the engine when none is held (listener at half the director's
    // visible size, audible distance 750) and publishes it.
    static void createInstance();
    // Publishes the given engine in place of the held one (tests).
    static void setInstance(std::unique_ptr<PositionAudioEngine> engine);
    // Drops the engine; the next instance() throws until one is made again.
    static void destroyInstance();

    virtual ~PositionAudioEngine() = default;

    // A one-shot effect at the node, or -1 when it is not started: the node
    // has no parent, or is beyond the audible distance. A file started once
    // in a frame is not started again in that frame: later calls get the
    // first call's id.
    virtual int playEffect(cocos2d::Node* node, const std::string& file, float volume) = 0;
    // Music at the node, untracked; -1 beyond the audible distance.
    virtual int playMusic(cocos2d::Node* node, const std::string& file, float volume) = 0;
    // A looping effect at the node; beyond the audible distance it starts
    // silent and fades in as the node comes closer.
    virtual int playEffectLooped(cocos2d::Node* node, const std::string& file, float volume) = 0;
    virtual int playMusicLooped(cocos2d::Node* node, const std::string& file, float volume) = 0;
    // Forgets every tracked sound (stops none).
    virtual void reset() = 0;
    // Once per frame, after the visuals moved: fades tracked sounds by their
    // nodes' distance and drops the ones that ended or whose node left the
    // world node. dt is not used.
    virtual void update(float dt) = 0;
    // Stops one effect through the sound player and stops tracking it.
    virtual void stopEffect(int id) = 0;
    // The node under which the current level's world is drawn; tracked sounds
    // whose node is not its child are dropped. Not retained: compared only.
    virtual void setWorldNode(cocos2d::Node* worldNode) = 0;
};

class PositionAudioEngineImpl : public PositionAudioEngine {
public:
    // listener: the centre of the visible area in world coordinates.
    PositionAudioEngineImpl(const cocos2d::Vec2& listener, float audibleDistance);

    int playEffect(cocos2d::Node* node, const std::string& file, float volume) override;
    int playMusic(cocos2d::Node* node, const std::string& file, float volume) override;
    int playEffectLooped(cocos2d::Node* node, const std::string& file, float volume) override;
    int playMusicLooped(cocos2d::Node* node, const std::string& file, float volume) override;
    void reset() override;
    void update(float dt) override;
    void stopEffect(int id) override;
    void setWorldNode(cocos2d::Node* worldNode) override { worldNode_ = worldNode; }

    // How many sounds are tracked now.
    std::size_t trackedCount() const { return tracked_.size(); }
    bool isTracked(int id) const { return tracked_.count(id) != 0; }

private:
    // The node is retained while tracked, so that it can be asked for its
    // parent safely; the parent is the one it had when the sound started.
    struct Tracked {
        cocos2d::Node* parent = nullptr;
        cocos2d::RefPtr<cocos2d::Node> node;
    };

    // Distance of the node's world position from the listener; a node
    // without a parent counts at its own position.
    float distanceOf(const cocos2d::Node* node) const;
    void track(int id, cocos2d::Node* node);

    cocos2d::Node* worldNode_ = nullptr;
    std::unordered_map<int, Tracked> tracked_;
    std::unordered_map<std::string, int> startedThisFrame_;
    float audibleDistance_;
    cocos2d::Vec2 listener_;
    float fullVolumeRadius_;
};
