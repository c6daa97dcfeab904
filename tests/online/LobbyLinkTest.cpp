#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "net/Packet.h"
#include "online/LobbyLink.h"

using namespace ZarnOnline;

namespace {

LinkMessage grantMessage() {
    LinkMessage message;
    message.kind = link::grant;
    message.instance = InstanceTerms{7, 1, 4, 1, "192.168.1.21:12346"};
    message.player = Zarn::PlayerInfo(12, 3, "ann");
    message.address = "192.168.1.30";
    return message;
}

LinkMessage pairMessage(u32 kind) {
    LinkMessage message;
    message.kind = kind;
    message.instance.instanceID = 7;
    message.player.clientID = 12;
    return message;
}

// The body bytes of an encoded message, after the packet and command headers.
constexpr std::size_t kBodyAt = Ferro::Packet1337Header::kSize + 17;

}  // namespace

TEST(LobbyLink, EveryMessageReadsBackAsItWasWritten) {
    LinkMessage hello;
    hello.kind = link::hello;
    hello.version = link::kVersion;
    LinkMessage welcome;
    welcome.kind = link::welcome;
    welcome.version = link::kVersion;
    welcome.players = 9;
    LinkMessage ended;
    ended.kind = link::gameEnded;
    ended.instance.instanceID = 7;
    const struct {
        u32 sender;
        LinkMessage message;
        std::size_t bodySize;
    } cases[] = {
        {link::kLobbyId, hello, 4},
        {link::kGameServerId, welcome, 8},
        {link::kLobbyId, grantMessage(), 13 + 4 + 18 + 9 + 3 + 4 + 12},
        {link::kLobbyId, pairMessage(link::revoke), 8},
        {link::kGameServerId, pairMessage(link::playerLeft), 8},
        {link::kGameServerId, pairMessage(link::placed), 8},
        {link::kGameServerId, ended, 4},
    };
    for (const auto& c : cases) {
        const std::vector<u8> bytes = encodeLinkMessage(c.sender, 5, c.message);
        EXPECT_EQ(bytes.size(), kBodyAt + c.bodySize) << c.message.kind;
        const LinkMessage read = decodeLinkMessage(bytes.data(), bytes.size());
        EXPECT_EQ(read.kind, c.message.kind);
        EXPECT_EQ(read.number, 5u);
        EXPECT_EQ(read.version, c.message.version);
        EXPECT_EQ(read.players, c.message.players);
        EXPECT_EQ(read.instance.instanceID, c.message.instance.instanceID);
        EXPECT_EQ(read.player.clientID, c.message.player.clientID);
        if (c.message.kind == link::grant) {
            EXPECT_EQ(read.instance, c.message.instance);
            EXPECT_EQ(read.player.number, 3);
            EXPECT_EQ(read.player.name, "ann");
            EXPECT_EQ(read.address, "192.168.1.30");
        }
    }
}

TEST(LobbyLink, BytesThatAreNoLinkMessageAreRefused) {
    const std::vector<u8> good = encodeLinkMessage(link::kLobbyId, 1, grantMessage());
    const auto changed = [&](std::size_t at, std::vector<u8> with) {
        std::vector<u8> bytes = good;
        std::memcpy(bytes.data() + at, with.data(), with.size());
        return bytes;
    };
    // The grant's fields after the command header: instance 0, map 4,
    // capacity 8, flag 12, endpoint length 13.
    const std::size_t capacityAt = kBodyAt + 8;
    const std::size_t endpointLengthAt = kBodyAt + 13;
    std::vector<u8> longer = good;
    longer.push_back(0);
    longer[28] += 1;  // the packet says so too
    std::vector<u8> longName = encodeLinkMessage(link::kLobbyId, 1, [] {
        LinkMessage m = grantMessage();
        m.player.name = std::string(36, 'n');
        return m;
    }());
    const std::size_t nameLengthAt = kBodyAt + 13 + 4 + 18 + 5;
    longName[nameLengthAt] = 37;
    longName.insert(longName.begin() + static_cast<long>(nameLengthAt + 4 + 36), 'n');
    longName[28] += 1;
    const struct {
        const char* what;
        std::vector<u8> bytes;
    } cases[] = {
        {"nothing", {}},
        {"half a header", std::vector<u8>(good.begin(), good.begin() + 20)},
        {"a cut body", std::vector<u8>(good.begin(), good.end() - 1)},
        {"bytes left over", longer},
        {"a wrong application ID", changed(0, {0x38, 0x13, 0, 0})},
        {"a command of another sender", changed(Ferro::Packet1337Header::kSize, {1, 0, 0, 0})},
        {"a client's command", changed(Ferro::Packet1337Header::kSize + 4, {11, 0, 0, 0})},
        {"capacity 0", changed(capacityAt, {0, 0, 0, 0})},
        {"capacity 65", changed(capacityAt, {65, 0, 0, 0})},
        {"an endpoint longer than it holds", changed(endpointLengthAt, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"a name of 37 bytes", longName},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(decodeLinkMessage(c.bytes.data(), c.bytes.size()),
                     Convinience::InvalidCommandDataException)
            << c.what;
    }
}
