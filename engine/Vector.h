#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace cocos2d {

// A vector of engine objects that holds one reference to each element while it
// is in the vector. T is a pointer to a Ref subclass.
template <class T>
class Vector {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;
    using reverse_iterator = typename std::vector<T>::reverse_iterator;
    using const_reverse_iterator = typename std::vector<T>::const_reverse_iterator;

    Vector() = default;
    explicit Vector(std::size_t capacity) { data_.reserve(capacity); }
    Vector(std::initializer_list<T> list) {
        for (T object : list) pushBack(object);
    }
    ~Vector() { clear(); }
    Vector(const Vector& other) : data_(other.data_) { addRefForAll(); }
    Vector(Vector&& other) noexcept : data_(std::move(other.data_)) { other.data_.clear(); }
    Vector& operator=(const Vector& other) {
        if (this != &other) {
            Vector copy(other);
            swap(copy);
        }
        return *this;
    }
    Vector& operator=(Vector&& other) noexcept {
        if (this != &other) {
            clear();
            data_ = std::move(other.data_);
            other.data_.clear();
        }
        return *this;
    }
    void swap(Vector& other) noexcept { data_.swap(other.data_); }

    iterator begin() { return data_.begin(); }
    iterator end() { return data_.end(); }
    const_iterator begin() const { return data_.begin(); }
    const_iterator end() const { return data_.end(); }
    const_iterator cbegin() const { return data_.cbegin(); }
    const_iterator cend() const { return data_.cend(); }
    reverse_iterator rbegin() { return data_.rbegin(); }
    reverse_iterator rend() { return data_.rend(); }
    const_reverse_iterator rbegin() const { return data_.rbegin(); }
    const_reverse_iterator rend() const { return data_.rend(); }

    void reserve(std::size_t n) { data_.reserve(n); }
    std::size_t capacity() const { return data_.capacity(); }
    std::size_t size() const { return data_.size(); }
    bool empty() const { return data_.empty(); }
    T at(std::size_t index) const { return data_.at(index); }
    T front() const { return data_.front(); }
    T back() const { return data_.back(); }
    const std::vector<T>& asStdVector() const { return data_; }

    std::ptrdiff_t getIndex(T object) const {
        auto it = std::find(data_.begin(), data_.end(), object);
        return it == data_.end() ? -1 : it - data_.begin();
    }
    const_iterator find(T object) const { return std::find(data_.begin(), data_.end(), object); }
    iterator find(T object) { return std::find(data_.begin(), data_.end(), object); }
    bool contains(T object) const { return find(object) != data_.end(); }

    // Null objects are not stored.
    void pushBack(T object) {
        if (object == nullptr) return;
        data_.push_back(object);
        object->retain();
    }
    void pushBack(const Vector<T>& other) {
        for (T object : other) pushBack(object);
    }
    void insert(std::size_t index, T object) {
        if (object == nullptr) return;
        data_.insert(data_.begin() + static_cast<std::ptrdiff_t>(index), object);
        object->retain();
    }
    void popBack() {
        T last = data_.back();
        data_.pop_back();
        last->release();
    }
    void eraseObject(T object, bool removeAll = false) {
        for (auto it = data_.begin(); it != data_.end();) {
            if (*it == object) {
                it = data_.erase(it);
                object->release();
                if (!removeAll) return;
            } else {
                ++it;
            }
        }
    }
    iterator erase(iterator position) {
        T object = *position;
        auto next = data_.erase(position);
        object->release();
        return next;
    }
    iterator erase(std::size_t index) { return erase(data_.begin() + static_cast<std::ptrdiff_t>(index)); }
    void clear() {
        std::vector<T> old;
        old.swap(data_);
        for (T object : old) object->release();
    }
    void replace(std::size_t index, T object) {
        if (object == nullptr) return;
        object->retain();
        data_[index]->release();
        data_[index] = object;
    }
    void reverse() { std::reverse(data_.begin(), data_.end()); }

private:
    void addRefForAll() {
        for (T object : data_) object->retain();
    }
    std::vector<T> data_;
};

}  // namespace cocos2d
