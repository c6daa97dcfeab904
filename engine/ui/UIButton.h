#pragma once

#include <string>

#include "engine/ui/UIWidget.h"

namespace cocos2d {
namespace ui {

// A widget with a normal, a pressed and a disabled image; its content size is
// the normal image's. With the pressed action enabled, a press zooms the
// image to 1 + zoom scale.
class Button : public Widget {
public:
    static Button* create();
    static Button* create(const std::string& normalImage, const std::string& selectedImage = "",
                          const std::string& disableImage = "",
                          TextureResType texType = TextureResType::LOCAL);
    bool init() override;
    virtual bool init(const std::string& normalImage, const std::string& selectedImage,
                      const std::string& disableImage, TextureResType texType);

    void loadTextureNormal(const std::string& image, TextureResType texType = TextureResType::LOCAL);
    void loadTexturePressed(const std::string& image, TextureResType texType = TextureResType::LOCAL);
    void loadTextureDisabled(const std::string& image, TextureResType texType = TextureResType::LOCAL);
    void setPressedActionEnabled(bool enabled) { pressedActionEnabled_ = enabled; }
    bool isPressedActionEnabled() const { return pressedActionEnabled_; }
    void setZoomScale(float scale) { zoomScale_ = scale; }
    float getZoomScale() const { return zoomScale_; }
    void setFlippedX(bool flipped);
    void setFlippedY(bool flipped);
    bool isFlippedX() const { return flippedX_; }
    bool isFlippedY() const { return flippedY_; }
    Sprite* getRendererNormal() const { return normal_; }
    Sprite* getRendererClicked() const { return pressed_; }
    Sprite* getRendererDisabled() const { return disabled_; }

protected:
    void onPressStateChangedToNormal() override;
    void onPressStateChangedToPressed() override;
    void onPressStateChangedToDisabled() override;
    void replace(Sprite*& slot, Sprite* image);

    // The three images are children of the button.
    Sprite* normal_ = nullptr;
    Sprite* pressed_ = nullptr;
    Sprite* disabled_ = nullptr;
    bool pressedActionEnabled_ = false;
    float zoomScale_ = 0.1f;
    bool flippedX_ = false;
    bool flippedY_ = false;
};

}  // namespace ui
}  // namespace cocos2d
