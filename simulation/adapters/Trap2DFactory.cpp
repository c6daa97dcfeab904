#include "simulation/adapters/Trap2DFactory.h"

#include "foundation/Error.h"
#include "map/records/TrapElement.h"
#include "world/adapters/NodeMediator.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

NodeMediator* Trap2DFactory::placeTrapPicture(Trap& trap) {
    NodeMediator* picture = createTrap2D(&trap);
    const GeometryLib::FPoint size = picture->getContentSize();
    const float scale = picture->getScale();
    const i32 halfX = static_cast<i32>(size.x * scale / 2.0f);
    const i32 halfY = static_cast<i32>(size.y * scale / 2.0f);
    const GeometryLib::Point cell = trap.trapRecord->position;
    picture->setPosition(static_cast<float>(cell.x * cellSize_ + halfX),
                         static_cast<float>(cell.y * cellSize_ + halfY));
    return picture;
}

void Trap2DFactory::createTrapVisual(Trap& trap) {
    if (worldRoot_ == nullptr) throw Convinience::Error("trap factory has no world root");
    worldRoot_->addChild(placeTrapPicture(trap));
}

}  // namespace Zarn
