#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

namespace cocos2d {

// The name of an asset as the draw list carries it: a texture's path or a
// sprite frame's name. The text is interned once, when a texture or frame
// gets its name, and lives as long as the program (the names come from the
// game's asset lists, so they are few); copying an AssetName copies a
// pointer, so a frame's draw commands copy no strings. Two names are equal
// exactly when their texts are. Interning may happen on any thread.
class AssetName {
public:
    // The empty name.
    AssetName();
    explicit AssetName(const std::string& text);

    const std::string& str() const { return *text_; }
    operator const std::string&() const { return *text_; }
    const char* c_str() const { return text_->c_str(); }
    bool empty() const { return text_->empty(); }

    friend bool operator==(const AssetName& a, const AssetName& b) { return a.text_ == b.text_; }
    friend bool operator==(const AssetName& a, const std::string& b) { return *a.text_ == b; }
    friend bool operator==(const AssetName& a, const char* b) { return *a.text_ == b; }

private:
    friend struct std::hash<AssetName>;
    const std::string* text_;  // interned, never freed
};

std::ostream& operator<<(std::ostream& out, const AssetName& name);

}  // namespace cocos2d

template <>
struct std::hash<cocos2d::AssetName> {
    std::size_t operator()(const cocos2d::AssetName& name) const noexcept {
        return std::hash<const void*>()(name.text_);
    }
};
