#include "simulation/server/ClientManager.h"

#include "simulation/core/GameWorld.h"
#include "world/elements/BlockableAvoid.h"
#include "world/steering/SteerableCollide.h"

namespace Zarn {

void ClientManager::addClient(u32 clientId) {
    for (Convinience::MultiClientCreator* creator : creators) creator->addClient(clientId);
    clientAdded(clientId);
}

void ClientManager::removeClient(u32 clientId) {
    world_.simulator.removeUnit(clientId);
    for (Convinience::MultiClientCreator* creator : creators) creator->removeClient(clientId);
    clientRemoved(clientId);
}

void ClientManager::clientAdded(u32 clientId) {
    SteerableUnit& unit = world_.units.getUnit(clientId);
    unit.motion.addLateSteering(std::make_unique<BlockableAvoid>(&unit, world_.map.blockables));
    unit.motion.addLateSteering(std::make_unique<SteerableCollide>(&unit, &world_.secondaryIndex));
    world_.simulator.addUnit(clientId, &unit);
}

void ClientManager::clientRemoved(u32 clientId) {
    world_.simulator.removeUnit(clientId);
    world_.units.removeClient(clientId);
}

}  // namespace Zarn
