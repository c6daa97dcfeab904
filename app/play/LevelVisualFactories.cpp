#include "app/play/LevelVisualFactories.h"

#include "map/import/GameMap.h"
#include "simulation/client/ZarnClientInterface.h"
#include "visuals/traps/CocosTrap2DFactory.h"

namespace {

class NoElementVisuals final : public Zarn::SceneElementVisualFactory {
public:
    bool isSkipped(const Zarn::MapElement&) override { return true; }
    bool isTileElement(u32) override { return false; }
    bool isFreeElement(u32) override { return false; }
    Zarn::NodeMediator* createTileElement2D(const Zarn::MapElement&) override { return nullptr; }
    Zarn::NodeMediator* createFreeElement2D(const Zarn::MapElement&) override { return nullptr; }
};

class LevelFactories final : public SceneVisualFactories {
public:
    explicit LevelFactories(const SceneVisualContext& c)
        : traps_(&c.tiles, &c.zOrder, &c.client.getSteerableUnitManager(), &c.client.getGameMap().grid) {}
    Zarn::SceneTrapVisualFactory& trapFactory() override { return traps_; }
    Zarn::SceneElementVisualFactory& elementFactory() override { return elements_; }

private:
    CocosTrap2DFactory traps_;
    NoElementVisuals elements_;
};

}  // namespace

std::unique_ptr<SceneVisualFactories> makeLevelVisualFactories(const SceneVisualContext& context) {
    return std::make_unique<LevelFactories>(context);
}
