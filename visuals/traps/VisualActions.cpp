#include "visuals/traps/VisualActions.h"

#include <cmath>
#include <exception>
#include <iomanip>
#include <set>
#include <sstream>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Animation.h"
#include "engine/Director.h"
#include "engine/Scene.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Transition.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/audio/SoundPlayer.h"

using cocos2d::Vec2;

cocos2d::Animate* createAnimateFromFrameNames(const std::vector<std::string>& names, float delay) {
    cocos2d::SpriteFrameCache* cache = cocos2d::SpriteFrameCache::getInstance();
    cocos2d::Vector<cocos2d::SpriteFrame*> frames;
    for (const std::string& name : names) frames.pushBack(cache->getSpriteFrameByName(name));
    return cocos2d::Animate::create(
        cocos2d::Animation::createWithSpriteFrames(frames, clampDuration(delay), 1));
}

cocos2d::Animate* createAnimateOver(const std::vector<std::string>& names, float total) {
    const float each = names.empty() ? 0.0f : clampDuration(total) / static_cast<float>(names.size());
    return createAnimateFromFrameNames(names, each);
}

cocos2d::Scene* runningGameScene() {
    cocos2d::Scene* scene = cocos2d::Director::getInstance()->getRunningScene();
    if (auto* transition = dynamic_cast<cocos2d::TransitionScene*>(scene)) return transition->getInScene();
    return scene;
}

namespace {

void shake(const Vec2& move) {
    cocos2d::Scene* scene = runningGameScene();
    if (scene == nullptr) return;
    auto* jolt = cocos2d::Sequence::create(cocos2d::MoveBy::create(0.03f, move),
                                           cocos2d::MoveBy::create(0.03f, Vec2(-move.x, -move.y)));
    scene->runAction(cocos2d::Repeat::create(jolt, 4));
}

}  // namespace

void shakeScreenVertically() {
    shake(Vec2(0.0f, 20.0f));
}

void shakeScreenHorizontally() {
    shake(Vec2(20.0f, 0.0f));
}

std::vector<std::string> numberedFrames(const std::string& prefix, int first, int last,
                                        const std::string& suffix, int width) {
    std::vector<std::string> names;
    const int step = first <= last ? 1 : -1;
    for (int n = first;; n += step) {
        std::ostringstream name;
        name << prefix << std::setw(width) << std::setfill('0') << n << suffix;
        names.push_back(name.str());
        if (n == last) break;
    }
    return names;
}

float clampDuration(float seconds) {
    return std::isnan(seconds) || seconds < 0.0f ? 0.0f : seconds;
}

u32 wholeCount(float value) {
    if (std::isnan(value) || value <= 0.0f) return 0;
    if (value >= static_cast<float>(kMaxCount)) return kMaxCount;
    return static_cast<u32>(value);
}

void reportVisualFailure(const std::string& text) {
    // Main thread only, like every visual.
    static std::set<std::string> reported;
    if (!reported.insert(text).second) return;
    Convinience::Logger().log(Convinience::severity::warn, "visual skipped: " + text);
}

bool runGuarded(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const char* text) {
        reportVisualFailure(text);
    } catch (const std::exception& e) {
        reportVisualFailure(e.what());
    }
    return false;
}

int playPositional(cocos2d::Node* node, const std::string& file, float volume) {
    int id = -1;
    runGuarded([&] { id = PositionAudioEngine::instance().playEffect(node, file, volume); });
    return id;
}

int playEffectSound(const std::string& file) {
    return SoundPlayer::getInstance()->playEffect(file, 1.0f, 1.0f);
}

cocos2d::CallFunc* positionalSoundAction(cocos2d::Node* node, const std::string& file, float volume) {
    return cocos2d::CallFunc::create([node, file, volume] { playPositional(node, file, volume); });
}

cocos2d::CallFunc* effectSoundAction(const std::string& file) {
    return cocos2d::CallFunc::create([file] { playEffectSound(file); });
}

cocos2d::CallFunc* guardedCall(std::function<void()> fn) {
    return cocos2d::CallFunc::create([fn = std::move(fn)] { runGuarded(fn); });
}
