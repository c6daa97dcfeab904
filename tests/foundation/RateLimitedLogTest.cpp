#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/RateLimitedLog.h"

using Convinience::ManualTickClock;
using Convinience::RateLimitedLog;

namespace {

struct Written {
    std::vector<std::string> lines;
    RateLimitedLog::Sink sink() {
        return [this](u32, const std::string& line) { lines.push_back(line); };
    }
};

}  // namespace

TEST(RateLimitedLog, OneLineOfAKindASecondAndTheRestCounted) {
    ManualTickClock clock;
    clock.advanceMs(5000);
    Written written;
    RateLimitedLog log(clock, 16, written.sink());
    for (int i = 0; i < 3413; ++i) log.log(3, "accept", "Accept failed " + std::to_string(i));
    log.log(3, "other", "Other event");
    EXPECT_EQ(written.lines, (std::vector<std::string>{"Accept failed 0", "Other event"}));
    EXPECT_EQ(log.heldBack(), 3412u);

    // Within the second the count waits; after it, flush writes it once.
    clock.advanceMs(999);
    log.flush();
    EXPECT_EQ(written.lines.size(), 2u);
    clock.advanceMs(1);
    log.flush();
    log.flush();
    ASSERT_EQ(written.lines.size(), 3u);
    EXPECT_EQ(written.lines[2], "accept: … 3,412 more in the last second");

    // The second that the flush started holds nothing back: the next line of
    // the kind waits for it to end, and a quiet second forgets the kind.
    log.log(3, "accept", "Accept failed again");
    EXPECT_EQ(written.lines.size(), 3u);
    clock.advanceMs(1000);
    log.log(3, "accept", "Accept failed later");
    ASSERT_EQ(written.lines.size(), 5u);
    EXPECT_EQ(written.lines[3], "accept: … 1 more in the last second");
    EXPECT_EQ(written.lines[4], "Accept failed later");
    clock.advanceMs(1000);
    log.flush();
    EXPECT_EQ(log.kinds(), 0u);
}

TEST(RateLimitedLog, KindsBeyondTheLimitShareOneSoMemoryStaysBounded) {
    ManualTickClock clock;
    clock.advanceMs(1);
    Written written;
    RateLimitedLog log(clock, 4, written.sink());
    for (int peer = 0; peer < 1000; ++peer) {
        log.log(2, "bad datagrams from peer " + std::to_string(peer),
                "Bad datagram from " + std::to_string(peer));
    }
    EXPECT_LE(log.kinds(), 5u);
    // Four peers of their own, then one line for all the others.
    EXPECT_EQ(written.lines.size(), 5u);
    clock.advanceMs(1000);
    log.flush();
    EXPECT_EQ(written.lines.back(),
              std::string(RateLimitedLog::kOtherKind) + ": … 995 more in the last second");
}

TEST(RateLimitedLog, CountsAreWrittenWithDigitGroups) {
    const std::pair<u64, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {3412, "3,412"}, {1234567, "1,234,567"}};
    for (const auto& [count, text] : cases) EXPECT_EQ(RateLimitedLog::groupDigits(count), text);
}
