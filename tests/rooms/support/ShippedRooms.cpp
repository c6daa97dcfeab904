#include "rooms/support/ShippedRooms.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "engine/FileUtils.h"
#include "map/import/GameMap.h"
#include "map/import/MapComponentsImporter.h"
#include "simulation/scores/LevelEntry.h"

namespace zarn_test {

const std::vector<std::string>& levelTableRooms() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const Zarn::LevelEntry& e : Zarn::LevelList::instance()) out.push_back(e.mapName);
        return out;
    }();
    return names;
}

const std::vector<std::string>& coopRooms() {
    static const std::vector<std::string> names = {"multi_lv1", "multi_lv2"};
    return names;
}

std::vector<std::string> shippedRooms() {
    std::vector<std::string> names = levelTableRooms();
    names.emplace_back("BlankRoom");
    names.insert(names.end(), coopRooms().begin(), coopRooms().end());
    return names;
}

std::vector<u8> shippedMap(const std::string& name) {
    const std::vector<unsigned char> bytes =
        cocos2d::FileUtils::getInstance()->getDataFromFile("maps/" + name + ".map");
    return std::vector<u8>(bytes.begin(), bytes.end());
}

void readRecords(const std::vector<u8>& bytes, Zarn::GameMap& map) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    Zarn::MapComponentsImporter(map).import(in);
}

Zarn::Solution recordedSolution(const std::string& name) {
    const std::string path = std::string(ZARN_ROOM_SOURCES) + "/" + name + ".solution";
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + " cannot be read");
    return Zarn::parseSolution(std::string(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace zarn_test
