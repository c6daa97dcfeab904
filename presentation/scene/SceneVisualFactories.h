#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "simulation/adapters/Element2D.h"
#include "simulation/scene/InGameSceneParts.h"
#include "world/triggers/DialogWindow.h"

namespace cocos2d {
class Node;
}
namespace Zarn {
class SteerableXDManager;
class ZarnClientInterface;
class ZOrderCalculator;
}  // namespace Zarn

// The speaking characters' nodes by speaker name: the element visuals enter
// them, the dialog window points its arrow at them. Owned by the in-game
// scene; the nodes belong to the node tree.
using SpeakerNodes = std::unordered_map<std::string, cocos2d::Node*>;

// What the in-game scene lends its visual factories. Everything belongs to
// the scene or its client and outlives the factories.
struct SceneVisualContext {
    Zarn::ZarnClientInterface& client;
    Zarn::ZOrderCalculator& zOrder;
    Zarn::TileVisualGroups& tiles;
    Zarn::SteerableXDManager& steerables;
    SpeakerNodes& speakerNodes;
};

// The trap and map element visual factories of one level, owned together by
// the in-game scene for the level's lifetime. Main thread only.
class SceneVisualFactories {
public:
    virtual ~SceneVisualFactories() = default;
    virtual Zarn::SceneTrapVisualFactory& trapFactory() = 0;
    virtual Zarn::SceneElementVisualFactory& elementFactory() = 0;
};

// Made by the scene's creator, which knows the concrete factories (they live
// above the presentation); called once, while the scene is built.
using SceneVisualFactoryMaker =
    std::function<std::unique_ptr<SceneVisualFactories>(const SceneVisualContext&)>;

// Makes the level's dialog window over the map's dialog table, the client's
// dialog player and the scene's speaker nodes (all outlive the window), or
// answers null for none. The window's node belongs to the node tree once the
// scene has placed it; the logic is owned by the node.
using DialogWindowMaker = std::function<Zarn::DialogWindow*(
    Zarn::DialogTable& table, const Zarn::DialogPlayer& player, SpeakerNodes& speakerNodes)>;
