#pragma once

// A room reduced to what snapshots touch: traps and numbered elements of
// chosen record types, each holding one state of its type's class, with the
// trap directory, numbered table and state factories of one game. Header-only
// so that the simulation fuzz targets can use it too.

#include <map>
#include <memory>
#include <typeinfo>
#include <vector>

#include "map/records/MapElement.h"
#include "map/records/TrapElement.h"
#include "simulation/state/ElementStateFactories.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/traps/TrapDirectory.h"

namespace zarn_test {

// A default state of the class that a factory builds for the type.
template <class MakeFn>
std::unique_ptr<Zarn::InteractiveMapElementState> blankState(MakeFn make) {
    static const std::vector<u8> zeros(64, 0);
    Convinience::ByteReader reader(zeros);
    return make(reader);
}

class StubTrap : public Zarn::Trap {
public:
    StubTrap(const Zarn::TrapElement& record, std::unique_ptr<Zarn::InteractiveMapElementState> s)
        : Trap(record, nullptr), state(std::move(s)) {}
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }
    bool touches(const GeometryLib::Point&, Zarn::SteerableUnit*) override { return false; }
    void reset() override {}
    Zarn::InteractiveMapElementState& getState() override { return *state; }
    void setState(const Zarn::InteractiveMapElementState& s) override {
        if (typeid(s) == typeid(*state)) state = s.clone();
    }
    void update(float) override {}
    std::unique_ptr<Zarn::InteractiveMapElementState> state;
};

class StubElement : public Zarn::InteractiveMapElement {
public:
    StubElement(const Zarn::MapElement& record, std::unique_ptr<Zarn::InteractiveMapElementState> s)
        : InteractiveMapElement(record, nullptr), state(std::move(s)) {}
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }
    bool touches(const GeometryLib::Point&, Zarn::SteerableUnit*) override { return false; }
    void reset() override {}
    Zarn::InteractiveMapElementState& getState() override { return *state; }
    void setState(const Zarn::InteractiveMapElementState& s) override {
        if (typeid(s) == typeid(*state)) state = s.clone();
    }
    std::unique_ptr<Zarn::InteractiveMapElementState> state;
};

class StateWorld : public Zarn::TrapDirectory {
public:
    StateWorld() : trapFactory(*this), elementFactory(numbered) {
        factories.traps = &trapFactory;
        factories.elements = &elementFactory;
    }

    StubTrap& addTrap(u32 number, u32 typeId) {
        auto record = std::make_unique<Zarn::TrapElement>();
        record->elementId = typeId;
        record->trapNumber = number;
        auto trap = std::make_unique<StubTrap>(*record, blankState([&](Convinience::ByteReader& r) {
            return trapFactory.createForType(typeId, r);
        }));
        StubTrap& ref = *trap;
        trapIndex[number] = trap.get();
        trapList.push_back(std::move(trap));
        records.push_back(std::move(record));
        return ref;
    }

    // A trap known only as a group: findTrapGroup answers it, findTrap does not.
    void addGroupOnly(u32 number, u32 typeId) {
        StubTrap& t = addTrap(number, typeId);
        trapIndex.erase(number);
        groupIndex[number] = &t;
    }

    StubElement& addElement(u32 number, u32 typeId) {
        auto record = std::make_unique<Zarn::FreeNumberedMapElement>();
        record->elementId = typeId;
        record->number = number;
        auto element = std::make_unique<StubElement>(*record, blankState([&](Convinience::ByteReader& r) {
            return Zarn::NumberedElementStateFactoryImpl::createForType(typeId, r);
        }));
        StubElement& ref = *element;
        numbered.add(number, element.get());
        elements.push_back(std::move(element));
        records.push_back(std::move(record));
        return ref;
    }

    Zarn::Trap* findTrap(u32 number) override {
        auto it = trapIndex.find(number);
        return it == trapIndex.end() ? nullptr : it->second;
    }
    Zarn::InteractiveMapElement* findTrapGroup(u32 number) override {
        auto it = groupIndex.find(number);
        return it == groupIndex.end() ? nullptr : it->second;
    }

    std::vector<std::unique_ptr<Zarn::MapElement>> records;
    std::vector<std::unique_ptr<Zarn::Trap>> trapList;
    std::vector<std::unique_ptr<StubElement>> elements;
    std::map<u32, Zarn::Trap*> trapIndex;
    std::map<u32, Zarn::InteractiveMapElement*> groupIndex;
    Zarn::NumberedElementGroup numbered;
    Zarn::RawTrapStateFactory trapFactory;
    Zarn::NumberedElementStateFactoryImpl elementFactory;
    Zarn::StateFactories factories;
};

}  // namespace zarn_test
