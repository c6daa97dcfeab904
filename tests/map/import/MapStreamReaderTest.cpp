#include <gtest/gtest.h>

#include <istream>
#include <streambuf>

#include "../support/MapImportTestSupport.h"
#include "map/import/MapStreamReader.h"
#include "support/map/FixtureMaps.h"
#include "support/map/MapBuilder.h"

using namespace zarn_test;

namespace {

// A stream buffer over bytes that cannot seek or tell its position, as a pipe.
class UnseekableBuffer : public std::streambuf {
public:
    explicit UnseekableBuffer(const std::vector<u8>& bytes) : bytes_(bytes.begin(), bytes.end()) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

private:
    std::vector<char> bytes_;
};

}  // namespace

TEST(MapStreamReader, AStreamThatCannotSeekLoadsAndRefusesLyingLengthsAlike) {
    const std::vector<u8> whole = everySectionMap().bytes();
    {
        UnseekableBuffer buffer(whole);
        std::istream stream(&buffer);
        Zarn::GameMap map;
        Zarn::MapComponentsImporter importer(map);
        EXPECT_EQ(errorText([&] { importer.import(stream); }), "no error");
        EXPECT_EQ(map.mapElements.size(), 16u);
    }
    {
        // A grid section claiming nearly 4 GiB: refused after reading what is there.
        std::vector<u8> lying = MapBuilder().bytesThrough(MapBuilder::Section::header);
        appendBytes(lying, u32Bytes({0xFFFFFFF0, 16, 16, 16}));
        UnseekableBuffer buffer(lying);
        std::istream stream(&buffer);
        Zarn::MapStreamReader in(stream, "bad map");
        EXPECT_FALSE(in.remaining().has_value());
        Zarn::GameMap map;
        Zarn::MapComponentsImporter importer(map);
        EXPECT_EQ(errorText([&] { importer.import(stream); }), "bad map");
    }
}

TEST(MapStreamReader, ChecksLengthsAndCountsAgainstWhatASeekableStreamHolds) {
    std::istringstream stream = streamOf(u32Bytes({7, 1, 2}));
    Zarn::MapStreamReader in(stream, "bad map");
    EXPECT_EQ(in.remaining(), 12u);
    EXPECT_EQ(in.readU32(), 7u);
    EXPECT_EQ(errorText([&] { in.readBytes(9); }), "bad map");
    EXPECT_EQ(in.remaining(), 8u) << "a refused read consumes nothing";
    EXPECT_EQ(errorText([&] { in.checkCount(3, 4); }), "bad map");
    EXPECT_EQ(errorText([&] { in.checkCount(2, 4); }), "no error");
    EXPECT_EQ(in.readBytes(8).size(), 8u);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(errorText([&] { in.readU32(); }), "bad map");
}
