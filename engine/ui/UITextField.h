#pragma once

#include <functional>
#include <string>

#include "engine/ui/UIWidget.h"

namespace cocos2d {

class Label;

namespace ui {

class TextField;

// Routes typed text to the one text field that has the keyboard. The platform
// layer calls insertText / deleteBackward on the main thread; process-wide,
// like the keyboard it stands for.
class IMEDispatcher {
public:
    static IMEDispatcher* getInstance();
    void attach(TextField* field);
    void detach(TextField* field);
    TextField* attached() const { return attached_; }
    void insertText(const std::string& utf8);
    void deleteBackward();

private:
    // The field detaches itself before it is destroyed.
    TextField* attached_ = nullptr;
};

// A one-line text entry: shows the placeholder (in the placeholder colour)
// while empty, takes the keyboard when tapped and gives it up when a tap
// lands elsewhere. With a maximum length, input beyond it is dropped
// (counted in characters).
class TextField : public Widget {
public:
    enum class EventType { ATTACH_WITH_IME, DETACH_WITH_IME, INSERT_TEXT, DELETE_BACKWARD };
    using ccTextFieldCallback = std::function<void(Ref*, EventType)>;

    static TextField* create();
    static TextField* create(const std::string& placeholder, const std::string& fontName, int fontSize);
    ~TextField() override;
    bool init() override;

    void setString(const std::string& text);
    const std::string& getString() const { return text_; }
    int getStringLength() const;
    void setPlaceHolder(const std::string& placeholder);
    const std::string& getPlaceHolder() const { return placeholder_; }
    void setPlaceHolderColor(const Color4B& color);
    void setTextColor(const Color4B& color);
    void setFontSize(int size);
    void setFontName(const std::string& name);
    void setCursorEnabled(bool enabled) { cursorEnabled_ = enabled; }
    bool isCursorEnabled() const { return cursorEnabled_; }
    void setMaxLengthEnabled(bool enabled) { maxLengthEnabled_ = enabled; }
    bool isMaxLengthEnabled() const { return maxLengthEnabled_; }
    void setMaxLength(int length) { maxLength_ = length; }
    int getMaxLength() const { return maxLength_; }
    void setPasswordEnabled(bool enabled) { passwordEnabled_ = enabled; }
    void addEventListener(const ccTextFieldCallback& callback) { callback_ = callback; }

    void attachWithIME();
    void didNotSelectSelf();
    bool isAttached() const { return IMEDispatcher::getInstance()->attached() == this; }
    // From the IME dispatcher.
    void insertText(const std::string& utf8);
    void deleteBackward();

    bool hitTest(const Vec2& worldPoint) const override;
    bool onTouchBegan(Touch* touch, Event* event) override;

private:
    void refresh();
    void report(EventType type);

    Label* label_ = nullptr;  // child
    std::string text_;
    std::string placeholder_;
    Color4B textColor_ = Color4B::WHITE;
    Color4B placeholderColor_ = Color4B::GRAY;
    bool cursorEnabled_ = false;
    bool maxLengthEnabled_ = false;
    int maxLength_ = 0;
    bool passwordEnabled_ = false;
    ccTextFieldCallback callback_;
};

}  // namespace ui
}  // namespace cocos2d
