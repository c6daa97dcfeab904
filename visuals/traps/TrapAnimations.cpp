#include "visuals/traps/TrapAnimations.h"

#include <algorithm>
#include <cmath>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "foundation/Error.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/TrapElement.h"
#include "presentation/effects/VisualRandom.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

const RefPtr<Action>& TrapAnimations::stateAction(u8 state) const {
    static const RefPtr<Action> none;
    switch (state) {
        case 0:
            return state0Action;
        case 1:
            return state1Action;
        case 2:
            return state2Action;
        case 3:
            return state3Action;
        default:
            return none;
    }
}

TrapDoorTimings trapDoorTimings(float restTime, float activeTime) {
    const float rest = clampDuration(restTime);
    TrapDoorTimings t;
    t.swing = rest == 0.0f ? 0.1f : std::min(0.1f, rest * 0.25f);
    t.wait = rest == 0.0f ? 0.0f : rest * 0.5f - t.swing;
    t.closeSoundInState2 = clampDuration(activeTime) > 0.5f;
    return t;
}

SpikeTimings spikeTimings(float activeTime) {
    const float active = clampDuration(activeTime);
    SpikeTimings t;
    t.move = std::max(0.1f, active * 0.15f);
    t.hold = std::max(0.0f, active - 2.0f * t.move);
    t.fallSound = active >= 0.5f;
    return t;
}

std::vector<std::string> trapDoorRattle(const std::string& prefix, float wait) {
    const int count = std::max(2, 2 * static_cast<int>(std::lround(wait / 0.2f)));
    const std::vector<std::string> shutAndCracked = numberedFrames(prefix, 1, 2);
    std::vector<std::string> frames;
    for (int i = 0; i < count; ++i) frames.push_back(shutAndCracked[i % 2 == 0 ? 1 : 0]);
    return frames;
}

std::vector<std::string> spikeWarningFrames() {
    return {"spike_warn_0001.png", "spike_warn_0002.png"};
}

std::vector<std::string> spikeWarningFrameList(float restTime) {
    const float half = clampDuration(restTime) * 0.5f;
    const int count = std::max(2, 2 * static_cast<int>(std::lround(half / 0.2f)));
    std::vector<std::string> frames;
    const std::vector<std::string> pair = spikeWarningFrames();
    for (int i = 0; i < count; ++i) frames.push_back(pair[static_cast<std::size_t>(i % 2)]);
    return frames;
}

SlapTimings slapTimings(float activeTime) {
    const float active = clampDuration(activeTime);
    return {active * 0.3f, active * 0.4f};
}

SignSwitchTimings signSwitchTimings(float restTime) {
    const float half = clampDuration(restTime) * 0.5f;
    const float switchTime = half * 0.125f;
    return {switchTime, half - switchTime};
}

const std::unordered_map<u32, std::string>& trapFirstFrameNames() {
    static const std::unordered_map<u32, std::string> names = [] {
        std::unordered_map<u32, std::string> table;
        table.max_load_factor(1.0f);
        table = {{43, "Trap_Door_1.png"}, {46, "blank.png"},        {49, "Slap_Trap_1.png"},
                 {55, "Trap_Door_1.png"}, {56, "RedGreen_4.png"},   {122, "blank.png"},
                 {127, "blank.png"},      {128, "Bomb_Marker.png"}, {143, "CTrap_Door_1.png"}};
        return table;
    }();
    return names;
}

namespace {

const Zarn::IntervalTrapElement& intervalOf(const Zarn::TrapElement& record) {
    const auto* interval = dynamic_cast<const Zarn::IntervalTrapElement*>(&record);
    if (interval == nullptr) throw Convinience::Error("not interval trap element");
    return *interval;
}

const Zarn::ScheduledTrapElement& scheduledOf(const Zarn::TrapElement& record) {
    const auto* scheduled = dynamic_cast<const Zarn::ScheduledTrapElement*>(&record);
    if (scheduled == nullptr) throw Convinience::Error("not interval trap element");
    return *scheduled;
}

std::vector<std::string> doorOpening(const std::string& prefix) {
    std::vector<std::string> names = numberedFrames(prefix, 1, 4);
    names.push_back("blank.png");
    return names;
}

std::vector<std::string> doorClosing(const std::string& prefix) {
    std::vector<std::string> names{"blank.png"};
    for (const std::string& name : numberedFrames(prefix, 5, 9)) names.push_back(name);
    names.push_back(prefix + "1.png");
    return names;
}

void setShowHide(TrapAnimations& a) {
    a.showAction = Spawn::create(ScaleTo::create(0.3f, 0.4f), FadeIn::create(0.3f));
    a.hideAction = Spawn::create(ScaleTo::create(0.3f, 0.08f), FadeOut::create(0.3f));
}

// One of three sounds, drawn from the set's own generator.
CallFunc* randomSoundAction(Node* node, RandomSoundSet& sounds) {
    return CallFunc::create([node, &sounds] { playPositional(node, sounds.pick()); });
}

RandomSoundSet& spikeRiseSounds() {
    static RandomSoundSet sounds({"sound/spike/up1.mp3", "sound/spike/up2.mp3", "sound/spike/up3.mp3"});
    return sounds;
}

RandomSoundSet& spikeFallSounds() {
    static RandomSoundSet sounds({"sound/spike/down1.mp3", "sound/spike/down2.mp3", "sound/spike/down3.mp3"});
    return sounds;
}

}  // namespace

FiniteTimeAction* createTrapDoorExplosion() {
    return Sequence::create(
        effectSoundAction("sound/boss/bomb/explosion.mp3"),
        effectSoundAction("sound/boss/bomb/fire_burst.mp3"), guardedCall(shakeScreenHorizontally),
        createAnimateOver(numberedFrames("Explosion_Trap_", 1, 19), 1.2f), Hide::create());
}

TrapAnimationFactoryImpl::TrapAnimationFactoryImpl() : spriteFrameCache_(SpriteFrameCache::getInstance()) {}

SpriteFrame* TrapAnimationFactoryImpl::getFirstFrame(const Zarn::TrapElement& record) const {
    const auto& names = trapFirstFrameNames();
    const auto it = names.find(record.elementId);
    if (it == names.end()) throw Convinience::Error("no frame 0 for this trap");
    return spriteFrameCache_->getSpriteFrameByName(it->second);
}

TrapAnimations TrapAnimationFactoryImpl::createTrapAnimations(const Zarn::TrapElement& record,
                                                              Node* soundSource) {
    record_ = &record;
    soundSource_ = soundSource;
    switch (record.elementId) {
        case 43:
        case 55:
            return trapDoor("Trap_Door_");
        case 143:
            return trapDoor("CTrap_Door_");
        case 134: {
            TrapAnimations a = trapDoor("Trap_Door_");
            a.explosionAction = createTrapDoorExplosion();
            return a;
        }
        case 121:
            return scheduledTrapDoor();
        case 46:
        case 127:
            return spike();
        case 122:
            return scheduledSpike();
        case 49:
            return slapTrap();
        case 56:
            return redGreenSign();
        case 131:
            return TrapAnimations();
        default:
            throw Convinience::Error("no such trap element animation");
    }
}

TrapAnimations TrapAnimationFactoryImpl::trapDoor(const std::string& prefix) const {
    const Zarn::IntervalTrapElement& r = intervalOf(*record_);
    const TrapDoorTimings t = trapDoorTimings(r.restTime, r.activeTime);
    TrapAnimations a;
    setShowHide(a);
    a.state0Opens = true;
    auto opening = [&] { return createAnimateOver(doorOpening(prefix), t.swing); };
    auto closing = [&] { return createAnimateOver(doorClosing(prefix), t.swing); };
    auto openSound = [&] { return positionalSoundAction(soundSource_, "sound/trapdoor/open.mp3"); };
    auto closeSound = [&] { return positionalSoundAction(soundSource_, "sound/trapdoor/close.mp3"); };
    // The warning before the swing: the door rattles, a crack open and shut.
    a.state0Action = Sequence::create(createAnimateOver(trapDoorRattle(prefix, t.wait), t.wait), openSound(),
                                      opening());
    a.state1Action = DelayTime::create(clampDuration(r.activeTime));
    if (t.closeSoundInState2) {
        a.state2Action = Sequence::create(closing(), closeSound(), DelayTime::create(t.wait));
    } else {
        a.state2Action = Sequence::create(closing(), DelayTime::create(t.wait));
    }
    a.state3Action = Sequence::create(closing(), closeSound(), DelayTime::create(t.wait));
    return a;
}

TrapAnimations TrapAnimationFactoryImpl::scheduledTrapDoor() const {
    const float s = clampDuration(scheduledOf(*record_).warningLead);
    TrapAnimations a;
    setShowHide(a);
    a.state0Opens = true;
    a.state0Action = Sequence::create(positionalSoundAction(soundSource_, "sound/trapdoor/open.mp3"),
                                      createAnimateOver(doorOpening("Trap_Door_"), s));
    a.state2Action = Sequence::create(createAnimateOver(doorClosing("Trap_Door_"), s));
    a.state3Action = Sequence::create(positionalSoundAction(soundSource_, "sound/trapdoor/close.mp3"),
                                      createAnimateOver(doorClosing("Trap_Door_"), s));
    return a;
}

TrapAnimations TrapAnimationFactoryImpl::spike() const {
    const Zarn::IntervalTrapElement& r = intervalOf(*record_);
    const SpikeTimings t = spikeTimings(r.activeTime);
    TrapAnimations a;
    setShowHide(a);
    a.state0Action = createAnimateOver(spikeWarningFrameList(r.restTime), clampDuration(r.restTime) * 0.5f);
    FiniteTimeAction* fallSound =
        t.fallSound ? static_cast<FiniteTimeAction*>(randomSoundAction(soundSource_, spikeFallSounds()))
                    : static_cast<FiniteTimeAction*>(DelayTime::create(0.0f));
    a.state1Action = Sequence::create(
        randomSoundAction(soundSource_, spikeRiseSounds()),
        createAnimateOver(numberedFrames("spike_anim_", 1, 5, ".png", 4), t.move), DelayTime::create(t.hold),
        fallSound,
        createAnimateOver({"spike_anim_0004.png", "spike_anim_0002.png", "spike_anim_0001.png", "blank.png"},
                          t.move));
    a.state3Action = createAnimateOver({"blank.png"}, t.move / 4.0f);
    return a;
}

TrapAnimations TrapAnimationFactoryImpl::scheduledSpike() const {
    const float s = clampDuration(scheduledOf(*record_).warningLead);
    TrapAnimations a;
    setShowHide(a);
    a.state0Action = Sequence::create(positionalSoundAction(soundSource_, "sound/spike/down1.mp3"),
                                      createAnimateOver(numberedFrames("Spike_Trap_S", 1, 3), s));
    a.state2Action = Sequence::create(
        createAnimateOver({"Spike_Trap_S3.png", "Spike_Trap_S4.png", "Spike_Trap_S5.png", "blank.png"}, s));
    a.state3Action = createAnimateOver({"blank.png"}, s / 4.0f);
    return a;
}

TrapAnimations TrapAnimationFactoryImpl::slapTrap() const {
    const SlapTimings t = slapTimings(intervalOf(*record_).activeTime);
    for (const std::string& name : numberedFrames("Slap_Trap_", 1, 9))
        spriteFrameCache_->getSpriteFrameByName(name)->setOffsetInPixels(Vec2(-103.0f, -44.0f));
    TrapAnimations a;
    a.state1Action = Sequence::create(
        createAnimateOver(numberedFrames("Slap_Trap_", 1, 6), t.swing), DelayTime::create(t.hold),
        createAnimateOver({"Slap_Trap_7.png", "Slap_Trap_8.png", "Slap_Trap_9.png", "Slap_Trap_1.png"},
                          t.swing));
    return a;
}

TrapAnimations TrapAnimationFactoryImpl::redGreenSign() const {
    const Zarn::IntervalTrapElement& r = intervalOf(*record_);
    const SignSwitchTimings t = signSwitchTimings(r.restTime);
    TrapAnimations a;
    setShowHide(a);
    const std::vector<std::string> stop{"RedGreen_4.png", "RedGreen_5.png", "RedGreen_6.png",
                                        "RedGreen_1.png"};
    const std::vector<std::string> go{"RedGreen_1.png", "RedGreen_2.png", "RedGreen_3.png", "RedGreen_4.png"};
    a.state0Action = Sequence::create(DelayTime::create(t.wait), effectSoundAction("sound/redgreen/stop.mp3"),
                                      createAnimateOver(stop, t.switchTime));
    a.state1Action = DelayTime::create(clampDuration(r.activeTime));
    a.state2Action = Sequence::create(effectSoundAction("sound/redgreen/go.mp3"),
                                      createAnimateOver(go, t.switchTime), DelayTime::create(t.wait));
    return a;
}
