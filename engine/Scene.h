#pragma once

#include "engine/Node.h"

namespace cocos2d {

// The root of a tree that the director runs. Its content size is the design
// resolution and its anchor point is ignored for position.
class Scene : public Node {
public:
    static Scene* create();
    bool init() override;

public:
    Scene();

protected:
};

}  // namespace cocos2d
