#include <gtest/gtest.h>

#include "foundation/Buffer.h"
#include "foundation/Serializable.h"

using Convinience::Buffer;
using Convinience::ByteReader;

TEST(Buffer, CapacityDoublesOncePerAppend) {
    struct Case {
        u32 n;
        u32 capacity;
    };
    for (Case c : {Case{64, 64}, Case{65, 128}, Case{200, 128}}) {
        Buffer b(64);
        std::vector<u8> data(c.n, 0xAB);
        b.append(data.data(), c.n);
        EXPECT_EQ(b.capacity(), c.capacity) << c.n;
        EXPECT_EQ(b.size(), c.n);
        EXPECT_EQ(b.bytes(), data);
    }
}

TEST(Buffer, TakeBytesEmptiesTheBufferButKeepsCapacity) {
    Buffer b(64);
    b.appendU32(0x01020304);
    const auto bytes = b.takeBytes();
    EXPECT_EQ(bytes, (std::vector<u8>{4, 3, 2, 1}));
    EXPECT_EQ(b.size(), 0u);
    EXPECT_EQ(b.capacity(), 64u);
}

TEST(Buffer, ValueShapesRoundTrip) {
    Buffer b;
    EXPECT_EQ(Convinience::writeString(b, ""), 4u);
    EXPECT_EQ(Convinience::writeString(b, "rat"), 7u);
    EXPECT_EQ(Convinience::writeU32Vector(b, {}), 4u);
    EXPECT_EQ(Convinience::writeU32Vector(b, {7, 0xFFFFFFFF}), 12u);
    b.appendFloat(1.5f);
    b.appendU64(0x1122334455667788ull);
    b.appendU8(9);

    const auto bytes = b.takeBytes();
    ASSERT_EQ(bytes.size(), 4u + 7 + 4 + 12 + 4 + 8 + 1);
    EXPECT_EQ((std::vector<u8>(bytes.begin(), bytes.begin() + 4)), (std::vector<u8>{0, 0, 0, 0}));

    ByteReader r(bytes);
    EXPECT_EQ(r.readString(), "");
    EXPECT_EQ(r.readString(), "rat");
    EXPECT_TRUE(r.readU32Vector().empty());
    EXPECT_EQ(r.readU32Vector(), (std::vector<u32>{7, 0xFFFFFFFF}));
    EXPECT_EQ(r.readFloat(), 1.5f);
    EXPECT_EQ(r.readU64(), 0x1122334455667788ull);
    EXPECT_EQ(r.readU8(), 9);
    EXPECT_TRUE(r.atEnd());
}

TEST(Buffer, SerializableListWritesCountThenRecords) {
    Convinience::Uint32Serializable a(1), c(3);
    Buffer b;
    EXPECT_EQ(Convinience::writeSerializableList(b, {}), 4u);
    EXPECT_EQ(Convinience::writeSerializableList(b, {&a, &c}), 12u);
    EXPECT_EQ(b.bytes(), (std::vector<u8>{0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0}));
}
