#pragma once

#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "foundation/Error.h"
#include "map/import/MapComponentsImporter.h"

namespace zarn_test {

inline std::istringstream streamOf(const std::vector<u8>& bytes) {
    return std::istringstream(std::string(bytes.begin(), bytes.end()));
}

// The text of the Convinience::Error the call throws, or "no error".
template <class F>
std::string errorText(F&& f) {
    try {
        f();
    } catch (const Convinience::Error& e) {
        return e.what();
    }
    return "no error";
}

// Imports the bytes into the map; returns the error text or "no error".
inline std::string importInto(Zarn::GameMap& map, const std::vector<u8>& bytes) {
    Zarn::MapComponentsImporter importer(map);
    std::istringstream stream = streamOf(bytes);
    return errorText([&] { importer.import(stream); });
}

// Two records are equal when they are of the same class and write the same bytes.
template <class A, class B>
bool sameRecord(const A& a, const B& b) {
    return typeid(a) == typeid(b) && a.toBytes() == b.toBytes();
}

}  // namespace zarn_test
