#include "engine/DrawList.h"

#include "engine/Node.h"

namespace cocos2d {

void DrawList::clear() {
    commands.clear();
    stencils.clear();
    clips.clear();
}

std::vector<const DrawCommand*> DrawList::findByFrame(const std::string& frameName) const {
    std::vector<const DrawCommand*> found;
    for (const auto& c : commands)
        if (c.kind == DrawKind::Sprite && c.frameName == frameName) found.push_back(&c);
    return found;
}

std::vector<const DrawCommand*> DrawList::findByNode(const Node* node) const {
    std::vector<const DrawCommand*> found;
    for (const auto& c : commands)
        if (c.node == node) found.push_back(&c);
    return found;
}

DrawCommand& DrawContext::add(DrawKind kind, const Node* node, const Mat4& transform) {
    auto& target = intoStencil ? list.stencils : list.commands;
    DrawCommand& c = target.emplace_back();
    c.kind = kind;
    c.node = node;
    c.transform = transform;
    c.order = nextOrder++;
    c.clip = currentClip;
    if (node != nullptr) {
        c.globalZOrder = node->getGlobalZOrder();
        c.color = node->getDisplayedColor();
        c.opacity = node->getDisplayedOpacity();
    }
    return c;
}

}  // namespace cocos2d
