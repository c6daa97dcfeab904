#include "engine/AssetName.h"

#include <mutex>
#include <ostream>
#include <unordered_set>

namespace cocos2d {

namespace {

// The interned texts. Never destroyed: names stay valid during static
// destruction, when the caches release their textures and frames.
struct InternTable {
    std::mutex mutex;
    std::unordered_set<std::string> texts;
};

InternTable& table() {
    static InternTable* instance = new InternTable();
    return *instance;
}

const std::string* intern(const std::string& text) {
    InternTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    // Elements of an unordered_set keep their address when it grows.
    return &*t.texts.insert(text).first;
}

const std::string* emptyText() {
    static const std::string* empty = intern(std::string());
    return empty;
}

}  // namespace

AssetName::AssetName() : text_(emptyText()) {}

AssetName::AssetName(const std::string& text) : text_(text.empty() ? emptyText() : intern(text)) {}

std::ostream& operator<<(std::ostream& out, const AssetName& name) {
    return out << name.str();
}

}  // namespace cocos2d
