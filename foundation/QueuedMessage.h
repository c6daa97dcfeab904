#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "foundation/Types.h"

namespace Corvel {

// One command's bytes on their way between the command layer and the
// transport (or the other side's scheduler in single play): the 17-byte
// header followed by the command's data.
struct QueuedMessage {
    u32 fromClientId = 0;
    u32 toClientId = 0;
    u8 reliable = 0;
    std::vector<u8> bytes;
};

// Single-producer single-consumer lock-free ring of messages, with a capacity
// fixed at construction. Exactly one thread pushes and exactly one thread
// reads (empty, front, pop); either may ask for the capacity.
class MessageQueue {
public:
    explicit MessageQueue(std::size_t capacity);
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // Producer side. False, and nothing queued, when the ring is full. The
    // rvalue push moves the message's bytes into the ring (no copy, no
    // allocation) and leaves the message as it was when the ring is full.
    bool push(QueuedMessage&& message);
    bool push(const QueuedMessage& message);

    // Consumer side.
    bool empty() const;
    // The oldest message; the queue must not be empty.
    QueuedMessage& front();
    void pop();
    // Moves the oldest message out into `out`; false when empty.
    bool pop(QueuedMessage& out);

    std::size_t capacity() const { return capacity_; }

private:
    struct Ring;
    std::unique_ptr<Ring> ring_;
    std::size_t capacity_;
};

}  // namespace Corvel
