#include "support/map/FixtureMaps.h"

#include "support/map/SampleRecords.h"

namespace zarn_test {

using GeometryLib::Point;
using GeometryLib::Rect;

MapBuilder everySectionMap() {
    MapBuilder map("lab_fixture", Point(100, 40));
    map.grid(16,
             {"#####.",  //
              "#....#",  //
              "#..#.#",  //
              "######"},
             {Rect(4, 2, Point(1, 1)), Rect(1, 1, Point(4, 2))});
    for (const auto& trap : sampleTrapRecords()) map.trap(*trap);
    for (const auto& group : sampleTrapGroupRecords()) map.trapGroup(*group);
    for (const Zarn::MapEventData& event : sampleEvents()) map.event(event);
    for (const auto& element : sampleElementRecords()) map.element(*element);
    map.dialog("Hello&&there", "tali", 7, Point(64, 32));
    map.dialog("", "", 9, Point(0, 0));
    map.zOrder(Zarn::ZOrder(1, "floor", 0, 1));
    map.zOrder(Zarn::ZOrder(2, "walls_front", 3, 4));
    map.cameraRegion(Rect(96, 64, Point(0, 0)), {Zarn::TransitionRegion(1, Rect(16, 16, Point(80, 16)))});
    map.cameraRegion(Rect(32, 64, Point(96, 0)));
    return map;
}

std::vector<std::pair<std::string, std::vector<u8>>> mapFuzzSeeds() {
    std::vector<std::pair<std::string, std::vector<u8>>> seeds;
    seeds.emplace_back("header-only",
                       MapBuilder("lab_0", Point(8, 8)).bytesThrough(MapBuilder::Section::header));
    seeds.emplace_back("walled-room",
                       MapBuilder("lab_1", Point(24, 24))
                           .grid(16, {"####", "#..#", "#..#", "####"}, {Rect(2, 2, Point(1, 1))})
                           .bytes());
    MapBuilder events("lab_2");
    for (const Zarn::MapEventData& event : sampleEvents()) events.event(event);
    events.dialog("One&&Two&&Three", "tali", 1, Point(16, 16)).zOrder(Zarn::ZOrder(5, "z", 1, 0));
    seeds.emplace_back("events-and-dialogs", events.bytes());
    seeds.emplace_back("every-section", everySectionMap().bytes());
    return seeds;
}

}  // namespace zarn_test
