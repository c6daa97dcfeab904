#pragma once

#include <utility>
#include <vector>

namespace cocos2d {

// Reference-counted base of every engine object. A new object holds one
// reference, owned by whoever created it; `autorelease` hands that reference to
// the current autorelease pool, which gives it up when the director drains the
// pool at the end of the frame. Engine objects are used on the main thread
// only (the reference count is not atomic).
class Ref {
public:
    virtual ~Ref();

    void retain();
    // Deletes the object when the last reference goes.
    void release();
    // Adds the object to the current pool; returns this.
    Ref* autorelease();
    unsigned int getReferenceCount() const { return referenceCount_; }

protected:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

private:
    unsigned int referenceCount_ = 1;
};

using SEL_SCHEDULE = void (Ref::*)(float);
#define CC_SCHEDULE_SELECTOR(_SELECTOR) static_cast<cocos2d::SEL_SCHEDULE>(&_SELECTOR)

// A pool of objects waiting to give up one reference each.
class AutoreleasePool {
public:
    AutoreleasePool();
    ~AutoreleasePool();
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

    void addObject(Ref* object);
    // Releases every object once (an object added twice is released twice).
    void clear();
    bool contains(const Ref* object) const;
    std::size_t size() const { return objects_.size(); }

private:
    std::vector<Ref*> objects_;
    std::vector<Ref*> releasing_;  // the objects being released by clear
    bool clearing_ = false;
};

// The stack of pools of the main thread. The director drains the current pool
// once per frame; a test drains it with `getCurrentPool()->clear()`.
class PoolManager {
public:
    static PoolManager* getInstance();

    AutoreleasePool* getCurrentPool() const { return pools_.back(); }
    bool isObjectInPools(const Ref* object) const;

private:
    friend class AutoreleasePool;
    PoolManager();
    void push(AutoreleasePool* pool) { pools_.push_back(pool); }
    void pop() { pools_.pop_back(); }
    // Pools are owned by whoever made them (the outermost one by the manager).
    std::vector<AutoreleasePool*> pools_;
};

// The engine's create pattern: construct, run `init` with the arguments,
// autorelease; null (and nothing leaked) when `init` fails.
template <typename T, typename... Args>
T* createWithInit(Args&&... args) {
    T* object = new T();
    if (object->init(std::forward<Args>(args)...)) {
        object->autorelease();
        return object;
    }
    delete object;
    return nullptr;
}

// The same with a named initialiser: createWithMethod<Sprite>(&Sprite::initWithFile, name).
template <typename T, typename Method, typename... Args>
T* createWithMethod(Method method, Args&&... args) {
    T* object = new T();
    if ((object->*method)(std::forward<Args>(args)...)) {
        object->autorelease();
        return object;
    }
    delete object;
    return nullptr;
}

#define CC_SAFE_RELEASE(p)     \
    do {                       \
        if (p) (p)->release(); \
    } while (0)
#define CC_SAFE_RELEASE_NULL(p) \
    do {                        \
        if (p) {                \
            (p)->release();     \
            (p) = nullptr;      \
        }                       \
    } while (0)
#define CC_SAFE_RETAIN(p)     \
    do {                      \
        if (p) (p)->retain(); \
    } while (0)

}  // namespace cocos2d
