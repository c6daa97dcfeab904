#pragma once

#include <string>
#include <vector>

#include "foundation/Types.h"
#include "simulation/managers/PlayerInfo.h"

namespace ZarnOnline {

// The connection between the lobby and a game server. The lobby opens it to
// each game server it is given (`zarn-lobby --game HOST:PORT`), on the port
// the players use, and says hello first; the game server takes it from the
// addresses it trusts as its lobby (`zarn-server --lobby ADDRESS`) and
// answers welcome. Over it the lobby grants players places in its instances
// and takes back places not yet used; the game server tells the lobby when a
// player leaves (or a place lapses) and when an instance has ended.
//
// Each message is one packet of the game's transport (the 33-byte header,
// application ID 0x1337, reliable flag 1, sender 0 from the lobby and 1 from
// the game server) whose payload is a 17-byte command header (the sender's
// ID, the message's ID, its number, reply-to 0, flag 1) followed by the body.
// Little-endian; a string is a u32 length and its bytes.
//
// | ID  | message     | from   | body                                                   |
// |-----|-------------|--------|--------------------------------------------------------|
// | 100 | hello       | lobby  | u32 version (1)                                        |
// | 101 | welcome     | server | u32 version, u32 players it holds for earlier links     |
// | 102 | grant       | lobby  | instance terms, player info, string address            |
// | 103 | revoke      | lobby  | u32 instance ID, u32 client ID                         |
// | 104 | player left | server | u32 instance ID, u32 client ID                         |
// | 105 | game ended  | server | u32 instance ID                                        |
// | 106 | placed      | server | u32 instance ID, u32 client ID                         |
//
// Instance terms: u32 instance ID, u32 map hash, u32 capacity (1 to 64), u8
// instance flag, string endpoint (at most 255 bytes). Player info: u32 client
// ID, u8 number, string name (at most 36 bytes). Address: the dotted IPv4
// address the player's lobby connection came from (at most 64 bytes); the
// game server admits the client ID from that address only.
//
// The game server answers every grant: placed when it keeps the place (the
// lobby only then sends the player to it), player left when it refuses it.
// A grant carries the whole instance, so a game server that has already let
// the instance go opens it again. A message that does not parse, or has
// bytes left over, breaks the link.
namespace link {
inline constexpr u32 kVersion = 1;
inline constexpr u32 kLobbyId = 0;
inline constexpr u32 kGameServerId = 1;
inline constexpr u32 kMaxCapacity = 64;
inline constexpr std::size_t kMaxEndpointBytes = 255;
inline constexpr std::size_t kMaxAddressBytes = 64;

inline constexpr u32 hello = 100;
inline constexpr u32 welcome = 101;
inline constexpr u32 grant = 102;
inline constexpr u32 revoke = 103;
inline constexpr u32 playerLeft = 104;
inline constexpr u32 gameEnded = 105;
inline constexpr u32 placed = 106;

// Whether the command ID is one of the link's.
inline bool isLinkMessage(u32 commandID) {
    return commandID >= hello && commandID <= placed;
}
}  // namespace link

// What the lobby fixes for one instance.
struct InstanceTerms {
    u32 instanceID = 0;
    u32 mapHash = 0;
    u32 capacity = 4;
    u8 instanceFlag = 1;
    std::string endpoint;

    bool operator==(const InstanceTerms&) const = default;
};

// One message of the link, decoded. Only the fields of its kind are read.
struct LinkMessage {
    u32 kind = 0;
    u32 number = 0;  // the sender's command number
    u32 version = 0;
    u32 players = 0;
    InstanceTerms instance;   // grant; its instanceID also for revoke, player left, game ended, placed
    Zarn::PlayerInfo player;  // grant; its clientID also for revoke, player left, placed
    std::string address;      // grant
};

// The packet bytes of a message from `senderID`, numbered `number`.
std::vector<u8> encodeLinkMessage(u32 senderID, u32 number, const LinkMessage& message);

// A received packet (header and payload) as a message. Throws
// Convinience::InvalidCommandDataException for bytes that do not parse, an ID
// that is no link message, values out of range or bytes left over.
LinkMessage decodeLinkMessage(const u8* bytes, std::size_t size);

}  // namespace ZarnOnline
