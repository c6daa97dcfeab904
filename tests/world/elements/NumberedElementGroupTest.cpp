#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "map/records/DoorElement.h"
#include "map/records/SwitchElement.h"
#include "world/elements/Door.h"
#include "world/elements/Lever.h"
#include "world/elements/NumberedElementGroup.h"

namespace Zarn {
namespace {

std::string thrownBy(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const Convinience::Error& e) {
        return e.what();
    }
    return "";
}

TEST(NumberedElementGroupTest, TypedLookupsAndTheirFailures) {
    CellGrid grid;
    zarn_test::openRoom(grid, 4, 4, 32);
    DoorElement doorRecord;
    SwitchElement leverRecord;
    Door door(doorRecord, grid, nullptr);
    Lever lever(leverRecord, makeNullEffect(), grid);
    NumberedElementGroup table;
    EXPECT_TRUE(table.add(3, &door));
    EXPECT_TRUE(table.add(1, &lever));
    EXPECT_TRUE(table.add(8, nullptr));
    EXPECT_FALSE(table.add(3, &lever)) << "a number keeps its first element";

    EXPECT_EQ(&table.getTyped<Door>(3), &door);
    EXPECT_EQ(&table.getTyped<InteractiveMapElement>(1), &lever);
    EXPECT_EQ(table.find(3), &door);
    EXPECT_EQ(table.find(9), nullptr);
    EXPECT_EQ(thrownBy([&] { table.getTyped<Door>(9); }), "No such element number");
    EXPECT_EQ(thrownBy([&] { table.getTyped<Door>(1); }), "numbered element is of wrong type");
    EXPECT_EQ(thrownBy([&] { table.get(8); }), "numbered element is of wrong type");

    std::vector<u32> order;
    table.forEach([&](u32 number, InteractiveMapElement*) { order.push_back(number); });
    EXPECT_EQ(order, (std::vector<u32>{3, 1, 8})) << "in the order entered";
}

}  // namespace
}  // namespace Zarn
