#include "foundation/CommandScheduler.h"

#include <exception>
#include <string>

#include "foundation/Error.h"

namespace Corvel {

void CommandScheduler::drainIncoming() {
    for (u32 handled = 0; handled < kDrainLimit && !incoming_->empty(); ++handled) {
        QueuedMessage& message = incoming_->front();
        try {
            schedule(message);
        } catch (const std::exception& e) {
            logger_.log(Convinience::severity::error, std::string("Dropped incoming message from client ") +
                                                          std::to_string(message.fromClientId) + ": " + e.what());
        } catch (...) {
            logger_.log(Convinience::severity::error,
                        "Dropped incoming message from client " + std::to_string(message.fromClientId));
        }
        incoming_->pop();
    }
}

std::unique_ptr<IncomingCommand> CommandScheduler::build(Convinience::CommandFactory* factory,
                                                         const QueuedMessage& message) {
    if (factory == nullptr) return nullptr;
    std::unique_ptr<Convinience::Command> command = factory->create(message);
    if (auto* incoming = dynamic_cast<IncomingCommand*>(command.get())) {
        command.release();
        return std::unique_ptr<IncomingCommand>(incoming);
    }
    return nullptr;
}

void CommandScheduler::file(ClientCommandState& state, std::unique_ptr<IncomingCommand> command) {
    const u32 number = command->header.commandNumber;
    state.pending.try_emplace(number, std::move(command));
}

void CommandScheduler::executeOrdered(ClientCommandCursor& cursor) {
    ClientCommandState& state = *cursor.state;
    while (!state.pending.empty()) {
        auto it = state.newestFirst ? std::prev(state.pending.end()) : state.pending.begin();
        const u32 n = it->first;
        std::unique_ptr<Convinience::Command> command = std::move(it->second);
        state.pending.erase(it);

        const auto* incoming = dynamic_cast<const IncomingCommand*>(command.get());
        const bool flagged = incoming == nullptr || incoming->header.expectsConfirmation;
        const bool runs = flagged || n >= cursor.lastUnflaggedNumber;
        if (!flagged && n >= cursor.lastUnflaggedNumber) cursor.lastUnflaggedNumber = n;
        // Filed in the history before it runs, so that a throwing command is
        // still accounted for and never runs twice.
        auto [slot, inserted] = state.executed.try_emplace(n, std::move(command));
        if (runs && inserted) {
            slot->second->execute();
        } else if (runs) {
            // The history already holds this number: run the newcomer, then
            // let it go.
            std::unique_ptr<Convinience::Command> duplicate = std::move(command);
            if (duplicate) duplicate->execute();
        }
    }
}

void CommandScheduler::executeImmediate(ClientCommandState& state) {
    while (!state.immediate.empty()) {
        std::unique_ptr<Convinience::Command> command = std::move(state.immediate.front());
        state.immediate.erase(state.immediate.begin());
        Convinience::Command* raw = command.get();
        state.executedImmediate.push_back(std::move(command));
        raw->execute();
    }
}

void CommandScheduler::trimFirstHistory(ClientCommandState& state) {
    while (state.executed.size() > state.historyLimit) state.executed.erase(state.executed.begin());
}

void CommandScheduler::trimHistoryVector(ClientCommandState& state) {
    if (state.executedImmediate.size() > state.historyLimit) {
        const auto excess = state.executedImmediate.size() - state.historyLimit;
        state.executedImmediate.erase(state.executedImmediate.begin(), state.executedImmediate.begin() + excess);
    }
}

void SingleClientCommandScheduler::schedule(const QueuedMessage& message) {
    std::unique_ptr<IncomingCommand> command = build(factory_, message);
    if (!command) return;
    const u32 replyTo = command->header.replyTo;
    if (replyTo != 0 && pending_ != nullptr) {
        if (pending_->count(replyTo) != 1) return;  // answers nothing we wait for
        pending_->erase(replyTo);
    }
    file(*state_, std::move(command));
}

void MultiClientCommandManager::addClient(u32 clientId) {
    if (!states.count(clientId)) states.emplace(clientId, std::make_unique<ClientCommandState>());
}

void MultiClientCommandManager::removeClient(u32 clientId) { states.erase(clientId); }

ClientCommandState& MultiClientCommandManager::stateOf(u32 clientId) {
    auto it = states.find(clientId);
    if (it == states.end()) throw Convinience::ClientIDNotFoundException();
    return *it->second;
}

void MultiClientCommandScheduler::schedule(const QueuedMessage& message) {
    std::unique_ptr<IncomingCommand> command = build(factory_, message);
    if (!command) return;
    const u32 sender = command->header.clientId;
    ClientCommandState& state =
        (ownClientId_ != kNoOwnClient && sender == ownClientId_) ? manager_->own : manager_->stateOf(sender);
    file(state, std::move(command));
}

void MultiClientCommandExecutor::addClient(u32 clientId) {
    ClientCommandState& state = manager_->stateOf(clientId);
    if (!cursors_.count(clientId)) cursors_.emplace(clientId, std::make_unique<ClientCommandCursor>(ClientCommandCursor{&state, 0}));
}

void MultiClientCommandExecutor::removeClient(u32 clientId) { cursors_.erase(clientId); }

void MultiClientCommandExecutor::runCursor(ClientCommandCursor& cursor) {
    CommandScheduler::executeOrdered(cursor);
    CommandScheduler::executeImmediate(*cursor.state);
    CommandScheduler::trimFirstHistory(*cursor.state);
    CommandScheduler::trimHistoryVector(*cursor.state);
}

void MultiClientCommandExecutor::executeAll() {
    runCursor(own_);
    // A command may add or remove clients (a player's exit), so the cursors
    // are looked up afresh for each client rather than iterated in place.
    std::vector<u32> ids;
    ids.reserve(cursors_.size());
    for (const auto& [id, cursor] : cursors_) ids.push_back(id);
    for (u32 id : ids) {
        auto it = cursors_.find(id);
        if (it == cursors_.end() || !manager_->hasClient(id)) continue;
        runCursor(*it->second);
    }
}

}  // namespace Corvel
