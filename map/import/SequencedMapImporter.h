#pragma once

#include <vector>

#include "foundation/Interfaces.h"

namespace Zarn {

// Runs its importers over the same stream, in order.
class SequencedMapImporter : public Convinience::StreamImporter {
public:
    // The importers are owned by the caller and outlive this one.
    void add(Convinience::StreamImporter& importer) { importers_.push_back(&importer); }
    void import(std::istream& stream) override {
        for (Convinience::StreamImporter* importer : importers_) importer->import(stream);
    }

private:
    // Not owned; see add.
    std::vector<Convinience::StreamImporter*> importers_;
};

}  // namespace Zarn
