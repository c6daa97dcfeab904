#include <gtest/gtest.h>

#include "foundation/CommandPusher.h"

using Corvel::CommandHeader;
using Corvel::CommandPusher;
using Corvel::MessageQueue;
using Corvel::PendingCommandTable;
using Corvel::QueuedMessage;

namespace {

std::vector<QueuedMessage> drain(MessageQueue& q) {
    std::vector<QueuedMessage> out;
    QueuedMessage m;
    while (q.pop(m)) out.push_back(std::move(m));
    return out;
}

class HookPusher : public CommandPusher {
public:
    using CommandPusher::CommandPusher;

protected:
    void onPush(CommandHeader&, Convinience::Buffer& buffer) override { buffer.appendU32(0xCAFEBABE); }
};

}  // namespace

TEST(CommandHeader, SeventeenBytesInFieldOrder) {
    MessageQueue q(8);
    CommandPusher pusher(q, 1);
    CommandHeader h(7, 9);
    h.fromClientId = 3;
    h.toClientId = 4;
    ASSERT_TRUE(pusher.pushRaw(h));
    auto messages = drain(q);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].bytes, (std::vector<u8>{7, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(messages[0].fromClientId, 3u);
    EXPECT_EQ(messages[0].toClientId, 4u);
    EXPECT_EQ(messages[0].reliable, 1);

    Convinience::ByteReader r(messages[0].bytes);
    const CommandHeader back(r);
    EXPECT_EQ(back.clientId, 7u);
    EXPECT_EQ(back.commandId, 9u);
    EXPECT_EQ(back.commandNumber, 1u);
    EXPECT_TRUE(back.expectsConfirmation);
}

TEST(CommandPusher, NumbersRiseAndOnlyFlaggedCommandsArePending) {
    MessageQueue q(8);
    Convinience::ManualTickClock clock;
    Convinience::Stopwatch watch(clock);
    watch.start();
    clock.advanceMs(42);
    PendingCommandTable pending(watch);
    CommandPusher pusher(q, 1, &pending);

    CommandHeader a(1, 5), b(1, 6, 0, false), c(1, 7);
    pusher.push(a);
    pusher.push(b);
    pusher.push(c);
    EXPECT_EQ(a.commandNumber, 1u);
    EXPECT_EQ(b.commandNumber, 2u);
    EXPECT_EQ(c.commandNumber, 3u);
    EXPECT_EQ(pending.entries.size(), 2u);
    EXPECT_EQ(pending.count(2), 0u);
    ASSERT_NE(pending.find(3), nullptr);
    EXPECT_EQ(pending.find(3)->commandId, 7u);
    EXPECT_EQ(pending.find(3)->sentAtMs, 42u);
    EXPECT_EQ(drain(q)[1].reliable, 0);
}

TEST(CommandPusher, HookBytesGoBetweenHeaderAndData) {
    MessageQueue q(8);
    HookPusher pusher(q);
    CommandHeader h(1, 2);
    pusher.pushWithData(h, {0xA, 0xB, 0xC});
    CommandHeader raw(1, 2);
    pusher.pushRawWithData(raw, {0xA});
    auto messages = drain(q);
    ASSERT_EQ(messages.size(), 2u);
    ASSERT_EQ(messages[0].bytes.size(), 24u);
    EXPECT_EQ((std::vector<u8>(messages[0].bytes.begin() + 17, messages[0].bytes.end())),
              (std::vector<u8>{0xBE, 0xBA, 0xFE, 0xCA, 0xA, 0xB, 0xC}));
    EXPECT_EQ(messages[1].bytes.size(), 18u) << "raw pushes skip the hook";
}

TEST(CommandPusher, FullQueueReportsTheDropAndStillUsesTheNumber) {
    MessageQueue q(1);
    CommandPusher pusher(q, 10);
    CommandHeader a(1, 1), b(1, 1);
    EXPECT_TRUE(pusher.push(a));
    EXPECT_FALSE(pusher.push(b));
    EXPECT_EQ(pusher.nextCommandNumber, 12u);
    EXPECT_EQ(drain(q).size(), 1u);
}

TEST(MessageQueue, APushByMoveHandsOverTheBytesAndAFullRingKeepsThem) {
    MessageQueue q(2);  // room for two records
    QueuedMessage first;
    first.bytes = {1, 2, 3};
    const u8* bytes = first.bytes.data();
    ASSERT_TRUE(q.push(std::move(first)));
    EXPECT_EQ(q.front().bytes.data(), bytes) << "moved, not copied";

    QueuedMessage second;
    second.bytes = {4, 5};
    ASSERT_TRUE(q.push(QueuedMessage(second)));
    QueuedMessage third;
    third.toClientId = 7;
    third.bytes = {6};
    EXPECT_FALSE(q.push(std::move(third)));
    EXPECT_EQ(third.bytes, std::vector<u8>{6}) << "a full ring leaves the message as it was";
    EXPECT_EQ(third.toClientId, 7u);
    EXPECT_EQ(drain(q).size(), 2u);
}
