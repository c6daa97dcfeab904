#pragma once

#include <cstddef>
#include <utility>

namespace cocos2d {

// Holds one reference to an engine object: retains on taking a pointer or a
// copy, releases on reset and destruction. For callbacks and tables that must
// keep a node or action alive for as long as they may use it. Main thread
// only, like the objects it holds.
template <typename T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    RefPtr(T* object) : object_(object) { retainObject(); }
    RefPtr(const RefPtr& other) : object_(other.object_) { retainObject(); }
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~RefPtr() { releaseObject(); }

    RefPtr& operator=(const RefPtr& other) {
        if (this != &other) reset(other.object_);
        return *this;
    }
    RefPtr& operator=(RefPtr&& other) noexcept {
        if (this != &other) {
            releaseObject();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    RefPtr& operator=(T* object) {
        reset(object);
        return *this;
    }

    // Takes the new object first, so that resetting to the held one is safe.
    void reset(T* object = nullptr) {
        if (object != nullptr) object->retain();
        releaseObject();
        object_ = object;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    bool operator==(const T* object) const { return object_ == object; }

private:
    void retainObject() {
        if (object_ != nullptr) object_->retain();
    }
    void releaseObject() {
        if (object_ != nullptr) object_->release();
    }

    T* object_ = nullptr;
};

}  // namespace cocos2d
