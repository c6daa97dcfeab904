#include "app/ingame/ChatShell.h"

#include <string>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Label.h"
#include "simulation/core/ChatLineQueue.h"

using namespace cocos2d;

ChatShell* ChatShell::create() {
    return createWithInit<ChatShell>();
}

bool ChatShell::init() {
    if (!Node::init()) return false;
    scheduleUpdate();
    setCascadeOpacityEnabled(true);
    return true;
}

void ChatShell::update(float) {
    Zarn::ChatLineQueue& queue = Zarn::chatLineQueue();
    if (queue.empty()) return;
    stopAllActions();
    setOpacity(255);
    std::string line;
    while (queue.take(line)) {
        Label* label = Label::createWithTTF(line, kFont, kFontSize);
        label->setTextColor(Color4B(0, 255, 255, 255));
        label->setMaxLineWidth(kWrapWidth);
        label->enableShadow(Color4B::BLACK, Size(2.0f, -2.0f), 0);
        const Size size = label->getContentSize();
        float y = 0.0f;
        if (lastLine_ != nullptr)
            y = lastLine_->getPositionY() - lastLine_->getContentSize().height / 2.0f - size.height / 2.0f;
        label->setPosition(Vec2(size.width / 2.0f, y));
        addChild(label);
        lastLine_ = label;
    }
    runAction(Sequence::create(DelayTime::create(kShowSeconds), FadeOut::create(kFadeSeconds),
                               CallFunc::create([this] { forgetLines(); }), nullptr));
}

void ChatShell::forgetLines() {
    removeAllChildren();
    lastLine_ = nullptr;
}
