#pragma once

#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

// The players' steerable units of one game, one per client ID, owned here.
// A unit's handle is its client ID. Units are visited in ascending client ID
// order, so every copy of the world sees them in the same order. Used by the
// thread that owns the world.
class SteerableUnitManager : public Convinience::MultiClientCreator {
public:
    SteerableUnitManager();
    ~SteerableUnitManager() override;

    // Makes a unit for the client at defaultPosition, with its key speed; a
    // client that has one keeps it.
    void addClient(u32 clientId) override;
    // Destroys the client's unit; an unknown client is ignored.
    void removeClient(u32 clientId) override;

    // Logs at CRITICAL and throws Convinience::ClientIDNotFoundException for an unknown client.
    SteerableUnit& getUnit(u32 clientId) const;
    // The unit of a client, or null.
    SteerableUnit* findUnit(u32 clientId) const;
    // The client ID whose unit this is; throws "no such unit pointer" for any other pointer.
    u32 getClientID(const SteerableUnit* unit) const;
    // Whether the pointer is the unit of a client now. The pointer is not read.
    bool isLiveUnit(const SteerableUnit* unit) const { return addressIndex_.count(unit) != 0; }
    bool hasClient(u32 clientId) const { return units_.count(clientId) != 0; }
    std::size_t size() const { return units_.size(); }

    // Calls fn(client ID, unit) for every unit in ascending client ID order. An
    // empty fn throws std::bad_function_call. fn must not add or remove clients.
    void forEachUnit(const std::function<void(u32, SteerableUnit&)>& fn) const;

    // Where new units start (map units); the server's map load sets it.
    GeometryLib::FPoint defaultPosition{32.0f, 32.0f};

private:
    std::map<u32, std::unique_ptr<SteerableUnit>> units_;
    std::unordered_map<const SteerableUnit*, u32> addressIndex_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
