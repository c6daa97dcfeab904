#include <gtest/gtest.h>

#include "net/ClientEndpointTable.h"
#include "net/Endpoint.h"

using Ferro::ClientEndpointTable;
using Ferro::ClientIDResolver;
using Ferro::EndpointPair;
using Ferro::InvalidEndpointStringException;

TEST(Endpoint, ParsesOnlyCanonicalText) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"127.0.0.1:4000", true},  {"10.1.2.3:65535", true},
        {"127.0.0.1", false},      {"127.0.0.1:", false},
        {"127.0.0.1:0", false},    {"127.0.0.1:65536", false},
        {"127.0.0.1:40x", false},  {"127.0.0.1:+40", false},
        {"127.0.0.1:0040", false}, {"127.0.0.1:4000:1", false},
        {"localhost:4000", false}, {":4000", false},
        {"127.1:4000", false},     {"", false},
    };
    for (const auto& c : cases) {
        const auto endpoint = Ferro::parseEndpoint(c.text);
        EXPECT_EQ(endpoint.has_value(), c.valid) << c.text;
        if (endpoint) {
            EXPECT_EQ(Ferro::endpointString(*endpoint), c.text);
        }
    }
}

TEST(Endpoint, ResolvesHostNamesToTheirDottedAddressOnce) {
    EXPECT_EQ(Ferro::resolveEndpoint("localhost:4000"), "127.0.0.1:4000");
    EXPECT_EQ(Ferro::resolveEndpoint("127.0.0.1:0040"), "127.0.0.1:40");
    for (const char* bad : {"127.0.0.1", "127.0.0.1:4000:1", ":4000", "127.0.0.1:0", "127.0.0.1:99999",
                            "no-such-host.invalid:4000"}) {
        EXPECT_THROW(Ferro::resolveEndpoint(bad), InvalidEndpointStringException) << bad;
    }
}

TEST(ClientEndpointTable, AssignReplacesBothEndpointsOfAnId) {
    ClientEndpointTable table;
    EndpointPair pair;
    EXPECT_FALSE(table.getEndpoints(3, pair));
    EXPECT_TRUE(table.assign(3, "127.0.0.1:4000"));
    EXPECT_TRUE(table.assign(3, "127.0.0.1:5000"));
    ASSERT_TRUE(table.getEndpoints(3, pair));
    EXPECT_EQ(pair.reliable, "127.0.0.1:5000");
    EXPECT_EQ(pair.unreliable, "127.0.0.1:5000");
    std::string endpoint = "untouched";
    EXPECT_FALSE(table.getReliableEndpoint(4, endpoint));
    EXPECT_EQ(endpoint, "untouched");
    // The old endpoint is free again.
    EXPECT_TRUE(table.assign(4, "127.0.0.1:4000"));
}

TEST(ClientEndpointTable, AnEndpointBelongsToOneIdAndBadTextIsRefused) {
    ClientEndpointTable table;
    ASSERT_TRUE(table.assign(1, "127.0.0.1:4000"));
    EXPECT_FALSE(table.assign(2, "127.0.0.1:4000"));
    EndpointPair pair;
    EXPECT_FALSE(table.getEndpoints(2, pair));
    ASSERT_TRUE(table.getEndpoints(1, pair));
    EXPECT_EQ(pair.reliable, "127.0.0.1:4000");

    EXPECT_THROW(table.assign(1, "localhost:4000"), InvalidEndpointStringException);
    EXPECT_THROW(table.assign(1, "127.0.0.1"), InvalidEndpointStringException);
    ASSERT_TRUE(table.getEndpoints(1, pair));
    EXPECT_EQ(pair.reliable, "127.0.0.1:4000");
}

// A client that leaves is forgotten: its packets no longer resolve, nothing
// is sent to it, and its endpoint may come back under another ID.
TEST(ClientEndpointTable, RemovingAnIdFreesItsEndpointAndStopsItsResolution) {
    ClientEndpointTable table;
    ASSERT_TRUE(table.assign(10, "127.0.0.1:4000"));
    ASSERT_TRUE(table.assign(11, "127.0.0.1:4001"));
    const ClientIDResolver resolver(table);
    Ferro::Packet1337Header header;
    header.senderClientId = 10;

    EXPECT_TRUE(table.remove(10));
    EXPECT_FALSE(table.remove(10));
    EXPECT_FALSE(table.remove(99));
    EndpointPair pair;
    EXPECT_FALSE(table.getEndpoints(10, pair));
    std::string endpoint;
    EXPECT_FALSE(table.getUnreliableEndpoint(10, endpoint));
    for (const u8 reliable : {0, 1}) {
        header.reliable = reliable;
        EXPECT_EQ(resolver.resolve("127.0.0.1:4000", header), ClientIDResolver::kInvalidClientId);
    }
    ASSERT_TRUE(table.getEndpoints(11, pair));  // the others stay
    EXPECT_EQ(pair.reliable, "127.0.0.1:4001");

    EXPECT_TRUE(table.assign(12, "127.0.0.1:4000"));
    header.senderClientId = 12;
    EXPECT_EQ(resolver.resolve("127.0.0.1:4000", header), 12u);
}

TEST(ClientIDResolver, NamesTheSenderOnlyFromItsRegisteredEndpoint) {
    ClientEndpointTable table;
    table.assign(7, "127.0.0.1:4000");
    const ClientIDResolver resolver(table);
    Ferro::Packet1337Header header;
    header.senderClientId = 7;
    for (const u8 reliable : {0, 1}) {
        header.reliable = reliable;
        EXPECT_EQ(resolver.resolve("127.0.0.1:4000", header), 7u);
        EXPECT_EQ(resolver.resolve("127.0.0.1:4001", header), ClientIDResolver::kInvalidClientId);
    }
    header.senderClientId = 8;
    EXPECT_EQ(resolver.resolve("127.0.0.1:4000", header), ClientIDResolver::kInvalidClientId);
}
