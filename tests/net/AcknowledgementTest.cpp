#include <gtest/gtest.h>

#include "foundation/Stopwatch.h"
#include "net/AckFieldTracker.h"
#include "net/DeliveryTracker.h"
#include "support/net/LogWatch.h"

using Ferro::AckFieldTracker;
using Ferro::AcknowledgementRecord;
using Ferro::DeliveryTracker;

namespace {

struct TrackerFixture : ::testing::Test {
    TrackerFixture() { clock.start(); }

    void acknowledge(u32 number, u64 receivedAtMs) {
        ASSERT_TRUE(acknowledgements.push(AcknowledgementRecord{number, receivedAtMs}));
    }

    Convinience::ManualTickClock ticks;
    Convinience::Stopwatch clock{ticks};
    Ferro::AcknowledgementQueue acknowledgements;
    DeliveryTracker tracker{acknowledgements, &clock};
};

}  // namespace

TEST_F(TrackerFixture, RecordsSendTimesButNumberZeroAtTimeZero) {
    ticks.advanceMs(40);
    tracker.recordSend(0);
    tracker.recordSend(3);
    ASSERT_EQ(tracker.sent.size(), 2u);
    EXPECT_EQ(tracker.sent[0].timeMs, 0u);
    EXPECT_EQ(tracker.sent[1].timeMs, 40u);
}

TEST_F(TrackerFixture, AcknowledgementsGiveRoundTripsAndLeaveSent) {
    ticks.advanceMs(100);
    tracker.recordSend(4);
    tracker.recordSend(4);
    acknowledge(4, 130);
    acknowledge(0, 150);  // nothing sent under 0: counts as sent at time 0
    const auto taken = tracker.takeAcknowledged();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].sequenceNumber, 4u);
    EXPECT_EQ(taken[0].roundTripMs, 30u);
    EXPECT_EQ(taken[1].sequenceNumber, 0u);
    EXPECT_EQ(taken[1].roundTripMs, 150u);
    EXPECT_EQ(tracker.acknowledged, (std::vector<u32>{4, 0}));
    ASSERT_EQ(tracker.sent.size(), 1u);  // the second send of 4 waits for its own acknowledgement
    EXPECT_EQ(tracker.sent[0].sequenceNumber, 4u);
}

TEST_F(TrackerFixture, TakesAtMostThirtyTwoAcknowledgementsAPass) {
    for (u32 i = 0; i < 33; ++i) acknowledge(0, i);
    EXPECT_EQ(tracker.takeAcknowledged().size(), 32u);
    EXPECT_EQ(acknowledgements.read_available(), 1u);
    EXPECT_EQ(tracker.takeAcknowledged().size(), 1u);
}

TEST_F(TrackerFixture, DropsAcknowledgementsThatNameNoSentPacketOrComeBeforeTheSend) {
    ticks.advanceMs(500);
    tracker.recordSend(6);
    zarn_test::LogWatch log;
    acknowledge(77, 600);  // never sent
    acknowledge(6, 400);   // before its send
    acknowledge(6, 520);
    const auto taken = tracker.takeAcknowledged();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].roundTripMs, 20u);
    EXPECT_EQ(acknowledgements.read_available(), 0u);
    EXPECT_EQ(log.count("[WARN]: Dropped acknowledgement of unknown packet #77\n"), 1u);
    EXPECT_EQ(log.count("[WARN]: Dropped acknowledgement of packet #6 received before it was sent\n"), 1u);
}

TEST_F(TrackerFixture, LossAndResendThresholdsByAge) {
    tracker.resendThresholdMs = 1000;
    tracker.lossThresholdMs = 1000;
    ticks.advanceMs(10);
    tracker.recordSend(1);
    ticks.advanceMs(1000);
    tracker.recordSend(2);
    ticks.advanceMs(500);  // 1 is 1500 ms old, 2 is 500
    EXPECT_EQ(tracker.collectDue().size(), 1u);
    EXPECT_EQ(tracker.sent.size(), 2u);
    const auto lost = tracker.takeLost();
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].sequenceNumber, 1u);
    EXPECT_TRUE(tracker.collectDue().empty());
    ASSERT_EQ(tracker.sent.size(), 1u);
    EXPECT_EQ(tracker.sent[0].sequenceNumber, 2u);

    tracker.resendThresholdMs = 200;
    EXPECT_EQ(tracker.collectDue().size(), 1u);
    ticks.advanceMs(499);
    EXPECT_TRUE(tracker.takeLost().empty());
    ticks.advanceMs(1);
    EXPECT_EQ(tracker.takeLost().size(), 1u);
}

TEST(AckFieldTracker, SetsTheBitsOfRememberedNumbersBelowTheNewest) {
    std::unordered_map<u32, i32> ages{{3, 0}, {4, 5}};
    std::vector<u32> acknowledged;
    AckFieldTracker tracker(&ages, &acknowledged);
    tracker.newest = 5;
    tracker.buildMask();
    EXPECT_EQ(tracker.mask, 0b11u);
    EXPECT_EQ(ages[4], 6);  // aged once
}

TEST(AckFieldTracker, FillsHeadersFromTheAcknowledgedListAndKeepsBitsAcrossPackets) {
    std::unordered_map<u32, i32> ages;
    std::vector<u32> acknowledged{1, 2, 3};
    AckFieldTracker tracker(&ages, &acknowledged);
    Ferro::Packet1337Header header;
    tracker.fillAckFields(header);
    EXPECT_EQ(header.acknowledgedSequenceNumber, 3u);
    EXPECT_EQ(header.acknowledgementMask, 0b11u);  // 2 and 1
    EXPECT_TRUE(acknowledged.empty());

    // Later packets repeat the saved fields while nothing new comes; the
    // numbers age out of the map after 32 more packets, the bits stay.
    for (int i = 0; i < 40; ++i) tracker.fillAckFields(header);
    EXPECT_EQ(header.acknowledgedSequenceNumber, 3u);
    EXPECT_EQ(header.acknowledgementMask, 0b11u);
    EXPECT_TRUE(ages.empty());

    acknowledged = {10};
    tracker.fillAckFields(header);
    EXPECT_EQ(header.acknowledgedSequenceNumber, 10u);
    EXPECT_EQ(header.acknowledgementMask, 0b11u);
}

TEST(AckFieldTracker, TakesTheNewestAndThirtyTwoMorePerPacket) {
    std::unordered_map<u32, i32> ages;
    std::vector<u32> acknowledged;
    for (u32 n = 1; n <= 40; ++n) acknowledged.push_back(n);
    AckFieldTracker tracker(&ages, &acknowledged);
    Ferro::Packet1337Header header;
    tracker.fillAckFields(header);
    EXPECT_EQ(header.acknowledgedSequenceNumber, 40u);
    EXPECT_EQ(acknowledged.size(), 7u);                  // 1 + 32 taken
    EXPECT_EQ(header.acknowledgementMask, 0x7FFFFFFFu);  // 39 down to 9
}

TEST(AckFieldTracker, WithoutItsListsLeavesTheFieldsAlone) {
    std::vector<u32> acknowledged{8, 9};
    AckFieldTracker noMap(nullptr, &acknowledged);
    Ferro::Packet1337Header header;
    noMap.fillAckFields(header);
    EXPECT_EQ(header.acknowledgedSequenceNumber, 9u);
    EXPECT_EQ(header.acknowledgementMask, 0u);

    AckFieldTracker noList(nullptr, nullptr);
    Ferro::Packet1337Header untouched;
    noList.fillAckFields(untouched);
    EXPECT_EQ(untouched.acknowledgedSequenceNumber, 0u);
    EXPECT_EQ(untouched.acknowledgementMask, 0u);
}

TEST(AckFieldTracker, NegativeNewestSetsNoBits) {
    std::unordered_map<u32, i32> ages{{0x80000000u, 0}};
    std::vector<u32> acknowledged{0x80000001u};
    AckFieldTracker tracker(&ages, &acknowledged);
    Ferro::Packet1337Header header;
    tracker.fillAckFields(header);
    EXPECT_EQ(header.acknowledgedSequenceNumber, 0x80000001u);
    EXPECT_EQ(header.acknowledgementMask, 0u);
}
