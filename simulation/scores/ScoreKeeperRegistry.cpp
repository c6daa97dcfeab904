#include "simulation/scores/ScoreKeeperRegistry.h"

#include <functional>
#include <vector>

#include "foundation/Error.h"

namespace Zarn {

ScoreKeeper* ScoreKeeperMap::find(u8 kind) const {
    const auto found = keepers_.find(kind);
    return found == keepers_.end() ? nullptr : found->second;
}

void ScoreKeeperRegistry::updateAll() {
    for (const auto& [kind, keeper] : keepers.all()) keeper->update();
}

void ScoreKeeperRegistry::serializeAll(Convinience::Buffer& buffer) const {
    for (const auto& [kind, keeper] : keepers.all()) keeper->serialize(buffer);
}

u32 ScoreKeeperRegistry::applyScores(Convinience::ByteReader& reader) {
    // Parse the whole block first, so that a short one changes nothing.
    std::vector<std::function<void()>> changes;
    const std::size_t start = reader.position();
    const auto readRows = [&](std::size_t valueSize, auto apply) {
        const u32 n = reader.readCount(4 + valueSize);
        for (u32 i = 0; i < n; ++i) {
            const u32 clientId = reader.readU32();
            const u64 value = valueSize == 8 ? reader.readU64() : reader.readU32();
            changes.push_back([this, clientId, value, apply] { apply(scores[clientId], value); });
        }
    };
    for (const auto& [kind, keeper] : keepers.all()) {
        switch (kind) {
            case scoreKeeperKind::deaths:
                readRows(4, [](LevelScore& s, u64 v) { s.deaths = static_cast<u32>(v); });
                break;
            case scoreKeeperKind::timer:
                readRows(8, [](LevelScore& s, u64 v) { s.time = v; });
                break;
            case scoreKeeperKind::timeAttack: {
                const u64 remaining = reader.readU64();
                changes.push_back([this, remaining] { timeAttackRemaining = remaining; });
                break;
            }
            case scoreKeeperKind::limitedLives:
                readRows(4, [](LevelScore& s, u64 v) { s.lives = static_cast<u32>(v); });
                break;
            case scoreKeeperKind::money:
                readRows(4, [](LevelScore& s, u64 v) { s.money = static_cast<u32>(v); });
                break;
            default:
                throw Convinience::Error("no such scorekeeper");
        }
    }
    for (const auto& change : changes) change();
    return static_cast<u32>(reader.position() - start);
}

}  // namespace Zarn
