#include "foundation/QueuedMessage.h"

#include <boost/lockfree/spsc_queue.hpp>

namespace Corvel {

struct MessageQueue::Ring {
    explicit Ring(std::size_t capacity) : queue(capacity) {}
    boost::lockfree::spsc_queue<QueuedMessage> queue;
};

MessageQueue::MessageQueue(std::size_t capacity) : ring_(std::make_unique<Ring>(capacity)), capacity_(capacity) {}
MessageQueue::~MessageQueue() = default;

bool MessageQueue::push(QueuedMessage&& message) { return ring_->queue.push(std::move(message)); }
bool MessageQueue::push(const QueuedMessage& message) { return ring_->queue.push(message); }
bool MessageQueue::empty() const { return ring_->queue.read_available() == 0; }
QueuedMessage& MessageQueue::front() { return ring_->queue.front(); }
void MessageQueue::pop() { ring_->queue.pop(); }

bool MessageQueue::pop(QueuedMessage& out) {
    return ring_->queue.consume_one([&](QueuedMessage& m) { out = std::move(m); });
}

}  // namespace Corvel
