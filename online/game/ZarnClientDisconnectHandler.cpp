#include "online/game/ZarnClientDisconnectHandler.h"

#include "engine/Scheduler.h"
#include "foundation/Logger.h"

namespace Zarn {

ZarnClientDisconnectHandler::ZarnClientDisconnectHandler(cocos2d::Scheduler& scheduler)
    : scheduler_(scheduler) {}

ZarnClientDisconnectHandler::~ZarnClientDisconnectHandler() {
    detach();
}

void ZarnClientDisconnectHandler::setFunction(std::function<void()> function) {
    std::lock_guard lock(mutex_);
    function_ = std::move(function);
}

void ZarnClientDisconnectHandler::onDisconnect(const std::string& endpoint) {
    if (disconnected_.exchange(true)) return;
    Convinience::Logger().log(Convinience::severity::info,
                              "Lost the connection to the game server at " + endpoint);
    std::function<void()> function;
    {
        std::lock_guard lock(mutex_);
        function = function_;
    }
    if (!function) return;
    scheduler_.performFunctionInCocosThread([attached = attached_, function = std::move(function)] {
        if (attached->load()) function();
    });
}

void ZarnClientDisconnectHandler::detach() {
    attached_->store(false);
}

}  // namespace Zarn
