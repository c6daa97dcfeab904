#include "app/story/ZUIMedalResult.h"

#include "app/widgets/ZUICoreButton.h"

ZUIMedalResult* ZUIMedalResult::create() {
    return cocos2d::createWithInit<ZUIMedalResult>();
}

bool ZUIMedalResult::init() {
    if (!Node::init()) return false;
    setContentSize(cocos2d::Size(800.0f, 600.0f));
    retryButton_ = ZUICoreButton::create(coreButtonStyles[0], "");
    nextButton_ = ZUICoreButton::create(coreButtonStyles[0], "");
    levelsButton_ = ZUICoreButton::create(coreButtonStyles[0], "");
    addChild(retryButton_);
    addChild(nextButton_);
    addChild(levelsButton_);
    return true;
}

void ZUIMedalResult::buildMedalRows(const Zarn::LevelList&, u32, const Zarn::LevelStatus&,
                                    const std::vector<Zarn::ScoreResult>&) {}

void ZUIMedalResult::showGameOver() {
    nextButton_->removeFromParent();
    nextButton_ = nullptr;
}
