#include "engine/ActionInstant.h"

#include "engine/Node.h"
#include "engine/Sprite.h"

namespace cocos2d {

namespace {
template <typename T>
T* make(T* action) {
    action->autorelease();
    return action;
}
}  // namespace

void ActionInstant::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    done_ = false;
}

void ActionInstant::step(float dt) {
    update(1.0f);
}

void ActionInstant::update(float t) {
    if (done_) return;
    done_ = true;
    execute();
}

Show* Show::create() {
    return make(new Show());
}
Show* Show::clone() const {
    return create();
}
ActionInstant* Show::reverse() const {
    return Hide::create();
}
void Show::execute() {
    if (target_ != nullptr) target_->setVisible(true);
}

Hide* Hide::create() {
    return make(new Hide());
}
Hide* Hide::clone() const {
    return create();
}
ActionInstant* Hide::reverse() const {
    return Show::create();
}
void Hide::execute() {
    if (target_ != nullptr) target_->setVisible(false);
}

ToggleVisibility* ToggleVisibility::create() {
    return make(new ToggleVisibility());
}
ToggleVisibility* ToggleVisibility::clone() const {
    return create();
}
ToggleVisibility* ToggleVisibility::reverse() const {
    return create();
}
void ToggleVisibility::execute() {
    if (target_ != nullptr) target_->setVisible(!target_->isVisible());
}

Place* Place::create(const Vec2& position) {
    auto* p = new Place();
    p->position_ = position;
    return make(p);
}
Place* Place::clone() const {
    return create(position_);
}
Place* Place::reverse() const {
    return clone();
}
void Place::execute() {
    if (target_ != nullptr) target_->setPosition(position_);
}

CallFunc* CallFunc::create(const std::function<void()>& function) {
    auto* c = new CallFunc();
    c->function_ = function;
    return make(c);
}
CallFunc* CallFunc::clone() const {
    return create(function_);
}
CallFunc* CallFunc::reverse() const {
    return clone();
}
void CallFunc::execute() {
    if (function_) function_();
}

CallFuncN* CallFuncN::create(const std::function<void(Node*)>& function) {
    auto* c = new CallFuncN();
    c->function_ = function;
    return make(c);
}
CallFuncN* CallFuncN::clone() const {
    return create(function_);
}
CallFuncN* CallFuncN::reverse() const {
    return clone();
}
void CallFuncN::execute() {
    if (function_) function_(target_);
}

RemoveSelf* RemoveSelf::create(bool cleanup) {
    auto* r = new RemoveSelf();
    r->cleanup_ = cleanup;
    return make(r);
}
RemoveSelf* RemoveSelf::clone() const {
    return create(cleanup_);
}
RemoveSelf* RemoveSelf::reverse() const {
    return clone();
}
void RemoveSelf::execute() {
    if (target_ != nullptr) target_->removeFromParentAndCleanup(cleanup_);
}

FlipX* FlipX::create(bool flipped) {
    auto* f = new FlipX();
    f->flipped_ = flipped;
    return make(f);
}
FlipX* FlipX::clone() const {
    return create(flipped_);
}
FlipX* FlipX::reverse() const {
    return create(!flipped_);
}
void FlipX::execute() {
    if (auto* s = dynamic_cast<Sprite*>(target_)) s->setFlippedX(flipped_);
}

FlipY* FlipY::create(bool flipped) {
    auto* f = new FlipY();
    f->flipped_ = flipped;
    return make(f);
}
FlipY* FlipY::clone() const {
    return create(flipped_);
}
FlipY* FlipY::reverse() const {
    return create(!flipped_);
}
void FlipY::execute() {
    if (auto* s = dynamic_cast<Sprite*>(target_)) s->setFlippedY(flipped_);
}

}  // namespace cocos2d
