#include "simulation/scene/PlayerAssets.h"

#include <cstdio>

namespace Zarn {
namespace {

// prefix + the number written with `digits` digits + suffix, for first..last.
std::vector<std::string> numbered(const std::string& prefix, int first, int last, int digits,
                                  const std::string& suffix = ".png") {
    std::vector<std::string> out;
    for (int i = first; i <= last; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%0*d", digits, i);
        out.push_back(prefix + number + suffix);
    }
    return out;
}

// The idle pattern: 1, 1, 2 .. 6, 6.
std::vector<std::string> idle(const std::string& prefix) {
    std::vector<std::string> out = numbered(prefix, 1, 6, 4);
    out.insert(out.begin(), out.front());
    out.push_back(out.back());
    return out;
}

}  // namespace

Player2DAssets makePlayer2DAssets() {
    Player2DAssets a;
    for (int i = 0; i < 3; ++i) a.frames[i] = numbered("ZizadRun_", 1, 12, 4);
    a.frames[3] = idle("Zizad_Idle_");
    a.frames[4] = idle("Zizad_Idle2_");
    a.frames[5] = idle("Zizad_IdleB_");
    a.frames[7] = numbered("zizad_fall_", 1, 4, 4);
    a.frames[8] = numbered("Fish_Vortex_", 8, 15, 1);
    a.frames[12] = numbered("Fish_Vortex_", 1, 7, 1);
    a.frames[13] = numbered("Fish_Squash_", 1, 2, 1);
    a.frames[14] = numbered("Fish_Return_", 1, 7, 1);
    a.frames[15] = numbered("Fish_Squash_Move_", 1, 5, 1);
    a.frames[16] = numbered("zizad_spiked_", 1, 4, 4);
    a.frames[17] = numbered("zizad_spiked_", 4, 7, 4);
    a.frames[18] = {"zizad_giblet_arm.png",  "zizad_giblet_barefoot.png", "zizad_giblet_belt.png",
                    "zizad_giblet_body.png", "zizad_giblet_butt.png",     "zizad_giblet_foot.png",
                    "zizad_giblet_leg.png",  "zizad_giblet_head.png",     "zizad_giblet_sunglasses.png"};
    a.kind = 1;
    a.anchor = GeometryLib::FPoint(0.5f, 0.05f);
    a.spare = 0.9f;
    return a;
}

Player3DAssets makePlayer3DAssets(const std::string& folder,
                                  const std::pair<std::string, std::string>& textures) {
    Player3DAssets a;
    a.models.files = {folder + "Character.c3b", folder + "Hat_Default.c3b", folder + "Eyebrows.c3b",
                      folder + "Character_Explode.c3b", folder + "Squash_Base.c3b"};
    a.textures = {folder + textures.first, folder + textures.second};
    const char* heads[] = {"Head_Default_Opt_01.png",  "Head_Explode_Opt_01.png", "Head_Fall_Flip_Opt_01.png",
                           "Head_Fall_Run_Opt_01.png", "Head_Squash_Opt_01.png",  "Head_Squash_Opt_02.png",
                           "Head_Squash_Opt_03.png",   "Head_Squash_Opt_04.png",  "Head_Squash_Opt_02.png"};
    for (std::size_t i = 0; i < a.heads.files.size(); ++i) a.heads.files[i] = folder + heads[i];
    return a;
}

const std::vector<std::pair<std::string, std::string>>& boyTexturePairs() {
    static const std::vector<std::pair<std::string, std::string>> pairs{
        {"Body_Texture_Opt.png", "Hat_Texture_Opt.png"},
        {"Body_Texture_Blue_Opt.png", "Hat_Texture_Blue_Opt.png"},
        {"Body_Texture_Green_Opt.png", "Hat_Texture_Green_Opt.png"},
        {"Body_Texture_Cyan_Opt.png", "Hat_Texture_Cyan_Opt.png"},
        {"Body_Texture_Purple_Opt.png", "Hat_Texture_Purple_Opt.png"},
    };
    return pairs;
}

const std::vector<std::pair<std::string, std::string>>& girlTexturePairs() {
    static const std::vector<std::pair<std::string, std::string>> pairs{
        {"Body_Texture_Opt.png", "Hat_Texture_Opt.png"},
    };
    return pairs;
}

}  // namespace Zarn
