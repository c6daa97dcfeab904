#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/Command.h"
#include "foundation/CommandHeader.h"
#include "foundation/CommandPusher.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"

namespace Corvel {

// Bookkeeping of one peer's received commands. Owned by one thread.
struct ClientCommandState {
    // Filed, not yet executed, by command number.
    std::map<u32, std::unique_ptr<Convinience::Command>> pending;
    // Run at the next execution pass regardless of numbering.
    std::vector<std::unique_ptr<Convinience::Command>> immediate;
    // Executed (or dropped) numbered commands, kept up to historyLimit.
    std::map<u32, std::unique_ptr<Convinience::Command>> executed;
    // Executed immediate commands, oldest first, kept up to historyLimit.
    std::vector<std::unique_ptr<Convinience::Command>> executedImmediate;
    u32 historyLimit = 30;
    // Which end of `pending` runs first: the highest number (true) or the lowest.
    bool newestFirst = true;
};

struct ClientCommandCursor {
    ClientCommandState* state = nullptr;  // owned by the command manager or the owner
    // Number of the last executed command that did not expect confirmation.
    u32 lastUnflaggedNumber = 0;
};

// Turns received messages into commands and files them per client; executes
// them once per tick. Every operation runs on the owner's thread; only the
// incoming queue is shared (with its producer).
class CommandScheduler {
public:
    // incoming: not owned; outlives the scheduler.
    explicit CommandScheduler(MessageQueue& incoming) : incoming_(&incoming) {}
    virtual ~CommandScheduler() = default;

    // Schedules at most 256 queued messages. A message whose scheduling throws
    // (unknown client, unparsable data) is logged and dropped, so that one bad
    // message never blocks the queue.
    void drainIncoming();
    virtual void schedule(const QueuedMessage& message) = 0;

    // Runs the pending commands: flagged ones always, unflagged ones only when
    // no newer unflagged one has run; all move to the history.
    static void executeOrdered(ClientCommandCursor& cursor);
    static void executeImmediate(ClientCommandState& state);
    static void trimFirstHistory(ClientCommandState& state);
    static void trimHistoryVector(ClientCommandState& state);

    static constexpr u32 kDrainLimit = 256;

protected:
    // Files a command in state.pending under its number; a duplicate number is
    // not filed.
    static void file(ClientCommandState& state, std::unique_ptr<IncomingCommand> command);
    // The factory's command for the message, when it is an incoming command.
    static std::unique_ptr<IncomingCommand> build(Convinience::CommandFactory* factory, const QueuedMessage& message);

    Convinience::Logger logger_;

private:
    MessageQueue* incoming_;
};

// One peer (the client game core's server, the lobby client's lobby).
class SingleClientCommandScheduler : public CommandScheduler {
public:
    // factory may be null (nothing is filed); pending is this side's table of
    // sent commands awaiting an answer, or null. None is owned.
    SingleClientCommandScheduler(MessageQueue& incoming, Convinience::CommandFactory* factory, ClientCommandState& state,
                                 PendingCommandTable* pending = nullptr)
        : CommandScheduler(incoming), factory_(factory), state_(&state), pending_(pending) {}

    // Files the message's command unless it answers a command that is not
    // pending (with a pending table, an answer must name a pending number).
    void schedule(const QueuedMessage& message) override;

private:
    Convinience::CommandFactory* factory_;
    ClientCommandState* state_;
    PendingCommandTable* pending_;
};

// One record per connected client plus one for the owner's own commands.
class MultiClientCommandManager : public Convinience::MultiClientCreator {
public:
    // A fresh client gets a record with the defaults; an existing one stays.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override;
    // Throws ClientIDNotFoundException for an unknown client.
    ClientCommandState& stateOf(u32 clientId);
    bool hasClient(u32 clientId) const { return states.count(clientId) != 0; }

    std::map<u32, std::unique_ptr<ClientCommandState>> states;
    ClientCommandState own;
};

// Files each client's commands in its record (the owner's own client ID goes
// to the own record). Does no answer check.
class MultiClientCommandScheduler : public CommandScheduler {
public:
    static constexpr u32 kNoOwnClient = 0xFFFFFFFF;

    MultiClientCommandScheduler(MessageQueue& incoming, Convinience::CommandFactory* factory,
                                MultiClientCommandManager& manager, u32 ownClientId = kNoOwnClient)
        : CommandScheduler(incoming), factory_(factory), manager_(&manager), ownClientId_(ownClientId) {}

    // Throws ClientIDNotFoundException when the sender has no record.
    void schedule(const QueuedMessage& message) override;

    void setFactory(Convinience::CommandFactory* factory) { factory_ = factory; }
    void setOwnClientId(u32 id) { ownClientId_ = id; }

private:
    Convinience::CommandFactory* factory_;
    MultiClientCommandManager* manager_;
    u32 ownClientId_;
};

// Runs the filed commands of the own record and of every client.
class MultiClientCommandExecutor : public Convinience::MultiClientCreator {
public:
    explicit MultiClientCommandExecutor(MultiClientCommandManager& manager)
        : manager_(&manager), own_{&manager.own, 0} {}

    // The manager's addClient must have run for the ID first; otherwise throws
    // ClientIDNotFoundException. An existing cursor is kept.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override;

    // Own record first, then each client in ID order: ordered, immediate,
    // trims. A command may add or remove other clients while it runs; a
    // client's own record must outlive the commands of that client that run.
    void executeAll();

private:
    void runCursor(ClientCommandCursor& cursor);

    MultiClientCommandManager* manager_;
    ClientCommandCursor own_;
    std::map<u32, std::unique_ptr<ClientCommandCursor>> cursors_;
};

}  // namespace Corvel
