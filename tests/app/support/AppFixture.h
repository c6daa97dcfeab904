#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/cocos2d.h"
#include "foundation/Types.h"
#include "support/RecordingAudioBackend.h"

namespace zarn_test {

// The entries of assets/ui.manifest as (kind, name).
std::vector<std::pair<std::string, std::string>> uiManifest();
// The [menus] family of assets/frames.manifest: the shell's sprite frames.
std::set<std::string> menuFrames();

// A folder where every sound of the manifest exists (as an empty file), put
// first in the engine's search paths so that the sounds the menus play reach
// the audio backend; answers the folder (ending in '/'). Made once per process.
const std::string& provideManifestSounds();

// A loopback port that refuses every connection for the whole run (bound,
// never listening).
u16 refusingPort();
// Puts the online session back to its defaults with its lobby at
// refusingPort(), so that no test reaches a real lobby by accident.
void useRefusingLobby();

// A fresh director with a headless 1024 x 576 view (design resolution the
// same, SHOW_ALL), a recording audio backend under a fresh sound player and
// the settings' defaults, and the online session reset (lobby refused);
// frames are stepped by hand, input is fed through the view in design
// coordinates.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void frame(float dt = 0.0f) { cocos2d::Director::getInstance()->mainLoop(dt); }
    void frames(int count, float dt) {
        for (int i = 0; i < count; ++i) frame(dt);
    }
    // Frames of 1/60 s, a short sleep apart, until `done` holds or ten
    // seconds have passed; says whether it held. For what other threads do.
    bool framesUntil(const std::function<bool()>& done);
    // Runs a scene and draws its first frame.
    void run(cocos2d::Scene* scene);

    // A design point (y up) as a window point of the view (pixels, y down).
    cocos2d::Vec2 toWindow(const cocos2d::Vec2& design) const;
    void mouseTo(const cocos2d::Vec2& design);
    void touchDown(const cocos2d::Vec2& design);
    void touchMove(const cocos2d::Vec2& design);
    void touchUp(const cocos2d::Vec2& design);
    // A press and release at one design point.
    void click(const cocos2d::Vec2& design);
    void pressKey(cocos2d::EventKeyboard::KeyCode key);
    // The centre of a node's content box in design coordinates.
    static cocos2d::Vec2 centreOf(const cocos2d::Node* node);

    // The sound files started, in order ("sound/ui/button/press.mp3").
    std::vector<std::string> played() const { return audioLog.files(); }

    cocos2d::GLView* view = nullptr;  // held by the director
    RecordingAudioBackend::Log audioLog;
};

}  // namespace zarn_test
