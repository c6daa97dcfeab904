// fuzz-links: simulation
// Parses arbitrary bytes as a score block for a registry of every kind: the
// parse either consumes bytes within the input or throws a read error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "simulation/scores/ScoreKeeperRegistry.h"

namespace {

class KindOnly : public Zarn::ScoreKeeper {
public:
    explicit KindOnly(u8 kind) : ScoreKeeper(kind) {}
    void update() override {}
    void serialize(Convinience::Buffer&) const override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks which kinds the registry holds.
    static KindOnly keepers[] = {KindOnly(0), KindOnly(1), KindOnly(2), KindOnly(3), KindOnly(4)};
    Zarn::ScoreKeeperRegistry registry;
    for (u8 kind = 0; kind < 5; ++kind) {
        if (data[0] & (1u << kind)) registry.keepers.insert(kind, &keepers[kind]);
    }
    Convinience::ByteReader reader(data + 1, size - 1);
    try {
        const u32 used = registry.applyScores(reader);
        if (used > size - 1) std::abort();
    } catch (const Convinience::ReadPastEndError&) {
    }
    return 0;
}
