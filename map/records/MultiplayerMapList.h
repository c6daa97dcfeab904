#pragma once

#include <exception>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Serializable.h"

namespace Zarn {

// What the lobby and the game loader agree on for a multiplayer map: u32
// mapHash, secondValue, thirdValue, in that order (12 bytes).
class MapMetadata : public Convinience::Serializable {
public:
    MapMetadata() = default;
    MapMetadata(u32 mapHash, u32 secondValue, u32 thirdValue)
        : mapHash(mapHash), secondValue(secondValue), thirdValue(thirdValue) {}
    explicit MapMetadata(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }
    std::unique_ptr<MapMetadata> clone() const { return std::make_unique<MapMetadata>(*this); }

    bool operator==(const MapMetadata& o) const {
        return mapHash == o.mapHash && secondValue == o.secondValue && thirdValue == o.thirdValue;
    }

    u32 mapHash = 0;
    u32 secondValue = 0;
    u32 thirdValue = 0;
};

// No multiplayer map has the hash asked for.
class MapHashNotFoundException : public std::exception {};

// The fixed list of multiplayer maps: hash 0 "multi_lv1.map" and hash 1
// "multi_lv2.map", both with the metadata (0, 117, 128). Each owner (lobby,
// game loader) holds its own list.
class MultiplayerMapList {
public:
    MultiplayerMapList();

    // The map file name filed under the hash; throws MapHashNotFoundException.
    const std::string& findByHash(u32 mapHash) const;
    // Every hash of the list, in ascending order.
    std::vector<u32> hashes() const;
    // The metadata filed under the hash; a missing hash gets a new all-zero entry.
    MapMetadata& metadata(u32 mapHash);
    // True when the stored metadata under received.mapHash equals all three fields.
    bool verify(const MapMetadata& received);

private:
    std::unordered_map<u32, std::string> names_;
    std::unordered_map<u32, MapMetadata> metadata_;
};

}  // namespace Zarn
