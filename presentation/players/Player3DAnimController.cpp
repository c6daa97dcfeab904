#include "presentation/players/Player3DAnimController.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Animation3D.h"
#include "engine/Sprite3D.h"
#include "engine/Texture2D.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/audio/SoundPlayer.h"
#include "presentation/effects/VisualRandom.h"
#include "presentation/players/Player2DAnimController.h"
#include "presentation/players/Steerable3DSubsitute.h"
#include "simulation/scene/ZOrderCalculator.h"

using namespace cocos2d;

const char* const Player3DAnimController::kCrazyLegsSounds[2] = {"sound/crazy_legs1.mp3",
                                                                 "sound/crazy_legs2.mp3"};
const char* const Player3DAnimController::kSquishSound = "sound/player_status/squish.mp3";
const char* const Player3DAnimController::kSquishRestoreSound = "sound/player_status/squish_restore.mp3";

namespace {

// Each set of alternatives of the 3D player draws with its own engine.
RandomSoundSet& soundSet(int which) {
    static RandomSoundSet sets[] = {
        RandomSoundSet(
            {Player3DAnimController::kCrazyLegsSounds[0], Player3DAnimController::kCrazyLegsSounds[1]}),
        RandomSoundSet({Player2DAnimController::kFallSounds[0], Player2DAnimController::kFallSounds[1],
                        Player2DAnimController::kFallSounds[2]}),
        RandomSoundSet({Player2DAnimController::kSpikeHitSounds[0],
                        Player2DAnimController::kSpikeHitSounds[1],
                        Player2DAnimController::kSpikeHitSounds[2]}),
        RandomSoundSet({Player2DAnimController::kExplosionSounds[0],
                        Player2DAnimController::kExplosionSounds[1],
                        Player2DAnimController::kExplosionSounds[2]}),
        RandomSoundSet({Player2DAnimController::kSpawnSounds[0], Player2DAnimController::kSpawnSounds[1]}),
    };
    return sets[which];
}
enum SoundSetId { kCrazyLegs, kFallStraight, kSpikeHit, kExplosion, kSpawn };

}  // namespace

Player3DAnimController::Player3DAnimController(Sprite3D* body, const Zarn::ZOrderCalculator* zOrder,
                                               const Zarn::Player3DAssets& assets,
                                               Steerable3DSubsituteFactory* factory)
    : CocosPlayerAnimController(body, zOrder), body_(body), assets_(assets), factory_(factory) {
    burst_ = BurstContext{body, 0, &assets_};
    const std::string& character = assets_.models.files[0];
    const std::string& hatModel = assets_.models.files[1];

    hat_ = Sprite3D::create(hatModel);
    body_->getAttachNode("Hat")->addChild(hat_.get());
    hat_->setScale(1.0f / hat_->getScale());
    eyebrows_ = Sprite3D::create(assets_.models.files[2]);
    body_->getAttachNode("Eyebrows")->addChild(eyebrows_.get());
    eyebrows_->setScale(1.0f);
    hat_->setTexture(assets_.textures.second);
    body_->setTexture(assets_.textures.first);
    body_->getMeshByName("Head")->setTexture(assets_.heads.files[0]);

    auto call = [](std::function<void()> f) { return CallFunc::create(std::move(f)); };
    auto face = [this, call](std::size_t i) { return call([this, i] { setFace(i); }); };
    auto atBody = [this, call](int set) {
        return call([this, set] { playAtBody(soundSet(set).pick(), 1.0f); });
    };
    auto footstep = [this, call] {
        return call([this] { playAtBody(Player2DAnimController::kFootstep, 0.5f); });
    };
    auto lowLift = [this, call] { return call([this] { lift(false); }); };
    auto explosionSound = [this, call] {
        return call([this] {
            setFace(3);
            playAtBody(soundSet(kExplosion).pick(), 1.0f);
        });
    };

    // Run.
    add(kRunKey, body_,
        RepeatForever::create(Sequence::create(DelayTime::create(1.0f / 6.0f), footstep(),
                                               DelayTime::create(7.0f / 18.0f), footstep(),
                                               DelayTime::create(1.0f / 6.0f))));
    add(kRunKey, body_, RepeatForever::create(clip(character, "Character|Run", 0.0f, 1.5f)));
    add(kRunKey, hat_.get(), RepeatForever::create(clip(hatModel, "Hat_Default|Run")));
    // Idle.
    add(kIdleKey, body_, RepeatForever::create(clip(character, "Character|Idle")));
    add(kIdleKey, hat_.get(), RepeatForever::create(clip(hatModel, "Hat_Default|Idle")));
    // Squashed.
    add(7, body_,
        Sequence::create(EaseOut::create(ScaleTo::create(0.03f, 0.05f), 3.0f),
                         call([this] { makeSubstitute(); }), Hide::create()));
    // Back from the squash.
    add(kReturnKey, body_,
        Sequence::create(
            call([this] { removeSubstitute(); }), Show::create(), face(5),
            Spawn::create(
                call([] { SoundPlayer::getInstance()->playEffect(kSquishRestoreSound, 1.0f, 1.0f); }),
                clip(character, "Character|Return", 0.0f, 1.0f), ScaleTo::create(0.05f, 0.25f)),
            face(0)));
    // Falls.
    add(3, body_,
        Sequence::create(
            atBody(kCrazyLegs), Spawn::create(face(3), clip(character, "Character|Fall_Run", 0.5f)),
            Spawn::create(
                face(2), lowLift(),
                Sequence::create(DelayTime::create(0.2f), EaseIn::create(FadeOut::create(0.3f), 1.0f)),
                EaseIn::create(ScaleTo::create(0.5f, 0.0f), 3.0f),
                call([this] { playAtBody(Player2DAnimController::kFallSounds[1], 1.0f); }),
                EaseIn::create(clip(character, "Character|Fall_Flip", 0.5f), 1.0f))));
    add(3, hat_.get(),
        Sequence::create(DelayTime::create(0.5f), DelayTime::create(0.2f),
                         EaseIn::create(FadeOut::create(0.3f), 3.0f)));
    // Falls straight.
    add(4, body_,
        Spawn::create(call([this] {
                          setFace(2);
                          body_->setRotation3D(Vec3::ZERO);
                          playAtBody(soundSet(kFallStraight).pick(), 1.0f);
                      }),
                      Sequence::create(DelayTime::create(0.05f), lowLift()),
                      EaseIn::create(FadeOut::create(0.5f), 3.0f),
                      clip(character, "Character|Fall_Straight_2", 0.5f)));
    add(4, hat_.get(), EaseIn::create(FadeOut::create(0.5f), 3.0f));
    add(4, eyebrows_.get(), EaseIn::create(FadeOut::create(0.5f), 3.0f));
    // Spiked.
    const std::string& exploding = assets_.models.files[3];
    add(6, body_,
        Sequence::create(Spawn::create(call([this] {
                                           setFace(3);
                                           playAtBody(soundSet(kSpikeHit).pick(), 1.0f);
                                       }),
                                       clip(character, "Character|Spike", 0.75f)),
                         explosionSound(), createDeathBurst(burst_, exploding)));
    // Blown apart.
    add(10, body_, Sequence::create(explosionSound(), createDeathBurst(burst_, exploding)));
    // Lifted idle.
    add(9, body_, call([this] { lift(true); }));
    add(9, hat_.get(), RepeatForever::create(clip(hatModel, "Hat_Default|Idle")));
    add(9, body_, RepeatForever::create(clip(character, "Character|Idle")));

    for (auto [id, key] : {std::pair{3, 6}, {5, 4}, {6, 3}, {8, 10}, {10, 7}, {17, 9}, {21, 11}, {22, 10}})
        addStateRow(id, key);
}

Player3DAnimController::~Player3DAnimController() = default;

ActionInterval* Player3DAnimController::clip(const std::string& file, const std::string& name, float lasting,
                                             float speed) const {
    Animate3D* animate = Animate3D::create(Animation3D::create(file, name));
    animate->setQuality(1);
    if (lasting > 0.0f) animate->setDuration(lasting);
    if (speed > 0.0f) animate->setSpeed(speed);
    return animate;
}

void Player3DAnimController::setFace(std::size_t index) {
    body_->getMeshByName("Head")->setTexture(assets_.heads.files[index]);
}

void Player3DAnimController::playAtBody(const std::string& file, float volume) {
    PositionAudioEngine::instance().playEffect(body_, file, volume);
}

void Player3DAnimController::lift(bool high) {
    const float y = body_->getPositionY();
    if (high) {
        body_->setPositionZ(static_cast<float>(zOrder_->highYBase(y) + 100));
        body_->setRotation3D(Vec3::ZERO);
    } else {
        body_->setPositionZ(static_cast<float>(zOrder_->yBase(y) + 100));
    }
}

void Player3DAnimController::makeSubstitute() {
    removeSubstitute();
    Node* substitute = factory_->createSubsitute(0);
    if (substitute == nullptr) return;
    substitute_ = substitute;
    substitute->setPosition(body_->getPosition());
    substitute->setScale(0.3f);
    substitute->runAction(Sequence::create(
        EaseBounceInOut::create(ScaleTo::create(0.2f, 0.25f)),
        CallFunc::create([] { SoundPlayer::getInstance()->playEffect(kSquishSound, 1.0f, 1.0f); })));
    if (Node* parent = body_->getParent()) parent->addChild(substitute);
}

void Player3DAnimController::reset() {
    CocosPlayerAnimController::reset();
    body_->setScale(0.25f);
    body_->setOpacity(254);
    hat_->setOpacity(254);
    eyebrows_->setOpacity(254);
    body_->setVisible(true);
    setFace(0);
    if (Texture2D* texture = body_->getMeshByName("Head")->getTexture()) texture->generateMipmap();
    playAtBody(soundSet(kSpawn).pick(), 1.0f);
}
