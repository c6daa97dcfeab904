#pragma once

#include <string>
#include <unordered_map>

#include "engine/Ref.h"
#include "engine/Types.h"

namespace cocos2d {

class SpriteFrame;

// Sprite frames by name, filled from sprite sheets: a property-list file that
// names each frame's rectangle in a texture (formats 0 to 3 of the sheet
// tools). One instance per process; main thread only.
class SpriteFrameCache {
public:
    static SpriteFrameCache* getInstance();
    // Size of the stand-in frame for a name no sheet has.
    static constexpr float kPlaceholderSize = 32.0f;

    // Loads a sheet; the texture is the one the sheet names (beside the sheet
    // file), else the sheet's name with ".png". A sheet already loaded is not
    // read again. A missing or unreadable sheet is logged and adds nothing.
    void addSpriteFramesWithFile(const std::string& plist);
    void addSpriteFramesWithFile(const std::string& plist, const std::string& textureFile);
    // Loads a sheet from its text (tests and tools); `texturePath` names the
    // texture.
    void addSpriteFramesWithFileContent(const std::string& plistContent, const std::string& texturePath);
    bool isSpriteFramesWithFileLoaded(const std::string& plist) const;
    void addSpriteFrame(SpriteFrame* frame, const std::string& name);
    bool hasSpriteFrame(const std::string& name) const;
    // Never null: a name that no loaded sheet has gives a stand-in frame of
    // kPlaceholderSize (logged once per name; `isPlaceholder` tells it).
    SpriteFrame* getSpriteFrameByName(const std::string& name);
    void removeSpriteFrameByName(const std::string& name);
    void removeSpriteFrames();

private:
    SpriteFrameCache() = default;
    bool parse(const std::string& content, const std::string& texturePath, bool useNamedTexture,
               const std::string& plistPath);
    std::unordered_map<std::string, SpriteFrame*> frames_;        // retained
    std::unordered_map<std::string, SpriteFrame*> placeholders_;  // retained
    std::unordered_map<std::string, bool> loadedFiles_;
};

}  // namespace cocos2d
