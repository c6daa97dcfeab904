#pragma once

#include <array>
#include <string>
#include <vector>

#include "foundation/Geometry.h"

namespace Zarn {

// The look of a 2D player character: nineteen lists of sprite frame names in
// playing order, indexed 0 to 18 (what each list animates is the 2D
// animation controller's business), the sprite's anchor, and two values the
// presentation does not read. Every list the controller uses holds at least
// one name; list 3's first name is the sprite's first frame.
struct Player2DAssets {
    static constexpr std::size_t kListCount = 19;

    std::array<std::vector<std::string>, kListCount> frames;
    u32 kind = 1;
    GeometryLib::FPoint anchor{0.5f, 0.05f};
    float spare = 0.9f;
};

// The files of a 3D player character. Each string is a path below the
// resource folders.
struct Player3DModelFiles {
    // Character, hat, eyebrows, exploding character, squashed base.
    std::array<std::string, 5> files;
};
struct Player3DHeadTextures {
    // The faces: default, explode, fall flip, fall run, squash 1, squash 2,
    // squash 3, squash 4, squash 2 again.
    std::array<std::string, 9> files;
};
struct Player3DTextureFiles {
    // The first is the walk clip of the squashed substitute; the world leaves
    // them empty.
    std::array<std::string, 4> files;
};
struct Player3DAssets {
    Player3DModelFiles models;
    // Body texture, hat texture.
    std::pair<std::string, std::string> textures;
    Player3DHeadTextures heads;
    Player3DTextureFiles further;
};

// The built 2D look (the lab rat's frames, no folder).
Player2DAssets makePlayer2DAssets();
// A 3D look of a set: folder ("3D/boy/") before every name, with one of the
// set's (body, hat) texture pairs.
Player3DAssets makePlayer3DAssets(const std::string& folder,
                                  const std::pair<std::string, std::string>& textures);
// The sets' (body texture, hat texture) pairs, without folder.
const std::vector<std::pair<std::string, std::string>>& boyTexturePairs();
const std::vector<std::pair<std::string, std::string>>& girlTexturePairs();

}  // namespace Zarn
