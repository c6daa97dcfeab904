#include "foundation/QueuedMessage.h"

#include <boost/lockfree/spsc_queue.hpp>
#include <iterator>

namespace Corvel {

struct MessageQueue::Ring {
    explicit Ring(std::size_t capacity) : queue(capacity) {}
    boost::lockfree::spsc_queue<QueuedMessage> queue;
};

MessageQueue::MessageQueue(std::size_t capacity)
    : ring_(std::make_unique<Ring>(capacity)), capacity_(capacity) {}
MessageQueue::~MessageQueue() = default;

bool MessageQueue::push(QueuedMessage&& message) {
    // The ring's range push constructs its slots from the iterators: a move
    // iterator moves the bytes in instead of copying them.
    const auto first = std::make_move_iterator(&message);
    return ring_->queue.push(first, first + 1) != first;
}
bool MessageQueue::push(const QueuedMessage& message) {
    return ring_->queue.push(message);
}
bool MessageQueue::empty() const {
    return ring_->queue.read_available() == 0;
}
QueuedMessage& MessageQueue::front() {
    return ring_->queue.front();
}
void MessageQueue::pop() {
    ring_->queue.pop();
}

bool MessageQueue::pop(QueuedMessage& out) {
    return ring_->queue.consume_one([&](QueuedMessage& m) { out = std::move(m); });
}

}  // namespace Corvel
