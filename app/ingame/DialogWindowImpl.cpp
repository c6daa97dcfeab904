#include "app/ingame/DialogWindowImpl.h"

#include <cmath>

#include "app/widgets/LabelEx.h"
#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "presentation/audio/SoundPlayer.h"
#include "presentation/effects/VisualRandom.h"
#include "presentation/mediators/CocosNodeMediator.h"

using namespace cocos2d;

namespace {

constexpr float kEaseRate = 3.0f;
constexpr float kBorderWidth = 5.0f;
const Color4F kWhite(1.0f, 1.0f, 1.0f, 1.0f);
const Color4F kBlack(0.0f, 0.0f, 0.0f, 1.0f);
const Color4F kPlateColour(Color4B(30, 18, 12, 255));
const Color4F kAvatarColour(Color4B(239, 192, 255, 255));

Size extentOf(const Node* node) {
    return Size(node->getContentSize().width * node->getScaleX(),
                node->getContentSize().height * node->getScaleY());
}

float randomUnit() {
    return visualRandomUnit();
}

void playEffect(const char* file) {
    SoundPlayer::getInstance()->playEffect(file, 1.0f, 1.0f);
}

}  // namespace

DialogTapper* DialogTapper::create() {
    return createWithInit<DialogTapper>();
}

bool DialogTapper::init() {
    if (!Node::init()) return false;
    triangle_ = Sprite::createWithSpriteFrameName(kTriangleFrame);
    triangle_->setRotation(30.0f + 15.0f * visualRandomUnit());
    triangle_->setScale(0.7f);
    addChild(triangle_);
    setContentSize(extentOf(triangle_));
    setAnchorPoint(Vec2(0.5f, 0.5f));
    triangle_->setPosition(Vec2(getContentSize().width / 2.0f - 20.0f, getContentSize().height / 2.0f));
    return true;
}

void DialogTapper::startBounce() {
    auto* scale = Sequence::create(EaseOut::create(ScaleTo::create(0.3f, 0.6f), kEaseRate),
                                   EaseIn::create(ScaleTo::create(0.3f, 0.7f), kEaseRate));
    auto* bob = Sequence::create(EaseOut::create(MoveBy::create(0.3f, Vec2(0.0f, 20.0f)), kEaseRate),
                                 EaseIn::create(MoveBy::create(0.3f, Vec2(0.0f, -20.0f)), kEaseRate));
    triangle_->runAction(RepeatForever::create(Spawn::create(scale, bob)));
}

const char* DialogWindowImpl::avatarFrame(const std::string& speaker) {
    if (speaker == "PART") return "avatar_part.png";
    if (speaker == "Cat") return "mode_star.png";
    return nullptr;
}

DialogWindowImpl::DialogWindowImpl(Zarn::NodeMediator& window, Zarn::DialogTable& table,
                                   const Zarn::DialogPlayer& player)
    : DialogWindow(window, table, player), window_(CocosNodeBase::engineSide(&window).getNode()) {
    setHitOffset(
        GeometryLib::Point(-32, static_cast<i16>(std::trunc(window_->getContentSize().height * -0.5f))));
}

DialogWindowImpl::~DialogWindowImpl() = default;

Zarn::InputAnswer DialogWindowImpl::handleInput(const GeometryLib::FPoint& position) {
    Vec2 point(position.x, position.y);
    if (Node* parent = window_->getParent()) point = parent->convertToNodeSpace(point);
    if (open_) {
        setHitOffset(GeometryLib::Point(
            -24, static_cast<i16>(std::trunc(20.0f - window_->getContentSize().height / 2.0f))));
    }
    const Zarn::InputAnswer answer = DialogWindow::handleInput(GeometryLib::FPoint(point.x, point.y));
    if (answer.kind != 0) playEffect(kPressSound);
    return answer;
}

void DialogWindowImpl::update() {
    DialogWindow::update();
    if (open_ && box_ != nullptr) keepInView();
    if (speakerNode_.get() != nullptr && isShown() != 0) placeArrow();
}

Rect DialogWindowImpl::boxBounds() const {
    Rect bounds = dialogQuadBounds({corners_, plateCorners_, frameCorners_}, kBorderWidth / 2.0f);
    if (tapper_ != nullptr) bounds = bounds.unionWithRect(tapper_->getBoundingBox());
    return bounds;
}

void DialogWindowImpl::keepInView() {
    Node* parent = window_->getParent();
    if (parent == nullptr) return;
    window_->setPosition(home_);
    const Rect local = boxBounds();
    const Vec2 low = window_->convertToWorldSpace(local.origin);
    const Vec2 high = window_->convertToWorldSpace(Vec2(local.getMaxX(), local.getMaxY()));
    const Rect onScreen(low.x, low.y, high.x - low.x, high.y - low.y);
    Director* director = Director::getInstance();
    const Vec2 origin = director->getVisibleOrigin();
    const Size visible = director->getVisibleSize();
    const Rect area(origin.x + kViewMargin, origin.y + kViewMargin, visible.width - 2.0f * kViewMargin,
                    visible.height - 2.0f * kViewMargin);
    const Vec2 shift = dialogShiftIntoArea(onScreen, area);
    if (shift.x == 0.0f && shift.y == 0.0f) return;
    window_->setPosition(parent->convertToNodeSpace(parent->convertToWorldSpace(home_) + shift));
}

void DialogWindowImpl::showLines(const std::vector<const std::string*>& page) {
    const bool wasOpen = open_;
    if (!wasOpen) {
        tapper_ = DialogTapper::create();
        tapper_->setVisible(false);
        window_->addChild(tapper_);
    }
    buildLineLabels(page);
    for (std::size_t i = 0; i + 1 < lineLabels_.size(); ++i) lineLabels_[i]->next = lineLabels_[i + 1];
    if (!wasOpen) {
        playEffect(kShowSound);
        tapper_->startBounce();
        open_ = true;
    }
    if (!lineLabels_.empty()) lineLabels_.front()->startTyping();
    if (getPageHandover() != 0 || box_ == nullptr) {
        home_ = window_->getPosition();
        buildBox();
    }
    setPageHandover(1);
    const Size box = box_->getContentSize();
    tapper_->setPosition(Vec2(box.width - 20.0f, -box.height + tapper_->getContentSize().height));
    tapper_->setVisible(true);
    window_->setContentSize(Size(tapper_->getContentSize().width + box.width, box.height + 30.0f));
    window_->setAnchorPoint(Vec2(0.0f, -0.4f));
}

void DialogWindowImpl::removeLineLabels() {
    for (LabelEx* label : lineLabels_) {
        label->stopAllActions();
        label->next = nullptr;
        label->runAction(Sequence::create(Hide::create(), DelayTime::create(0.02f), RemoveSelf::create()));
    }
    lineLabels_.clear();
}

void DialogWindowImpl::buildLineLabels(const std::vector<const std::string*>& page) {
    removeLineLabels();
    LabelEx* previous = nullptr;
    for (const std::string* line : page) {
        LabelEx* label = LabelEx::create(*line, kLineFont, kLineFontSize, Size::ZERO);
        label->setScale(0.6f);
        label->setAdditionalKerning(4.0f);
        label->setTextColor(Color4B::BLACK);
        const Size extent = extentOf(label);
        float y = 0.0f;
        if (previous != nullptr) {
            y = previous->getPositionY() - extentOf(previous).height / 2.0f - previous->getLineSpacing() -
                extent.height / 2.0f;
        }
        label->setPosition(Vec2(extent.width / 2.0f + 10.0f, y));
        for (int i = 0; i < label->getStringLength(); ++i)
            if (Sprite* letter = label->getLetter(i)) letter->setVisible(false);
        window_->addChild(label);
        lineLabels_.push_back(label);
        previous = label;
    }
}

void DialogWindowImpl::buildBox() {
    if (box_ != nullptr) window_->removeChild(box_, true);
    box_ = nullptr;
    arrow_ = nullptr;
    nameLabel_ = nullptr;
    speakerNode_ = nullptr;

    Size widest;
    for (const LabelEx* label : lineLabels_) {
        const Size extent = extentOf(label);
        if (extent.width > widest.width) widest = extent;
    }
    const int n = static_cast<int>(lineLabels_.size());
    corners_ = jitterOutward(dialogBoxCorners(widest.width, widest.height, n), 20.0f, randomUnit);

    box_ = DrawNode::create(2.0f);
    box_->drawPolygon(corners_.data(), 4, kWhite, kBorderWidth, kBlack);
    box_->setContentSize(Size(widest.width + 40.0f, static_cast<float>(n) * widest.height + 40.0f));
    window_->addChild(box_, -10);

    const DialogQuad frame = dialogAvatarFrame(corners_);
    const std::string speaker = getOpenEntry() != nullptr ? getOpenEntry()->speaker : std::string();
    if (const char* avatar = avatarFrame(speaker)) {
        Sprite* sprite = Sprite::createWithSpriteFrameName(avatar);
        sprite->setScale(0.4f);
        const Size extent = extentOf(sprite);
        sprite->setPosition(frame[0] + Vec2(extent.width / 2.0f, extent.height / 2.0f));
        box_->addChild(sprite);
    }
    const DialogQuad jitteredFrame = jitterOutward(frame, 7.5f, randomUnit);

    nameLabel_ = Label::createWithTTF(speaker, kNameFont, kNameFontSize);
    nameLabel_->setTextColor(Color4B(255, 138, 41, 255));
    nameLabel_->setScale(0.4f);
    const Size plate = extentOf(nameLabel_) + Size(30.0f, 0.0f);
    plateCorners_ = jitterOutward(dialogNamePlate(corners_, plate), 5.0f, randomUnit);
    frameCorners_ = jitteredFrame;
    box_->drawPolygon(plateCorners_.data(), 4, kPlateColour, kBorderWidth, kPlateColour);
    box_->drawPolygon(jitteredFrame.data(), 4, kAvatarColour, kBorderWidth, kPlateColour);
    nameLabel_->setPosition(plateCorners_[0] + Vec2(plate.width / 2.0f, plate.height / 2.0f));
    box_->addChild(nameLabel_);

    box_->setContentSize(dialogQuadExtent(corners_));
    box_->setScaleX(0.0f);
    box_->runAction(EaseOut::create(ScaleTo::create(kPopSeconds, 1.0f), kEaseRate));

    if (speakerNodes_ == nullptr) return;
    const auto found = speakerNodes_->find(speaker);
    if (found == speakerNodes_->end() || found->second == nullptr) return;
    speakerNode_ = found->second;
    arrow_ = DrawNode::create(2.0f);
    const Vec2 triangle[3] = {Vec2(25.0f, 0.0f), Vec2(12.5f, 60.0f), Vec2(0.0f, 5.0f)};
    arrow_->drawPolygon(triangle, 3, kWhite, 5.0f, kBlack);
    arrow_->setContentSize(Size(25.0f, 60.0f));
    arrow_->setAnchorPoint(Vec2(0.5f, 0.0f));
    box_->addChild(arrow_);
}

void DialogWindowImpl::placeArrow() {
    if (box_ == nullptr || arrow_ == nullptr) return;
    const Node* speaker = speakerNode_.get();
    const Node* speakerParent = speaker->getParent();
    const Vec2 world = speakerParent != nullptr ? speakerParent->convertToWorldSpace(speaker->getPosition())
                                                : speaker->getPosition();
    const Vec2 inBoxParent = window_->convertToNodeSpace(world);
    if (dialogArrowFreeRect(box_->getBoundingBox()).containsPoint(inBoxParent)) {
        arrow_->setVisible(false);
        return;
    }
    arrow_->setVisible(true);
    const DialogArrowPlacement placement = placeDialogArrow(corners_, box_->convertToNodeSpace(world));
    arrow_->setPosition(placement.position);
    arrow_->setRotation(placement.rotation);
}

void DialogWindowImpl::clearLines() {
    removeLineLabels();
}

bool DialogWindowImpl::isOpening() {
    return box_ != nullptr && box_->getNumberOfRunningActions() > 1;
}

bool DialogWindowImpl::isTyping() {
    for (LabelEx* label : lineLabels_)
        if (label->getNumberOfRunningActions() > 0) return true;
    return false;
}

void DialogWindowImpl::completeTyping() {
    for (LabelEx* label : lineLabels_) {
        label->stopAllActions();
        for (int i = 0; i < label->getStringLength(); ++i)
            if (Sprite* letter = label->getLetter(i)) letter->setVisible(true);
    }
}

void DialogWindowImpl::finishOpening() {
    if (tapper_ != nullptr) tapper_->setVisible(true);
}

void DialogWindowImpl::hideWindow() {
    if (!open_) return;
    if (nameLabel_ != nullptr) nameLabel_->removeFromParent();
    nameLabel_ = nullptr;
    window_->stopAllActions();
    removeLineLabels();
    if (tapper_ != nullptr) tapper_->removeFromParent();
    tapper_ = nullptr;
    if (box_ != nullptr) {
        box_->runAction(Sequence::create(EaseOut::create(ScaleTo::create(kPopSeconds, 0.0f, 1.0f), kEaseRate),
                                         RemoveSelf::create()));
    }
    // The box removes itself; forgetting it here keeps a later dialog from
    // touching it once it is gone.
    box_ = nullptr;
    arrow_ = nullptr;
    speakerNode_ = nullptr;
    open_ = false;
}
