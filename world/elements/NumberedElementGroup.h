#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

#include "foundation/Error.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

// The numbered-element table of a world: element number -> element, filled by
// the element builder under each numbered record's number. The elements are
// owned by the world's element list and outlive the table. Entries are visited
// in the order they were entered. Used by the thread that owns the world.
class NumberedElementGroup {
public:
    // Enters the element under the number; a number already entered keeps its
    // element (false then). A null element makes an entry without element.
    bool add(u32 number, InteractiveMapElement* element);

    // The element, or null when the number has no entry or its entry no element.
    InteractiveMapElement* find(u32 number) const;
    bool contains(u32 number) const { return index_.count(number) != 0; }
    // Throws Convinience::Error "No such element number" for a missing number
    // and "numbered element is of wrong type" for an entry without element.
    InteractiveMapElement& get(u32 number) const;
    // As get, cast to T; an element of another class throws "numbered element
    // is of wrong type".
    template <class T>
    T& getTyped(u32 number) const {
        T* typed = dynamic_cast<T*>(&get(number));
        if (!typed) throw Convinience::Error("numbered element is of wrong type");
        return *typed;
    }

    // Calls fn(number, element) for every entry in the order entered.
    void forEach(const std::function<void(u32, InteractiveMapElement*)>& fn) const;
    std::size_t size() const { return entries_.size(); }
    void clear();

private:
    std::vector<std::pair<u32, InteractiveMapElement*>> entries_;
    std::unordered_map<u32, std::size_t> index_;
};

}  // namespace Zarn
