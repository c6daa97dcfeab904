#pragma once

#include <array>
#include <vector>

#include "app/menus/SkewedStackLayout.h"
#include "engine/Node.h"
#include "engine/Types.h"

namespace cocos2d {
class Event;
class EventMouse;
class EventListenerTouchOneByOne;
class Touch;
}  // namespace cocos2d
class ZUISkewedExpandableButton;

// The carousel of arcade modes: five expandable slanted buttons stacked along
// a slanted line, one in front at the carousel's origin (expanded, its name
// moved up and its description shown), the others stepping away to the left,
// collapsed. A press on an entry, a drag of the stack or the mouse wheel brings
// another entry to the front; choosing an entry starts nothing. The entry in
// front is kept in the settings record's LAST_ARCADE_INDEX and stands in front
// again when the carousel is built next.
//
// Input: touches and wheel events count only in `touchArea`, the left half of
// the view plus 100 units (view coordinates). The carousel's touch listener has
// a fixed priority ahead of every node, so it hears each touch before the
// buttons; it lets touch-downs through and, once a touch has moved more than
// 10 units (art units, through the carousel's scale), drags the stack and keeps
// the end of that touch from the buttons. Main thread only.
class ZUIRotateButtonMenu : public cocos2d::Node {
public:
    struct Entry {
        const char* name;
        const char* description;
    };
    static const std::array<Entry, 5> kEntries;

    static constexpr const char* kNameFont = "fonts/riffic.ttf";
    static constexpr float kNameFontSize = 120.0f;
    static constexpr const char* kDescriptionFont = "fonts/boogaloo.ttf";
    static constexpr float kDescriptionFontSize = 90.0f;
    static inline const cocos2d::Color4B kNameColour{51, 51, 51, 255};
    static inline const cocos2d::Color4B kHighlightColour{221, 47, 0, 255};
    static constexpr float kFanOutDelay = 0.4f;
    static constexpr float kMoveSeconds = 0.09f;
    static constexpr float kLabelSeconds = 0.1f;
    static constexpr float kDragThreshold = 10.0f;
    static constexpr int kTouchPriority = -1;
    static constexpr int kButtonStyle = 8;

    static ZUIRotateButtonMenu* create();
    ~ZUIRotateButtonMenu() override;
    bool init() override;

    // Folds every button back to the origin, collapsed; the selection and the
    // setting stay as they are.
    void collapseAll();

    const std::vector<ZUISkewedExpandableButton*>& getButtons() const { return buttons; }
    const std::vector<SkewedStackItem>& getItems() const { return items; }
    const SkewedStackLayout& getLayout() const { return layout; }
    const cocos2d::Rect& getTouchArea() const { return touchArea; }
    bool isDragging() const { return dragging; }

protected:
    void createButtons();
    void animateToLayout();
    void snapToLayout();
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event);
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event);
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event);
    void onMouseScroll(cocos2d::EventMouse* event);

    // Children of the carousel; the node tree keeps them alive.
    std::vector<ZUISkewedExpandableButton*> buttons;
    std::vector<SkewedStackItem> items;
    SkewedStackLayout layout;
    // Registered with a fixed priority, so the carousel removes it itself.
    cocos2d::EventListenerTouchOneByOne* touchListener = nullptr;
    cocos2d::Vec2 lastTouch;
    bool dragging = false;
    cocos2d::Rect touchArea;
    bool touching = false;
};
