#pragma once

#include <vector>

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class GroupedNumberedElement;

// A group of elements switched as one. Never touches a unit itself.
class InteractiveElementGroup : public UpdatableInteractiveMapElement {
public:
    using UpdatableInteractiveMapElement::UpdatableInteractiveMapElement;
    // show and hide then step through the members one after another.
    virtual void setSequential() = 0;
    // show and hide then act on every member at once.
    virtual void setSimultaneous() = 0;
    virtual u32 getGroupNumber() const = 0;
};

// Shows or hides a group's members one after another, `interval` seconds
// apart. The members belong to the group that embeds the stepper.
template <class Container>
class TrapSequenceStepper {
public:
    enum Mode : u8 { showMembers = 0, hideMembers = 1 };

    explicit TrapSequenceStepper(Container& members) : members(members) {}

    // Starts at the first member, which is shown or hidden at once.
    void start(u8 newMode) {
        running = 1;
        index = 0;
        timer = 0.0f;
        mode = newMode;
        apply(0);
    }

    // Advances by dt seconds; a long step passes several members and carries
    // the remainder.
    void advance(float dt) {
        while (running) {
            timer += dt;
            if (interval > timer) return;
            ++index;
            if (index < members.size()) {
                apply(index);
            } else {
                running = 0;
            }
            dt = timer - interval;
            timer = 0.0f;
        }
    }

    Container& members;
    u8 running = 0;
    u32 index = 0;
    float timer = 0.0f;
    float interval = 0.1f;
    u8 mode = showMembers;

private:
    void apply(std::size_t i) {
        if (mode == showMembers) {
            members[i]->show();
        } else {
            members[i]->hide();
        }
    }
};

// A group over a vector of element pointers (InteractiveMapElement*, Trap* or
// a trap subclass). The members are not owned: they live in the world's
// element lists, which outlive the group.
template <class Container>
class GenericElementGroup : public InteractiveElementGroup {
public:
    GenericElementGroup(const MapElement& record, Container members)
        : InteractiveElementGroup(record, makeNullEffect()),
          members(std::move(members)),
          stepper(this->members) {}

    void enable() override {
        for (auto* m : members) m->enable();
        enabled = 1;
    }
    void disable() override {
        for (auto* m : members) m->disable();
        enabled = 0;
    }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point&, SteerableUnit*) override { return false; }
    bool reactsOnEnterOnly() override { return false; }
    // Resets every member; the group's own fields stay.
    void reset() override {
        for (auto* m : members) m->reset();
    }
    InteractiveMapElementState& getState() override { return state; }
    // Copies the hidden byte of any state.
    void setState(const InteractiveMapElementState& s) override { state.hidden = s.hidden; }
    void show() override {
        showOrHide(TrapSequenceStepper<Container>::showMembers);
        state.hidden = 0;
    }
    void hide() override {
        showOrHide(TrapSequenceStepper<Container>::hideMembers);
        state.hidden = 1;
    }
    void update(float dt) override {
        if (sequential && stepper.running) stepper.advance(dt);
    }
    void setSequential() override { sequential = 1; }
    void setSimultaneous() override { sequential = 0; }

    Container members;
    u8 enabled = 0;
    InteractiveMapElementState state;
    u8 sequential = 0;
    TrapSequenceStepper<Container> stepper;

private:
    void showOrHide(u8 mode) {
        if (sequential) {
            if (!members.empty()) stepper.start(mode);
            return;
        }
        for (auto* m : members) {
            if (mode == TrapSequenceStepper<Container>::showMembers) {
                m->show();
            } else {
                m->hide();
            }
        }
    }
};

// The group the element builder makes from a grouped-element record: its
// number is the record's, its step interval the record's groupTime.
class NumberedInteractiveElementGroup : public GenericElementGroup<std::vector<InteractiveMapElement*>> {
public:
    NumberedInteractiveElementGroup(const GroupedNumberedElement& record,
                                    std::vector<InteractiveMapElement*> members);

    u32 getGroupNumber() const override;

    // Owned by the game map.
    const GroupedNumberedElement* groupRecord;
};

}  // namespace Zarn
