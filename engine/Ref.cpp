#include "engine/Ref.h"

#include <algorithm>
#include <cassert>

namespace cocos2d {

Ref::~Ref() = default;

void Ref::retain() {
    assert(referenceCount_ > 0);
    ++referenceCount_;
}

void Ref::release() {
    assert(referenceCount_ > 0);
    --referenceCount_;
    if (referenceCount_ == 0) delete this;
}

Ref* Ref::autorelease() {
    PoolManager::getInstance()->getCurrentPool()->addObject(this);
    return this;
}

AutoreleasePool::AutoreleasePool() {
    objects_.reserve(150);
    PoolManager::getInstance()->push(this);
}

AutoreleasePool::~AutoreleasePool() {
    clear();
    PoolManager::getInstance()->pop();
}

void AutoreleasePool::addObject(Ref* object) {
    objects_.push_back(object);
}

void AutoreleasePool::clear() {
    // Releasing may autorelease further objects (a destructor that creates
    // something): those wait for the next clear. The two buffers trade places
    // and keep their capacity, so that a frame's pool allocates nothing once
    // it has grown to the frame's needs.
    if (clearing_) return;
    clearing_ = true;
    releasing_.swap(objects_);
    for (Ref* object : releasing_) object->release();
    releasing_.clear();
    clearing_ = false;
}

bool AutoreleasePool::contains(const Ref* object) const {
    return std::find(objects_.begin(), objects_.end(), object) != objects_.end();
}

PoolManager* PoolManager::getInstance() {
    // The outermost pool lives as long as the process; it is never destroyed so
    // that objects autoreleased during static destruction stay valid.
    static PoolManager* instance = [] {
        auto* manager = new PoolManager();
        return manager;
    }();
    static bool outerMade = false;
    if (!outerMade) {
        outerMade = true;
        new AutoreleasePool();
    }
    return instance;
}

PoolManager::PoolManager() {
    pools_.reserve(4);
}

bool PoolManager::isObjectInPools(const Ref* object) const {
    return std::any_of(pools_.begin(), pools_.end(),
                       [&](const AutoreleasePool* p) { return p->contains(object); });
}

}  // namespace cocos2d
