#pragma once

#include <functional>
#include <string>

#include "engine/ui/UIWidget.h"

namespace cocos2d {
namespace ui {

// A box that a click toggles. Setting the state by code reports nothing; a
// click reports SELECTED or UNSELECTED.
class CheckBox : public Widget {
public:
    enum class EventType { SELECTED, UNSELECTED };
    using ccCheckBoxCallback = std::function<void(Ref*, EventType)>;

    static CheckBox* create();
    static CheckBox* create(const std::string& backGround, const std::string& backGroundSelected,
                            const std::string& cross, const std::string& backGroundDisabled,
                            const std::string& frontCrossDisabled,
                            TextureResType texType = TextureResType::LOCAL);
    static CheckBox* create(const std::string& backGround, const std::string& cross,
                            TextureResType texType = TextureResType::LOCAL);
    bool init() override;
    virtual bool init(const std::string& backGround, const std::string& backGroundSelected,
                      const std::string& cross, const std::string& backGroundDisabled,
                      const std::string& frontCrossDisabled, TextureResType texType);

    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    void addEventListener(const ccCheckBoxCallback& callback) { callback_ = callback; }

    void onTouchEnded(Touch* touch, Event* event) override;

protected:
    void onPressStateChangedToNormal() override;
    void onPressStateChangedToPressed() override;
    void onPressStateChangedToDisabled() override;

    // Children of the box.
    Sprite* background_ = nullptr;
    Sprite* backgroundSelected_ = nullptr;
    Sprite* cross_ = nullptr;
    Sprite* backgroundDisabled_ = nullptr;
    Sprite* crossDisabled_ = nullptr;
    bool selected_ = false;
    ccCheckBoxCallback callback_;
};

}  // namespace ui
}  // namespace cocos2d
