#include "visuals/elements/LevelVisualFactories.h"

#include "map/import/GameMap.h"
#include "simulation/client/ZarnClientInterface.h"
#include "visuals/elements/MapElementCocos2DFactory.h"
#include "visuals/traps/CocosTrap2DFactory.h"

namespace {

class LevelFactories final : public SceneVisualFactories {
public:
    explicit LevelFactories(const SceneVisualContext& c)
        : traps_(&c.tiles, &c.zOrder, &c.client.getSteerableUnitManager(), &c.client.getGameMap().grid) {
        elements_.cellGrid = &c.client.getGameMap().grid;
        elements_.zOrderCalculator = &c.zOrder;
        elements_.tileVisualGroups = &c.tiles;
        elements_.numberedElements = &c.client.getNumberedElements();
        elements_.steerableVisuals = &c.steerables;
        elements_.speakerNodes = &c.speakerNodes;
    }
    Zarn::SceneTrapVisualFactory& trapFactory() override { return traps_; }
    Zarn::SceneElementVisualFactory& elementFactory() override { return elements_; }

private:
    CocosTrap2DFactory traps_;
    MapElementCocos2DFactory elements_;
};

}  // namespace

std::unique_ptr<SceneVisualFactories> makeLevelVisualFactories(const SceneVisualContext& context) {
    return std::make_unique<LevelFactories>(context);
}
