#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "map/import/GameMap.h"
#include "map/records/TrapElement.h"
#include "simulation/managers/InputManager.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scene/CameraRegionTracker.h"
#include "simulation/scene/InGameScene.h"
#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/elements/InteractiveMapElementState.h"
#include "world/grid/MapViewport.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/DialogWindow.h"
#include "world/units/SteerableUnitManager.h"

namespace {

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
    void setRotation(float) override {}
    void setOpacity(u8) override {}
    void setScale(float s) override { scale = s; }
    void setVisible(bool) override {}
    void setFlippedX(bool) override {}
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
        map.grid.setProperties(Zarn::MapProperties(1600, 800, 32));
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

class RecordingSync final : public Zarn::SceneVisualSync {
public:
    explicit RecordingSync(std::vector<std::string>* log, u32 id) : log_(log), id_(std::to_string(id)) {}
    void updateStateAnimation() override { log_->push_back("state" + id_); }
    void updateEffects() override { log_->push_back("effects" + id_); }
    void updateTransform() override { log_->push_back("transform" + id_); }
    void updateMoveAnimation() override { log_->push_back("move" + id_); }

private:
    std::vector<std::string>* log_;
    std::string id_;
};

// Player visuals whose nodes follow their units' positions each sync.
class FakeSteerables final : public Zarn::SceneSteerableVisuals {
public:
    explicit FakeSteerables(Zarn::SteerableUnitManager& units) : units_(units) {}
    void setParent(Zarn::NodeMediator* p) override { parent = p; }
    void addSteerable(u32 clientID) override {
        if (parent == nullptr) throw Convinience::Error("steerable3D parent is nullptr");
        auto& node = nodes[clientID];
        node = std::make_unique<FakeNode>("player" + std::to_string(clientID));
        syncStore.push_back(std::make_unique<RecordingSync>(&syncLog, clientID));
        syncs.push_back(syncStore.back().get());
        parent->addChild(node.get());
    }
    // The visual and its node die with the removal.
    void removeSteerable(u32 clientID) override {
        parent->removeChild(nodes.at(clientID).get());
        nodes.erase(clientID);
        removed.push_back(clientID);
    }
    Zarn::NodeMediator* findVisualSteerable(u32 clientID) override {
        auto it = nodes.find(clientID);
        return it == nodes.end() ? nullptr : it->second.get();
    }
    Zarn::NodeMediator* getVisualSteerable(u32 clientID) override {
        auto it = nodes.find(clientID);
        if (it == nodes.end()) throw Convinience::Error("not valid visual steerable client");
        return it->second.get();
    }
    const std::vector<Zarn::SceneVisualSync*>& visualSyncs() override { return syncs; }
    // What the engine side's transform step does for the test: node follows unit.
    void follow() {
        for (auto& [id, node] : nodes) {
            const FPoint p = units_.getUnit(id).body().position;
            node->setPosition(p.x, p.y);
        }
    }

    Zarn::NodeMediator* parent = nullptr;
    std::map<u32, std::unique_ptr<FakeNode>> nodes;
    std::vector<std::unique_ptr<RecordingSync>> syncStore;
    std::vector<Zarn::SceneVisualSync*> syncs;
    std::vector<std::string> syncLog;
    std::vector<u32> removed;

private:
    Zarn::SteerableUnitManager& units_;
};

class FakeElementFactory final : public Zarn::SceneElementVisualFactory {
public:
    bool isSkipped(const Zarn::MapElement& r) override { return r.elementId == 3; }
    bool isTileElement(u32 id) override { return id == 1; }
    bool isFreeElement(u32 id) override { return id == 2; }
    Zarn::NodeMediator* createTileElement2D(const Zarn::MapElement&) override { return make("tile"); }
    Zarn::NodeMediator* createFreeElement2D(const Zarn::MapElement&) override { return make("free"); }
    FakeNode* make(const std::string& kind) {
        nodes.push_back(std::make_unique<FakeNode>(kind + std::to_string(nodes.size())));
        return nodes.back().get();
    }
    std::vector<std::unique_ptr<FakeNode>> nodes;
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
    FakeScene(FakeNode& root, FakeClient& client) : InGameScene(root, client), client_(client) {}

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
        dialog = std::make_unique<InstantDialogWindow>(dialogNode, client_.map.dialogs, client_.dialogPlayer);
        return dialog.get();
    }
    void setupExtra() override { ++extraCalls; }
    void onCameraRegionChanged(const FPoint& position, const std::vector<const Rect*>& rects) override {
        CameraCall call{position, {}};
        for (const Rect* r : rects) call.rects.push_back(*r);
        cameraCalls.push_back(call);
    }

private:
    FakeClient& client_;
};

struct SceneWorld {
    SceneWorld() {
        client.traps.push_back(std::make_unique<StubTrap>(trapRecord));
        client.traps.push_back(std::make_unique<StubTrap>(trapRecord));
        scene.steerables = &steerables;
        scene.setSteerableVisuals(&steerables);
        scene.setElementVisualFactory(&elements);
        scene.setTrapVisualFactory(&trapFactory);
        scene.setExitHandler([this] { ++exits; });
    }

    Zarn::TrapElement trapRecord;
    FakeNode root{"root"};
    FakeClient client;
    FakeSteerables steerables{client.units};
    FakeElementFactory elements;
    FakeTrapFactory trapFactory;
    FakeScene scene{root, client};
    int exits = 0;
};

struct SceneFixture : ::testing::Test, SceneWorld {};

TEST_F(SceneFixture, BringsTheLevelUpInOrder) {
    client.units.getUnit(0).body().position = FPoint(100.0f, 100.0f);
    scene.initScene();

    EXPECT_EQ(scene.steps, (std::vector<std::string>{"loadMap", "worldRoot", "dialog"}));
    EXPECT_EQ(client.loadedBytes, "ROOM");
    EXPECT_EQ(root.content, FPoint(1000.0f, 500.0f));
    EXPECT_TRUE(root.scheduled);
    EXPECT_EQ(root.children, std::vector<std::string>{"world"});

    FakeNode& world = scene.worldNode;
    EXPECT_EQ(world.content, FPoint(1600.0f, 800.0f));
    EXPECT_EQ(world.anchor, FPoint(0.0f, 0.0f));
    EXPECT_EQ(world.scale, 1.25f);
    // Player, then the elements (3 skipped), then the dialog window.
    EXPECT_EQ(world.children, (std::vector<std::string>{"player0", "tile0", "free1", "tile2", "dialog"}));
    EXPECT_EQ(scene.dialogNode.zOrder, 1500000);
    EXPECT_EQ(scene.dialogNode.anchor, FPoint(0.0f, 0.0f));
    EXPECT_EQ(trapFactory.worldRoot, &world);
    ASSERT_EQ(trapFactory.made.size(), 2u);
    EXPECT_EQ(trapFactory.made[0], client.traps[0].get());

    // View 800 x 400 map units; the room is larger on both axes.
    Zarn::MapViewport* camera = scene.getCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getViewWidth(), 800.0f);
    EXPECT_EQ(camera->getViewHeight(), 400.0f);
    EXPECT_EQ(camera->getMarginX(), 10000.0f);
    EXPECT_EQ(camera->getMarginY(), 10000.0f);
    EXPECT_TRUE(camera->smoothCamera);
    EXPECT_EQ(client.notifier, scene.getGameNotifier());
    EXPECT_EQ(scene.extraCalls, 1);
    // The drawing orders follow the loaded room's 25 rows, not the empty grid's.
    EXPECT_EQ(scene.getZOrderCalculator().rows(), 25);
}

TEST_F(SceneFixture, SetUpFailuresNameWhatIsMissing) {
    struct Case {
        const char* what;
        std::function<void(SceneWorld&)> breakIt;
        const char* message;
    };
    const Case cases[] = {
        {"no stream", [](SceneWorld& f) { f.scene.provideStream = false; }, "map file stream no loaded"},
        {"no player visuals", [](SceneWorld& f) { f.scene.setSteerableVisuals(nullptr); },
         "Steerable3DManager is null, cannot initialize steerables"},
        {"no element factory", [](SceneWorld& f) { f.scene.setElementVisualFactory(nullptr); },
         "map element 2D factory is null"},
        {"unknown element",
         [](SceneWorld& f) {
             f.client.elementIDs = {1, 9};
         },
         "no such map element id"},
        {"no trap factory", [](SceneWorld& f) { f.scene.setTrapVisualFactory(nullptr); },
         "trap factory is null"},
        {"map error passes through", [](SceneWorld& f) { f.scene.stream.str("JUNK"); }, "bad map header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SceneWorld f;
        c.breakIt(f);
        try {
            f.scene.initScene();
            ADD_FAILURE() << "no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST_F(SceneFixture, PlaysFramesThroughTheLevelEnd) {
    client.units.getUnit(0).body().position = FPoint(100.0f, 400.0f);
    scene.initScene();
    client.velocity = FPoint(300.0f, 0.0f);

    for (int frame = 0; frame < 200; ++frame) scene.update(1.0f / 60.0f);
    EXPECT_EQ(client.frames.size(), 200u);
    EXPECT_FLOAT_EQ(scene.getLastDelta(), 1.0f / 60.0f);
    // Every frame steps the player visual's sync in order.
    ASSERT_GE(steerables.syncLog.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(steerables.syncLog.begin(), steerables.syncLog.begin() + 4),
              (std::vector<std::string>{"state0", "effects0", "transform0", "move0"}));
    EXPECT_EQ(steerables.syncLog.size(), 800u);

    // The player walked from region 0 into region 1; the camera followed and
    // the scene was told of the new region with its rectangles.
    ASSERT_FALSE(scene.cameraCalls.empty());
    EXPECT_EQ(scene.getRegionTracker()->current(), 1u);
    const CameraCall& last = scene.cameraCalls.back();
    ASSERT_GE(last.rects.size(), 2u);
    EXPECT_EQ(last.rects[0].origin, Point(800, 800));
    EXPECT_EQ(last.rects[1].origin, Point(800, 800));
    EXPECT_EQ(last.rects[1].width, 20u);
    EXPECT_EQ(scene.getLastCameraPosition(), last.position);

    // The level ends: the local unit is carried off (state 17).
    client.velocity = FPoint();
    client.units.getUnit(0).state = 17;
    for (int frame = 0; frame < 12; ++frame) scene.update(0.01f);
    EXPECT_EQ(exits, 1);
    // A confirmed exit reaches the same handler through the notifier.
    client.notifier->gameNotification();
    EXPECT_EQ(exits, 2);
}

TEST(InGameSceneCamera, MovesBelowAFifthOfAUnitAreNotReported) {
    // Without camera regions the camera centres on the player; a player at
    // (400, 200) keeps it at (0, 0), so the first frame's camera position
    // is the visible origin, measured against the start position (0, 0).
    struct Case {
        const char* what;
        FPoint origin;
        bool reported;
    };
    const Case cases[] = {
        {"no move", {0.0f, 0.0f}, false},
        {"just under 0.2 on both axes", {0.19f, -0.19f}, false},
        {"exactly 0.2 on x", {0.2f, 0.0f}, true},
        {"exactly 0.2 on y", {0.0f, -0.2f}, true},
        {"far", {30.0f, 5.0f}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SceneWorld f;
        f.client.withRegions = false;
        f.client.units.getUnit(0).body().position = FPoint(400.0f, 200.0f);
        f.root.visibleOrigin = c.origin;
        f.scene.initScene();
        f.scene.update(0.0f);
        f.scene.update(0.0f);
        ASSERT_EQ(f.scene.getCamera()->getCameraOffset(), FPoint(0.0f, 0.0f));
        ASSERT_EQ(f.scene.cameraCalls.size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(f.scene.cameraCalls[0].position, c.origin);
            EXPECT_TRUE(f.scene.cameraCalls[0].rects.empty());
            EXPECT_EQ(f.scene.getLastCameraPosition(), c.origin);
        }
    }
}

TEST_F(SceneFixture, TouchesInsideTheRoomAreTakenEdgesExcluded) {
    scene.initScene();
    FakeNode& world = scene.worldNode;
    world.position = FPoint(-100.0f, -50.0f);
    // Room 1600 x 800 at 1.25: the world root covers 2000 x 1000 of the host
    // scene, from (-100, -50) to (1900, 950).
    struct Case {
        FPoint touch;
        bool taken;
        FPoint answer;
    };
    const Case cases[] = {
        {{-100.0f, -50.0f}, true, {0.0f, 0.0f}},
        {{25.0f, 75.0f}, true, {100.0f, 100.0f}},
        {{-101.0f, 0.0f}, false, {-101.0f, 0.0f}},
        {{1899.0f, 0.0f}, true, {1599.2f, 40.0f}},
        // The right and top edges of the world root (room x 1600, y 800).
        {{1900.0f, 0.0f}, false, {1900.0f, 0.0f}},
        {{0.0f, 950.0f}, false, {0.0f, 950.0f}},
        {{0.0f, 949.0f}, true, {80.0f, 799.2f}},
    };
    for (const Case& c : cases) {
        const auto answer = scene.onInput(c.touch);
        EXPECT_EQ(answer.taken, c.taken) << c.touch.x << ", " << c.touch.y;
        EXPECT_NEAR(answer.point.x, c.answer.x, 1e-3f);
        EXPECT_NEAR(answer.point.y, c.answer.y, 1e-3f);
    }
}

TEST_F(SceneFixture, KeysQueueInputAtThePlayersVisualPosition) {
    client.units.getUnit(0).body().position = FPoint(64.0f, 96.0f);
    scene.initScene();
    scene.update(0.0f);

    scene.sendInput(8);
    scene.sendInput(9);
    bool seen = false;
    client.inputs.forEachClient([&](u32 id, Zarn::InputManager::InputList& list) {
        if (id != 0) return;
        seen = true;
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0], Zarn::InputData(8, FPoint(64.0f, 96.0f)));
        EXPECT_EQ(list[1], Zarn::InputData(9, FPoint(64.0f, 96.0f)));
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(client.nextCommands, (std::vector<u32>{2, 2}));
}

TEST_F(SceneFixture, TheContinueKeyTurnsPagesAndSendsOnlyAfterTheLastOne) {
    client.map.dialogs[5].text = "one&&two&&three";
    scene.initScene();
    scene.sendInput(12);
    EXPECT_FALSE(client.inputs.hasInput(0)) << "no dialog playing";

    client.dialogPlayer.play(5);
    scene.dialog->update();
    ASSERT_EQ(scene.dialog->pages, std::vector<std::size_t>{2});
    scene.sendInput(12);
    EXPECT_FALSE(client.inputs.hasInput(0)) << "a page was left: only turned";
    EXPECT_EQ(scene.dialog->pages, (std::vector<std::size_t>{2, 1}));
    scene.sendInput(12);
    EXPECT_TRUE(client.inputs.hasInput(0));
    EXPECT_EQ(client.nextCommands, std::vector<u32>{2});
}

TEST_F(SceneFixture, TouchesGoToTheDialogFirstThenBecomeMoves) {
    scene.initScene();
    // Not playing: the dialog window passes, the scene takes it as a move.
    scene.dispatchInput({10.0f, 20.0f});
    client.inputs.forEachClient([](u32, Zarn::InputManager::InputList& list) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], Zarn::InputData(1, FPoint(8.0f, 16.0f)));
    });
    EXPECT_EQ(client.nextCommands, std::vector<u32>{2});

    // Outside the room: nobody takes it.
    scene.dispatchInput({-5.0f, 20.0f});
    EXPECT_EQ(client.nextCommands, std::vector<u32>{2});
    client.inputs.clearInput(0);

    // A dialog over the touch takes it first: a page turn queues nothing, a
    // tap on the last page is the dismiss input (kind 2) at the touch.
    client.map.dialogs[5].text = "one&&two&&three";
    client.dialogPlayer.play(5);
    scene.dialog->update();
    scene.dialogNode.setContentSize(100.0f, 100.0f);
    scene.dispatchInput({10.0f, 20.0f});
    EXPECT_FALSE(client.inputs.hasInput(0));
    scene.dispatchInput({10.0f, 20.0f});
    client.inputs.forEachClient([](u32, Zarn::InputManager::InputList& list) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], Zarn::InputData(2, FPoint(10.0f, 20.0f)));
    });
    EXPECT_EQ(client.nextCommands, (std::vector<u32>{2, 2}));
}

TEST_F(SceneFixture, PlayersJoiningAndLeavingGetVisualsThroughTheNotifier) {
    scene.initScene();
    client.addPlayer(4);
    EXPECT_EQ(scene.worldNode.children.back(), "player4");
    client.notifier->playerLeft(4);
    EXPECT_EQ(steerables.removed, std::vector<u32>{4});
}

TEST_F(SceneFixture, TheLocalPlayerLeavingLeavesTheSceneRunning) {
    client.units.getUnit(0).body().position = FPoint(64.0f, 96.0f);
    scene.initScene();
    scene.update(0.03f);
    // A kick of the local player removes its visual (and frees its node).
    client.notifier->playerLeft(0);
    scene.update(0.03f);
    scene.sendInput(4);
    client.inputs.forEachClient([](u32, Zarn::InputManager::InputList& list) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], Zarn::InputData(4, FPoint(64.0f, 96.0f)));
    });
}

TEST_F(SceneFixture, ADestroyedSceneLeavesNoNotifierWithTheClient) {
    {
        FakeScene other(root, client);
        other.setSteerableVisuals(&steerables);
        other.setElementVisualFactory(&elements);
        other.setTrapVisualFactory(&trapFactory);
        other.initScene();
        EXPECT_NE(client.notifier, nullptr);
    }
    EXPECT_EQ(client.notifier, nullptr);
}

}  // namespace
