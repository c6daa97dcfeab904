#include "map/records/MultiplayerMapList.h"

#include <algorithm>

namespace Zarn {

MapMetadata::MapMetadata(Convinience::ByteReader& reader) {
    mapHash = reader.readU32();
    secondValue = reader.readU32();
    thirdValue = reader.readU32();
}

void MapMetadata::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(mapHash);
    buffer.appendU32(secondValue);
    buffer.appendU32(thirdValue);
}

MultiplayerMapList::MultiplayerMapList() : names_(8), metadata_(8) {
    names_.max_load_factor(1.0f);
    metadata_.max_load_factor(1.0f);
    names_[0] = "multi_lv1.map";
    names_[1] = "multi_lv2.map";
    metadata_[0] = MapMetadata(0, 117, 128);
    metadata_[1] = MapMetadata(0, 117, 128);
}

const std::string& MultiplayerMapList::findByHash(u32 mapHash) const {
    const auto it = names_.find(mapHash);
    if (it == names_.end()) throw MapHashNotFoundException();
    return it->second;
}

std::vector<u32> MultiplayerMapList::hashes() const {
    std::vector<u32> all;
    for (const auto& [hash, name] : names_) all.push_back(hash);
    std::sort(all.begin(), all.end());
    return all;
}

MapMetadata& MultiplayerMapList::metadata(u32 mapHash) {
    return metadata_[mapHash];
}

bool MultiplayerMapList::verify(const MapMetadata& received) {
    return metadata(received.mapHash) == received;
}

}  // namespace Zarn
