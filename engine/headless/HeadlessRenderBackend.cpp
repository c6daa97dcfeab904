#include "engine/headless/HeadlessRenderBackend.h"

namespace cocos2d {

void HeadlessRenderBackend::render(const DrawList& list) {
    last_ = list;
    ++frames_;
}

}  // namespace cocos2d
