#pragma once

#include <unordered_map>

#include "foundation/Interfaces.h"
#include "map/records/DialogEntry.h"

namespace Zarn {

// The dialog table of a map: dialog number -> entry.
using DialogTable = std::unordered_map<u32, DialogEntry>;

// Reads the dialogs section: u32 byte length L, u32 entry count, then L bytes
// holding that many DialogEntry records back to back. An entry whose number is
// already filed is dropped (the first wins). A stream at its end yields no
// entries; a count or entry that the L bytes do not hold throws "bad map".
class DialogImporter : public Convinience::StreamImporter {
public:
    // The table belongs to the GameMap and outlives the importer.
    explicit DialogImporter(DialogTable& dialogs) : dialogs_(dialogs) {}

    void import(std::istream& stream) override;

private:
    DialogTable& dialogs_;
};

}  // namespace Zarn
