// fuzz-links: level
// Loads arbitrary bytes as a whole room: the map file's sections, then the
// traps, groups, elements, events and triggers built from them; a room that
// loads is stepped for a second of play with a player walking across it.
// Every input either loads or is refused with a Convinience::Error (so is a
// command or element that meets a number the map lacks while stepping); any
// other exception, crash, leak or sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "level/BuildTestSupport.h"
#include "world/steering/Seek.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zarn_test::TestWorld world;
    try {
        world.load(std::vector<u8>(data, data + size));
    } catch (const Convinience::Error&) {
        return 0;
    }
    const Zarn::CellGrid& grid = world.map.grid;
    const float side = static_cast<float>(grid.getCellSize());
    const GeometryLib::Point spawn = world.spawnPoints.defaultSpawnCell();
    Zarn::SteerableUnit& rat =
        world.addPlayer(1, GeometryLib::FPoint(spawn.x * side + side / 2, spawn.y * side + side / 2));
    const GeometryLib::FPoint far(static_cast<float>(grid.getColumns()) * side,
                                  static_cast<float>(grid.getRows()) * side);
    rat.motion.addSteering(std::make_unique<Zarn::Seek>(&rat, far));
    for (int tick = 0; tick < 34; ++tick) {
        try {
            world.step();
        } catch (const Convinience::Error&) {
        }
    }
    return 0;
}
