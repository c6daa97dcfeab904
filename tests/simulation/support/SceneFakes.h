#pragma once

// Fakes of the engine side of an in-game scene: recording node mediators,
// player visuals, element and trap visual factories, a dialog window that
// shows pages at once, a client without a server, and a scene made of them.
// Header-only.

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "map/import/GameMap.h"
#include "map/records/TrapElement.h"
#include "simulation/managers/InputManager.h"
#include "simulation/managers/PlayerInfo.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scene/InGameScene.h"
#include "simulation/scene/SteerableVisualSync.h"
#include "simulation/scene/SteerableXDManager.h"
#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/elements/InteractiveMapElementState.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/DialogWindow.h"
#include "world/units/SteerableUnitManager.h"

namespace zarn_test::scene {

using GeometryLib::FPoint;
using GeometryLib::FRect;
using GeometryLib::Point;
using GeometryLib::Rect;

// An engine node as the scene sees it: records what is set, converts points
// by its position and scale (anchor at the lower-left corner).
class FakeNode final : public Zarn::NodeMediator {
public:
    explicit FakeNode(std::string name) : name(std::move(name)) {}
    virtual ~FakeNode() = default;
    FPoint getVisibleSize() override { return visibleSize; }
    FPoint getVisibleOrigin() override { return visibleOrigin; }
    void setContentSize(float w, float h) override { content = {w, h}; }
    void setAnchorPoint(float x, float y) override { anchor = {x, y}; }
    void setPosition(float x, float y) override { position = {x, y}; }
    void setZOrder(int z) override { zOrder = z; }
    void setGlobalZOrder(int) override {}
    void setRotation(float r) override { rotation = r; }
    void setOpacity(u8) override {}
    void setScale(float s) override { scale = s; }
    void setVisible(bool) override {}
    void setFlippedX(bool f) override { flippedX = f; }
    void setFlippedY(bool) override {}
    FPoint getPosition() override { return position; }
    FPoint getContentSize() override { return content; }
    FPoint convertToNodeSpace(const FPoint& p) override { return (p - position) / scale; }
    float getScale() override { return scale; }
    FRect getRect() override { return FRect(content.x * scale, content.y * scale, position); }
    void scheduleUpdate() override { scheduled = true; }
    void addChild(NodeMediator* child) override { children.push_back(static_cast<FakeNode*>(child)->name); }
    void removeChild(NodeMediator* child) override {
        std::erase(children, static_cast<FakeNode*>(child)->name);
    }

    std::string name;
    FPoint visibleSize{1000.0f, 500.0f};
    FPoint visibleOrigin;
    FPoint content;
    FPoint anchor{0.5f, 0.5f};
    FPoint position;
    float scale = 1.0f;
    int zOrder = 0;
    // -1 until a rotation is set.
    float rotation = -1.0f;
    bool flippedX = false;
    bool scheduled = false;
    std::vector<std::string> children;
};

// A client that keeps its own copy of a room without a server: its map load
// builds the room the test describes, its frames move the local unit along a
// set velocity and run the exit handler once the local unit has stood in
// state 17 for 0.1 s, as the single-play client does.
class FakeClient final : public Zarn::ZarnClientInterface {
public:
    FakeClient() : dialogPlayer(map.dialogs) {
        units.addClient(0);
        infos.addClient(0);
        inputs.addClient(0);
    }

    void loadMap(std::istream& stream) override {
        loadedBytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
        if (loadedBytes != "ROOM") throw Convinience::Error("bad map header");
        map.grid.setProperties(room);
        map.grid.resize();
        if (!withRegions) return loadElements();
        map.cameraRegions.regions = {Rect(800, 800, Point(0, 800)), Rect(800, 800, Point(800, 800))};
        map.cameraRegions.transitions = {{Zarn::TransitionRegion(1, Rect(20, 800, Point(780, 800)))},
                                         {Zarn::TransitionRegion(0, Rect(20, 800, Point(800, 800)))}};
        loadElements();
    }
    void loadElements() {
        for (u32 id : elementIDs) {
            auto record = std::make_unique<Zarn::MapElement>();
            record->elementId = id;
            map.mapElements.push_back(std::move(record));
        }
    }
    void update(float dt) override {
        frames.push_back(dt);
        Zarn::SteerableUnit& local = units.getUnit(0);
        local.body().position += velocity * dt;
        if (local.state == 17 && !exited) {
            endTime += dt;
            if (endTime >= 0.1f - 1e-6f && exitHandler) {
                exited = true;
                exitHandler();
            }
        }
    }
    void setNextLocalCommand(u32 commandID) override { nextCommands.push_back(commandID); }
    void addPlayer(u32 clientID) override {
        units.addClient(clientID);
        infos.addClient(clientID);
        inputs.addClient(clientID);
        if (notifier != nullptr) notifier->playerJoined(clientID);
    }
    u32 getLocalClientID() override { return 0; }
    void setExitHandler(std::function<void()> handler) override { exitHandler = std::move(handler); }
    void setGameNotifier(Zarn::ZarnGameNotifier* n) override { notifier = n; }
    Zarn::InputManager& getInputManager() override { return inputs; }
    Zarn::ClientGameCore& getCore() override { throw Convinience::Error("no core in the fake"); }
    Zarn::SteerableUnitManager& getSteerableUnitManager() override { return units; }
    Zarn::InteractiveElementStore& getInteractiveElementStore() override { throw Convinience::Error("none"); }
    Zarn::GameMap& getGameMap() override { return map; }
    Zarn::TrapList& getTraps() override { return traps; }
    Zarn::DialogPlayer& getDialogPlayer() override { return dialogPlayer; }
    Zarn::NumberedElementGroup& getNumberedElements() override { throw Convinience::Error("none"); }
    Zarn::TrapFactory& getTrapFactory() override { throw Convinience::Error("none"); }
    Zarn::SpawnPoints& getSpawnPoints() override { throw Convinience::Error("none"); }
    Zarn::PlayerInfoManager& getPlayerInfoManager() override { return infos; }
    Zarn::ScoreKeeperRegistry& getScoreKeeperRegistry() override { throw Convinience::Error("none"); }

    Zarn::GameMap map;
    Zarn::TrapList traps;
    Zarn::SteerableUnitManager units;
    Zarn::PlayerInfoManager infos;
    Zarn::InputManager inputs;
    Zarn::DialogPlayer dialogPlayer;
    std::vector<u32> elementIDs{1, 2, 3, 1};
    Zarn::MapProperties room{1600, 800, 32};
    bool withRegions = true;
    std::string loadedBytes;
    std::vector<float> frames;
    std::vector<u32> nextCommands;
    std::function<void()> exitHandler;
    Zarn::ZarnGameNotifier* notifier = nullptr;
    FPoint velocity;
    float endTime = 0.0f;
    bool exited = false;
};

// A player visual's sync that logs its steps instead of animating.
class RecordingSync final : public Zarn::SteerableVisualSync {
public:
    explicit RecordingSync(std::vector<std::string>* log, u32 id)
        : SteerableVisualSync(nullptr, nullptr, nullptr, nullptr), log_(log), id_(std::to_string(id)) {}
    void updateStateAnimation() override { log_->push_back("state" + id_); }
    void updateEffects() override { log_->push_back("effects" + id_); }
    void updateTransform() override { log_->push_back("transform" + id_); }
    void updateMoveAnimation() override { log_->push_back("move" + id_); }

private:
    std::vector<std::string>* log_;
    std::string id_;
};

// Holds the calculator of FakeSteerables, built before its manager base.
struct FakeZOrder {
    explicit FakeZOrder(const Zarn::CellGrid& grid) : zOrder(grid) {}
    Zarn::ZOrderCalculator zOrder;
};

// The engine side of the steerable visual manager: each visual is a named
// fake node with a recording sync; the nodes follow their units on follow().
class FakeSteerables final : private FakeZOrder, public Zarn::SteerableXDManager {
public:
    explicit FakeSteerables(Zarn::ZarnClientInterface& client)
        : FakeZOrder(client.getGameMap().grid),
          SteerableXDManager(client.getSteerableUnitManager(), client.getPlayerInfoManager(), zOrder),
          units_(client.getSteerableUnitManager()) {}

    // What the engine side's transform step does for the test: node follows unit.
    void follow() {
        for (auto& [id, node] : nodes) {
            const FPoint p = units_.getUnit(id).body().position;
            node->setPosition(p.x, p.y);
        }
    }

    std::map<u32, std::unique_ptr<FakeNode>> nodes;
    std::vector<std::unique_ptr<RecordingSync>> syncStore;
    std::vector<std::string> syncLog;
    std::vector<u32> removed;

protected:
    Zarn::VisualSteerablePair createSteerable2D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player2DAssets&) override {
        auto& node = nodes[info.clientID];
        node = std::make_unique<FakeNode>("player" + std::to_string(info.clientID));
        syncStore.push_back(std::make_unique<RecordingSync>(&syncLog, info.clientID));
        return {node.get(), syncStore.back().get()};
    }
    Zarn::VisualSteerablePair createSteerable3D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player3DAssets&) override {
        throw Convinience::Error("no 3D visual for client " + std::to_string(info.clientID));
    }
    // The visual and its node die with the removal.
    void removeSteerable(u32 clientID) override {
        nodes.erase(clientID);
        removed.push_back(clientID);
    }
    void onSteerableAdded(u32) override {}

private:
    Zarn::SteerableUnitManager& units_;
};

class FakeElementFactory final : public Zarn::SceneElementVisualFactory {
public:
    bool isSkipped(const Zarn::MapElement& r) override { return r.elementId == 3; }
    bool isTileElement(u32 id) override { return id == 1 || tileAll; }
    bool isFreeElement(u32 id) override { return id == 2; }
    Zarn::NodeMediator* createTileElement2D(const Zarn::MapElement&) override { return make("tile"); }
    Zarn::NodeMediator* createFreeElement2D(const Zarn::MapElement&) override { return make("free"); }
    FakeNode* make(const std::string& kind) {
        nodes.push_back(std::make_unique<FakeNode>(kind + std::to_string(nodes.size())));
        return nodes.back().get();
    }
    std::vector<std::unique_ptr<FakeNode>> nodes;
    // Takes every element ID as a whole-tile element.
    bool tileAll = false;
};

class FakeTrapFactory final : public Zarn::SceneTrapVisualFactory {
public:
    void setWorldRoot(Zarn::NodeMediator* root) override { worldRoot = root; }
    void createTrapVisual(Zarn::Trap& trap) override { made.push_back(&trap); }
    Zarn::NodeMediator* worldRoot = nullptr;
    std::vector<Zarn::Trap*> made;
};

class StubTrap final : public Zarn::Trap {
public:
    explicit StubTrap(const Zarn::TrapElement& record) : Trap(record, nullptr) {}
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }
    bool touches(const Point&, Zarn::SteerableUnit*) override { return false; }
    void reset() override {}
    Zarn::InteractiveMapElementState& getState() override { return state; }
    void setState(const Zarn::InteractiveMapElementState&) override {}
    void update(float) override {}
    Zarn::InteractiveMapElementState state;
};

// A dialog window whose view shows pages at once.
class InstantDialogWindow final : public Zarn::DialogWindow {
public:
    InstantDialogWindow(Zarn::NodeMediator& node, Zarn::DialogTable& table, const Zarn::DialogPlayer& player)
        : DialogWindow(node, table, player) {}
    void showLines(const std::vector<const std::string*>& page) override { pages.push_back(page.size()); }
    void clearLines() override {}
    bool isOpening() override { return false; }
    bool isTyping() override { return false; }
    void completeTyping() override {}
    void finishOpening() override {}
    void hideWindow() override {}
    std::vector<std::size_t> pages;
};

struct CameraCall {
    FPoint position;
    std::vector<Rect> rects;
};

// The engine side of a scene, made of fakes.
class FakeScene final : public Zarn::InGameScene {
public:
    FakeScene(FakeNode& root, Zarn::ZarnClientInterface& client)
        : InGameScene(root, client), client_(client) {}

    using InGameScene::zOrder_;
    std::istringstream stream{"ROOM"};
    bool provideStream = true;
    bool withDialog = true;
    FakeNode worldNode{"world"};
    FakeNode dialogNode{"dialog"};
    std::unique_ptr<InstantDialogWindow> dialog;
    std::vector<CameraCall> cameraCalls;
    std::vector<std::string> steps;
    FakeSteerables* steerables = nullptr;
    int extraCalls = 0;

protected:
    void updateVisuals(float) override {
        steps.push_back("visuals");
        updateSteerableVisuals();
        if (steerables != nullptr) steerables->follow();
    }
    void loadMap() override {
        steps.push_back("loadMap");
        if (provideStream) setMapStream(&stream);
    }
    Zarn::NodeMediator* createWorldRoot() override {
        steps.push_back("worldRoot");
        return &worldNode;
    }
    Zarn::DialogWindow* createDialogWindow() override {
        steps.push_back("dialog");
        if (!withDialog) return nullptr;
        dialog = std::make_unique<InstantDialogWindow>(dialogNode, client_.getGameMap().dialogs,
                                                       client_.getDialogPlayer());
        return dialog.get();
    }
    void setupExtra() override { ++extraCalls; }
    void onCameraRegionChanged(const FPoint& position, const std::vector<const Rect*>& rects) override {
        CameraCall call{position, {}};
        for (const Rect* r : rects) call.rects.push_back(*r);
        cameraCalls.push_back(call);
    }

private:
    Zarn::ZarnClientInterface& client_;
};

}  // namespace zarn_test::scene
