#pragma once

#include <deque>
#include <mutex>
#include <string>

namespace Zarn {

// First-in first-out text lines for the online chat display: players joining,
// leaving or kicked, and lobby messages. Any thread may post; the chat display
// takes them out on the main thread. Guarded by its own mutex.
class ChatLineQueue {
public:
    void post(std::string line);
    // The oldest line into `out`; false when there is none.
    bool take(std::string& out);
    bool empty() const;
    std::size_t size() const;
    // Drops every line (tests and leaving online play).
    void clear();

private:
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};

// The one queue of the process, shared by the lobby, the client commands of
// every game and the chat display.
ChatLineQueue& chatLineQueue();

}  // namespace Zarn
