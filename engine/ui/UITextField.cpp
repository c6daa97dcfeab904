#include "engine/ui/UITextField.h"

#include <algorithm>

#include "engine/Event.h"
#include "engine/Label.h"

namespace cocos2d {
namespace ui {

namespace {
std::size_t utf8Length(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// The first `count` characters of a UTF-8 string.
std::string utf8Prefix(const std::string& s, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (seen == count) return s.substr(0, i);
            ++seen;
        }
    }
    return s;
}
}  // namespace

IMEDispatcher* IMEDispatcher::getInstance() {
    static IMEDispatcher instance;
    return &instance;
}

void IMEDispatcher::attach(TextField* field) {
    attached_ = field;
}

void IMEDispatcher::detach(TextField* field) {
    if (attached_ == field) attached_ = nullptr;
}

void IMEDispatcher::insertText(const std::string& utf8) {
    if (attached_ != nullptr) attached_->insertText(utf8);
}

void IMEDispatcher::deleteBackward() {
    if (attached_ != nullptr) attached_->deleteBackward();
}

TextField* TextField::create() {
    return createWithInit<TextField>();
}

TextField* TextField::create(const std::string& placeholder, const std::string& fontName, int fontSize) {
    TextField* field = create();
    if (field == nullptr) return nullptr;
    field->label_->setTTFConfig(TTFConfig(fontName, static_cast<float>(fontSize)));
    field->setPlaceHolder(placeholder);
    return field;
}

TextField::~TextField() {
    IMEDispatcher::getInstance()->detach(this);
}

bool TextField::init() {
    if (!Widget::init()) return false;
    label_ = Label::create();
    addChild(label_, -1);
    setTouchEnabled(true);
    refresh();
    return true;
}

int TextField::getStringLength() const {
    return static_cast<int>(utf8Length(text_));
}

void TextField::setString(const std::string& text) {
    text_ = maxLengthEnabled_ ? utf8Prefix(text, static_cast<std::size_t>(std::max(maxLength_, 0))) : text;
    refresh();
}

void TextField::setPlaceHolder(const std::string& placeholder) {
    placeholder_ = placeholder;
    refresh();
}

void TextField::setPlaceHolderColor(const Color4B& color) {
    placeholderColor_ = color;
    refresh();
}

void TextField::setTextColor(const Color4B& color) {
    textColor_ = color;
    refresh();
}

void TextField::setFontSize(int size) {
    TTFConfig config = label_->getTTFConfig();
    config.fontSize = static_cast<float>(size);
    label_->setTTFConfig(config);
    refresh();
}

void TextField::setFontName(const std::string& name) {
    TTFConfig config = label_->getTTFConfig();
    config.fontFilePath = name;
    label_->setTTFConfig(config);
    refresh();
}

void TextField::refresh() {
    if (text_.empty()) {
        label_->setString(placeholder_);
        label_->setTextColor(placeholderColor_);
    } else {
        label_->setString(passwordEnabled_ ? std::string(utf8Length(text_), '*') : text_);
        label_->setTextColor(textColor_);
    }
    setContentSize(label_->getContentSize());
    label_->setPosition(contentSize_.width / 2, contentSize_.height / 2);
}

void TextField::report(EventType type) {
    retain();
    if (callback_) callback_(this, type);
    release();
}

void TextField::attachWithIME() {
    if (isAttached()) return;
    IMEDispatcher* ime = IMEDispatcher::getInstance();
    if (TextField* other = ime->attached()) other->didNotSelectSelf();
    ime->attach(this);
    report(EventType::ATTACH_WITH_IME);
}

void TextField::didNotSelectSelf() {
    if (!isAttached()) return;
    IMEDispatcher::getInstance()->detach(this);
    report(EventType::DETACH_WITH_IME);
}

void TextField::insertText(const std::string& utf8) {
    std::string text = text_ + utf8;
    if (maxLengthEnabled_) text = utf8Prefix(text, static_cast<std::size_t>(std::max(maxLength_, 0)));
    if (text == text_) return;
    text_ = text;
    refresh();
    report(EventType::INSERT_TEXT);
}

void TextField::deleteBackward() {
    if (text_.empty()) return;
    text_ = utf8Prefix(text_, utf8Length(text_) - 1);
    refresh();
    report(EventType::DELETE_BACKWARD);
}

bool TextField::hitTest(const Vec2& worldPoint) const {
    return Widget::hitTest(worldPoint);
}

bool TextField::onTouchBegan(Touch* touch, Event* event) {
    const bool claimed = Widget::onTouchBegan(touch, event);
    if (hitted_) {
        attachWithIME();
    } else {
        didNotSelectSelf();
    }
    return claimed;
}

}  // namespace ui
}  // namespace cocos2d
