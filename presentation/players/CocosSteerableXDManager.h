#pragma once

#include <map>
#include <memory>
#include <vector>

#include "engine/RefPtr.h"
#include "presentation/players/Player3DAnimController.h"
#include "presentation/players/Steerable3DSubsitute.h"
#include "presentation/players/SteerableCocos2D.h"
#include "presentation/players/SteerableCocos3D.h"
#include "simulation/scene/SteerableXDManager.h"

// The engine side of the players' visuals: makes a player's sprite (2D, the
// game's players) or model (3D), with node mediator, animation controller,
// sync record, name tag and (2D) the shadow ellipse in the player's colour.
//
// The visuals are retained while recorded here and taken off their parent
// when the manager goes, so that no visual outlives the scene's managers and
// calculator. The 2D visuals' syncs are stepped by the scene (the base's
// visualSyncs); the 3D ones step themselves. Main thread only.
class CocosSteerableXDManager : public Zarn::SteerableXDManager {
public:
    using Visual3D = SteerableCocos3D<Player3DAnimController>;

    CocosSteerableXDManager(Zarn::SteerableUnitManager& units, Zarn::PlayerInfoManager& playerInfos,
                            Zarn::ZOrderCalculator& zOrder);
    ~CocosSteerableXDManager() override;

    // The client's visual, or null.
    SteerableCocos2D* find2D(u32 clientID) const;
    Visual3D* find3D(u32 clientID) const;
    // The name tag over the client's visual, or null (no visual, or a
    // nameless player).
    cocos2d::Node* findNameTag(u32 clientID) const;

    // The scale of a 2D and of a 3D player.
    static constexpr float k2DScale = 0.4f;
    static constexpr float k3DScale = 0.25f;

protected:
    Zarn::VisualSteerablePair createSteerable3D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player3DAssets& assets) override;
    Zarn::VisualSteerablePair createSteerable2D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player2DAssets& assets) override;
    void removeSteerable(u32 clientID) override;
    void onSteerableAdded(u32) override {}
    // The tag is made again with the new name (none for an empty name).
    void onPlayerChanged(const Zarn::PlayerInfo& info) override;

private:
    // Puts the info's name tag over the visual in place of an earlier one.
    void placeNameTag(cocos2d::Node* visual, const Zarn::PlayerInfo& info, bool threeD);

    std::map<u32, cocos2d::RefPtr<Visual3D>> visuals3D_;
    std::map<u32, cocos2d::RefPtr<SteerableCocos2D>> visuals2D_;
    std::vector<std::unique_ptr<Steerable3DSubsituteFactoryImpl>> factories_;
    // Children of the visuals, by client ID.
    std::map<u32, cocos2d::Node*> nameTags_;
};
