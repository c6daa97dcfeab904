#include "simulation/core/ChatLineQueue.h"

namespace Zarn {

void ChatLineQueue::post(std::string line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(std::move(line));
}

bool ChatLineQueue::take(std::string& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (lines_.empty()) return false;
    out = std::move(lines_.front());
    lines_.pop_front();
    return true;
}

bool ChatLineQueue::empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.empty();
}

std::size_t ChatLineQueue::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.size();
}

void ChatLineQueue::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

ChatLineQueue& chatLineQueue() {
    static ChatLineQueue queue;
    return queue;
}

}  // namespace Zarn
