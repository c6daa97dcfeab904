#pragma once

namespace cocos2d {
class Node;
class Scene;
}  // namespace cocos2d
class ZUIButton;
class ZUICoreButton;

// A back icon (core style 0, "icon_back.png") added to a menu page in the
// art space's top-right corner, its edges 50 inside; its callback is the
// owner's to set.
ZUICoreButton* addTopRightBackIcon(cocos2d::Node* page);

// A "Back" text button added to a scene in design coordinates, at the right
// edge one and a half button heights above the bottom, that returns to a new
// main menu (without the splash) through a 0.35 s move-in from the bottom.
ZUIButton* addBackToMenuButton(cocos2d::Scene* scene);
