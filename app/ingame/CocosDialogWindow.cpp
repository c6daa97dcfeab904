#include "app/ingame/CocosDialogWindow.h"

#include "app/ingame/DialogWindowImpl.h"
#include "presentation/mediators/CocosNodeMediator.h"

CocosDialogWindow* CocosDialogWindow::create(Zarn::DialogTable& table, const Zarn::DialogPlayer& player) {
    auto* window = new CocosDialogWindow(table, player);
    if (window->init()) {
        window->autorelease();
        return window;
    }
    delete window;
    return nullptr;
}

CocosDialogWindow::~CocosDialogWindow() {
    mediator_.reset();
    impl_.reset();
}

bool CocosDialogWindow::init() {
    if (!Sprite::init()) return false;
    mediator_ = std::make_unique<CocosNode1Mediator>(this, &nullDelegate_);
    impl_ = std::make_unique<DialogWindowImpl>(*mediator_, table_, player_);
    impl_->setLinesPerPage(kLinesPerPage);
    mediator_->scheduleUpdate();
    return true;
}

void CocosDialogWindow::update(float) {
    impl_->update();
}

DialogWindowMaker cocosDialogWindowMaker() {
    return [](Zarn::DialogTable& table, const Zarn::DialogPlayer& player,
              SpeakerNodes& speakers) -> Zarn::DialogWindow* {
        CocosDialogWindow* window = CocosDialogWindow::create(table, player);
        if (window == nullptr) return nullptr;
        window->getImpl()->setSpeakerNodes(&speakers);
        return window->getImpl();
    };
}
