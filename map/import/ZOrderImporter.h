#pragma once

#include <vector>

#include "foundation/Interfaces.h"
#include "map/records/ZOrder.h"

namespace Zarn {

// Reads the z-order section: u32 count, then count records, each a u32 length
// and a ZOrder record of that many bytes. A stream at its end counts as a count
// of 0; a truncated section or a record that does not hold its fields (or its
// name's NUL) throws "bad map".
class ZOrderImporter : public Convinience::StreamImporter {
public:
    // The container belongs to the GameMap and outlives the importer.
    explicit ZOrderImporter(std::vector<ZOrder>& zOrders) : zOrders_(zOrders) {}

    void import(std::istream& stream) override;

private:
    std::vector<ZOrder>& zOrders_;
};

}  // namespace Zarn
