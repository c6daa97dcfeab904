#pragma once

#include <unordered_map>
#include <vector>

#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"

namespace Corvel {

struct PendingCommand {
    u32 commandNumber = 0;
    u32 commandId = 0;
    u64 sentAtMs = 0;
};

// The commands this side sent with expectsConfirmation set that no answer
// has named yet. Used by the producing thread only.
class PendingCommandTable {
public:
    // clock: shared with the owner, who keeps it alive.
    explicit PendingCommandTable(const Convinience::Stopwatch& clock) : clock_(&clock) {}

    // Files (or overwrites) the entry for the number, stamped with the
    // clock's elapsed milliseconds.
    void add(u32 commandNumber, u32 commandId);
    std::size_t count(u32 commandNumber) const { return entries.count(commandNumber); }
    void erase(u32 commandNumber) { entries.erase(commandNumber); }
    const PendingCommand* find(u32 commandNumber) const;

    std::unordered_map<u32, PendingCommand> entries;

private:
    const Convinience::Stopwatch* clock_;
};

// Numbers, registers, serialises and queues outgoing commands. Belongs to
// one producing thread; its queue has exactly one consumer.
//
// Message bytes: the 17-byte header, then what onPush writes, then the data.
class CommandPusher {
public:
    // queue and pending are not owned and outlive the pusher; pending may be
    // null when this side tracks no confirmations.
    CommandPusher(MessageQueue& queue, u32 firstCommandNumber = 0, PendingCommandTable* pending = nullptr)
        : nextCommandNumber(firstCommandNumber), queue_(&queue), pending_(pending) {}
    virtual ~CommandPusher() = default;

    // Each stamps header.commandNumber from the counter. Answers whether the
    // message entered the queue; a full queue drops it (logged as WARN).
    bool pushRaw(CommandHeader& header);
    bool pushRawWithData(CommandHeader& header, const std::vector<u8>& data);
    bool push(CommandHeader& header);
    bool pushWithData(CommandHeader& header, const std::vector<u8>& data);

    u32 nextCommandNumber;

protected:
    // Called after the header has been written and before the data; writes
    // the payload that this pusher adds to every command it pushes.
    virtual void onPush(CommandHeader& header, Convinience::Buffer& buffer) {}

private:
    bool pushImpl(CommandHeader& header, const std::vector<u8>* data, bool withHook);

    MessageQueue* queue_;
    PendingCommandTable* pending_;
    Convinience::Logger logger_;
};

}  // namespace Corvel
