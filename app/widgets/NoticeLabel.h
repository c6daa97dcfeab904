#pragma once

#include <string>

namespace cocos2d {
class Node;
}

// A short line in the middle of the visible area of `parent` (a scene) that
// stays two seconds, fades out in half a second and removes itself. Null
// parent: nothing. Main thread only.
void showNotice(cocos2d::Node* parent, const std::string& text, int zOrder);
