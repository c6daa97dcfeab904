#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "net/TCPReciever.h"

namespace cocos2d {
class Scheduler;
}

namespace Zarn {

// The networked game client's answer to a game server that closed or reset
// its connection, or fell silent. The TCP reader calls onDisconnect on the
// I/O thread (the client's silence watch on the main thread); the
// handler marks the connection lost and hands the function its creator
// installed (the loader returns the player to the menu with a notice) to the
// main thread through the engine's scheduler. online/ cannot reach the menus
// itself.
//
// A function already handed over does not run once `detach` has been called
// (the client is going), so a stale task never acts for a client that is gone.
class ZarnClientDisconnectHandler : public Ferro::DisconnectHandler {
public:
    // scheduler: the engine's (the director's), which outlives the handler;
    // its performFunctionInCocosThread is the one call made from the I/O
    // thread.
    explicit ZarnClientDisconnectHandler(cocos2d::Scheduler& scheduler);
    ~ZarnClientDisconnectHandler() override;
    ZarnClientDisconnectHandler(const ZarnClientDisconnectHandler&) = delete;
    ZarnClientDisconnectHandler& operator=(const ZarnClientDisconnectHandler&) = delete;

    // Any thread; an empty function posts nothing.
    void setFunction(std::function<void()> function);
    // Any thread (the I/O thread when the server closed the connection, the
    // main thread when it fell silent): posts the function, the first time
    // only.
    void onDisconnect(const std::string& endpoint) override;
    // Main thread: no function posted earlier or later runs.
    void detach();

    // Any thread: the connection has ended since the handler was made.
    bool disconnected() const { return disconnected_.load(); }

private:
    cocos2d::Scheduler& scheduler_;
    std::mutex mutex_;
    std::function<void()> function_;  // guarded by mutex_
    std::shared_ptr<std::atomic<bool>> attached_ = std::make_shared<std::atomic<bool>>(true);
    std::atomic<bool> disconnected_{false};
};

}  // namespace Zarn
