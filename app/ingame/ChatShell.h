#pragma once

#include "engine/Node.h"

namespace cocos2d {
class Label;
}

// The chat lines of online play: every line posted to the process-wide chat
// line queue (players joining, leaving or kicked, lobby messages) becomes a
// label, left-aligned at x 0 and stacked downward from y 0, in
// "fonts/boogaloo.ttf" 16, cyan, wrapped at 800 units, with a black shadow.
// Three seconds after the last line arrived the whole stack fades out over
// one second and goes; a line arriving meanwhile shows every label fully
// again and starts the wait anew. A child of the online scene. Main thread
// only (the queue has its own lock for producers on other threads).
class ChatShell : public cocos2d::Node {
public:
    static constexpr const char* kFont = "fonts/boogaloo.ttf";
    static constexpr float kFontSize = 16.0f;
    static constexpr float kWrapWidth = 800.0f;
    static constexpr float kShowSeconds = 3.0f;
    static constexpr float kFadeSeconds = 1.0f;

    static ChatShell* create();
    // Per-frame updates on, cascading opacity on.
    bool init() override;
    // Takes every queued line, oldest first.
    void update(float dt) override;

    // The label of the newest line shown, or null when none is.
    cocos2d::Label* getLastLine() const { return lastLine_; }

private:
    void forgetLines();

    // A child of this node; the node tree keeps it alive.
    cocos2d::Label* lastLine_ = nullptr;
};
