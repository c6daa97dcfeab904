#include <gtest/gtest.h>

#include "foundation/CommandScheduler.h"
#include "foundation/Error.h"

using namespace Corvel;

namespace {

constexpr u32 kThrowingCommand = 66;
constexpr u32 kNullCommand = 67;

struct Log {
    std::vector<u32> ran;
    int destroyed = 0;
};

class RecordingCommand : public IncomingCommand {
public:
    RecordingCommand(const CommandHeader& h, Log& log) : IncomingCommand(h), log_(&log) {}
    ~RecordingCommand() override { ++log_->destroyed; }
    void execute() override { log_->ran.push_back(header.commandNumber); }

private:
    Log* log_;
};

class FakeFactory : public Convinience::CommandFactory {
public:
    explicit FakeFactory(Log& log) : log_(&log) {}
    std::unique_ptr<Convinience::Command> create(const QueuedMessage& m) override {
        Convinience::ByteReader r(m.bytes);
        CommandHeader h(r);
        h.fromClientId = m.fromClientId;
        h.toClientId = m.toClientId;
        if (h.commandId == kThrowingCommand) throw Convinience::InvalidCommandDataException("bad data");
        if (h.commandId == kNullCommand) return nullptr;
        return std::make_unique<RecordingCommand>(h, *log_);
    }

private:
    Log* log_;
};

QueuedMessage message(u32 client, u32 number, bool flagged, u32 commandId = 1, u32 replyTo = 0) {
    CommandHeader h(client, commandId, replyTo, flagged);
    h.commandNumber = number;
    Convinience::Buffer b;
    h.serialize(b);
    return QueuedMessage{client, 0, static_cast<u8>(flagged), b.takeBytes()};
}

struct SingleFixture {
    Log log;
    MessageQueue queue{1024};
    FakeFactory factory{log};
    ClientCommandState state;
    ClientCommandCursor cursor{&state, 0};
};

}  // namespace

TEST(CommandScheduler, DrainHandlesAtMost256MessagesPerCall) {
    SingleFixture f;
    SingleClientCommandScheduler s(f.queue, &f.factory, f.state);
    for (u32 i = 1; i <= 300; ++i) ASSERT_TRUE(f.queue.push(message(1, i, true)));
    s.drainIncoming();
    EXPECT_EQ(f.state.pending.size(), 256u);
    s.drainIncoming();
    EXPECT_EQ(f.state.pending.size(), 300u);
    EXPECT_TRUE(f.queue.empty());
}

TEST(CommandScheduler, BadMessagesAreDroppedAndDoNotBlockTheQueue) {
    SingleFixture f;
    MultiClientCommandManager manager;
    manager.addClient(1);
    MultiClientCommandScheduler s(f.queue, &f.factory, manager);
    f.queue.push(message(1, 1, true, kThrowingCommand));
    f.queue.push(message(99, 2, true));  // unknown client
    f.queue.push(message(1, 3, true, kNullCommand));
    f.queue.push(message(1, 4, true));
    s.drainIncoming();
    EXPECT_TRUE(f.queue.empty());
    ASSERT_EQ(manager.states.at(1)->pending.size(), 1u);
    EXPECT_EQ(manager.states.at(1)->pending.begin()->first, 4u);
}

// Each row files commands (number, flagged) in a record and runs one pass.
TEST(CommandScheduler, ExecuteOrderedRunsFlaggedAlwaysAndUnflaggedOnlyWhenNewest) {
    struct Case {
        const char* name;
        bool newestFirst;
        u32 lastUnflagged;
        std::vector<std::pair<u32, bool>> filed;
        std::vector<u32> ran;
        u32 lastAfter;
    };
    const Case cases[] = {
        {"lowest first runs all in rising order", false, 0, {{3, false}, {5, false}, {4, true}}, {3, 4, 5}, 5},
        {"newest first runs only the newest unflagged", true, 0, {{3, false}, {4, false}, {5, false}}, {5}, 5},
        {"flagged runs, older unflagged does not", true, 9, {{2, true}, {7, false}}, {2}, 9},
        {"lowest first with an older flagged one", false, 9, {{2, true}, {7, false}}, {2}, 9},
    };
    for (const Case& c : cases) {
        SingleFixture f;
        f.state.newestFirst = c.newestFirst;
        f.cursor.lastUnflaggedNumber = c.lastUnflagged;
        SingleClientCommandScheduler s(f.queue, &f.factory, f.state);
        for (auto [n, flagged] : c.filed) f.queue.push(message(1, n, flagged));
        s.drainIncoming();
        CommandScheduler::executeOrdered(f.cursor);
        EXPECT_EQ(f.log.ran, c.ran) << c.name;
        EXPECT_EQ(f.cursor.lastUnflaggedNumber, c.lastAfter) << c.name;
        EXPECT_TRUE(f.state.pending.empty()) << c.name;
        EXPECT_EQ(f.state.executed.size(), c.filed.size()) << c.name << ": dropped commands go to the history too";
    }
}

TEST(CommandScheduler, AnOlderUnflaggedCommandFiledLaterIsDropped) {
    SingleFixture f;
    f.state.newestFirst = false;
    SingleClientCommandScheduler s(f.queue, &f.factory, f.state);
    f.queue.push(message(1, 5, false));
    s.drainIncoming();
    CommandScheduler::executeOrdered(f.cursor);
    f.queue.push(message(1, 2, false));
    s.drainIncoming();
    CommandScheduler::executeOrdered(f.cursor);
    EXPECT_EQ(f.log.ran, (std::vector<u32>{5}));
    EXPECT_EQ(f.state.executed.count(2), 1u);
}

TEST(CommandScheduler, DuplicateNumbersAreNotFiled) {
    SingleFixture f;
    SingleClientCommandScheduler s(f.queue, &f.factory, f.state);
    f.queue.push(message(1, 3, true));
    f.queue.push(message(1, 3, true));
    s.drainIncoming();
    EXPECT_EQ(f.state.pending.size(), 1u);
    EXPECT_EQ(f.log.destroyed, 1);
}

TEST(CommandScheduler, AnswersMustNameAPendingCommand) {
    SingleFixture f;
    Convinience::Stopwatch watch;
    PendingCommandTable pending(watch);
    pending.add(10, 1);
    SingleClientCommandScheduler s(f.queue, &f.factory, f.state, &pending);
    f.queue.push(message(1, 1, true, 1, 10));  // answers 10: accepted
    f.queue.push(message(1, 2, true, 1, 10));  // 10 answered already: dropped
    f.queue.push(message(1, 3, true, 1, 11));  // never sent: dropped
    f.queue.push(message(1, 4, true, 1, 0));   // answers nothing: accepted
    s.drainIncoming();
    EXPECT_EQ(f.state.pending.size(), 2u);
    EXPECT_EQ(f.state.pending.count(1), 1u);
    EXPECT_EQ(f.state.pending.count(4), 1u);
    EXPECT_TRUE(pending.entries.empty());
}

TEST(CommandScheduler, HistoriesKeepTheirLimit) {
    SingleFixture f;
    f.state.newestFirst = false;
    SingleClientCommandScheduler s(f.queue, &f.factory, f.state);
    for (u32 i = 1; i <= 31; ++i) f.queue.push(message(1, i, true));
    s.drainIncoming();
    CommandScheduler::executeOrdered(f.cursor);
    EXPECT_EQ(f.state.executed.size(), 31u);
    CommandScheduler::trimFirstHistory(f.state);
    EXPECT_EQ(f.state.executed.size(), 30u);
    EXPECT_EQ(f.state.executed.begin()->first, 2u);
    EXPECT_EQ(f.log.destroyed, 1);

    for (u32 i = 0; i < 32; ++i) f.state.immediate.push_back(std::make_unique<RecordingCommand>(CommandHeader(), f.log));
    CommandScheduler::executeImmediate(f.state);
    EXPECT_TRUE(f.state.immediate.empty());
    CommandScheduler::trimHistoryVector(f.state);
    EXPECT_EQ(f.state.executedImmediate.size(), 30u);
    EXPECT_EQ(f.log.destroyed, 3);
}

TEST(MultiClientCommandScheduler, FilesByClientAndOwnIdGoesToTheOwnRecord) {
    SingleFixture f;
    MultiClientCommandManager manager;
    MultiClientCommandExecutor executor(manager);
    manager.addClient(1);
    manager.addClient(2);
    executor.addClient(1);
    executor.addClient(2);
    EXPECT_THROW(executor.addClient(3), Convinience::ClientIDNotFoundException);

    MultiClientCommandScheduler s(f.queue, &f.factory, manager, 0);
    f.queue.push(message(2, 7, true));
    f.queue.push(message(1, 8, true));
    f.queue.push(message(0, 9, true));
    s.drainIncoming();
    EXPECT_EQ(manager.own.pending.count(9), 1u);
    executor.executeAll();
    EXPECT_EQ(f.log.ran, (std::vector<u32>{9, 8, 7})) << "own record first, then clients by ID";
}

TEST(MultiClientCommandManager, AddKeepsAnExistingRecordAndStateOfThrowsForUnknown) {
    MultiClientCommandManager manager;
    manager.addClient(5);
    manager.stateOf(5).historyLimit = 3;
    manager.addClient(5);
    EXPECT_EQ(manager.stateOf(5).historyLimit, 3u);
    manager.removeClient(5);
    EXPECT_THROW(manager.stateOf(5), Convinience::ClientIDNotFoundException);
}
