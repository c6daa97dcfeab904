#include "grid/MapProperties.h"

namespace Zarn {

void MapProperties::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(width);
    buffer.appendU32(height);
    buffer.appendU32(cellSize);
}

}  // namespace Zarn
