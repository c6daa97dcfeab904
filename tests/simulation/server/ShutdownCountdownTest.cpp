#include <gtest/gtest.h>

#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/server/GameInstance.h"
#include "simulation/server/ShutdownCountdown.h"

using namespace Zarn;

namespace {

class ShutdownCountdownTest : public ::testing::Test {
protected:
    ShutdownCountdownTest() {
        instance.fromID = 77;
        stopwatch.start();
        countdown.setDelay(6000);
    }

    // Advances the clock to `ms` after the start and runs one idle pass.
    void passAt(u64 ms) {
        clock.ticks = ms * 10000;
        countdown.update();
    }

    std::size_t drainOutgoing(u32* commandId = nullptr) {
        std::size_t count = 0;
        Corvel::QueuedMessage message;
        while (outgoing.pop(message)) {
            ++count;
            Convinience::ByteReader reader(message.bytes);
            Corvel::CommandHeader header(reader);
            if (commandId) *commandId = header.commandId;
            EXPECT_EQ(message.fromClientId, 77u);
            EXPECT_EQ(message.reliable, 1);
        }
        return count;
    }

    Convinience::ManualTickClock clock;
    Convinience::Stopwatch stopwatch{clock};
    GameInstance instance;
    Corvel::MessageQueue outgoing{8};
    ShutdownCountdown countdown{instance, stopwatch, outgoing};
};

TEST_F(ShutdownCountdownTest, EmptyGameClosesAtHalfTheDelayAndFinishesAtTheWhole) {
    passAt(1000);  // empty from t = 1000
    EXPECT_TRUE(countdown.isCounting());
    passAt(3999);
    EXPECT_TRUE(countdown.isOpen());
    passAt(4000);
    EXPECT_FALSE(countdown.isOpen());
    u32 commandId = 0;
    EXPECT_EQ(drainOutgoing(&commandId), 1u);
    EXPECT_EQ(commandId, 25u);
    passAt(6999);
    EXPECT_FALSE(countdown.isFinished());
    passAt(7000);
    EXPECT_TRUE(countdown.isFinished());
    EXPECT_EQ(drainOutgoing(), 0u);
}

TEST_F(ShutdownCountdownTest, AReturningPlayerCancelsAndALaterEmptinessCountsAfresh) {
    passAt(0);
    instance.players.insert(5);
    passAt(2000);
    EXPECT_FALSE(countdown.isCounting());
    instance.players.clear();
    passAt(5000);
    passAt(7999);
    EXPECT_TRUE(countdown.isOpen());
    passAt(8000);
    EXPECT_FALSE(countdown.isOpen());
    passAt(10999);
    EXPECT_FALSE(countdown.isFinished());
    passAt(11000);
    EXPECT_TRUE(countdown.isFinished());
}

TEST_F(ShutdownCountdownTest, AGameWithPlayersNeverCounts) {
    instance.players.insert(0);
    for (u64 t : {0u, 10000u, 100000u}) passAt(t);
    EXPECT_FALSE(countdown.isCounting());
    EXPECT_TRUE(countdown.isOpen());
    EXPECT_EQ(drainOutgoing(), 0u);
}

TEST(GameInstanceTest, RoundTripsAndRejectsShortBytes) {
    GameInstance instance;
    instance.instanceID = 3;
    instance.fromID = 9;
    instance.mapHash = 0xABCD;
    instance.instanceFlag = 1;
    instance.endpoint = "host:4000";
    instance.players = {1, 2};
    instance.playerInfos.emplace_back(1, 0, "Ann");
    Convinience::Buffer buffer;
    instance.serialize(buffer);
    ASSERT_EQ(buffer.size(), instance.serializedSize());

    Convinience::ByteReader reader(buffer.bytes());
    GameInstance copy(reader);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(copy.fromID, 9u);
    EXPECT_EQ(copy.endpoint, "host:4000");
    EXPECT_EQ(copy.players, instance.players);
    ASSERT_EQ(copy.playerInfos.size(), 1u);
    EXPECT_EQ(copy.playerInfos[0].name, "Ann");

    std::vector<u8> bytes = buffer.bytes();
    bytes.resize(bytes.size() - 2);
    Convinience::ByteReader shortReader(bytes);
    EXPECT_ANY_THROW(GameInstance{shortReader});
    // A player count larger than the bytes left is refused before allocating.
    std::vector<u8> lying = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    Convinience::ByteReader lyingReader(lying);
    EXPECT_ANY_THROW(GameInstance{lyingReader});
}

}  // namespace
