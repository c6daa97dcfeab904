#pragma once

#include <string>

namespace cocos2d {
class Node;
}

// How long a notice stays, in seconds: fully shown, then fading out.
inline constexpr float kNoticeShownSeconds = 4.0f;
inline constexpr float kNoticeFadeSeconds = 0.5f;

// A short line in the middle of the visible area of `parent` (a scene), white
// text on a dark plate a little larger than the text, so that it reads over
// any scene. It stays kNoticeShownSeconds, fades out in kNoticeFadeSeconds and
// removes itself. Null parent: nothing. Returns the notice's node (the plate
// and the text are its children), or null. Main thread only.
cocos2d::Node* showNotice(cocos2d::Node* parent, const std::string& text, int zOrder);
