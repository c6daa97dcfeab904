#include "engine/SpriteFrameCache.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "engine/EngineLog.h"
#include "engine/FileUtils.h"
#include "engine/SpriteFrame.h"
#include "engine/Texture2D.h"

namespace cocos2d {

namespace pt = boost::property_tree;

namespace {

// A property-list value reduced to what sheets use: dictionaries, strings and
// numbers (as text) and booleans.
struct PlistValue {
    // A dictionary entry (key, value); defined below, once PlistValue is complete.
    struct Entry;

    enum class Kind { String, Dict, Bool, Other } kind = Kind::Other;
    std::string text;
    bool boolean = false;
    std::vector<Entry> entries;

    const PlistValue* get(const std::string& key) const;
    std::string str(const std::string& key) const {
        const PlistValue* v = get(key);
        return v != nullptr && v->kind == Kind::String ? v->text : std::string();
    }
    float num(const std::string& key) const {
        const std::string s = str(key);
        return s.empty() ? 0.0f : std::stof(s);
    }
    bool flag(const std::string& key) const {
        const PlistValue* v = get(key);
        return v != nullptr && v->kind == Kind::Bool && v->boolean;
    }
};

struct PlistValue::Entry {
    std::string key;
    PlistValue value;
};

const PlistValue* PlistValue::get(const std::string& key) const {
    for (const auto& [k, v] : entries)
        if (k == key) return &v;
    return nullptr;
}

PlistValue convert(const std::string& tag, const pt::ptree& node) {
    PlistValue v;
    if (tag == "dict") {
        v.kind = PlistValue::Kind::Dict;
        std::string key;
        for (const auto& [childTag, child] : node) {
            if (childTag == "<xmlattr>" || childTag == "<xmlcomment>") continue;
            if (childTag == "key") {
                key = child.data();
            } else {
                v.entries.push_back({key, convert(childTag, child)});
                key.clear();
            }
        }
    } else if (tag == "string" || tag == "integer" || tag == "real" || tag == "date") {
        v.kind = PlistValue::Kind::String;
        v.text = node.data();
    } else if (tag == "true" || tag == "false") {
        v.kind = PlistValue::Kind::Bool;
        v.boolean = tag == "true";
    }
    return v;
}

// "{{x,y},{w,h}}" and "{x,y}": the numbers in order.
std::vector<float> numbersOf(const std::string& s) {
    std::vector<float> out;
    std::string current;
    for (char c : s) {
        if ((c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == 'E' || c == '+') {
            current.push_back(c);
        } else if (!current.empty()) {
            out.push_back(std::stof(current));
            current.clear();
        }
    }
    if (!current.empty()) out.push_back(std::stof(current));
    return out;
}

Rect rectOf(const std::string& s) {
    const auto n = numbersOf(s);
    return n.size() >= 4 ? Rect(n[0], n[1], n[2], n[3]) : Rect::ZERO;
}

Vec2 pointOf(const std::string& s) {
    const auto n = numbersOf(s);
    return n.size() >= 2 ? Vec2(n[0], n[1]) : Vec2::ZERO;
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

SpriteFrameCache* SpriteFrameCache::getInstance() {
    static SpriteFrameCache* instance = new SpriteFrameCache();
    return instance;
}

bool SpriteFrameCache::isSpriteFramesWithFileLoaded(const std::string& plist) const {
    return loadedFiles_.count(plist) != 0;
}

void SpriteFrameCache::addSpriteFramesWithFile(const std::string& plist) {
    addSpriteFramesWithFile(plist, {});
}

void SpriteFrameCache::addSpriteFramesWithFile(const std::string& plist, const std::string& textureFile) {
    if (isSpriteFramesWithFileLoaded(plist)) return;
    const std::string fullPath = FileUtils::getInstance()->fullPathForFilename(plist);
    if (fullPath.empty()) {
        logMissingAssetOnce("sprite sheet", plist);
        return;
    }
    std::string texture = textureFile;
    if (texture.empty()) {
        texture = plist;
        const auto dot = texture.find_last_of('.');
        if (dot != std::string::npos) texture.erase(dot);
        texture += ".png";
    }
    if (parse(FileUtils::getInstance()->getStringFromFile(fullPath), texture, textureFile.empty(), plist)) {
        loadedFiles_[plist] = true;
    } else {
        logMissingAssetOnce("sprite sheet (unreadable)", plist);
    }
}

void SpriteFrameCache::addSpriteFramesWithFileContent(const std::string& plistContent,
                                                      const std::string& texturePath) {
    parse(plistContent, texturePath, false, {});
}

bool SpriteFrameCache::parse(const std::string& content, const std::string& texturePath, bool useNamedTexture,
                             const std::string& plistPath) {
    pt::ptree tree;
    try {
        std::istringstream in(content);
        pt::read_xml(in, tree, pt::xml_parser::no_comments);
    } catch (const pt::ptree_error&) {
        return false;
    }
    const auto plistNode = tree.get_child_optional("plist");
    if (!plistNode) return false;
    const auto dictNode = plistNode->get_child_optional("dict");
    if (!dictNode) return false;
    const PlistValue root = convert("dict", *dictNode);
    const PlistValue* frames = root.get("frames");
    if (frames == nullptr || frames->kind != PlistValue::Kind::Dict) return false;

    int format = 0;
    std::string texture = texturePath;
    if (const PlistValue* meta = root.get("metadata")) {
        const std::string f = meta->str("format");
        if (!f.empty()) format = std::stoi(f);
        std::string named = meta->str("realTextureFileName");
        if (named.empty()) named = meta->str("textureFileName");
        if (useNamedTexture && !named.empty()) texture = directoryOf(plistPath) + named;
    }
    Texture2D* tex = TextureCache::getInstance()->addImage(texture);

    for (const auto& [name, f] : frames->entries) {
        if (frames_.count(name) != 0) continue;
        Rect rect;
        Vec2 offset;
        Size original;
        bool rotated = false;
        if (format == 0) {
            rect = Rect(f.num("x"), f.num("y"), f.num("width"), f.num("height"));
            offset = Vec2(f.num("offsetX"), f.num("offsetY"));
            original = Size(std::abs(f.num("originalWidth")), std::abs(f.num("originalHeight")));
        } else if (format == 1 || format == 2) {
            rect = rectOf(f.str("frame"));
            rotated = format == 2 && f.flag("rotated");
            offset = pointOf(f.str("offset"));
            original = Size(pointOf(f.str("sourceSize")));
        } else {
            const Size spriteSize(pointOf(f.str("spriteSize")));
            const Rect textureRect = rectOf(f.str("textureRect"));
            rect = Rect(textureRect.origin, spriteSize);
            rotated = f.flag("textureRotated");
            offset = pointOf(f.str("spriteOffset"));
            original = Size(pointOf(f.str("spriteSourceSize")));
        }
        if (original.width <= 0.0f || original.height <= 0.0f) original = rect.size;
        SpriteFrame* frame = SpriteFrame::createWithTexture(tex, rect, rotated, offset, original);
        frame->setName(name);
        addSpriteFrame(frame, name);
    }
    return true;
}

void SpriteFrameCache::addSpriteFrame(SpriteFrame* frame, const std::string& name) {
    if (frame == nullptr) return;
    frame->retain();
    auto it = frames_.find(name);
    if (it != frames_.end()) {
        it->second->release();
        it->second = frame;
    } else {
        frames_[name] = frame;
    }
}

bool SpriteFrameCache::hasSpriteFrame(const std::string& name) const {
    return frames_.count(name) != 0;
}

SpriteFrame* SpriteFrameCache::getSpriteFrameByName(const std::string& name) {
    auto it = frames_.find(name);
    if (it != frames_.end()) return it->second;
    auto p = placeholders_.find(name);
    if (p != placeholders_.end()) return p->second;
    logMissingAssetOnce("sprite frame", name);
    const Rect rect(0, 0, kPlaceholderSize, kPlaceholderSize);
    SpriteFrame* frame = SpriteFrame::createWithTexture(nullptr, rect, false, Vec2::ZERO, rect.size);
    frame->retain();
    frame->setName(name);
    frame->setPlaceholder(true);
    placeholders_[name] = frame;
    return frame;
}

void SpriteFrameCache::removeSpriteFrameByName(const std::string& name) {
    auto it = frames_.find(name);
    if (it == frames_.end()) return;
    it->second->release();
    frames_.erase(it);
}

void SpriteFrameCache::removeSpriteFrames() {
    for (auto& [name, frame] : frames_) frame->release();
    for (auto& [name, frame] : placeholders_) frame->release();
    frames_.clear();
    placeholders_.clear();
    loadedFiles_.clear();
}

}  // namespace cocos2d
