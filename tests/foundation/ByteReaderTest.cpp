#include <gtest/gtest.h>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"

using Convinience::ByteReader;
using Convinience::ReadPastEndError;

TEST(ByteReader, EveryReadPastTheEndThrows) {
    const std::vector<u8> three{1, 2, 3};
    {
        ByteReader r(three);
        EXPECT_THROW(r.readU32(), ReadPastEndError);
        EXPECT_EQ(r.position(), 0u) << "a failed read consumes nothing";
    }
    {
        ByteReader r(three);
        EXPECT_EQ(r.readU16(), 0x0201);
        EXPECT_EQ(r.readU8(), 3);
        EXPECT_THROW(r.readU8(), ReadPastEndError);
        EXPECT_THROW(r.skip(1), ReadPastEndError);
        EXPECT_THROW(r.sub(1), ReadPastEndError);
    }
    ByteReader empty(nullptr, 0);
    EXPECT_THROW(empty.readFloat(), ReadPastEndError);
    EXPECT_THROW(empty.readU64(), ReadPastEndError);
}

TEST(ByteReader, LyingLengthsAndCountsThrowBeforeAllocating) {
    struct Case {
        const char* name;
        std::vector<u8> bytes;
    };
    const Case cases[] = {
        {"string longer than the data", {5, 0, 0, 0, 'a', 'b'}},
        {"huge string", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"vector count too large", {2, 0, 0, 0, 1, 0, 0, 0}},
        {"huge vector", {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const Case& c : cases) {
        ByteReader r(c.bytes);
        if (std::string(c.name).find("string") != std::string::npos) {
            EXPECT_THROW(r.readString(), ReadPastEndError) << c.name;
        } else {
            EXPECT_THROW(r.readU32Vector(), ReadPastEndError) << c.name;
        }
    }
}

TEST(ByteReader, CountIsCheckedAgainstTheElementSize) {
    Convinience::Buffer b;
    b.appendU32(3);
    for (int i = 0; i < 3; ++i) b.appendU32(i);
    const auto bytes = b.takeBytes();
    ByteReader ok(bytes);
    EXPECT_EQ(ok.readCount(4), 3u);
    ByteReader tooBig(bytes);
    EXPECT_THROW(tooBig.readCount(5), ReadPastEndError);
}

TEST(ByteReader, SubReaderIsBoundedAndAdvancesItsParent) {
    const std::vector<u8> bytes{1, 0, 0, 0, 2, 0, 0, 0, 9};
    ByteReader r(bytes);
    ByteReader first = r.sub(4);
    EXPECT_EQ(first.readU32(), 1u);
    EXPECT_THROW(first.readU8(), ReadPastEndError);
    EXPECT_EQ(r.readU32(), 2u);
    EXPECT_EQ(r.remaining(), 1u);
}
